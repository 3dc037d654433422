#pragma once
// The shell running inside the test process: a test context (in-process menu client), the
// dialogs answered by the test, the hidden main form loaded, the program's hooks installed and
// the end of the process counted instead of carried out. Program windows are FormDiProva.
#include "agganci.h"
#include "contestodiprova.h"
#include "dialoghidiprova.h"
#include "formprogramma.h"

#include <QWidget>
#include <functional>

class FormDiProva : public QWidget, public FormProgramma {
    Q_OBJECT
public:
    explicit FormDiProva(int16_t esitoCaricamento = 1) : m_esito(esitoCaricamento)
    {
        setObjectName(QStringLiteral("frmEvasOrd"));
        setWindowTitle(QStringLiteral("Evasione Ordini"));
        setAttribute(Qt::WA_DeleteOnClose);
        ++create;
    }
    int16_t oiLoadOk() const override { return m_caricata; }
    void Form_Load() override { m_caricata = m_esito; }
    void PassaA() override {}
    bool AttivatoDaAltri() override
    {
        ++attivazioniDaAltri;
        return true;
    }

    static inline int create = 0;
    static inline int attivazioniDaAltri = 0;
    bool rifiutaChiusura = false;

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    int16_t m_esito;
    int16_t m_caricata = 0;
};

class ShellInProva {
public:
    ShellInProva();
    ~ShellInProva();

    ContestoDiProva contesto;
    DialoghiInstallati dialoghi;
    int fini = 0; // times the process would have ended

    InProcessMenuClient &menu() { return contesto.menu(); }
    QStringList chiamate() const;
    // Waits, with the event loop running, until the program has ended.
    bool attendiFine(int ms = 2000);
    // Waits, with the event loop running, until `fatto` holds.
    static bool attendi(const std::function<bool()> &fatto, int ms);

private:
    AgganciProgramma m_agganci;
};
