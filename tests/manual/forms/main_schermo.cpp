// The form tests on two headless screens of their own: 1280 x 800 (the primary) and 800 x 600
// beside it, as the offscreen platform takes them from a configuration file.
#include <QApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryFile schermi(QStringLiteral("schermi-XXXXXX.json"));
    if (!schermi.open())
        return 2;
    schermi.write(R"({"screens": [
        {"name": "grande", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "piccolo", "x": 1280, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
    ]})");
    schermi.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + schermi.fileName()).toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
