#include "transazioni.h"

#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

enum class Passo { Inizio, Conferma, Annullo };

void impostaIsolamento(Passo passo, ConnessioneDb *connessione, bool connAzienda, const QString &nomeConn)
{
    // From here on every error is ignored: the transaction itself stands.
    try {
        ConnessioneDb &conn = connAzienda ? *ggDbAzienda : *connessione;
        const QString nome = UtilGenerali::Vuoto(Variant(nomeConn)) ? gsNomeConn : nomeConn;
        const Variant tipoSql = conn.Impostazione(nome + QStringLiteral(":") + QStringLiteral("DbTipoSql"), 12);
        if (Variant::compare(tipoSql, Variant(true)) != 0)
            return;
        if (conn.Motore(nome) == MotoreDb::PostgreSQL)
            return;
        conn.Esegui(nome,
                    passo == Passo::Inizio ? QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED")
                                           : QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"),
                    dbSQLPassThrough);
    } catch (...) {
    }
}

} // namespace

Variant IniziaTransazione(const Variant &areaDiLavoro, bool opzione, ConnessioneDb *connessione, bool connAzienda,
                          const QString &nomeConn)
{
    UtilGenerali::BeginTrans(areaDiLavoro, opzione);
    impostaIsolamento(Passo::Inizio, connessione, connAzienda, nomeConn);
    return {};
}

Variant ConfermaTransazione(const Variant &areaDiLavoro, bool opzione, ConnessioneDb *connessione, bool connAzienda,
                            const QString &nomeConn)
{
    UtilGenerali::CommitTrans(areaDiLavoro, opzione);
    impostaIsolamento(Passo::Conferma, connessione, connAzienda, nomeConn);
    return {};
}

Variant AnnullaTransazione(const Variant &areaDiLavoro, bool opzione, ConnessioneDb *connessione, bool connAzienda,
                           const QString &nomeConn)
{
    UtilGenerali::Rollback(areaDiLavoro, opzione);
    impostaIsolamento(Passo::Annullo, connessione, connAzienda, nomeConn);
    return {};
}

void ImpostaCampo(GestRecordset &gestore, const QString &alias, const QString &campo, const Variant &valore)
{
    const bool dataMancante = valore.isDate() ? valore.toDate().isEmptyMarker()
                                              : textEquals(valore.text(), QStringLiteral("01/01/100"));
    gestore.ScriviCampo(alias, campo, dataMancante ? Variant(QString()) : valore);
}

bool EsisteCampo(const Variant &tabella, const Variant &campo, const QString &nomeConn)
{
    try {
        const QString nome = nomeConn.isEmpty() ? gsNomeConn : nomeConn;
        return ggDbAzienda->Database(nome).EsisteCampo(tabella.text(), campo.text());
    } catch (...) {
        return false;
    }
}

bool EsisteTabella(const Variant &tabella, const QString &nomeConn)
{
    if (tabella.text().trimmed().isEmpty())
        return false;
    try {
        const QString nome = nomeConn.isEmpty() ? gsNomeConn : nomeConn;
        return ggDbAzienda->Database(nome).EsisteTabella(tabella.text());
    } catch (...) {
        return false;
    }
}
