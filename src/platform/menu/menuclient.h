#pragma once
// The program's link to the suite's menu server. Every call is synchronous: a failed call
// raises AppError in the caller (the server's own error number, or 5 when the server is
// absent, does not answer in time or drops the link). The server's commands arrive as the
// signal EseguiComando on the UI thread, never in the middle of a call; the answer is what
// the handler leaves in pvRitComando. Connect handlers directly (the answer is read back
// when the signal returns).
//
// A link that breaks (the server gone, a message that cannot be read or never arrives whole)
// is told once through the signal CollegamentoPerso, from the event loop; an end the program
// asks itself (Scollega) is not a loss.
//
// The socket client finds the server through the environment variable SUITE_MENU_SOCKET,
// set by the server that starts the program; SUITE_MENU_TIMEOUT_MS overrides the time a
// call may wait for its answer (30 s by default).
#include "richiestalancio.h"
#include "variant.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

inline constexpr char kMenuSocketEnv[] = "SUITE_MENU_SOCKET";
inline constexpr char kMenuTimeoutEnv[] = "SUITE_MENU_TIMEOUT_MS";

class MenuClient : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~MenuClient() override;

    // What a personal parameter the server does not hold answers.
    static QString marcatoreAssente();

    // Registers the program; the first call also opens the link.
    virtual void Collega(const QString &idMenu, const QString &programma, const QString &programmaPar);
    virtual Variant InviaComando(const QString &comando, const QString &destinatario, const Variant &param = Variant());
    virtual RichiestaLancio LancioCorrente();
    virtual void PrepLancio(const QString &keySec);
    virtual QString FileIni();
    virtual Date DataLavoro();
    virtual QString NomeUtente();
    virtual QString NomeTerminale();
    // A menu key the server does not hold answers Empty; a personal key the marker.
    virtual Variant LeggiParametro(const QString &nome, const QString &predefinito = QString());
    virtual void AggiungiPassaA(const QString &caption, const QString &nomeForm, const QString &keySec);
    virtual void AttivaProgramma(const QString &keyProgramma, const QString &keySec, const QString &param);
    virtual void FormChiusa(const QString &keySec);
    virtual void MostraMenu(const QString &destinatario);
    // Ends the registration and closes the link. Inside a command handler the link closes
    // only after the handler's answer has been sent.
    virtual void Scollega();
    // Whether the link has been lost (not ended by Scollega).
    virtual bool Interrotto() const { return false; }

    // Each call is a round trip to the server. The program's user does not change while the
    // program is linked: once told so, the client keeps the first answer of NomeUtente. Off by
    // default (the name is then asked at each call); turning it off forgets the name.
    void TieniNomeUtente(bool tieni);
    // Parameters do not change under a run: while held, each parameter is asked once and its
    // answer kept; taking or letting go of the hold forgets every answer kept.
    void TieniParametri(bool tieni);

signals:
    void EseguiComando(const QString &psIdMenu, const QString &psKeySec, const QString &psCom,
                       const Variant &pvParam, Variant &pvRitComando);
    void CollegamentoPerso(const QString &motivo);

protected:
    // One call to the server by its name, with its arguments; the server's result.
    virtual Variant chiama(const QString &op, std::vector<Variant> args) = 0;

private:
    bool m_tieniUtente = false;
    std::optional<QString> m_utente;
    bool m_tieniParametri = false;
    QHash<QString, Variant> m_parametri; // by name and default
};

using MenuClientFactory = std::function<std::unique_ptr<MenuClient>()>;

// A new client: the socket client on SUITE_MENU_SOCKET, or what the factory set by a test
// makes. Creating it never raises; a missing server shows at the first call.
std::unique_ptr<MenuClient> creaMenuClient();
// An empty factory restores the socket client.
void impostaFabbricaMenuClient(MenuClientFactory factory);
