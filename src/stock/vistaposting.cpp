#include "vistaposting.h"

namespace {

std::unique_ptr<VistePosting> &installate()
{
    static std::unique_ptr<VistePosting> viste = std::make_unique<VistePostingMemoria>();
    return viste;
}

} // namespace

VistePosting &vistePosting()
{
    return *installate();
}

std::unique_ptr<VistePosting> impostaVistePosting(std::unique_ptr<VistePosting> viste)
{
    if (!viste)
        viste = std::make_unique<VistePostingMemoria>();
    installate().swap(viste);
    return viste;
}
