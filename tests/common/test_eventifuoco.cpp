// The focus events of fields: only moves between controls count.
#include "apperror.h"
#include "eventifuoco.h"
#include "guard.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

TEST(EventiFuoco, AMessageShownWhenAFieldIsLeftDoesNotRunTheCheckAgain)
{
    QWidget form;
    auto *a = new QLineEdit(&form);
    auto *b = new QLineEdit(&form);
    auto *l = new QVBoxLayout(&form);
    l->addWidget(a);
    l->addWidget(b);
    QStringList eventi;
    SuGotFocus(a, [&] { eventi << "a+"; });
    SuLostFocus(a, [&] {
        eventi << "a-";
        // A modal box opened by the check: closing it gives the focus back to the form.
        QDialog messaggio(&form);
        QTimer::singleShot(0, &messaggio, &QDialog::accept);
        messaggio.exec();
    });
    SuGotFocus(b, [&] { eventi << "b+"; });
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    a->setFocus(Qt::OtherFocusReason);
    b->setFocus(Qt::TabFocusReason);
    QApplication::setActiveWindow(&form); // the form active again once the box has closed
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(eventi, (QStringList{"a+", "a-", "b+"}));

    // Another window taking the activation and giving it back moves no focus.
    QWidget altra;
    altra.show();
    QApplication::setActiveWindow(&altra);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&altra));
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(eventi.size(), 3);

    // An error in a handler is reported, not raised out of the event loop.
    QStringList segnalati;
    setUncaughtErrorReporter([&](const AppError &e) { segnalati << e.description(); });
    SuLostFocus(b, [] { throw AppError(5, "guasto"); });
    a->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(segnalati, QStringList{"guasto"});
    setUncaughtErrorReporter({});
}

} // namespace
