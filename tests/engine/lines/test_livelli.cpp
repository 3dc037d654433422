// The level rows of a document line and the line totals they add up to, automatic and manual,
// on SQLite and PostgreSQL.
#include "companyfixture.h"
#include "conversionediprova.h"
#include "gestrecordset.h"
#include "rowwriter.h"

namespace {

using suite::articleCode;

double numero(const Variant &v) { return v.isBlank() ? 0.0 : v.toDouble(); }

// ART00005 has levels. Its line at 10 each, the levels as given.
suite::OrderInput ordineALivelli(std::vector<suite::LevelInput> livelli, const QString &sconto = {},
                                 const QString &moneta = {})
{
    suite::OrderInput o;
    o.moneta = moneta;
    o.righe = {{.articolo = articleCode(5), .prezzo = 10, .sconto = sconto, .livelli = std::move(livelli)}};
    return o;
}

class RigheLivello : public ConversioneDiProva {
protected:
    // The document line from the line's first cursor row, then one level row per cursor row.
    RigaInConversione scriviLivelli(int righeCursore, int32_t rigLiv = 1)
    {
        RigaInConversione r = scriviRiga(1, rigLiv);
        for (int i = 0; i < righeCursore; ++i) {
            ScriviLivelloDocumento(eva, conv, r);
            avanti();
        }
        return r;
    }

    void staging(int32_t numRif, const QString &l1, const QString &l2, double qta, const char *aSaldo,
                 double prezzo = 0)
    {
        suite::insertRow(m_q, "OrdVenEvaDett",
                         {{"Utente", kUtenteProva}, {"Anno", int16_t(2024)}, {"NumRif", numRif},
                          {"RigLiv", int32_t(1)}, {"Livello1", l1}, {"Livello2", l2}, {"ASaldo", aSaldo},
                          {"QtaDaEva", qta}, {"ValUnitario", prezzo}});
    }

    void attendiTotali(const RigaInConversione &r, double qta, double qtaProv, double totale, double euro, double lire)
    {
        EXPECT_DOUBLE_EQ(r.totQta, qta);
        EXPECT_DOUBLE_EQ(r.totQtaProv, qtaProv);
        EXPECT_DOUBLE_EQ(r.totValTotale, totale);
        EXPECT_DOUBLE_EQ(r.totValEuro, euro);
        EXPECT_DOUBLE_EQ(r.totValLire, lire);
    }
};

TEST_P(RigheLivello, ThreeLevelsThreeRowsAndTheirSums)
{
    documento(true);
    const int32_t n = ordine(ordineALivelli({{"S", "ROSSO", 1}, {"M", "BLU", 2}, {"L", "ROSSO", 3}}));
    // A level taken whole at the order's rate keeps its twins as stored, not converted again.
    esegui(QStringLiteral("update OrdVenLiv set ValLire = 19000 where Livello1 = 'S' and NumRif = ") + QString::number(n));
    apri(n);
    const RigaInConversione r = scriviLivelli(3);

    EXPECT_EQ(contaRighe("FatLiv"), 3);
    struct Atteso {
        const char *l1, *l2;
        double qta, totale, lire;
    };
    for (const Atteso &a : {Atteso{"L", "ROSSO", 3, 30, 58088}, Atteso{"M", "BLU", 2, 20, 38725},
                            Atteso{"S", "ROSSO", 1, 10, 19000}}) {
        SCOPED_TRACE(a.l1);
        const auto campo = [&](const char *nome) { return campoLivello(1, a.l1, a.l2, nome); };
        EXPECT_EQ(numero(campo("RigLivOrig")), 1);
        EXPECT_EQ(campo("UM").text(), "PZ");
        EXPECT_EQ(numero(campo("FatCon")), 1);
        EXPECT_EQ(numero(campo("Qta")), a.qta);
        EXPECT_EQ(numero(campo("QtaProv")), a.qta);
        EXPECT_EQ(numero(campo("ValUnitario")), 10);
        EXPECT_EQ(numero(campo("ValTotale")), a.totale);
        EXPECT_EQ(numero(campo("ValEuro")), a.totale);
        EXPECT_EQ(numero(campo("ValLire")), a.lire);
        EXPECT_EQ(campo("FlagStato").text(), "0");
    }
    attendiTotali(r, 6, 6, 60, 60, 115813);
    EXPECT_EQ(r.livQta, 1);
    EXPECT_EQ(r.livValLire, 19000);
}

TEST_P(RigheLivello, AutomaticPartialLevelRecomputedAndFulfilledLevelSkipped)
{
    documento(true);
    // Stored amounts of the first level: 4 x 10 less 10 % = 36, for the whole level.
    apri(ordine(ordineALivelli({{"L", "ROSSO", 4, 1}, {"M", "BLU", 2, 2}}, "10")));
    const RigaInConversione r = scriviLivelli(2);

    EXPECT_EQ(contaRighe("FatLiv"), 1);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "Qta")), 3);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValTotale")), 27);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValEuro")), 27);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValLire")), 52279);
    attendiTotali(r, 3, 3, 27, 27, 52279);
}

