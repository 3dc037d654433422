#pragma once
// A company of the fixture for the tests of the stock posting, on the engine of the test's
// parameter, with the displays, dialogs and outside stock services of the posting replaced by
// recording ones, and helpers to write a movement and read the product data back.
//
//   articolo("P1");
//   causale("CAR", {{"CarScar", "C"}, {"Prov", "F"}, {"Dest", "M"}});
//   movimento(1, "CAR");
//   riga(1, 1, "P1", 10, 25.0);                        // 10 pieces worth 25 euro
//   EXPECT_TRUE(riaggiorna(1).riuscito());
//   EXPECT_EQ(prog("01", "P1").at("QtaCarico"), 10);
#include "contestodiprova.h"
#include "contestoposting.h"
#include "dialoghidiprova.h"
#include "rowwriter.h"
#include "scratchdb.h"
#include "servizimagazzino.h"
#include "vistaposting.h"

#include <QSqlDatabase>
#include <QStringList>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <memory>

// A progress display that keeps every message it was given.
class AvanzamentoRegistrato : public VistaAvanzamentoMemoria {
public:
    void impostaMessaggio(const QString &t) override
    {
        VistaAvanzamentoMemoria::impostaMessaggio(t);
        messaggi << t;
    }
    QStringList messaggi;
};

class VistePostingDiProva : public VistePostingMemoria {
public:
    VistaAvanzamento &formInElab() override { return registrato; }
    VistaAvanzamento *formAttiva() override { return attiva; }
    AvanzamentoRegistrato registrato;
    VistaAvanzamento *attiva = nullptr;
};

// The numeric fields of a row by name (any case); NaN for a field that is Null or absent.
struct Valori {
    std::map<QString, double> campi;
    bool vuoto() const { return campi.empty(); }
    double operator[](const char *nome) const
    {
        const auto v = campi.find(QString::fromLatin1(nome).toLower());
        return v == campi.end() ? std::numeric_limits<double>::quiet_NaN() : v->second;
    }
};

class MagazzinoDiProva : public ::testing::TestWithParam<Engine> {
protected:
    static constexpr int16_t kAnno = 2024;

    void SetUp() override;
    void TearDown() override;

    // Master rows: an article kept in stock (fields override), a stock causal of kind "N"
    // (a load into warehouse "01" from a supplier unless overridden; updates nothing else).
    void articolo(const QString &codice, const suite::FieldValues &campi = {});
    void causale(const QString &codice, const suite::FieldValues &campi);
    // The header of movement numReg of the year, dated 15/03/2024 unless overridden.
    void movimento(int32_t numReg, const QString &causale, const suite::FieldValues &campi = {});
    // A work row: Qta = QtaAggMag = qta, ValTotale = ValEuro = valore, ValLire at 1936,27,
    // ValUnitario = valore / qta, FlagStato "0".
    void riga(int32_t numReg, int32_t rigLiv, const QString &articolo, double qta, double valore,
              const suite::FieldValues &campi = {});
    void livello(int32_t numReg, int32_t rigLiv, const QString &livello1, const QString &livello2, double qta,
                 double valore, const suite::FieldValues &campi = {});
    static suite::FieldValues importi(double qta, double valore);
    void inserisci(const QString &tabella, const suite::FieldValues &campi);
    void esegui(const QString &sql);

    // Takes the movement's lock, re-posts it and releases the lock.
    EsitoPosting riaggiorna(int32_t numReg, bool disaggiorna = false, bool senzaVecchie = false);

    // The first row of a query; the year's progressive row of a warehouse and article; the
    // year's cost row of an article (levels empty: the empty-level marker).
    Valori numeri(const QString &sql);
    Valori prog(const QString &magazzino, const QString &articolo, const QString &livello1 = {},
                const QString &livello2 = {});
    Valori costi(const QString &articolo, const QString &livello1 = {}, const QString &livello2 = {});
    // One field of the first row of a query (Empty without a row).
    Variant valore(const QString &sql);
    int conta(const QString &sql);

    const ScratchDb &db() const { return *m_db; }

    ContestoDiProva contesto;
    DialoghiInstallati dialoghi;
    VistePostingDiProva *viste = nullptr; // owned by the seam while installed
    // What the outside services were asked.
    QStringList richieste;
    double quotaSpese = 0; // what CalcolaQuotaSpese answers

private:
    std::unique_ptr<ScratchDb> m_db;
    QSqlDatabase m_q;
    std::unique_ptr<VistePosting> m_vistePrecedenti;
    ServiziMagazzino m_serviziPrecedenti;
};
