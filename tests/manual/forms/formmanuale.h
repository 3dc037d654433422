#pragma once
// The picking form on the headless screen over a company of the fixture: the request of the
// run tests in manual mode, the engine's services recorded, every message recorded and answered
// by the test.
#include "evasionediprova.h"
#include "frmevamanu.h"

#include <QPointer>

class GrigliaEvaManu;
class ModelloGriglia;

class FormManuale : public EvasioneDiProva {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the picking form on the request (manual mode) and shows it.
    void apri();
    // A loaded form, shown, with no group staged: the test stages rows itself and lays the
    // grids out.
    void carica();
    // A staged order of the user ("N"/"N") and a staged line of it.
    void staging(int32_t numRif);
    void rigaStaging(int32_t numRif, int32_t rigLiv, double qta, double qtaEvasa, const QString &livello1 = QStringLiteral(" "),
                     const QString &livello2 = QStringLiteral(" "));
    ModelloGriglia &griglia(int i) { return form->griglia(i); }
    GrigliaEvaManu &vista(int i) { return *form->dbgLista.at(static_cast<size_t>(i)); }
    // The captions of the visible columns of a grid, in order.
    QStringList intestazioni(int i);
    // Types the text into the cell as the user does: the cell becomes current, the editor opens,
    // the text replaces its content and Enter takes it.
    void digita(int i, int riga, const QString &campo, const QString &testo);
    // Moves the current cell of the grid to another row (what saves the row left).
    void vaiARiga(int i, int riga);
    void rilascia(int i, Qt::Key tasto);
    // The order's header row as the order grid shows it.
    int rigaOrdine(int32_t numRif);

    QPointer<FrmEvaManu> form;
};
