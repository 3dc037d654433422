#pragma once
// The payment schedule of a document: from its date, amount, VAT, payment terms (Pagamenti)
// and customer account (PianoConti), the number of instalments, the due date and amount of
// each and, per instalment, a charge computed as a percentage of its amount between a minimum
// and a maximum. Nothing is written to the database.
//
// The footer's stamp duty calls it in mode 1 and takes, when the count is above 0 and no
// error was met, one charge per instalment as that instalment's stamp.
#include "currency.h"
#include "vbdate.h"

#include <QString>
#include <cstdint>
#include <vector>

// The error lines of one calculation: "Errore n°" number " : " description " in " place and a
// line break, thirty at most, then one line of dots; later errors are only counted.
struct ErroriScadenze {
    int16_t numero = 0;
    QString testo;
    QString luogo = QStringLiteral("Calcolo scadenze");
};
void TestoErroreScad(ErroriScadenze &errori, int32_t plNumErrore, const QString &psErrore);

// The minimum when it is above 0 and the value is below it; else the maximum when it is above
// 0 and the value exceeds it; else the value. Compared at eight decimals.
double LimitaImporto(double pdMinimo, double pdMassimo, double pdValore);

// Modes of the charges.
inline constexpr int16_t kScadNoSpese = 0;      // no charges
inline constexpr int16_t kScadCalcolaSpese = 1; // the charges are computed (pvSpese out)
inline constexpr int16_t kScadSpeseDate = 2;    // the charges are the caller's (pvSpese in)

// The schedule. The arrays are indexed 0 to the count, instalment k at index k, index 0 unused.
// Every output is set on every return: an early end leaves a count of 0 (or the terms' own
// negative count), no error and arrays holding index 0 only. A charge is percentage x amount
// / 100 rounded to a multiple of puArrotond in the mode psModoArrot (to the document's
// decimals when the step is 0 or less), then bounded by LimitaImporto. A failure of the
// calculation (a rounding mode the library does not know, a database error) becomes an error
// line: the caller sees an error count above 0 and discards the schedule.
void CalcoloScadenze(const Date &ptDataDoc, double pdImporto, double pdIva, const QString &psPagamento,
                     const QString &psGruppo, const QString &psMastro, const QString &psConto, int16_t piNumDec,
                     std::vector<Date> &ptScadenze, std::vector<double> &pdImporti, int16_t &piNumScad,
                     int16_t &piNumErrori, QString &psErrori, int16_t &piModo, Currency &puPercSpese,
                     std::vector<double> &pvSpese, Currency &puArrotond, QString &psModoArrot, double &pdMinimo,
                     double &pdMassimo, Date &ptDataDecorrenza);
