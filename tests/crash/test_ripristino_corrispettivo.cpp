// A cash sale stopped inside an order, at a row the database refuses, and recovered: the recovery
// finds every movement the user's runs left from their locks and the provenance of their rows,
// whatever request was saved since and whatever other order shares the number; it numbers the
// rows it adds after the movement's last one; it leaves no movement without rows; and a movement
// it cannot finish is named and the recovery does not report success.
#include "companyfixture.h"
#include "invarianti.h"
#include "orders.h"
#include "provacrash.h"

namespace {

const QStringList kCorrispettivo{QStringLiteral("--corrispettivo")};
const QStringList kRipristino{QStringLiteral("--corrispettivo"), QStringLiteral("--recupera")};

class RipristinoCorrispettivo : public ProvaCrash {
protected:
    // What a cash sale of every order gives on a company made by `prepara`, run without a stop.
    std::optional<ValoriMovimenti> indisturbata(const std::function<void(QSqlDatabase &)> &prepara = {})
    {
        auto db = nuovaDitta(prepara);
        if (!db)
            return std::nullopt;
        const Esito intera = esegui(argomenti(*db, QStringLiteral("DDT"), kCorrispettivo));
        EXPECT_EQ(intera.codice, 0) << intera.giornale.toStdString();
        QSqlDatabase q = db->open(QStringLiteral("controllo"));
        ValoriMovimenti v(q);
        chiudi(q);
        return v;
    }

    // The run stopped with "guasto di prova" (exit code 3, the run ended after an error).
    static void fermataDalGuasto(const Esito &e)
    {
        EXPECT_EQ(e.codice, 3) << e.giornale.toStdString();
        EXPECT_TRUE(e.giornale.contains(QStringLiteral("guasto di prova"))) << e.giornale.toStdString();
    }

    // A run of every order stopped at the second movement row of order `numRif`, refused by
    // the database, which takes rows again afterwards.
    void fermataAllaSecondaRiga(const ScratchDb &db, const QSqlDatabase &q, const QString &numRif) const
    {
        guasto(q, QStringLiteral("MovMagDettApp"), numRif, 1);
        fermataDalGuasto(esegui(argomenti(db, QStringLiteral("DDT"), kCorrispettivo)));
        togliGuasto(q, QStringLiteral("MovMagDettApp"));
    }

    static void ripristinoRiuscito(const Esito &e)
    {
        EXPECT_EQ(e.codice, 0) << e.giornale.toStdString();
        EXPECT_TRUE(e.giornale.contains(QStringLiteral("Ripristino terminato"))) << e.giornale.toStdString();
    }

    // A run of the orders left, if any.
    static void resto(const ScratchDb &db)
    {
        const Esito e = esegui(argomenti(db, QStringLiteral("DDT"), kCorrispettivo));
        EXPECT_TRUE(e.codice == 0 || (e.codice == 1 && e.giornale.contains(QStringLiteral("Non ci sono Ordini vendita"))))
            << e.giornale.toStdString();
    }

    // Nothing of the cash sale left pending, and the order's rows in one movement, numbered
    // 1, 2, 3 ...
    static void movimentoFinito(const QSqlDatabase &q, const QString &annoOrdine, const QString &numRif)
    {
        EXPECT_EQ(violazioniDopoRipristino(q), QStringList{});
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM MovMagDettApp")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM MovMagLivApp")), 0);
        EXPECT_EQ(testi(q, QStringLiteral("SELECT Tipo, Anno, NumReg FROM LockGest")), QStringList{});
        const QString provenienza =
            QStringLiteral(" FROM MovMagDett WHERE TipoProv = 'O' AND AnnoRifProv = %1 AND NumRifProv = %2").arg(annoOrdine, numRif);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT DISTINCT Anno, NumReg") + provenienza), 1);
        QStringList numeri;
        for (int i = 1; i <= righe(q, QStringLiteral("SELECT Anno") + provenienza); ++i)
            numeri << QString::number(i);
        EXPECT_EQ(testi(q, QStringLiteral("SELECT RigReg") + provenienza + QStringLiteral(" ORDER BY RigReg")), numeri);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM OrdVenTest WHERE Stato = 'E' AND Anno = %1 AND NumRif = %2")
                               .arg(annoOrdine, numRif)),
                  1);
    }
};

