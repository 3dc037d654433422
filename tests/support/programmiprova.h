#pragma once
// Helper programs started together on the same company database, for the tests between
// processes: each gets the database, a user and a start file before its own arguments, prints
// "pronto" once it is connected and starts its work when the start file appears.
#include "contestodiprova.h"
#include "scratchdb.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class ProgrammiProva {
public:
    ProgrammiProva(const ScratchDb &db, QString programma) : m_db(nomeDbAzienda(db)), m_programma(std::move(programma)) {}

    void avvia(const QString &utente, const QStringList &lavoro)
    {
        auto p = std::make_unique<QProcess>();
        p->setProgram(m_programma);
        p->setArguments(QStringList{m_db, utente, via()} + lavoro);
        p->start();
        ASSERT_TRUE(p->waitForStarted(10000));
        m_processi.push_back(std::move(p));
    }
    // The next line the program printed ("" when it printed none in time).
    QString riga(size_t i)
    {
        QProcess &p = *m_processi.at(i);
        while (!p.canReadLine()) {
            if (!p.waitForReadyRead(30000))
                return {};
        }
        return QString::fromUtf8(p.readLine()).trimmed();
    }
    // Waits until each says "pronto", then lets them all go.
    void via_()
    {
        for (size_t i = 0; i < m_processi.size(); ++i)
            ASSERT_EQ(riga(i), "pronto") << m_processi[i]->readAllStandardError().toStdString();
        QFile f(via());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // The lines each printed that were not read yet, once it has ended (within attesaMs).
    std::vector<QStringList> righe(int attesaMs = 60000)
    {
        std::vector<QStringList> out;
        for (auto &p : m_processi) {
            EXPECT_TRUE(p->waitForFinished(attesaMs));
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
            out.push_back(QString::fromUtf8(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts));
        }
        return out;
    }

private:
    QString via() const { return m_dir.filePath(QStringLiteral("via")); }
    QString m_db;
    QString m_programma;
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<QProcess>> m_processi;
};