TEST_P(RigheLivello, ManualWholeOverAndClosedLevelsAtTheDocumentRate)
{
    documento(true, 1.1);
    const int32_t n = ordine(ordineALivelli({{"L", "ROSSO", 3}, {"M", "BLU", 4, 1}, {"S", "ROSSO", 2}}, {}, suite::fx::kNonEuCurrency));
    staging(n, "L", "ROSSO", 3, "N");
    staging(n, "M", "BLU", 5, "N");
    staging(n, "S", "ROSSO", 0, "S");
    eva.obEvasManule = true;
    apri(n);
    const RigaInConversione r = scriviLivelli(3);

    // Whole level: the order's 30 USD, its twins at the document's 1.1.
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValTotale")), 30);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValEuro")), 27.27);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValLire")), 52807);
    // More picked than open: the row carries what is delivered, the order gives what was open.
    EXPECT_EQ(numero(campoLivello(1, "M", "BLU", "Qta")), 5);
    EXPECT_EQ(numero(campoLivello(1, "M", "BLU", "QtaProv")), 3);
    EXPECT_EQ(numero(campoLivello(1, "M", "BLU", "ValTotale")), 50);
    EXPECT_EQ(numero(campoLivello(1, "M", "BLU", "ValEuro")), 45.45);
    EXPECT_EQ(numero(campoLivello(1, "M", "BLU", "ValLire")), 88012);
    // Closed to balance with nothing delivered: no row, nothing added.
    EXPECT_EQ(contaRighe("FatLiv"), 2);
    attendiTotali(r, 8, 6, 80, 72.72, 140819);
    EXPECT_EQ(r.livQta, 0);
    EXPECT_EQ(r.livQtaProv, 0);
}

TEST_P(RigheLivello, OpenOrderPickedLevelTakesTheStagedPrice)
{
    documento(true);
    const int32_t n = ordine(ordineALivelli({{"L", "ROSSO", 3}}));
    staging(n, "L", "ROSSO", 3, "N", 8);
    eva.obEvasManule = true;
    eva.mbDaOrdAperto = true;
    apri(n);
    scriviLivelli(1);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValUnitario")), 8);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValTotale")), 24);
    EXPECT_EQ(numero(campoLivello(1, "L", "ROSSO", "ValLire")), 46470);
}

TEST_P(RigheLivello, LevelsAlreadyWrittenCountWithWhatTheirRowsHold)
{
    documento(true);
    const int32_t n = ordine(ordineALivelli({{"M", "BLU", 2}, {"L", "ROSSO", 3}}));
    apri(n);
    const RigaInConversione scritta = scriviLivelli(2);

    // As an interrupted run leaves them: the order levels already count as fulfilled.
    esegui(QStringLiteral("update OrdVenLiv set QtaEvasa = Qta where Anno = 2024 and NumRif = ") + QString::number(n));
    apri(n);
    RigaInConversione ripresa;
    ripresa.rigLiv = 1;
    for (int i = 0; i < 2; ++i) {
        SommaLivelloGiaScritto(eva, conv, ripresa);
        avanti();
    }
    attendiTotali(ripresa, scritta.totQta, scritta.totQtaProv, scritta.totValTotale, scritta.totValEuro,
                  scritta.totValLire);
    EXPECT_EQ(ripresa.totQta, 5);
    EXPECT_EQ(contaRighe("FatLiv"), 2);
}

TEST_P(RigheLivello, NoRowUnderALineWithoutItsOwnDocumentLine)
{
    documento(true);
    apri(ordine(ordineALivelli({{"M", "BLU", 2}})));
    RigaInConversione r = rigaCorrente(); // rigLiv 0: the line got no document line
    ScriviLivelloDocumento(eva, conv, r);
    EXPECT_EQ(contaRighe("FatLiv"), 0);
    EXPECT_EQ(r.totQta, 2);
    EXPECT_EQ(r.livQtaProv, 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, RigheLivello, kBothEngines, engineParamName);

} // namespace