// A run of the next year meets the orders the stopped one holds and stops at their locks: the
// request saved is now its own. The recovery, in that year too, finishes the stopped movement of
// the year before all the same, into the same movement, with the values an undisturbed run gives.
TEST_P(RipristinoCorrispettivo, AMovementStoppedInOneYearIsFinishedByARecoveryInTheNext)
{
    const std::optional<ValoriMovimenti> attesi = indisturbata();
    if (!attesi)
        return;
    auto db = nuovaDitta();
    ASSERT_TRUE(db);
    QSqlDatabase q = db->open(QStringLiteral("controllo"));
    const FotoOrdini prima(q);
    const QString numRif = ordineDiMagazzino(q, 1);
    ASSERT_FALSE(numRif.isEmpty());

    fermataAllaSecondaRiga(*db, q, numRif);
    const QString movimento = testi(q, QStringLiteral("SELECT Anno, NumReg FROM LockGest WHERE Tipo = 'M'")).value(0);
    ASSERT_FALSE(movimento.isEmpty());

    const Esito annoDopo = esegui(argomenti(*db, QStringLiteral("DDT"), kCorrispettivo, kDataAnnoDopo));
    EXPECT_TRUE(annoDopo.giornale.contains(QStringLiteral(" in uso da "))) << annoDopo.giornale.toStdString();

    ripristinoRiuscito(esegui(argomenti(*db, QStringLiteral("DDT"), kRipristino, kDataAnnoDopo)));
    EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo il ripristino";
    movimentoFinito(q, QStringLiteral("2024"), numRif);
    EXPECT_EQ(testi(q, QStringLiteral("SELECT DISTINCT Anno, NumReg FROM MovMagDett WHERE NumRifProv = ") + numRif),
              QStringList{movimento});
    EXPECT_EQ(ValoriMovimenti(q).differenze(*attesi, false), QStringList{}) << "dopo il ripristino";

    resto(*db);
    EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "alla fine";
    EXPECT_EQ(violazioniDopoRipristino(q), QStringList{}) << "alla fine";
    EXPECT_EQ(ValoriMovimenti(q).differenze(*attesi, true), QStringList{}) << "alla fine";
    EXPECT_EQ(ordiniAperti(q), 0);
    integrita(q, GetParam());
    chiudi(q);
}

