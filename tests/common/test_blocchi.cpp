// Record locks and the next number, on both engines: one program, two connections, and two
// programs started at once on the same record.
#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "contestodiprova.h"
#include "dialoghidiprova.h"
#include "gestrecordset.h"
#include "programmiprova.h"
#include "rifiutidiprova.h"
#include "scratchdb.h"
#include "utilgenerali.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

// One call of BloccaRecord with the arguments the callers mostly pass, and what it returned.
struct Blocco {
    QString stato = QStringLiteral("0");
    QString tipo = QStringLiteral("O");
    int16_t anno = 2024;
    int32_t numero = 7;
    bool blocca = true;
    bool messaggi = false;
    QString descr = QStringLiteral("Il Ord");
    QString gestione = QStringLiteral("3");
    bool soloVerifica = false;
    QString padreTipo;
    int16_t padreAnno = 0;
    int32_t padreNumero = 0;
    int16_t ammettiPropri = 0;

    QString chiave;
    QString utenteLock = QStringLiteral("x");
    QString varie = QStringLiteral("x");
    QString statoLock = QStringLiteral("x");

    int16_t operator()()
    {
        return BloccaRecord(stato, tipo, anno, numero, blocca, messaggi, chiave, descr, utenteLock, gestione, varie,
                            soloVerifica, padreTipo, padreAnno, padreNumero, ammettiPropri, statoLock)
            .toInteger();
    }
};

struct RigaLock {
    QString tipo, utente, stato, gestione, varie, padreTipo;
    int anno = 0, numero = 0, padreAnno = 0, padreNumero = 0;
    Variant ora;
};

std::vector<RigaLock> righeLock()
{
    GestRecordset rs;
    const QString a =
        rs.Apri(*ggDbAzienda, gsNomeConn, {}, QStringLiteral("Select * from LockGest Order By Tipo, Anno, NumReg"));
    std::vector<RigaLock> out;
    for (; !rs.Eof(a); rs.MoveNext(a)) {
        RigaLock r;
        r.tipo = rs.LeggiCampo(a, u"Tipo").text();
        r.anno = rs.LeggiCampo(a, u"Anno").toLong();
        r.numero = rs.LeggiCampo(a, u"NumReg").toLong();
        r.utente = rs.LeggiCampo(a, u"Utente").text();
        r.stato = rs.LeggiCampo(a, u"Stato").text();
        r.gestione = rs.LeggiCampo(a, u"Gestione").text();
        r.varie = rs.LeggiCampo(a, u"Varie").text();
        r.padreTipo = rs.LeggiCampo(a, u"PadreTipo").text();
        r.padreAnno = rs.LeggiCampo(a, u"PadreAnno").toLong();
        r.padreNumero = rs.LeggiCampo(a, u"PadreNumReg").toLong();
        r.ora = rs.ValoreCampo(a, u"Ora");
        out.push_back(r);
    }
    return out;
}

// A lock row stored by another program.
void lockAltrui(const QString &utente, int32_t numero = 7, const QString &gestione = QStringLiteral("O"),
                const QString &ora = QStringLiteral("2024-05-01 10:00:00"))
{
    ggDbAzienda->Esegui(gsNomeConn,
                        QStringLiteral("Insert into LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione, Varie, Ora) "
                                       "values ('O', 2024, %1, '%2', '2', '%3', 'v', '%4')")
                            .arg(numero)
                            .arg(utente, gestione, ora));
}

class Blocchi : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        m_contesto = std::make_unique<ContestoDiProva>();
        m_contesto->menu().responder().setUtente(QStringLiteral("mario"));
    }
    void TearDown() override
    {
        ggRecLock().ChiudiTutti();
        gsUltLock.clear();
    }
    ContestoDiProva &contesto() { return *m_contesto; }

private:
    std::unique_ptr<ContestoDiProva> m_contesto;
};

