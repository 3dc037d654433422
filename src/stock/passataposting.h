#pragma once
// The walk both posting drivers make over the rows of one kind of a movement: the header, the
// keys of the rows selected (each row is done once, whatever happens to the others), the
// progress display, one transaction per row with the retry rule, and the error modes.
#include "contestoposting.h"
#include "gestrecordset.h"

#include <QString>
#include <cstdint>
#include <functional>

struct PassataPosting {
    PassataPosting(bool disaggiorna_, int16_t anno_, int32_t numReg_, QString tipoRiga_, bool conForm_,
                   QString tabDett_, QString tabLiv_);
    // The table of the pass's rows.
    const QString &tabella() const;

    bool disaggiorna = false;
    int16_t anno = 0;
    int32_t numReg = 0;
    QString tipoRiga;     // "D" detail lines, else level rows
    bool conForm = false; // the progress form of the program, started and ended here
    QString tabDett;      // the tables the rows are read from
    QString tabLiv;
    QString selezione;    // the rows of the pass
    // Before the first row, after the selection (an error there stops the pass).
    std::function<void()> preparazione;
    // The row's steps on the row's own set (updatable, positioned on the row).
    std::function<void(const QString &aliasRiga)> passi;
};

// The row marked with the flag given (FlagStato of the pass's table).
void SegnaRiga(GestRecordset &pgRec, const QString &psAliasRiga, const QString &psTabella, const QString &psFlagStato);

// Runs the pass. With psAliasDato the rows are those of the caller's open set (left open);
// otherwise those of the selection. piErrore: 0 shows the posting error form for a failed row
// and goes on, -2 stops at the first failed row (its number goes into piErrore), any other
// value goes on silently. A failed row is left as it was and counted.
EsitoPosting EseguiPassata(const PassataPosting &passata, GestRecordset &pgRec, QString &psAliasTes,
                           const QString &psAliasDato, QString &psAliasRiga, int16_t &piErrore);
