#include "connessione.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "gestrecordset.h"
#include "scratchdb.h"
#include "transazioni.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class Transazioni : public ::testing::TestWithParam<Engine> {
protected:
    // A row of AppoggioTemp per field id.
    static void scrivi(const QString &id)
    {
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("INSERT INTO AppoggioTemp (Utente, IdProgramma, IdCampo) "
                                                       "VALUES ('mario', 'EvaOrd', '%1')")
                                            .arg(id));
    }
    static QStringList righe()
    {
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, "Select IdCampo from AppoggioTemp Order By IdCampo");
        QStringList out;
        for (; !rs.Eof(a); rs.MoveNext(a))
            out << rs.LeggiCampo(a, u"IdCampo").text();
        return out;
    }
};

TEST_P(Transazioni, NestedLevelsCommitAndRollBackApart)
{
    ContestoDiProva c;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    c.creaSchema(*db);

    IniziaTransazione();
    scrivi("A");
    IniziaTransazione();
    scrivi("B");
    AnnullaTransazione();
    ConfermaTransazione();
    EXPECT_EQ(righe(), QStringList{"A"});

    IniziaTransazione();
    scrivi("C");
    IniziaTransazione();
    scrivi("D");
    ConfermaTransazione();
    AnnullaTransazione();
    EXPECT_EQ(righe(), QStringList{"A"});
    EXPECT_EQ(ggDbAzienda->LivelloTransazioni(gsNomeConn), 0);
}

TEST_P(Transazioni, RollbackWithNothingOpenDoesNothing)
{
    ContestoDiProva c;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    c.creaSchema(*db);
    EXPECT_NO_THROW(AnnullaTransazione());
    EXPECT_NO_THROW(ConfermaTransazione());
    // The usual error path: an error before the begin, then the handler's rollback.
    IniziaTransazione();
    scrivi("A");
    ConfermaTransazione();
    EXPECT_NO_THROW(AnnullaTransazione());
    EXPECT_EQ(righe(), QStringList{"A"});
}

TEST_P(Transazioni, SqlServerSettingNeverBreaksTheTransaction)
{
    // On PostgreSQL the isolation statement would abort a transaction that has read anything:
    // it is not sent there. Elsewhere a failing isolation statement is ignored.
    ContestoDiProva c;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    c.creaSchema(*db);
    ggDbAzienda->Impostazione(gsNomeConn + ":DbTipoSql", 12, Variant(true));

    IniziaTransazione();
    if (GetParam() == Engine::PostgreSQL) {
        QSqlQuery q(ggDbAzienda->connessione(gsNomeConn).db());
        ASSERT_TRUE(q.exec("SELECT current_setting('transaction_isolation')") && q.next());
        EXPECT_EQ(q.value(0).toString(), "read committed");
    }
    EXPECT_TRUE(righe().isEmpty());
    IniziaTransazione();
    scrivi("A");
    ConfermaTransazione();
    scrivi("B");
    ConfermaTransazione();
    EXPECT_EQ(righe(), (QStringList{"A", "B"}));
}

TEST_P(Transazioni, ImpostaCampoWritesTheMissingDateAsNothing)
{
    ContestoDiProva c;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    c.creaSchema(*db);

    struct Caso {
        const char *id;
        Variant valore;
        Variant atteso;
    };
    const Caso casi[] = {
        {"testo", Variant("01/01/100"), Variant::null()},
        {"data", Variant(Date::emptyMarker()), Variant::null()},
        {"altra", Variant(Date::fromYmd(2024, 3, 5)), Variant(Date::fromYmd(2024, 3, 5))},
    };
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, "Select * from AppoggioTemp", false, dbOpenDynaset);
    for (const auto &k : casi) {
        rs.AddNew(a);
        ImpostaCampo(rs, a, "Utente", Variant("mario"));
        ImpostaCampo(rs, a, "IdProgramma", Variant("EvaOrd"));
        ImpostaCampo(rs, a, "IdCampo", Variant(k.id));
        ImpostaCampo(rs, a, "Valoredata", k.valore);
        rs.Update(a);
    }
    rs.Chiudi(a);
    for (const auto &k : casi) {
        SCOPED_TRACE(k.id);
        const QString b = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                                  QStringLiteral("Select Valoredata from AppoggioTemp where IdCampo = '%1'").arg(k.id));
        EXPECT_TRUE(rs.ValoreCampo(b, u"Valoredata").sameAs(k.atteso)) << rs.ValoreCampo(b, u"Valoredata").text().toStdString();
        rs.Chiudi(b);
    }
}

TEST_P(Transazioni, ExistenceChecksNeverRaise)
{
    ContestoDiProva c;
    EXPECT_FALSE(EsisteTabella("Monete")); // no connection at all
    EXPECT_FALSE(EsisteCampo("Monete", "Cee"));
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    c.creaSchema(*db);
    EXPECT_TRUE(EsisteTabella("monete"));
    EXPECT_TRUE(EsisteCampo("MONETE", "cee"));
    EXPECT_FALSE(EsisteCampo("Monete", "Cambio"));
    EXPECT_FALSE(EsisteCampo("NonCeNe", "Cee"));
    EXPECT_FALSE(EsisteTabella("NonCeNe"));
    EXPECT_FALSE(EsisteTabella(""));
    EXPECT_FALSE(EsisteTabella(Variant::null()));
}

INSTANTIATE_TEST_SUITE_P(Engines, Transazioni, kBothEngines, engineParamName);

} // namespace
