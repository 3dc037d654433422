#pragma once
// The lookup window of the help component: the rows of a lookup with a search field above
// them, driven from the keyboard. Typing searches as the key code said (F2 the code's
// beginning, F3 the description, F4 any column; the keys switch it in the window too); Up,
// Down, PgUp and PgDn move in the list; Enter chooses, Esc closes without a choice.
#include "finestraaiuto.h"

#include <QDialog>
#include <QPointer>
#include <vector>

class GestoreAiuto;
class QLabel;
class QLineEdit;
class QTableView;
class ModelloElencoAiuto;

class FrmAiuto : public QDialog, public FinestraAiuto {
    Q_OBJECT
    Q_PROPERTY(double odRisVid READ risVid WRITE impostaRisVid)
    Q_PROPERTY(bool obLockSpostaCurs READ bloccoCursore WRITE impostaBloccoCursore)
    Q_PROPERTY(int oiSpostaCurs READ spostaCursore WRITE impostaSpostaCursore)
    Q_PROPERTY(QObject *ofrmAttiva READ formAttiva)
public:
    explicit FrmAiuto(QWidget *parent = nullptr);
    ~FrmAiuto() override;

    std::optional<int> Scegli(const RichiestaRicerca &richiesta) override;
    QWidget *finestra() override { return this; }
    bool Visibile() const override { return isVisible(); }
    Q_INVOKABLE void ButtonComando(const QString &pulsante) override;
    Q_INVOKABLE void HideFrm() override { hide(); }
    Q_INVOKABLE void ChiudiAiuto() override { reject(); }
    QWidget *ofrmAttiva() const override { return m_formAttiva; }

    // The row under the cursor (an index of the lookup's rows), -1 when the list is empty.
    int rigaCorrente() const;

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;

private:
    double risVid() const { return odRisVid; }
    void impostaRisVid(double f) { odRisVid = f; }
    bool bloccoCursore() const { return obLockSpostaCurs; }
    void impostaBloccoCursore(bool b) { obLockSpostaCurs = b; }
    int spostaCursore() const { return oiSpostaCurs; }
    void impostaSpostaCursore(int n) { oiSpostaCurs = static_cast<int16_t>(n); }
    QObject *formAttiva() const { return m_formAttiva; }

    void cercaTesto();
    void impostaModo(ModoRicerca modo);
    void mostraImmagine();
    void disponiImmagine(const ImmaginiAiuto &immagini);
    void conferma();

    const RichiestaRicerca *m_richiesta = nullptr;
    ModoRicerca m_modo = ModoRicerca::Codice;
    QPointer<QWidget> m_formAttiva;
    QLabel *m_titolo;
    QLineEdit *m_ricerca;
    QTableView *m_elenco;
    QLabel *m_immagine;
    ModelloElencoAiuto *m_modello;
    int m_scelta = -1;
};

// Gives the component its lookup window (start-up calls it after Inizializza).
void InstallaFinestraAiuto(GestoreAiuto &aiuto);
