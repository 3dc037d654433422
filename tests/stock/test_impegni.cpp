// Committed quantities of the product progressives on both engines: the years changed, the
// quantity and the share of the values moved, VAT taken out, the bill of materials, its errors,
// and two programs moving the same row at once.
#include "apperror.h"
#include "connessionedb.h"
#include "dittaprova.h"
#include "gestrecordset.h"
#include "impegni.h"
#include "programmiprova.h"
#include "rowwriter.h"
#include "transazioni.h"
#include "utilgenerali.h"

#include <optional>
#include <ostream>

inline void PrintTo(const Currency &c, std::ostream *os)
{
    *os << c.toString().toStdString();
}

namespace {

using suite::fx::kNoLevel;

const QString kArt = suite::articleCode(1);

// One call with the arguments a line converter passes, each changeable.
struct Chiamata {
    bool evasione = true;
    int16_t anno = 2024;
    QString magazzino = QStringLiteral("01");
    QString articolo = kArt;
    QString livello1, livello2;
    double qta = 10, qtaEvasa = 0, qtaEvasaPrec = 0, qtaMov = 0;
    double valEuro = 100, valLire = 193627;
    QString aSaldo = QStringLiteral("N");
    bool residuo = false;
    QString tipoIva;
    double aliquota = 22;
    QString prezziIvati = QStringLiteral("N");
    QString artMag = QStringLiteral("S");
    QString carScar = QStringLiteral("S");
    QString causaleDiBa, magComp;
    bool ordFor = false, crea = false;

    void operator()() const
    {
        AggiornaImpegni(evasione, anno, magazzino, articolo, livello1, livello2, Variant(qta), Variant(qtaEvasa),
                        Variant(qtaEvasaPrec), Variant(qtaMov), Variant(valEuro), Variant(valLire), aSaldo, residuo,
                        tipoIva, Variant(aliquota), prezziIvati, artMag, carScar, causaleDiBa, magComp, ordFor, crea);
    }
};

struct Prog {
    double qta = 0;
    Currency val, valLire;
};

class Impegni : public DittaDiProva {
protected:
    void SetUp() override
    {
        DittaDiProva::SetUp();
        giNumDecQta = 3;
        giNumDecPrzEuro = 2;
        giNumDecPrzLire = 0;
    }

    // The row of the key with the given commitment, created when missing.
    void imposta(int16_t anno, const QString &articolo, double qta, double val, double valLire,
                 const QString &l1 = kNoLevel, const QString &l2 = kNoLevel)
    {
        suite::execSql(m_q, QStringLiteral("DELETE FROM ArticoliProg WHERE Anno = ? AND Magazzino = '01' AND "
                                           "Articolo = ? AND Livello1 = ? AND Livello2 = ?"),
                       {anno, articolo, l1, l2});
        suite::insertRow(m_q, QStringLiteral("ArticoliProg"),
                         {{"Anno", anno}, {"Magazzino", "01"}, {"Articolo", articolo}, {"Livello1", l1},
                          {"Livello2", l2}, {"QtaImpCli", qta}, {"ValImpCli", val}, {"ValImpCliLire", valLire}});
    }

    // The row as the program reads it; nullopt when there is none.
    std::optional<Prog> leggi(int16_t anno, const QString &articolo, const QString &l1 = kNoLevel,
                              const QString &l2 = kNoLevel)
    {
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                                  QStringLiteral("Select * from ArticoliProg where Anno = %1 and Magazzino = '01' and "
                                                 "Articolo = %2 and Livello1 = %3 and Livello2 = %4")
                                      .arg(anno)
                                      .arg(UtilGenerali::SqlValore(Variant(articolo), 8),
                                           UtilGenerali::SqlValore(Variant(l1), 8), UtilGenerali::SqlValore(Variant(l2), 8)));
        if (rs.NessunRecord(a))
            return std::nullopt;
        EXPECT_EQ(rs.RecordCount(a), 1);
        Prog p{rs.LeggiCampo(a, u"QtaImpCli").toDouble(), rs.LeggiCampo(a, u"ValImpCli").toCurrency(),
               rs.LeggiCampo(a, u"ValImpCliLire").toCurrency()};
        return p;
    }

    double qta(int16_t anno, const QString &articolo)
    {
        const auto p = leggi(anno, articolo);
        return p ? p->qta : -999;
    }

