#pragma once
// The files the program needs around a demo company database: the main ini file "suite.ini"
// with the entry it chooses ("ditta.ini"), and the stand-in menu server's configuration that
// starts the program on that company with the fixture's menu parameters. Used by the demo
// script, the end-to-end tests and the benchmarks.
#include <QMap>
#include <QString>

struct ConfigurazioneDemo {
    QString cartella;        // where the files are written
    QString programma;       // the program the server starts
    QString database;        // the company database (SQLite file)
    QString utente = QStringLiteral("demo");
    QString terminale = QStringLiteral("DEMO01");
    int16_t anno = 2024;     // the fixture's year: the work date falls in it
    QString giornale;        // the server's journal file ("" for none)
    QString fileHelp;        // switch "H" of the launch request ("" for none)
    // Menu parameters added to (or replacing) the fixture's.
    QMap<QString, QString> parametri;
};

struct FileDemo {
    QString suiteIni;
    QString dittaIni;
    QString serverMenu;
};

// Writes the three files (folders made as needed); raises 75 when one cannot be written.
FileDemo scriviConfigurazioneDemo(const ConfigurazioneDemo &c);