TEST_P(Blocchi, AFreeRecordIsLockedWithOneRow)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    const Date prima = Date::fromQDateTime(QDateTime::currentDateTime().addSecs(-2));

    Blocco b;
    b.padreTipo = "O";
    b.padreAnno = 2023;
    b.padreNumero = 12;
    EXPECT_EQ(b(), EsitoBlocco::Preso);
    EXPECT_FALSE(b.chiave.isEmpty());
    EXPECT_TRUE(b.utenteLock.isEmpty());
    EXPECT_TRUE(b.varie.isEmpty());
    EXPECT_TRUE(b.statoLock.isEmpty());
    EXPECT_EQ(UltimoErroreBlocco().numero, 0);

    const auto righe = righeLock();
    ASSERT_EQ(righe.size(), 1u);
    const RigaLock &r = righe[0];
    EXPECT_EQ(r.tipo, "O");
    EXPECT_EQ(r.anno, 2024);
    EXPECT_EQ(r.numero, 7);
    EXPECT_EQ(r.utente, "mario");
    EXPECT_EQ(r.stato, "0");
    EXPECT_EQ(r.gestione, "3");
    // what the caller gave, for whoever releases the lock by hand
    EXPECT_EQ(r.varie, "x");
    EXPECT_EQ(r.padreTipo, "O");
    EXPECT_EQ(r.padreAnno, 2023);
    EXPECT_EQ(r.padreNumero, 12);
    ASSERT_TRUE(r.ora.isDate());
    EXPECT_GE(r.ora.toDate().serial(), prima.serial());
    EXPECT_LE(r.ora.toDate().serial(), Date::now().serial() + 2.0 / 86400);
    // The key's set stands on the new row.
    EXPECT_EQ(ggRecLock().LeggiCampo(b.chiave, u"Utente").text(), "mario");
    EXPECT_EQ(ggRecLock().LeggiCampo(b.chiave, u"NumReg").toLong(), 7);
}

TEST_P(Blocchi, AnotherUsersRowIsRefusedAndDescribed)
{
    DialoghiInstallati d;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    lockAltrui("luigi");

    Blocco b;
    b.messaggi = true;
    d->rispondi(1);
    EXPECT_EQ(b(), EsitoBlocco::InUso);
    EXPECT_EQ(b.utenteLock, "luigi");
    EXPECT_EQ(b.gestione, "O");
    EXPECT_EQ(b.statoLock, "2");
    EXPECT_EQ(b.varie, "v");
    ASSERT_EQ(d->mostrati().size(), 1u);
    EXPECT_EQ(d->mostrati()[0].testo, "Il Ord (anno: 2024 - Num.: 7) è in uso da:\r\nluigi\r\n"
                                      "Impossibile effettuare variazioni\r\n"
                                      "Se nessuno lo sta usando sbloccare con l'utility: \r\n"
                                      "Gestione Ordini Vendita Interrotti");
    EXPECT_EQ(d->mostrati()[0].pulsanti, QStringList{"&Ok"});

    // Without messages: only the result; nothing written either way.
    Blocco muto;
    EXPECT_EQ(muto(), EsitoBlocco::InUso);
    EXPECT_EQ(muto.utenteLock, "luigi");
    EXPECT_EQ(d->mostrati().size(), 1u);
    ASSERT_EQ(righeLock().size(), 1u);
    EXPECT_EQ(righeLock()[0].utente, "luigi");
    EXPECT_EQ(righeLock()[0].stato, "2");
}

TEST_P(Blocchi, UtilityNamedByTheHoldersProcedure)
{
    DialoghiInstallati d;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    const std::pair<const char *, const char *> casi[] = {
        {"3", ""}, {"m", "Movimenti Interrotti"}, {"0", "Evasione Ddt in fattura: Interrotta"},
        {"1", "Ripristino Ddt da stampa: Interrotto"}, {"C", "Prima Nota Interrotti"},
    };
    int32_t numero = 100;
    for (const auto &[gestione, utility] : casi) {
        lockAltrui("luigi", numero, gestione);
        Blocco b;
        b.numero = numero++;
        b.messaggi = true;
        d->rispondi(1);
        EXPECT_EQ(b(), EsitoBlocco::InUso);
        EXPECT_TRUE(d->mostrati().back().testo.endsWith(QStringLiteral("\r\nGestione ") + utility))
            << d->mostrati().back().testo.toStdString();
    }
}

TEST_P(Blocchi, TheCurrentUsersRowIsOwnOnlyWhenAccepted)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    lockAltrui("MARIO");

    Blocco b;
    EXPECT_EQ(b(), EsitoBlocco::InUso);
    b.ammettiPropri = 1;
    EXPECT_EQ(b(), EsitoBlocco::Proprio);
    EXPECT_EQ(b.utenteLock, "MARIO");
    EXPECT_EQ(ggRecLock().LeggiCampo(b.chiave, u"Utente").text(), "MARIO");
    b.soloVerifica = true;
    EXPECT_EQ(b(), EsitoBlocco::Preso);
    EXPECT_EQ(righeLock().size(), 1u);
}