    void distinta(const QString &padre, const QString &figlio, double qtaLegame, const QString &um)
    {
        suite::insertRow(m_q, QStringLiteral("ArtLegami"),
                         {{"ArticoloPadre", padre}, {"ArticoloFiglio", figlio}, {"Qta", qtaLegame}, {"UM", um}});
    }
    void articolo(const QString &codice, const QString &um, const QString &umVen, double fatConVen, double fatConAcq,
                  int distBase)
    {
        suite::execSql(m_q, QStringLiteral("UPDATE Articoli SET ArtUM = ?, ArtUMVen = ?, FatConVen = ?, FatConAcq = ?, "
                                           "DistBase = ? WHERE Articolo = ?"),
                       {um, umVen, fatConVen, fatConAcq, distBase, codice});
    }
};

Currency C(const char *t)
{
    return Currency::parse(QString::fromLatin1(t)).value();
}

TEST_P(Impegni, TheYearAndLaterYearsStillCommittedGoDownByTheShareDelivered)
{
    imposta(2024, kArt, 10, 100, 193627);
    imposta(2025, kArt, 10, 100, 193627);
    imposta(2026, kArt, 0, 0, 0);
    imposta(2023, kArt, 10, 100, 193627);
    Chiamata ch;
    ch.qtaMov = 3;
    ch.qtaEvasa = 3;
    ch();

    const auto a = leggi(2024, kArt), b = leggi(2025, kArt), d = leggi(2026, kArt), prima = leggi(2023, kArt);
    EXPECT_DOUBLE_EQ(a->qta, 7);
    EXPECT_EQ(a->val, C("70"));
    EXPECT_EQ(a->valLire, C("135538.9"));
    EXPECT_DOUBLE_EQ(b->qta, 7);
    EXPECT_EQ(b->val, C("70"));
    EXPECT_DOUBLE_EQ(d->qta, 0);
    EXPECT_TRUE(d->val.isZero());
    EXPECT_DOUBLE_EQ(prima->qta, 10);
}

TEST_P(Impegni, QuantityMovedByTheCaseOfTheCall)
{
    struct Caso {
        const char *nome;
        Chiamata chiamata;
        double qta;      // committed after, from 15 / 150
        const char *val; // its value after
    };
    Chiamata saldo;
    saldo.aSaldo = "s";
    saldo.qtaEvasaPrec = 4;
    saldo.qtaMov = 1;
    Chiamata soloSaldoSenzaChiusura;
    soloSaldoSenzaChiusura.qtaMov = 0;
    Chiamata tutto;
    tutto.qtaMov = 10;
    Chiamata impegno;
    impegno.evasione = false;
    impegno.qtaMov = 2;
    Chiamata residuo;
    residuo.evasione = false;
    residuo.residuo = true;
    residuo.qtaEvasa = 6;
    residuo.qtaMov = 1;
    Chiamata ordinatoZero;
    ordinatoZero.qta = 0;
    ordinatoZero.qtaMov = 2;
    ordinatoZero.valEuro = 10;
    Chiamata nonAMagazzino = tutto;
    nonAMagazzino.artMag = "N";
    Chiamata causaleSenzaMovimento = tutto;
    causaleSenzaMovimento.carScar = "n";
    const Caso casi[] = {
        {"closed at balance: the whole remainder 10 - 4", saldo, 9, "90"},
        {"nothing moved when not at balance", soloSaldoSenzaChiusura, 15, "150"},
        {"the whole ordered quantity moves its values whole", tutto, 5, "50"},
        {"a commitment enters the family", impegno, 17, "170"},
        {"the open remainder enters the family", residuo, 19, "190"},
        {"an ordered quantity of 0 moves its values whole", ordinatoZero, 13, "140"},
        {"no stock article", nonAMagazzino, 15, "150"},
        {"a causal that moves no stock", causaleSenzaMovimento, 15, "150"},
    };
    for (const Caso &caso : casi) {
        imposta(2024, kArt, 15, 150, 290440);
        caso.chiamata();
        const auto p = leggi(2024, kArt);
        EXPECT_DOUBLE_EQ(p->qta, caso.qta) << caso.nome;
        EXPECT_EQ(p->val, C(caso.val)) << caso.nome;
    }
}

