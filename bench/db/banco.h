#pragma once
// The databases of the library's benchmarks: a SQLite company file opened as the program opens
// it, and a PostgreSQL database when EVASORD_PG_* name a server; on each the suite's schema
// (the wide tables FatDett, FatTest, ArticoliProg...) and two tables to read, 10,000 headers
// and 100,000 lines. The raw baseline works on a connection of its own with the same settings.
#include "connessionedb.h"
#include "motoredb.h"
#include "scratchdb.h"
#include "tipicampo.h"

#include <QSqlDatabase>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

struct Banco {
    MotoreDb motore = MotoreDb::SQLite;
    std::unique_ptr<ScratchDb> db;
    QString connetti; // the argument of ConnessioneDb::Connetti
    QString nomeGrezza;

    // The raw connection, opened once (on SQLite with the company file's settings).
    QSqlDatabase grezza() const;
    bool sqlite() const { return motore == MotoreDb::SQLite; }
};

// Engine 0 SQLite, 1 PostgreSQL; nullptr when that engine is not available.
const Banco *banco(int64_t motore);
void preparaBanchi();
void chiudiBanchi();

// Runs the statement on the raw connection, or stops the benchmark program.
void eseguiGrezzo(const Banco &b, const QString &sql);
// The field type of a column of the suite's schema.
TipoCampo tipoSchema(const QString &tabella, const QString &campo);

constexpr int kRigheLettura = 100000;

// Seconds of a piece of work, for benchmarks that time two sides of one iteration.
template <typename F>
double cronometra(F &&f)
{
    const auto inizio = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
}

// Reports the library's time as the iteration's, the raw side's and the ratio as counters.
class Coppia {
public:
    explicit Coppia(benchmark::State &st) : m_st(st) {}
    void grezza(double s) { m_grezza += s; }
    void libreria(double s)
    {
        m_libreria += s;
        m_st.SetIterationTime(s);
    }
    ~Coppia();

private:
    benchmark::State &m_st;
    double m_grezza = 0, m_libreria = 0;
};