TEST_P(Blocchi, CheckOnlyFindsWithoutWriting)
{
    DialoghiInstallati d;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);

    Blocco b;
    b.soloVerifica = true;
    b.messaggi = true;
    b.blocca = false; // forced True by the check
    EXPECT_EQ(b(), EsitoBlocco::Assente);
    EXPECT_TRUE(righeLock().empty());

    lockAltrui("luigi");
    EXPECT_EQ(b(), EsitoBlocco::Preso);
    EXPECT_EQ(b.utenteLock, "luigi");
    EXPECT_TRUE(d->mostrati().empty());
    EXPECT_EQ(righeLock().size(), 1u);
}

TEST_P(Blocchi, StageRewrittenOnTheHeldRow)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    Blocco b;
    ASSERT_EQ(b(), EsitoBlocco::Preso);

    // Find again under the same key, then re-stage: the pattern of the callers.
    Blocco verifica;
    verifica.chiave = b.chiave;
    verifica.soloVerifica = true;
    ASSERT_EQ(verifica(), EsitoBlocco::Preso);
    Blocco stadio;
    stadio.chiave = verifica.chiave;
    stadio.blocca = false;
    stadio.stato = "5";
    stadio.tipo.clear();
    stadio.anno = 0;
    stadio.numero = 0;
    EXPECT_EQ(stadio(), EsitoBlocco::Preso);
    EXPECT_EQ(stadio.chiave, verifica.chiave);
    EXPECT_EQ(righeLock().at(0).stato, "5");
    stadio.stato = "B";
    EXPECT_EQ(stadio(), EsitoBlocco::Preso);
    EXPECT_EQ(righeLock().at(0).stato, "B");
}

TEST_P(Blocchi, FailuresKeepTheirCause)
{
    DialoghiInstallati d;
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);

    // Re-staging a key that holds no set.
    Blocco stadio;
    stadio.chiave = "NessunSet";
    stadio.blocca = false;
    EXPECT_EQ(stadio(), EsitoBlocco::Errore);
    EXPECT_NE(UltimoErroreBlocco().numero, 0);
    EXPECT_FALSE(UltimoErroreBlocco().descrizione.isEmpty());
    EXPECT_TRUE(d->mostrati().empty());
    // The next call that does not fail forgets the cause.
    Blocco libero;
    libero.soloVerifica = true;
    ASSERT_EQ(libero(), EsitoBlocco::Assente);
    EXPECT_EQ(UltimoErroreBlocco().numero, 0);
    EXPECT_TRUE(UltimoErroreBlocco().descrizione.isEmpty());

    // Re-staging a set that stands on no row.
    stadio.chiave = libero.chiave;
    stadio.messaggi = true;
    d->rispondi(1);
    EXPECT_EQ(stadio(), EsitoBlocco::Errore);
    ASSERT_EQ(d->mostrati().size(), 1u);
    EXPECT_TRUE(d->mostrati()[0].testo.contains(QStringLiteral("Errore(%1)").arg(UltimoErroreBlocco().numero)))
        << d->mostrati()[0].testo.toStdString();

    // A database error: the lock table is gone.
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Drop Table LockGest"));
    ggDbAzienda->AggiornaCatalogo(gsNomeConn);
    // The library numbers such a failure 3146, which the suite counts as "in use" like a
    // duplicate key; either way the cause is kept.
    Blocco b;
    const int16_t esito = b();
    const int32_t numero = UltimoErroreBlocco().numero;
    EXPECT_NE(numero, 0);
    EXPECT_EQ(esito, numero == 3146 || numero == 3022 ? EsitoBlocco::Conteso : EsitoBlocco::Errore);
    EXPECT_FALSE(UltimoErroreBlocco().descrizione.isEmpty());
}

TEST_P(Blocchi, StandardKeyAndRelease)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    Blocco b;
    b.chiave = "standard";
    ASSERT_EQ(b(), EsitoBlocco::Preso);
    EXPECT_EQ(b.chiave, "standard");
    EXPECT_FALSE(gsUltLock.isEmpty());
    EXPECT_TRUE(ggRecLock().Aperto(gsUltLock));

    SbloccaRecord(false);
    EXPECT_TRUE(righeLock().empty());
    EXPECT_FALSE(gsUltLock.isEmpty());
    SbloccaRecord(true);
    EXPECT_TRUE(gsUltLock.isEmpty());

    // With a key: deleted, closed, emptied; again on the emptied key is no failure.
    Blocco k;
    ASSERT_EQ(k(), EsitoBlocco::Preso);
    const QString alias = k.chiave;
    SbloccaRecord(k.chiave, true);
    EXPECT_TRUE(k.chiave.isEmpty());
    EXPECT_FALSE(ggRecLock().Aperto(alias));
    EXPECT_TRUE(righeLock().empty());
    SbloccaRecord(k.chiave, true);
    // Taken again after the release.
    EXPECT_EQ(k(), EsitoBlocco::Preso);
}