TEST_P(Impegni, ACommitmentThatEndsAtZeroOrBelowKeepsNoValue)
{
    imposta(2024, kArt, 2, 20, 38725);
    Chiamata ch;
    ch.qtaMov = 5;
    ch();
    const auto p = leggi(2024, kArt);
    EXPECT_DOUBLE_EQ(p->qta, -3);
    EXPECT_TRUE(p->val.isZero());
    EXPECT_TRUE(p->valLire.isZero());
}

TEST_P(Impegni, PricesWithVatMoveTheirValuesNetForVatTypesZeroAndOne)
{
    struct Caso {
        const char *tipoIva;
        const char *prezziIvati;
        const char *val;
        const char *valLire;
    };
    // 122 with VAT is 100 net; 236225 lire is 193627 net at no decimals (rounded down).
    const Caso casi[] = {{"0", "S", "100", "194000"}, {"1", "s", "100", "194000"}, {"2", "S", "78", "151402"},
                         {"0", "N", "78", "151402"}};
    for (const Caso &caso : casi) {
        imposta(2024, kArt, 20, 200, 387627);
        Chiamata ch;
        ch.qtaMov = 10;
        ch.valEuro = 122;
        ch.valLire = 236225;
        ch.tipoIva = caso.tipoIva;
        ch.prezziIvati = caso.prezziIvati;
        ch();
        const auto p = leggi(2024, kArt);
        EXPECT_EQ(p->val, C(caso.val)) << caso.tipoIva << caso.prezziIvati;
        EXPECT_EQ(p->valLire, C(caso.valLire)) << caso.tipoIva << caso.prezziIvati;
    }
}

TEST_P(Impegni, LevelsAndMissingRows)
{
    // No row of the key: nothing is written, the components neither.
    const QString nuovo = suite::articleCode(2);
    suite::execSql(m_q, QStringLiteral("DELETE FROM ArticoliProg WHERE Articolo = ?"), {nuovo});
    c.parametro("Ditta.InstDiBa", Variant("S"));
    distinta(nuovo, suite::articleCode(3), 2, "PZ");
    imposta(2024, suite::articleCode(3), 10, 0, 0);
    Chiamata ch;
    ch.articolo = nuovo;
    ch.qtaMov = 4;
    ch.qtaEvasa = 4;
    ch.causaleDiBa = "DIBA";
    ch();
    EXPECT_FALSE(leggi(2024, nuovo));
    EXPECT_DOUBLE_EQ(qta(2024, suite::articleCode(3)), 10);

    // A level 2 without a level 1 stands for no levels; the row is created on request.
    Chiamata crea;
    crea.evasione = false;
    crea.articolo = nuovo;
    crea.livello2 = "XL";
    crea.qtaMov = 4;
    crea.crea = true;
    crea();
    const auto p = leggi(2024, nuovo);
    ASSERT_TRUE(p);
    EXPECT_DOUBLE_EQ(p->qta, 4);
    EXPECT_EQ(p->val, C("40"));

    // A level row: no explosion for levels.
    const QString taglie = suite::articleCode(5);
    imposta(2024, taglie, 6, 60, 0, "M", "BLU");
    distinta(taglie, suite::articleCode(3), 1, "PZ");
    Chiamata livello;
    livello.articolo = taglie;
    livello.livello1 = "M";
    livello.livello2 = "BLU";
    livello.qtaMov = 2;
    livello.qtaEvasa = 2;
    livello.causaleDiBa = "DIBA";
    livello();
    EXPECT_DOUBLE_EQ(leggi(2024, taglie, "M", "BLU")->qta, 4);
    EXPECT_DOUBLE_EQ(qta(2024, suite::articleCode(3)), 10);
}

