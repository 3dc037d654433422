// The form display: a modal form holds its caller until it is hidden.
#include "mostraform.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MostraForm, AModalFormReturnsOnlyOnceHidden)
{
    QWidget form;
    bool chiusuraImpeditaDurante = false;
    QTimer::singleShot(20, [&] {
        chiusuraImpeditaDurante = UtilGenerali::ChiusuraImpedita();
        form.hide();
    });
    EXPECT_EQ(UtilGenerali::MostraForm(&form, -1, 1), 0);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(chiusuraImpeditaDurante);
    EXPECT_FALSE(UtilGenerali::ChiusuraImpedita());
    EXPECT_EQ(UtilGenerali::MostraForm(nullptr), -1);
}

TEST(MostraForm, AModelessFormIsShownWithItsState)
{
    QWidget form;
    EXPECT_EQ(UtilGenerali::MostraForm(&form, 2, 0), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    // A form destroyed while shown modally ends the wait too.
    auto *d = new QWidget;
    QTimer::singleShot(20, [d] { delete d; });
    EXPECT_EQ(UtilGenerali::MostraForm(d, -1, 1), 0);
}

} // namespace

int main(int argc, char **argv)
{
    // Headless also when the test list is read at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