TEST_P(Blocchi, ReleaseDeletesOnlyTheHoldersRow)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    lockAltrui("luigi", 8);

    // A set found standing on another user's row: the release leaves it.
    Blocco verifica;
    verifica.numero = 8;
    verifica.soloVerifica = true;
    ASSERT_EQ(verifica(), EsitoBlocco::Preso);
    SbloccaRecord(verifica.chiave, true);
    ASSERT_EQ(righeLock().size(), 1u);

    // Our lock removed by the suite's utility and taken by someone else meanwhile: the late
    // release does not remove the new holder's row.
    Blocco mio;
    ASSERT_EQ(mio(), EsitoBlocco::Preso);
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete from LockGest Where NumReg = 7"));
    lockAltrui("luigi", 7);
    SbloccaRecord(mio.chiave, true);
    EXPECT_EQ(righeLock().size(), 2u);

    // Same user, row stored anew at another moment: left too.
    Blocco ancora;
    ancora.numero = 9;
    ASSERT_EQ(ancora(), EsitoBlocco::Preso);
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update LockGest Set Ora = #05/01/2024# Where NumReg = 9"));
    SbloccaRecord(ancora.chiave, false);
    EXPECT_EQ(righeLock().size(), 3u);

    // A row written at midnight (no time part) is still found by its own time.
    lockAltrui("mario", 10, "3", "2024-05-01 00:00:00");
    Blocco mezzanotte;
    mezzanotte.numero = 10;
    mezzanotte.soloVerifica = true;
    ASSERT_EQ(mezzanotte(), EsitoBlocco::Preso);
    SbloccaRecord(mezzanotte.chiave, true);
    EXPECT_EQ(righeLock().size(), 3u);
    for (const auto &r : righeLock())
        EXPECT_NE(r.numero, 10);
}

TEST_P(Blocchi, AReleaseTheDatabaseRefusesIsAnError)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    rifiutaScrittura(db->open(QStringLiteral("rifiuti")), GetParam(), QStringLiteral("rilascio"),
                     QStringLiteral("LockGest"), QStringLiteral("DELETE"));
    Blocco b;
    ASSERT_EQ(b(), EsitoBlocco::Preso);
    const QString alias = b.chiave;
    try {
        SbloccaRecord(b.chiave, true);
        ADD_FAILURE() << "il rilascio rifiutato non dà errore";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("scrittura rifiutata"))) << e.description().toStdString();
    }
    // the lock is still there; its set closed and the key emptied as asked
    EXPECT_EQ(righeLock().size(), 1u);
    EXPECT_TRUE(b.chiave.isEmpty());
    EXPECT_FALSE(ggRecLock().Aperto(alias));
    // a key whose set is closed or empty is still no failure
    EXPECT_NO_THROW(SbloccaRecord(b.chiave, true));
}

TEST_P(Blocchi, AnEmptyUserNameReleasesItsOwnLock)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    contesto().menu().responder().setUtente(QString());
    Blocco b;
    ASSERT_EQ(b(), EsitoBlocco::Preso);
    SbloccaRecord(b.chiave, true);
    EXPECT_TRUE(righeLock().empty());
    // Found again by a check (the row read back from the table) and released.
    Blocco preso;
    ASSERT_EQ(preso(), EsitoBlocco::Preso);
    ggRecLock().Chiudi(preso.chiave);
    Blocco verifica;
    verifica.soloVerifica = true;
    ASSERT_EQ(verifica(), EsitoBlocco::Preso);
    SbloccaRecord(verifica.chiave, true);
    EXPECT_TRUE(righeLock().empty());
    // Another user's row stays.
    lockAltrui("luigi", 7);
    Blocco altrui;
    altrui.soloVerifica = true;
    ASSERT_EQ(altrui(), EsitoBlocco::Preso);
    SbloccaRecord(altrui.chiave, true);
    EXPECT_EQ(righeLock().size(), 1u);
}