TEST_P(Impegni, TheBillOfMaterialsReleasesTheComponentsByTheQuantityDelivered)
{
    // A (the article) = 2 B + 3 C in its sales unit (6 a pack); B = 0.5 D in neither unit of D
    // (its purchase factor 0.1). B is an assembly: only its components change.
    const QString a = kArt, b = suite::articleCode(2), cc = suite::articleCode(3), d = suite::articleCode(4);
    articolo(b, "PZ", "PZ", 1, 1, 1);
    articolo(cc, "PZ", "CF", 6, 12, 0);
    articolo(d, "PZ", "PZ", 1, 0.1, 0);
    distinta(a, b, 2, "PZ");
    distinta(a, cc, 3, "cf");
    distinta(b, d, 0.5, "KG");
    imposta(2024, a, 10, 100, 193627);
    imposta(2024, b, 50, 0, 0);
    imposta(2024, cc, 100, 0, 0);
    imposta(2024, d, 10, 0, 0);
    imposta(2025, cc, 0, 0, 0);
    c.parametro("Ditta.InstDiBa", Variant("S"));

    Chiamata ch;
    ch.qtaEvasaPrec = 1;
    ch.qtaEvasa = 5;
    ch.qtaMov = 4;
    ch.causaleDiBa = "DIBA";
    ch();
    EXPECT_DOUBLE_EQ(qta(2024, a), 6);
    EXPECT_DOUBLE_EQ(qta(2024, b), 50);
    EXPECT_DOUBLE_EQ(qta(2024, cc), 100 - 4 * 3 * 6);
    EXPECT_DOUBLE_EQ(qta(2025, cc), 0);
    EXPECT_DOUBLE_EQ(qta(2024, d), 10 - 4 * 2 * 0.5 * 0.1);

    // At balance the whole remainder after the 1 fulfilled before: 9 of A.
    imposta(2024, cc, 100, 0, 0);
    ch.aSaldo = "S";
    ch();
    EXPECT_DOUBLE_EQ(qta(2024, cc), 100 - 9 * 3 * 6);

    // Without the company's bills of materials, or without the causal, no component moves.
    imposta(2024, cc, 100, 0, 0);
    ch.causaleDiBa.clear();
    ch();
    c.parametro("Ditta.InstDiBa", Variant("N"));
    ch.causaleDiBa = "DIBA";
    ch();
    EXPECT_DOUBLE_EQ(qta(2024, cc), 100);
}

TEST_P(Impegni, AnErrorOfTheExplosionFailsTheCallerWhoseRollbackUndoesItAll)
{
    // A loop in the bill of materials: A contains B, which contains A.
    const QString a = kArt, b = suite::articleCode(2), cc = suite::articleCode(3);
    articolo(a, "PZ", "PZ", 1, 1, 1);
    articolo(b, "PZ", "PZ", 1, 1, 1);
    distinta(a, cc, 1, "PZ");
    distinta(a, b, 1, "PZ");
    distinta(b, a, 1, "PZ");
    imposta(2024, a, 10, 100, 193627);
    imposta(2024, cc, 10, 0, 0);
    c.parametro("Ditta.InstDiBa", Variant("S"));

    Chiamata ch;
    ch.qtaEvasa = 4;
    ch.qtaMov = 4;
    ch.causaleDiBa = "DIBA";
    IniziaTransazione();
    try {
        ch();
        ADD_FAILURE() << "a loop in the bill of materials must be an error";
        ConfermaTransazione();
    } catch (const AppError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("Distinta base ciclica"))) << e.description().toStdString();
        AnnullaTransazione();
    }
    EXPECT_DOUBLE_EQ(qta(2024, a), 10);
    EXPECT_DOUBLE_EQ(qta(2024, cc), 10);
}

TEST_P(Impegni, TwoProgramsMovingTheSameRowLoseNothing)
{
    imposta(2024, kArt, 100, 1000, 1936300);
    ProgrammiProva p(*m_db, QStringLiteral(PROVA_IMPEGNI));
    p.avvia("mario", {"rilascia", kArt, "20"});
    p.avvia("luigi", {"rilascia", kArt, "20"});
    p.via_();
    for (const QStringList &righe : p.righe())
        EXPECT_EQ(righe, QStringList{"fatto"});
    const auto r = leggi(2024, kArt);
    EXPECT_DOUBLE_EQ(r->qta, 60);
    EXPECT_EQ(r->val, C("600"));
}

TEST_P(Impegni, TwoProgramsCreatingTheSameRowMakeOneRow)
{
    const QString nuovo = suite::articleCode(2);
    suite::execSql(m_q, QStringLiteral("DELETE FROM ArticoliProg WHERE Articolo = ?"), {nuovo});
    ProgrammiProva p(*m_db, QStringLiteral(PROVA_IMPEGNI));
    p.avvia("mario", {"impegna", nuovo, "10"});
    p.avvia("luigi", {"impegna", nuovo, "10"});
    p.via_();
    for (const QStringList &righe : p.righe())
        EXPECT_EQ(righe, QStringList{"fatto"});
    const auto r = leggi(2024, nuovo);
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->qta, 20);
    EXPECT_EQ(r->val, C("200"));
}

INSTANTIATE_TEST_SUITE_P(Engines, Impegni, kBothEngines, engineParamName);

} // namespace
