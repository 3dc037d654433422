#pragma once
// The manual picking form frmEvaManu as the fulfilment dialog reaches it: one default instance,
// created on first reference, of which the dialog touches only three members. The program
// installs the form at start-up (ImpostaFrmEvaManu); until then a manual request stops with the
// run-time's "object not set" error.
#include <QString>
#include <functional>
#include <memory>

class scEvaOrdVen;

class FormEvasioneManuale {
public:
    virtual ~FormEvasioneManuale() = default;

    // The picking window's secondary key: the dialog's own, given just before the hand-over.
    QString osKeySec;
    // The engine to select and run with, every criterion of the request already written.
    std::shared_ptr<scEvaOrdVen> ogEvaOrd;

    // Opens the order selection, fills the first group of orders, shows the picking form not
    // modal and returns at once; an empty selection is told to the user and closes the form.
    virtual void EvasioneManuale() = 0;

protected:
    // The form tells when it is on screen working on ogEvaOrd's request, and when it is closed.
    static void SegnaAperta(bool aperta);
};

// Whether a picking form is on screen working on the engine's request: the dialog then takes
// no other request into that engine.
bool EvasioneManualeAperta();

// The default instance, made by the factory on the first reference and kept by it.
using FabbricaEvasioneManuale = std::function<FormEvasioneManuale &()>;
void ImpostaFrmEvaManu(FabbricaEvasioneManuale fabbrica);
// The default instance; raises 91 when no form is installed.
FormEvasioneManuale &frmEvaManu();
