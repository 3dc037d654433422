#include "finestraconnessione.h"

namespace {

class FinestraNulla final : public FinestraConnessione {
public:
    void Carica() override {}
    void Mostra() override {}
    void ImpostaCaption(const QString &) override {}
    void Ridisegna() override {}
    void MostraTitolo() override {}
    void ImpostaVersione(const QString &) override {}
    void ImpostaDataVersione(const QString &) override {}
    void MostraImmagini(bool) override {}
    void Scarica() override {}
};

std::unique_ptr<FinestraConnessione> &installata()
{
    static std::unique_ptr<FinestraConnessione> f;
    return f;
}

} // namespace

FinestraConnessione &finestraConn()
{
    if (!installata())
        installata() = std::make_unique<FinestraNulla>();
    return *installata();
}

std::unique_ptr<FinestraConnessione> impostaFinestraConnessione(std::unique_ptr<FinestraConnessione> f)
{
    std::swap(installata(), f);
    return f;
}
