#pragma once
// The manual picking form "Selezione ordini da evadere": the customer of the group, the rate
// of a group in a foreign currency, the three grids (orders, lines, expenses) and the buttons.
// The picking itself (groups, locks, staging, cell rules, the hand-over) is the controller's;
// the form lays the grids out on the controller's record sets, turns the user's clicks, keys and
// typed cells into the controller's calls, and shows what the controller decides.
#include "controlloevamanu.h"
#include "tasti.h"
#include "vistaevamanu.h"

#include <QString>
#include <QWidget>
#include <array>
#include <map>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class GrigliaEvaManu;
class ModelloGriglia;

// The window of frmEvaManu (that name is the default instance the fulfilment dialog reaches).
class FrmEvaManu : public QWidget, public VistaEvaManu, public TastiForm {
    Q_OBJECT
    Q_PROPERTY(double odRisVidVal READ risVid WRITE setRisVid)
    Q_PROPERTY(QString osKeySec READ keySec)
public:
    explicit FrmEvaManu(QWidget *parent = nullptr);
    ~FrmEvaManu() override;

    // What the fulfilment dialog reaches: the controller with its osKeySec, ogEvaOrd and
    // EvasioneManuale.
    ControlloEvaManu &controllo() { return m_ctl; }

    std::map<int, QLabel *> lab;
    std::map<int, QLabel *> Label1;
    QLineEdit *txt20;
    std::array<GrigliaEvaManu *, 3> dbgLista{};
    std::array<QTimer *, 3> TimSel{};
    QPushButton *comLivelli;
    QPushButton *ComAnnulla;
    QPushButton *ComVisualizza;
    QPushButton *ComProsegui;

    ModelloGriglia &griglia(int i) const;

    // Loads the form: the controller's parameters, then the form's set-up and screen fitting.
    void Form_Load();

    // VistaEvaManu
    void MostraCliente(const QString &testo) override;
    void MostraCambio(bool visibile, const QString &didascalia, const QString &cambio, const QString &data) override;
    QString TestoCambio() const override;
    void PreparaCampoCambio() override;
    void MostraPulsLiv(bool visibile, const QString &didascalia) override;
    void AbilitaPulsanti(bool abilitati) override;
    void Imposta_Griglia_Testa() override;
    void Imposta_Griglia_Corpo() override;
    void Imposta_Griglia_Spese() override;
    void SalvaModifichePendenti() override;
    void ElaboraEventi() override;
    // The quantity of the dimensions dialog into the line it was opened on, through the cell rules.
    void ImpostaQtaDaEvaRigaCorrente(double pdQta) override;
    void Mostra() override;
    void FuocoSulPrimoOrdine() override;
    void Chiudi() override;

    // TastiForm
    void Form_KeyDown(int16_t &KeyCode, int16_t Shift) override;
    void Form_KeyPress(int16_t &KeyAscii) override;

    // Saves the pending edits of the grid's current row (what leaving the row does); false when
    // the database refused them (the error has been shown).
    bool SalvaRiga(int indice);

    void dbgLista_Click(int Index);
    void TimSel_Timer(int Index);
    void dbgLista_KeyUp(int Index, int KeyCode);
    void dbgLista_DblClick(int Index);

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void creaControlli();
    // The size and place the window opens with on the screen it is on.
    void AdattaAlloSchermo();
    void collegaGriglie();
    // Closes the grid's record set and opens the query in its place, bound to the grid.
    void rilega(int indice, const QString &sql);
    // The grid laid out anew on the stored rows, on the same cell.
    void rimetti(int indice);
    // The key of a grid's row, as the controller addresses it.
    ChiaveRigaManuale chiave(int indice, int riga) const;
    // The cell rules of a typed value (BeforeColUpdate, then the rounding of AfterColEdit).
    bool regolaCella(int indice, int riga, const QString &campo, QString &testo);
    // What follows a row the grid has written (AfterUpdate).
    void rigaSalvata(int indice, int riga);
    bool cellaInModifica() const;
    double fattore() const { return m_ctl.odRisVidVal > 0 ? m_ctl.odRisVidVal : 1.0; }
    double risVid() const { return m_ctl.odRisVidVal; }
    void setRisVid(double v) { m_ctl.odRisVidVal = v; }
    QString keySec() const { return m_ctl.osKeySec; }

    ControlloEvaManu m_ctl;
    bool m_chiusa = false;     // closed: the layouts that follow have nothing to show
    bool m_chiusuraDaCodice = false;
    int m_rigaDimensioni = -1; // the line the dimensions dialog was opened on
};
