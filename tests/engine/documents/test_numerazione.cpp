// Numbering of a new header: the next number of the year, a number taken by another user
// between the query and the store, ten failed attempts.
#include "provaevasione.h"

#include "blocchi.h"

namespace {

class Numerazione : public ProvaEvasione {
protected:
    // Another user's header stored under the number we are about to store.
    void concorrente(int32_t numRif)
    {
        esegui(QStringLiteral("INSERT INTO %T (Anno, NumRif, RagSoc) VALUES (2024, ") + QString::number(numRif) +
               QStringLiteral(", 'Concorrente')"));
    }

    // Installed for the test's scope.
    struct Numeratore {
        explicit Numeratore(NumeratoreTestate n) : precedente(ImpostaNumeratoreTestate(std::move(n))) {}
        ~Numeratore() { ImpostaNumeratoreTestate(std::move(precedente)); }
        NumeratoreTestate precedente;
    };

    static int32_t ultimo(int16_t anno, const QString &tabella)
    {
        return UltimoNumero(anno, tabella, QStringLiteral("NumRif"), false).toLong();
    }
};

TEST_P(Numerazione, NextNumberOfTheYearOnlyTheKeyAndDateUntilFilled)
{
    preparaRun(QStringLiteral("DDT"));
    esegui(QStringLiteral("INSERT INTO DdtTest (Anno, NumRif) VALUES (2023, 40)"));
    esegui(QStringLiteral("INSERT INTO DdtTest (Anno, NumRif, Stato) VALUES (2024, 7, 'S')"));
    const int32_t n = ordine({.ragOrd = QStringLiteral("N")});
    EXPECT_FALSE(evadi(n));
    EXPECT_EQ(eva.mgRecs().LeggiCampo(eva.msAliasTesDoc, u"NumRif").toLong(), 8);
    EXPECT_EQ(testata(8, "OrdNumRif").toInt(), n);
    EXPECT_EQ(testata(8, "DataRif").toDate(), QDate(2024, 5, 10));
    EXPECT_TRUE(testata(8, "Stato").isNull());
}

TEST_P(Numerazione, ANumberTakenMeanwhileIsSkipped)
{
    preparaRun(QStringLiteral("DDT"));
    const int32_t n = ordine({.ragOrd = QStringLiteral("N")});
    int chiamate = 0;
    Numeratore num([&](int16_t anno, const QString &tabella) {
        const int32_t numero = ultimo(anno, tabella);
        if (++chiamate == 1)
            concorrente(numero);
        return numero;
    });
    EXPECT_FALSE(evadi(n));
    EXPECT_EQ(chiamate, 2);
    EXPECT_EQ(eva.msErrori, QString());
    EXPECT_EQ(testata(1, "RagSoc").toString(), QStringLiteral("Concorrente"));
    EXPECT_TRUE(testata(1, "OrdNumRif").isNull());
    EXPECT_EQ(testata(2, "OrdNumRif").toInt(), n);
    EXPECT_EQ(valore("SELECT NumReg FROM LockGest").toInt(), 2);
    EXPECT_EQ(valore("SELECT NumReg FROM DocDaElab").toInt(), 2);
}

TEST_P(Numerazione, AnyFailureOfAnAttemptCountsAsAFailedAttempt)
{
    preparaRun(QStringLiteral("DDT"));
    const int32_t n = ordine({.ragOrd = QStringLiteral("N")});
    int chiamate = 0;
    Numeratore num([&](int16_t anno, const QString &tabella) -> int32_t {
        if (++chiamate == 1)
            throw AppError(3146, QStringLiteral("database occupato"));
        return ultimo(anno, tabella);
    });
    EXPECT_FALSE(evadi(n));
    EXPECT_EQ(eva.msErrori, QString());
    EXPECT_EQ(conta("DdtTest"), 1);
    EXPECT_EQ(testata(1, "OrdNumRif").toInt(), n);
}

TEST_P(Numerazione, TenFailedAttemptsGiveOneErrorLineAndLeaveNothing)
{
    preparaRun(QStringLiteral("FAT"));
    const int32_t n = ordine({.ragOrd = QStringLiteral("N")});
    Numeratore num([&](int16_t anno, const QString &tabella) {
        const int32_t numero = ultimo(anno, tabella);
        concorrente(numero);
        return numero;
    });
    EXPECT_TRUE(evadi(n));
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_TRUE(eva.msErrori.startsWith(QStringLiteral("Errore n\u00b03022 : "))) << eva.msErrori.toStdString();
    EXPECT_TRUE(eva.msErrori.endsWith(
        QStringLiteral(" in Evasione Ordini: Evasione di un singolo Ordine: Creazione nuova testata di Evasione Ordini\r\n")));
    EXPECT_EQ(conta("FatTest"), 10);
    EXPECT_EQ(valore("SELECT COUNT(*) FROM FatTest WHERE OrdNumRif IS NOT NULL").toInt(), 0);
    EXPECT_EQ(conta("LockGest"), 0);
    EXPECT_EQ(conta("DocDaElab"), 0);
    EXPECT_TRUE(dialoghi->mostrati().empty());
    EXPECT_TRUE(addebiti->chiamate.empty());
}

INSTANTIATE_TEST_SUITE_P(Engines, Numerazione, kBothEngines, engineParamName);

} // namespace