TEST_P(Blocchi, TwoConnectionsOneHolder)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    auto primo = ggDbAzienda.condiviso();
    const QString nomePrimo = gsNomeConn;
    auto secondo = std::make_shared<ConnessioneDb>();
    const QString nomeSecondo = secondo->Connetti(nomeDbAzienda(*db));

    Blocco mario;
    ASSERT_EQ(mario(), EsitoBlocco::Preso);

    ggDbAzienda = secondo;
    gsNomeConn = nomeSecondo;
    contesto().menu().responder().setUtente(QStringLiteral("luigi"));
    Blocco luigi;
    EXPECT_EQ(luigi(), EsitoBlocco::InUso);
    EXPECT_EQ(luigi.utenteLock, "mario");
    SbloccaRecord(luigi.chiave, true); // not luigi's: stays
    EXPECT_EQ(righeLock().size(), 1u);

    ggDbAzienda = primo;
    gsNomeConn = nomePrimo;
    contesto().menu().responder().setUtente(QStringLiteral("mario"));
    SbloccaRecord(mario.chiave, true);

    ggDbAzienda = secondo;
    gsNomeConn = nomeSecondo;
    contesto().menu().responder().setUtente(QStringLiteral("luigi"));
    EXPECT_EQ(luigi(), EsitoBlocco::Preso);
    EXPECT_EQ(righeLock().at(0).utente, "luigi");
    ggRecLock().ChiudiTutti();
    ggDbAzienda = primo;
    gsNomeConn = nomePrimo;
}

TEST_P(Blocchi, RiprovaOrEsci)
{
    DialoghiInstallati d;
    d->rispondi(1);
    d->rispondi(2);
    EXPECT_TRUE(RiprovaBlocco("Doc. in uso da luigi"));
    EXPECT_FALSE(RiprovaBlocco("Doc. in uso da luigi"));
    ASSERT_EQ(d->mostrati().size(), 2u);
    EXPECT_EQ(d->mostrati()[0].testo, "Doc. in uso da luigi");
    EXPECT_EQ(d->mostrati()[0].pulsanti, (QStringList{"Riprova", "Esci"}));
    EXPECT_EQ(d->mostrati()[0].richiesta.piComDefault, 1);
    EXPECT_EQ(d->mostrati()[0].richiesta.piLargForm, 80);
    EXPECT_EQ(d->mostrati()[0].richiesta.piLatiForm, 600);
    EXPECT_FALSE(d->mostrati()[0].richiesta.pbSuona);
}

// ---------------------------------------------------------------- next number

void intestazione(int anno, int numRif, const QString &numDoc)
{
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Insert into FatTest (Anno, NumRif, NumDoc) values (%1, %2, %3)")
                                        .arg(anno)
                                        .arg(numRif)
                                        .arg(numDoc));
}

TEST_P(Blocchi, NextNumberOfTheYearNullIgnored)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    const auto numero = [](int16_t anno, const char *campo, bool azzera) {
        const Variant v = UltimoNumero(anno, QStringLiteral("FatTest"), QString::fromLatin1(campo), azzera);
        EXPECT_EQ(v.type(), Variant::Type::Long);
        return v.toLong();
    };
    EXPECT_EQ(numero(2024, "NumRif", false), 1);
    intestazione(2024, 1, "5");
    intestazione(2024, 2, "NULL");
    intestazione(2024, 3, "9");
    intestazione(2023, 40, "70");
    intestazione(2025, 1, "NULL");
    EXPECT_EQ(numero(2024, "NumRif", false), 4);
    EXPECT_EQ(numero(2024, "NumDoc", false), 10);
    EXPECT_EQ(numero(2025, "NumDoc", false), 1);
    EXPECT_EQ(numero(2022, "NumRif", false), 1);

    // Numbering across years from "Coge.AnnoAzzera": empty or 0 counts the whole table.
    EXPECT_EQ(numero(2024, "NumRif", true), 41);
    contesto().parametro("Coge.AnnoAzzera", Variant("0"));
    EXPECT_EQ(numero(2024, "NumDoc", true), 71);
    contesto().parametro("Coge.AnnoAzzera", Variant("2024"));
    EXPECT_EQ(numero(2023, "NumRif", true), 41);
    EXPECT_EQ(numero(2024, "NumRif", true), 4);
    EXPECT_EQ(numero(2030, "NumDoc", true), 10);
}

// ---------------------------------------------------------------- two programs

// Started programs of the helper, released together by a start file.
class Programmi : public ProgrammiProva {
public:
    explicit Programmi(const ScratchDb &db) : ProgrammiProva(db, QStringLiteral(PROVA_BLOCCO)) {}
};

