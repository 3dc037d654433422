#pragma once
// The menu server's commands: the command sink scMenuComandiClie receives the client's event
// EseguiComando, and EseguiComandoMenu answers each command word. Also the operations the
// commands and the start-up rely on: opening or bringing forward a program window with its
// launch keys (AttivaForm), reporting an error to the menu server (SegnalaErrore), showing a
// message and closing (MessaggioEChiudi).
#include "apperror.h"
#include "dialoghi.h"
#include "variant.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class MenuClient;

// The last keys handed over by the help component, for "keyprgprim" and "keyprgsec"; and the
// answer to "comandoprgclie", which nothing sets.
extern QString gsKeyPrgPrim;
extern QString gsKeyPrgSec;
extern QString gsComandoPrgClie;

class scMenuComandiClie : public QObject {
    Q_OBJECT
public:
    // Creates its menu client (creaMenuClient) and subscribes to its commands.
    scMenuComandiClie();
    ~scMenuComandiClie() override;

    const std::shared_ptr<MenuClient> &ogMenuClient() const { return m_client; }
    // Another client: the old one's commands no longer arrive here.
    void impostaOgMenuClient(std::shared_ptr<MenuClient> client);

    QString UltCom;        // the last command word
    QString UltParam;      // its parameter as text (the first element of an array)
    Variant UltParamVar;   // its parameter as received

    void mgMenuClient_EseguiComando(const QString &psIdMenu, const QString &psKeySec, const QString &psCom,
                                    const Variant &pvParam, Variant &pvRitComando);

private:
    std::shared_ptr<MenuClient> m_client;
};

// Answers one command word (letter case ignored). No error leaves it: a failure is reported
// to the menu server and the answer is "".
void EseguiComandoMenu(const QString &psIdMenu, const QString &psKeySec, const QString &psCom, const Variant &pvParam,
                       Variant &pvRitComando);

// Opens the program window of that name (creating it from its registration), or brings it
// forward when it is loaded, handing it the keys. False when it could not be opened; a window
// whose load failed is unloaded and the program ends.
bool AttivaForm(const QString &nomeForm, bool primaAttivazione, const QString &keySec, const QString &keyLancia,
                const QString &keySecLancia, const QString &paramLancia, bool mostra,
                const std::optional<QString> &caption = std::nullopt);

// Sends an error report to the menu server: before & "Errore(" number "): " message & after.
// When the menu server cannot be reached the report is shown here instead. The connection
// window is unloaded.
void SegnalaErrore(const QString &messaggio, int32_t numero, const QString &prima = {}, const QString &dopo = {});
// For a caught error: its description (with " - " and its source) and its number.
void SegnalaErrore(const AppError &errore, const QString &prima = {}, const QString &dopo = {});

// Shows the message in the standard message box, with a window of the program behind it, and
// requests the end of the program when asked.
void MessaggioEChiudi(const QString &testo, PulsantiMsg pulsanti, bool chiudi);
