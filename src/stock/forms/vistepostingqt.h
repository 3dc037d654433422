#pragma once
// The stock posting's displays on the screen: the program's progress form, the active form,
// the hourglass and the posting error form. The program installs them at start-up:
//   impostaVistePosting(std::make_unique<VistePostingQt>());
#include "vistaposting.h"

#include <memory>

class frmInElab;

class VistePostingQt final : public VistePosting {
public:
    VistePostingQt();
    ~VistePostingQt() override;

    VistaAvanzamento &formInElab() override;
    VistaAvanzamento *formAttiva() override;
    void clessidra(bool acceso) override;
    // A new form for each error; the screen's pointer is the default one while it is shown.
    void mostraErrAggMov(const ContenutoErrAggMov &contenuto) override;

private:
    std::unique_ptr<frmInElab> m_inElab;
};
