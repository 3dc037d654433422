// A fulfilment request made in the real program's dialog: the keys of a user choose the
// automatic mode and press OK on the defaults (the work date, the order type of "Fat.DocOrd"
// and its delivery notes), and the run starts and ends.
#include "menuservercontrol.h"
#include "programmadiprova.h"
#include "righediprova.h"
#include "tastiscritti.h"

#include <gtest/gtest.h>

namespace {

TEST(Richiesta, TheDialogsOkStartsTheRun)
{
    ProgrammaDiProva p(EVASORD_PROG);
    // From the date: Tab to "Automatica", Space to choose it, back four fields to OK, Space.
    p.ambiente(kTastiScrittiEnv, "Tab,Space,Shift+Tab,Shift+Tab,Shift+Tab,Shift+Tab,Space");
    p.avvia();
    ASSERT_TRUE(p.attendiAvvio());
    // The run's own end: its final message, or its error list ("Errore n°..."; the dialog's
    // errors read "Errore(...)").
    const auto delRun = [](const QString &t) {
        return t == QLatin1String("Elaborazione terminata") || t.startsWith(QStringLiteral("Errore n°"));
    };
    ASSERT_TRUE(MenuServerControl::waitFor(
        [&] {
            const QStringList testi = p.testiDialoghi();
            return std::any_of(testi.begin(), testi.end(), delRun);
        },
        20000))
        << p.testiDialoghi().join(" | ").toStdString();
    p.menu().command("fine");
    EXPECT_EQ(p.attendiFine(), 0);
    // The real services converted the orders: no error list, delivery notes with lines, and
    // nothing left registered or locked.
    EXPECT_TRUE(p.testiDialoghi().contains(QStringLiteral("Elaborazione terminata")))
        << p.testiDialoghi().join(" | ").toStdString();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("richiesta"));
    db.setDatabaseName(p.database());
    ASSERT_TRUE(db.open());
    EXPECT_NE(righeTesto(db, QStringLiteral("SELECT COUNT(*) FROM DdtTest")), QStringList{"0"});
    EXPECT_NE(righeTesto(db, QStringLiteral("SELECT COUNT(*) FROM DdtDett")), QStringList{"0"});
    EXPECT_EQ(righeTesto(db, QStringLiteral("SELECT COUNT(*) FROM DocDaElab")), QStringList{"0"});
    EXPECT_EQ(righeTesto(db, QStringLiteral("SELECT COUNT(*) FROM LockGest")), QStringList{"0"});
    db.close();
}

} // namespace