// Orders 2024/62 and 2023/62 of two customers, each stopped inside its movement by a run of its
// customer. Both movement locks name order 62 of the run's year: the recovery completes each
// movement for the order its rows come from.
TEST_P(RipristinoCorrispettivo, OrdersOfTwoYearsWithOneNumberKeepTheirOwnMovements)
{
    const auto prepara = [](QSqlDatabase &q) {
        suite::OrderInput o;
        o.numRif = 62;
        o.cliente = 1;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 3, .prezzo = 10},
                   {.articolo = suite::articleCode(2), .qta = 2, .prezzo = 5.5},
                   {.articolo = suite::articleCode(3), .qta = 1, .prezzo = 7}};
        suite::addOrder(q, o);
        o.anno = 2023;
        o.cliente = 4;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 4, .prezzo = 9},
                   {.articolo = suite::articleCode(2), .qta = 1, .prezzo = 6}};
        suite::addOrder(q, o);
        // The company's progressives are of 2024, which carries the commitments of 2023.
        const QString stessa = QStringLiteral(" FROM ArticoliProg v WHERE v.Anno = 2023 AND v.Magazzino = ArticoliProg.Magazzino"
                                              " AND v.Articolo = ArticoliProg.Articolo AND v.Livello1 = ArticoliProg.Livello1"
                                              " AND v.Livello2 = ArticoliProg.Livello2");
        righeQuery(q, QStringLiteral("UPDATE ArticoliProg SET QtaImpCli = QtaImpCli + (SELECT v.QtaImpCli") + stessa
                          + QStringLiteral(") WHERE Anno = 2024 AND EXISTS (SELECT v.Anno") + stessa + QStringLiteral(")"));
        righeQuery(q, QStringLiteral("DELETE FROM ArticoliProg WHERE Anno = 2023"));
    };
    const std::optional<ValoriMovimenti> attesi = indisturbata(prepara);
    if (!attesi)
        return;
    auto db = nuovaDitta(prepara);
    ASSERT_TRUE(db);
    QSqlDatabase q = db->open(QStringLiteral("controllo"));
    const FotoOrdini prima(q);
    ASSERT_EQ(prima.violazioniCorrispettivi(q), QStringList{});

    // each run stops at the second row of its order 62
    for (const auto &[cliente, scritte] : {std::pair{"14010001", 1}, std::pair{"14010004", 2}}) {
        guasto(q, QStringLiteral("MovMagDettApp"), QStringLiteral("62"), scritte);
        fermataDalGuasto(esegui(argomenti(*db, QStringLiteral("DDT"),
                                          kCorrispettivo + QStringList{"--cliente-da", cliente, "--cliente-a", cliente})));
        togliGuasto(q, QStringLiteral("MovMagDettApp"));
    }
    EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest WHERE Tipo = 'M' AND PadreAnno = 2024 AND PadreNumReg = 62")),
              2);
    EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo le fermate";

    ripristinoRiuscito(esegui(argomenti(*db, QStringLiteral("DDT"), kRipristino)));
    EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo il ripristino";
    movimentoFinito(q, QStringLiteral("2024"), QStringLiteral("62"));
    movimentoFinito(q, QStringLiteral("2023"), QStringLiteral("62"));
    EXPECT_EQ(ValoriMovimenti(q).differenze(*attesi, false), QStringList{}) << "dopo il ripristino";

    resto(*db);
    EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "alla fine";
    EXPECT_EQ(ValoriMovimenti(q).differenze(*attesi, true), QStringList{}) << "alla fine";
    EXPECT_EQ(ordiniAperti(q), 0);
    chiudi(q);
}

// An order of a non-stock article and a description line, stopped at the lock of its new
// movement: the header goes with the lock, the order's lines stay marked for the run. The
// recovery converts them, which moves no stock: no movement header is left without rows.
TEST_P(RipristinoCorrispettivo, AnOrderThatMovesNoStockLeavesNoEmptyMovement)
{
    int32_t numRif = 0;
    auto db = nuovaDitta([&](QSqlDatabase &q) {
        suite::OrderInput o;
        o.righe = {{.articolo = suite::articleCode(7), .qta = 4, .prezzo = 2},
                   {.tipoRiga = QStringLiteral("D"), .descrizione = QStringLiteral("Consegna al piano")}};
        numRif = suite::addOrder(q, o);
    });
    if (!db)
        return;
    QSqlDatabase q = db->open(QStringLiteral("controllo"));
    const FotoOrdini prima(q);
    const QString n = QString::number(numRif);

    guastoSe(q, QStringLiteral("LockGest"), QStringLiteral("NEW.Tipo = 'M' AND NEW.PadreNumReg = ") + n);
    fermataDalGuasto(esegui(argomenti(*db, QStringLiteral("DDT"), kCorrispettivo)));
    togliGuasto(q, QStringLiteral("LockGest"));
    EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo la fermata";
    EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM OrdVenDett WHERE FlagStato = '4' AND NumRif = ") + n), 2);

    ripristinoRiuscito(esegui(argomenti(*db, QStringLiteral("DDT"), kRipristino)));
    EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo il ripristino";
    EXPECT_EQ(violazioniDopoRipristino(q), QStringList{});
    EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM OrdVenDett WHERE TipoRiga = 'A' AND QtaEvasa = 4 AND StatoRiga = 'E'"
                                      " AND FlagStato = '0' AND NumRif = ")
                           + n),
              1);
    EXPECT_EQ(testi(q, QStringLiteral("SELECT Stato FROM OrdVenTest WHERE NumRif = ") + n), QStringList{"E"});
    EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest")), 0);

    resto(*db);
    EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "alla fine";
    EXPECT_EQ(violazioniDopoRipristino(q), QStringList{}) << "alla fine";
    EXPECT_EQ(ordiniAperti(q), 0);
    chiudi(q);
}

