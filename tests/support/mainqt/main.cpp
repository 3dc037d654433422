// The main of the test programs that need a widget application (headless): sockets, queued
// deliveries, timers and dialogs.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // headless also when the tests are only listed
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
