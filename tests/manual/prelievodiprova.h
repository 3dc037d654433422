#pragma once
// What the picking tests share: orders of the group on display, the staged rows read back
// in a fixed order, the lock rows and the marks of the header rows.
#include "evamanuprova.h"
#include "rowwriter.h"

class PrelievoDiProva : public EvaManuProva {
protected:
    using Esito = ControlloEvaManu::EsitoPrelievo;

    void SetUp() override
    {
        EvaManuProva::SetUp();
        if (!IsSkipped())
            nuovoControllo();
    }
    ControlloEvaManu &c() { return *controllo; }

    // An order in the group on display (its OrdVenEvaTest row, with its marks).
    int32_t ordine(suite::OrderInput o, const char *marchio = "S")
    {
        const int32_t n = suite::addOrder(fixture, o);
        suite::insertRow(fixture, QStringLiteral("OrdVenEvaTest"),
                         {{"Utente", kUtente}, {"Anno", static_cast<int16_t>(2024)}, {"NumRif", n}, {"Selez", marchio},
                          {"EvadeTutto", marchio}});
        return n;
    }
    OrdineDaPrelevare daPrelevare(int32_t numRif, bool tutto = true)
    {
        OrdineDaPrelevare o;
        o.utente = kUtente;
        o.anno = 2024;
        o.numRif = numRif;
        o.evadeTutto = tutto;
        o.dataConsTestata = Variant::null();
        o.gesTaglie = true;
        return o;
    }
    // The rows of a statement, sorted (the engines order blanks apart).
    QStringList ordinate(const QString &sql)
    {
        QStringList r = righe(sql);
        r.sort();
        return r;
    }
    QStringList staging(int32_t numRif = 0)
    {
        return ordinate(QStringLiteral("Select RigDet, Livello1, Livello2, Articolo, Qta, QtaEvasa, ASaldo, QtaDaEva from OrdVenEvaDett"
                                    " Where Utente = 'mario'") +
                     (numRif ? QStringLiteral(" And NumRif = %1").arg(numRif) : QString()));
    }
    QStringList blocchi() { return ordinate(QStringLiteral("Select NumReg, Utente, Stato, Gestione from LockGest Where Tipo = 'O'")); }
    QStringList marchi(int32_t numRif)
    {
        return ordinate(QStringLiteral("Select Selez, EvadeTutto from OrdVenEvaTest Where NumRif = %1").arg(numRif));
    }
    // Three article lines (one with levels, one level fulfilled), a fulfilled line, a
    // description line, a line of type "C", one expense.
    suite::OrderInput ordineTipo()
    {
        suite::OrderInput o;
        o.righe = {{.articolo = suite::articleCode(1), .qta = 10, .prezzo = 2},
                   {.articolo = suite::articleCode(5), .prezzo = 3,
                    .livelli = {{"S", "ROSSO", 3, 1}, {"M", "BLU", 4, 0}, {"L", "ROSSO", 2, 2}}},
                   {.articolo = suite::articleCode(2), .qta = 5, .prezzo = 1, .qtaEvasa = 5},
                   {.tipoRiga = "D", .descrizione = "Consegna al piano"},
                   {.articolo = suite::articleCode(3), .qta = 1, .prezzo = 1, .tipoRiga = "C"}};
        o.spese = {{.spesa = "TRA", .importo = 15}};
        return o;
    }
};