TEST_P(Blocchi, TwoProgramsAtOnceOneWins)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    for (int giro = 0; giro < 4; ++giro) {
        const QString numero = QString::number(50 + giro);
        Programmi p(*db);
        p.avvia("mario", {"blocca", "O", "2024", numero});
        p.avvia("luigi", {"blocca", "O", "2024", numero});
        p.via_();
        const auto righe = p.righe();
        ASSERT_EQ(righe.size(), 2u);
        QStringList esiti;
        for (const auto &r : righe) {
            ASSERT_EQ(r.size(), 1) << r.join('|').toStdString();
            esiti << r[0].section(' ', 1, 1);
        }
        const int vincitori = static_cast<int>(esiti.count("0"));
        EXPECT_EQ(vincitori, 1) << esiti.join(',').toStdString();
        const QString perdente = esiti[0] == "0" ? esiti[1] : esiti[0];
        EXPECT_TRUE(perdente == "1" || perdente == "2") << perdente.toStdString();
        const QString vincitore = esiti[0] == "0" ? "mario" : "luigi";
        const auto lock = righeLock();
        ASSERT_EQ(lock.size(), static_cast<size_t>(giro + 1));
        EXPECT_EQ(lock.back().utente, vincitore);
    }
}

TEST_P(Blocchi, AStoreBeatenByAnotherProgram)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    // The other program stores the row in a transaction it commits a little later.
    const auto tieni = [&](const char *numero) {
        auto p = std::make_unique<Programmi>(*db);
        p->avvia("luigi", {"tieni", "O", "2024", numero, "800"});
        p->via_();
        EXPECT_EQ(p->riga(0), "inserito");
        return p;
    };

    // Our look-up does not see the row yet; our store waits for it and meets the duplicate key.
    auto p = tieni("7");
    Blocco b;
    const int16_t esito = b();
    EXPECT_EQ(p->righe().at(0), QStringList{"confermato"});
    EXPECT_EQ(esito, EsitoBlocco::Conteso) << UltimoErroreBlocco().descrizione.toStdString();
    EXPECT_EQ(UltimoErroreBlocco().numero, 3022);
    ASSERT_EQ(righeLock().size(), 1u);
    EXPECT_EQ(righeLock()[0].utente, "luigi");

    // Inside our own transaction. On SQLite the transaction waits for the other program's
    // commit and then finds its row; on PostgreSQL the store waits for it and meets the
    // duplicate key, which must not spoil the transaction.
    p = tieni("8");
    ggDbAzienda->BeginTrans(gsNomeConn);
    b.numero = 8;
    const int16_t inTransazione = b();
    EXPECT_TRUE(inTransazione == EsitoBlocco::Conteso || inTransazione == EsitoBlocco::InUso) << inTransazione;
    Blocco altro;
    altro.numero = 9;
    EXPECT_EQ(altro(), EsitoBlocco::Preso) << UltimoErroreBlocco().descrizione.toStdString();
    ggDbAzienda->CommitTrans(gsNomeConn);
    EXPECT_EQ(p->righe().at(0), QStringList{"confermato"});
    const auto righe = righeLock();
    ASSERT_EQ(righe.size(), 3u);
    EXPECT_EQ(righe[1].utente, "luigi");
    EXPECT_EQ(righe[2].utente, "mario");
}

TEST_P(Blocchi, TwoNumberersNeverShareANumber)
{
    auto db = SCRATCH_DB_OR_SKIP(GetParam());
    contesto().creaSchema(*db);
    constexpr int quanti = 15;
    Programmi p(*db);
    p.avvia("mario", {"numera", "2024", QString::number(quanti)});
    p.avvia("luigi", {"numera", "2024", QString::number(quanti)});
    p.via_();
    std::set<int> tutti;
    for (const auto &r : p.righe()) {
        ASSERT_EQ(r.size(), quanti) << r.join('|').toStdString();
        for (const QString &riga : r)
            EXPECT_TRUE(tutti.insert(riga.section(' ', 1, 1).toInt()).second) << riga.toStdString();
    }
    EXPECT_EQ(tutti.size(), 2u * quanti);
    EXPECT_EQ(*tutti.begin(), 1);
    EXPECT_EQ(*tutti.rbegin(), 2 * quanti);
    EXPECT_EQ(UltimoNumero(2024, "MovMagTes", "NumReg", false).toLong(), 2 * quanti + 1);
}

INSTANTIATE_TEST_SUITE_P(Motori, Blocchi, kBothEngines, engineParamName);

} // namespace
