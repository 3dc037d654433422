// The lock of the target header: another user's lock ("Riprova"/"Esci"), a header closed while
// the order waited, the user's own lock from elsewhere.
#include "provaevasione.h"

#include <QSqlQuery>

namespace {

class BloccoTestata : public ProvaEvasione {
protected:
    void lockDi(const QString &utente, int32_t numRif, const QString &stato = QStringLiteral("0"))
    {
        esegui(QStringLiteral("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) VALUES ('D', 2024, ") +
               QString::number(numRif) + QStringLiteral(", '") + QString(utente).replace("'", "''") +
               QStringLiteral("', '") + stato + QStringLiteral("', '3')"));
    }

    // A delivery note of an earlier run, still open: header 1 made by `primo`, whose run ended
    // (its lock and its DocDaElab row gone); then a new run.
    int32_t documentoAperto()
    {
        preparaRun(QStringLiteral("DDT"));
        const int32_t primo = ordine({});
        EXPECT_FALSE(evadi(primo));
        esegui(QStringLiteral("DELETE FROM LockGest"));
        esegui(QStringLiteral("DELETE FROM DocDaElab"));
        preparaRun(QStringLiteral("DDT"));
        return ordine({});
    }

    QStringList lock() const
    {
        QStringList out;
        QSqlQuery q(m_q);
        q.exec(QStringLiteral("SELECT Tipo, NumReg, Utente, Stato FROM LockGest ORDER BY NumReg, Utente"));
        while (q.next())
            out << q.value(0).toString() + q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString() +
                       QLatin1Char(' ') + q.value(3).toString();
        return out;
    }
};

TEST_P(BloccoTestata, AnotherUsersLockRetryThenExitRemovesTheEmptyHeader)
{
    preparaRun(QStringLiteral("DDT"));
    const int32_t n = ordine({.ragOrd = QStringLiteral("N")});
    lockDi(QStringLiteral("Bianchi"), 1); // left on the number the new header takes
    dialoghi->rispondi(1);
    dialoghi->rispondi(2);
    EXPECT_TRUE(evadi(n));
    ASSERT_EQ(dialoghi->mostrati().size(), 2u);
    for (const auto &m : dialoghi->mostrati()) {
        EXPECT_EQ(m.testo, QStringLiteral("Doc. in uso da Bianchi"));
        EXPECT_EQ(m.pulsanti, QStringList({"Riprova", "Esci"}));
        EXPECT_EQ(m.richiesta.piLargForm, 80);
        EXPECT_EQ(m.richiesta.piLatiForm, 600);
    }
    EXPECT_EQ(eva.msErrori, QString());
    EXPECT_EQ(conta("DdtTest"), 0);
    EXPECT_EQ(lock(), QStringList({"D1 Bianchi 0"}));
    EXPECT_EQ(conta("DocDaElab"), 0);
}

TEST_P(BloccoTestata, RetryUntilTheOtherUserLetsGo)
{
    const int32_t n = documentoAperto();
    lockDi(QStringLiteral("Bianchi"), 1);
    dialoghi->azione = [&](int) { esegui(QStringLiteral("DELETE FROM LockGest")); };
    dialoghi->rispondi(1);
    EXPECT_FALSE(evadi(n));
    EXPECT_EQ(dialoghi->mostrati().size(), 1u);
    EXPECT_EQ(conta("DdtTest"), 1);
    EXPECT_TRUE(testata(1, "OrdNumRif").isNull()); // two orders now
    EXPECT_EQ(lock(), QStringList({"D1 " + kUtenteProva + " 1"}));
    EXPECT_EQ(conta("DocDaElab"), 1);
}

TEST_P(BloccoTestata, AHeaderClosedWhileWaitingIsNotUsed)
{
    const int32_t n = documentoAperto();
    const QVariant nota = testata(1, "RagSoc");
    lockDi(QStringLiteral("Bianchi"), 1);
    dialoghi->azione = [&](int) {
        // Bianchi prints the delivery note and lets it go.
        esegui(QStringLiteral("UPDATE DdtTest SET Stato = 'S' WHERE NumRif = 1"));
        esegui(QStringLiteral("DELETE FROM LockGest"));
    };
    dialoghi->rispondi(1);
    EXPECT_FALSE(evadi(n));
    EXPECT_EQ(eva.mgRecs().LeggiCampo(eva.msAliasTesDoc, u"NumRif").toLong(), 2);
    EXPECT_EQ(testata(2, "OrdNumRif").toInt(), n);
    EXPECT_EQ(testata(1, "Stato").toString(), QStringLiteral("S"));
    EXPECT_EQ(testata(1, "OrdNumRif").toInt(), n - 1);
    EXPECT_EQ(lock(), QStringList({"D2 " + kUtenteProva + " 1"}));
    EXPECT_EQ(valore("SELECT NumReg FROM DocDaElab").toInt(), 2);
    EXPECT_EQ(conta("DocDaElab"), 1);
    EXPECT_EQ(nota, testata(1, "RagSoc"));
}

TEST_P(BloccoTestata, TheUsersOwnLockFromElsewhereIsNotTakenForOurs)
{
    const int32_t n = documentoAperto();
    lockDi(kUtenteProva, 1); // another session of the same user, or a lock left behind
    dialoghi->rispondi(2);
    EXPECT_TRUE(evadi(n));
    ASSERT_EQ(dialoghi->mostrati().size(), 1u);
    EXPECT_EQ(dialoghi->mostrati().front().testo, "Doc. in uso da " + kUtenteProva);
    EXPECT_EQ(lock(), QStringList({"D1 " + kUtenteProva + " 0"}));
    EXPECT_EQ(conta("DocDaElab"), 0);
    EXPECT_EQ(testata(1, "OrdNumRif").toInt(), n - 1);
}

TEST_P(BloccoTestata, ALockThatCannotBeWrittenIsAnErrorOfTheOrder)
{
    const int32_t n = documentoAperto();
    // Another program holds the lock table for longer than a statement waits.
    esegui(pg() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
    if (pg())
        esegui(QStringLiteral("LOCK TABLE LockGest IN EXCLUSIVE MODE"));
    const bool esci = evadi(n);
    esegui(QStringLiteral("ROLLBACK"));
    EXPECT_TRUE(esci);
    EXPECT_TRUE(dialoghi->mostrati().empty());
    EXPECT_EQ(eva.miNumErrori, 1);
    EXPECT_TRUE(eva.msErrori.startsWith(QStringLiteral("Errore n\u00b03260 : DDt n.rif 1 anno 2024 errore nel "
                                                       "loccaggio della testata doc.: ")))
        << eva.msErrori.toStdString();
    EXPECT_EQ(testata(1, "OrdNumRif").toInt(), n - 1);
    EXPECT_EQ(conta("LockGest"), 0);
    EXPECT_EQ(conta("DocDaElab"), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, BloccoTestata, kBothEngines, engineParamName);

} // namespace
