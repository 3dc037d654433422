#pragma once
// A test on the company fixture (SQLite) with the help component bound to it, a lookup window
// that records its openings, and a form holding a code field and its description label.
#include "aiutodiprova.h"
#include "companyfixture.h"
#include "contestodiprova.h"
#include "finestraaiutodiprova.h"
#include "scratchdb.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

class FormDittaProva : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = ScratchDb::create(Engine::SQLite);
        ASSERT_TRUE(db);
        c.creaDitta(*db, suite::FixtureOptions{.orders = 1, .customers = 4, .articles = 8});
        auto f = std::make_unique<FinestraAiutoDiProva>();
        finestra = f.get();
        installaAiutoDiProva().ImpostaFinestra(std::move(f));
        codice = new QLineEdit(&form);
        codice->setObjectName("txt");
        codice->setProperty("Index", 200);
        descrizione = new QLabel(&form);
        descrizione->setObjectName("lab");
        descrizione->setProperty("Index", 200);
    }

    // How many times the personal parameter was asked.
    int letture(const QString &sezione, const QString &nome) const
    {
        return static_cast<int>(c.chiaviLette().count(MenuConfig::chiavePersonale(sezione, nome)));
    }

    ContestoDiProva c;
    std::unique_ptr<ScratchDb> db;
    FinestraAiutoDiProva *finestra = nullptr;
    QWidget form;
    QLineEdit *codice = nullptr;
    QLabel *descrizione = nullptr;
};
