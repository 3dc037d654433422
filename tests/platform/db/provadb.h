#pragma once
// A company database for the library's tests, on SQLite or PostgreSQL, opened through
// ConnessioneDb as the program opens it, with tables declared by the suite's column types.
#include "apperror.h"
#include "connessionedb.h"
#include "gestrecordset.h"
#include "scratchdb.h"
#include "tipicampo.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

struct ColonnaProva {
    const char *nome;
    TipoCampo tipo;
    int lunghezza = 20;
};

// The DDL of a table in the suite's column types, for the engine.
QString ddlTabella(MotoreDb motore, const QString &nome, const std::vector<ColonnaProva> &colonne, const QStringList &chiave);

// The connect argument of ConnessioneDb::Connetti for a scratch database.
QString nomeConnessione(const ScratchDb &db);

class ProvaDb : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    void TearDown() override;

    MotoreDb motore() const { return GetParam() == Engine::SQLite ? MotoreDb::SQLite : MotoreDb::PostgreSQL; }
    void crea(const QString &nome, const std::vector<ColonnaProva> &colonne, const QStringList &chiave);
    void esegui(const QString &sql) { db.Esegui(conn, sql); }
    // The first field of the statement's first row (Null kept), or Empty without a row.
    Variant scalare(const QString &sql);
    // The first field of every row, as whole numbers.
    std::vector<int> interi(const QString &sql);
    int conta(const QString &tabellaEWhere);

    std::unique_ptr<ScratchDb> scratch;
    ConnessioneDb db;
    QString conn;
    GestRecordset rs;
};

// A number of a library error raised by the callable, or 0 when it raises nothing.
template <typename F>
int32_t numeroErrore(F &&f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e.number();
    }
    return 0;
}
