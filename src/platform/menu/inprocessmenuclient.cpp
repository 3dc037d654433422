#include "inprocessmenuclient.h"

#include "apperror.h"

#include <QPointer>

InProcessMenuClient::InProcessMenuClient(MenuConfig config, QObject *parent)
    : MenuClient(parent), m_responder(std::move(config))
{
}

Variant InProcessMenuClient::chiama(const QString &op, std::vector<Variant> args)
{
    if (m_scollegato)
        throw AppError(ErrNum::InvalidCall, QStringLiteral("Il programma si è scollegato dal menu"), QStringLiteral("MenuClient"));
    if (!m_connesso) {
        m_connesso = true;
        m_responder.record(JournalEntry{JournalEntry::Kind::Connessione, {}, {}, {}, {}, false});
    }
    return m_responder.answer(op, args);
}

void InProcessMenuClient::Scollega()
{
    struct Close {
        InProcessMenuClient *c;
        ~Close() { c->m_scollegato = true; }
    } close{this};
    MenuClient::Scollega();
}

Variant InProcessMenuClient::eseguiComando(const QString &com, const QString &keySec, const Variant &param,
                                           const QString &idMenu)
{
    const size_t index = m_responder.record(JournalEntry{JournalEntry::Kind::Comando, com, {keySec, param}, {}, {}, false});
    Variant answer;
    QPointer<InProcessMenuClient> self(this);
    emit EseguiComando(idMenu, keySec, com, param, answer);
    if (!self)
        return answer;
    JournalEntry &e = m_responder.entry(index);
    e.result = answer;
    e.answered = true;
    return answer;
}