// A movement the recovery cannot finish: its posting refused again by the database, or a row of
// it that comes from another order. The recovery names it, does not say it ended, and leaves the
// movement held with its rows pending and its order without a second movement; once the cause
// is gone, a further recovery finishes it.
TEST_P(RipristinoCorrispettivo, AMovementTheRecoveryCannotFinishIsNamedAndKeptForTheNext)
{
    struct Caso {
        const char *nome;
        std::function<void(const QSqlDatabase &, const QString &numRif)> guasta, ripara;
    };
    const Caso casi[] = {
        {"registrazione rifiutata",
         [&](const QSqlDatabase &q, const QString &numRif) { guasto(q, QStringLiteral("MovMagDett"), numRif, 0); },
         [&](const QSqlDatabase &q, const QString &) { togliGuasto(q, QStringLiteral("MovMagDett")); }},
        {"riga di un altro ordine",
         [](const QSqlDatabase &q, const QString &numRif) {
             righeQuery(q, QStringLiteral("UPDATE MovMagDettApp SET NumRifProv = NumRifProv + 1000 WHERE NumRifProv = ") + numRif);
         },
         [](const QSqlDatabase &q, const QString &numRif) {
             righeQuery(q, QStringLiteral("UPDATE MovMagDettApp SET NumRifProv = NumRifProv - 1000 WHERE NumRifProv = %1 + 1000")
                               .arg(numRif));
         }},
    };
    for (const Caso &caso : casi) {
        SCOPED_TRACE(caso.nome);
        auto db = nuovaDitta();
        if (!db)
            return;
        QSqlDatabase q = db->open(QStringLiteral("controllo"));
        const FotoOrdini prima(q);
        const QString numRif = ordineDiMagazzino(q, 1);
        ASSERT_FALSE(numRif.isEmpty());

        fermataAllaSecondaRiga(*db, q, numRif);
        const auto movimento = righeQuery(q, QStringLiteral("SELECT Anno, NumReg FROM LockGest WHERE Tipo = 'M'"));
        ASSERT_EQ(movimento.size(), 1u);
        const int testate = righe(q, QStringLiteral("SELECT Anno FROM MovMagTes"));

        caso.guasta(q, numRif);
        const Esito fallito = esegui(argomenti(*db, QStringLiteral("DDT"), kRipristino));
        EXPECT_EQ(fallito.codice, 1) << fallito.giornale.toStdString();
        EXPECT_FALSE(fallito.giornale.contains(QStringLiteral("Ripristino terminato"))) << fallito.giornale.toStdString();
        EXPECT_TRUE(fallito.giornale.contains(QStringLiteral("Movimento di magazzino n.reg %1 anno %2")
                                                  .arg(movimento[0][1].toInt())
                                                  .arg(movimento[0][0].toInt())))
            << fallito.giornale.toStdString();
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest WHERE Tipo = 'M'")), 1);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM LockGest WHERE Tipo = 'O' AND NumReg = ") + numRif), 1);
        EXPECT_GT(righe(q, QStringLiteral("SELECT Anno FROM MovMagDettApp")), 0);
        EXPECT_EQ(righe(q, QStringLiteral("SELECT Anno FROM MovMagTes")), testate);
        caso.ripara(q, numRif);
        EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo il ripristino fallito";

        ripristinoRiuscito(esegui(argomenti(*db, QStringLiteral("DDT"), kRipristino)));
        EXPECT_EQ(prima.violazioniCorrispettivi(q), QStringList{}) << "dopo il ripristino";
        movimentoFinito(q, QStringLiteral("2024"), numRif);
        chiudi(q);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, RipristinoCorrispettivo, kBothEngines, engineParamName);

} // namespace
