#pragma once
// What the picking controller asks of its window. The form implements it; a test answers it
// without a window. Messages and questions do not pass here: they go through the program's
// dialog seam (frmMsgCom), like every other message of the program.
#include <QString>

class VistaEvaManu {
public:
    virtual ~VistaEvaManu() = default;

    // lab(10): the customer of the group.
    virtual void MostraCliente(const QString &testo) = 0;
    // The rate box of a group in a currency that needs one: caption "Cambio <code>:", the rate
    // as text, the date caption "Del dd/mm/yyyy" (or empty). Hidden when `visibile` is false.
    virtual void MostraCambio(bool visibile, const QString &didascalia, const QString &cambio,
                              const QString &data) = 0;
    // txt(20): the rate the user typed.
    virtual QString TestoCambio() const = 0;
    // After a refused rate: the rate box gets the focus with its text selected.
    virtual void PreparaCampoCambio() = 0;
    // comLivelli: shown with the caption, or hidden (levels not handled).
    virtual void MostraPulsLiv(bool visibile, const QString &didascalia) = 0;
    // "&Annulla" and "&Prosegui >>>" enabled or not (while a hand-over runs).
    virtual void AbilitaPulsanti(bool abilitati) = 0;

    // The layouts of the three grids on the current staging rows.
    virtual void Imposta_Griglia_Testa() = 0;
    virtual void Imposta_Griglia_Corpo() = 0;
    virtual void Imposta_Griglia_Spese() = 0;
    // The pending edit of each grid's current row written (DatLi(0..2).UpdateRecord, in order).
    virtual void SalvaModifichePendenti() = 0;
    // Pending window events processed (the form repaints before a long step).
    virtual void ElaboraEventi() = 0;

    // The quantity from dimensions written into "Da Evad." of the line grid's current row, as
    // if the user had typed it: the cell rules apply, the row is saved with its next save.
    virtual void ImpostaQtaDaEvaRigaCorrente(double qta) = 0;

    // Shows the form not modal, focus on the order grid at its first row, column Selez.
    virtual void Mostra() = 0;
    // The focus on the order grid at its first row, column Selez (a new group on display).
    virtual void FuocoSulPrimoOrdine() = 0;
    // Closes the form; the form's unload calls the controller's Form_Unload, also when the form
    // was never shown.
    virtual void Chiudi() = 0;
};
