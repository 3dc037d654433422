#pragma once
// What the crash and recovery tests share: a small company on each engine whose order type has
// its stock causal for cash sales, evasord_run started on it (and killed when asked), queries on
// it, and a failure the database raises on a chosen row to stop a run where a test wants it.
#include "scratchdb.h"
#include "stampaqt.h"

#include <QSqlDatabase>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

struct Esito {
    int codice = -1;  // -1: killed
    QString giornale; // standard error
};

class ProvaCrash : public ::testing::TestWithParam<Engine> {
protected:
    static const QString kData;        // the runs' date and work date
    static const QString kDataAnnoDopo; // a date of the next year

    static void SetUpTestSuite();

    // A new company of a few orders on the engine, `prepara` run on it before the test; nullptr
    // when the engine is not available.
    std::unique_ptr<ScratchDb> nuovaDitta(const std::function<void(QSqlDatabase &)> &prepara = {});

    // evasord_run's arguments for a run on `data` (also the work date) into `tipoEvasione`.
    static QStringList argomenti(const ScratchDb &db, const QString &tipoEvasione, QStringList altri = {},
                                 const QString &data = kData);

    // Runs evasord_run; with `uccidiDopoMs` it is killed that long after its start (unless it
    // ended before).
    static Esito esegui(const QStringList &args, std::optional<int> uccidiDopoMs = std::nullopt);

    static int righe(const QSqlDatabase &db, const QString &sql);
    // The rows of a query, each one's values joined by blanks.
    static QStringList testi(const QSqlDatabase &db, const QString &sql);
    // The orders of the fixture's order type not yet fulfilled.
    static int ordiniAperti(const QSqlDatabase &q);
    // Closes the test's connection "controllo".
    static void chiudi(QSqlDatabase &q);

    // The NumRif of the `n`-th (0-based) order of the fixture's type, in order of number, that
    // moves stock on two lines at least.
    static QString ordineDiMagazzino(const QSqlDatabase &q, size_t n);

    // The database refuses, with "guasto di prova", a row of `tabella` that comes from order
    // `numRif` once `scritte` such rows are there.
    void guasto(const QSqlDatabase &q, const QString &tabella, const QString &numRif, int scritte) const;
    // The same for any new row of `tabella` for which `condizione` (on NEW) holds.
    void guastoSe(const QSqlDatabase &q, const QString &tabella, const QString &condizione) const;
    void togliGuasto(const QSqlDatabase &q, const QString &tabella) const;

    // On SQLite, the file's integrity check.
    static void integrita(const QSqlDatabase &db, Engine engine);
};
