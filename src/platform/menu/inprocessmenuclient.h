#pragma once
// A menu client with the stand-in server's answers inside the same process, for tests that
// need no socket: calls are answered from its configuration and journalled; a test sends a
// command with eseguiComando and gets the handler's answer back at once.
#include "menuclient.h"
#include "menuresponder.h"

class InProcessMenuClient final : public MenuClient {
    Q_OBJECT
public:
    explicit InProcessMenuClient(MenuConfig config = {}, QObject *parent = nullptr);

    MenuResponder &responder() { return m_responder; }
    const MenuJournal &journal() const { return m_responder.journal(); }

    // Delivers a command as the server would and returns what the handler left in
    // pvRitComando (Empty when nobody handles it). Journalled as a command.
    Variant eseguiComando(const QString &com, const QString &keySec = {}, const Variant &param = {},
                          const QString &idMenu = {});

    void Scollega() override;

protected:
    Variant chiama(const QString &op, std::vector<Variant> args) override;

private:
    MenuResponder m_responder;
    bool m_connesso = false;
    bool m_scollegato = false;
};
