#pragma once
// The bank-charge and stamp-duty rows of a document. A document's payment terms may carry an
// expense charged once per instalment: a bank charge (Spese.TipoAddebito "R") for customers
// with PianoConti.SpeseBan "S", a stamp duty ("T") for customers with PianoConti.Bolli "S".
// Each operation compares the document's previous and new data (type sign, customer account,
// payment terms, currency) and adds, updates, replaces or deletes the one row of its kind in
// the document's expense table (FatSpese, DdtSpese).
//
//   int32_t errore = 0; QString testo;
//   AggiungiSpeseBanca("FatSpese", 2024, 17, "", "+", "", "14-01-0003", "", "RB306090", "",
//                      "Euro", "22", errore, testo);   // a new invoice: previous set empty
//
// No message is shown and no transaction is opened (a replaced row excepted, see below): a
// failure comes back as its number (result and plErrore) and description (psErrore), the
// record sets opened are closed. A set that does not qualify for the charge is no error.
#include "gestrecordset.h"

#include <QString>
#include <cstdint>
#include <optional>

// The charge flags of the previous and the new account, when the caller already knows them:
// they then stand in for the look-up in PianoConti and the account arguments are not read.
struct FlagContiAddebito {
    QString precedente; // "S": the previous account is charged
    QString nuovo;      // "S": the new account is charged
};

// Arguments: expense table, year, document number; then the previous and the new value of the
// document-type sign, the customer account ("Gruppo-Mastro-Conto" or without separators), the
// payment terms and the currency; the VAT code of the row ("" takes the expense's own).
// Result: the error number, as in plErrore (0 when all went well).
int32_t AggiungiSpeseBanca(const QString &psTabSpese, int16_t piAnno, int32_t plNumRif, const QString &psSegnoPrec,
                           const QString &psSegno, const QString &psContoPrec, const QString &psConto,
                           const QString &psPagamentoPrec, const QString &psPagamento, const QString &psMonetaPrec,
                           const QString &psMoneta, const QString &psIva, int32_t &plErrore, QString &psErrore,
                           const std::optional<FlagContiAddebito> &pvFlagConti = std::nullopt);
// The same for the stamp-duty row: account flag PianoConti.Bolli, expense kind "T", the
// expense's Percentuale in place of its Importo as the field that must not be zero.
int32_t AggiungiBolliDoc(const QString &psTabSpese, int16_t piAnno, int32_t plNumRif, const QString &psSegnoPrec,
                         const QString &psSegno, const QString &psContoPrec, const QString &psConto,
                         const QString &psPagamentoPrec, const QString &psPagamento, const QString &psMonetaPrec,
                         const QString &psMoneta, const QString &psIva, int32_t &plErrore, QString &psErrore,
                         const std::optional<FlagContiAddebito> &pvFlagConti = std::nullopt);

// ---- the row operations both use; they raise their errors to the caller.
// The record sets of this module, created on first use; every alias is the manager's choice.
GestRecordset &mgRecSpeBan();
// Appends the charge row of the expense of the payment record set psAliasPag (Pagamenti joined
// to Spese) to document piAnno/plNumRif: Riga after the document's highest. psAliasSpese: the
// record set to add through ("" opens an empty one and returns its alias).
void InserisciRigaSpesa(QString &psAliasSpese, const QString &psTabSpese, int16_t piAnno, int32_t plNumRif,
                        const QString &psAliasPag, int16_t piNumScad, const QString &psMoneta, const QString &psIva);
// Iva, Percentuale, Importo (per instalment x piNumScad; the ...Lire amounts for a document in
// lire), ImportoMax and ImportoMin of the row being added or edited; the caller stores it.
void ValorizzaRigaSpesa(const QString &psAliasSpese, const QString &psAliasPag, int16_t piNumScad,
                        const QString &psMoneta, const QString &psIva);
// The highest Riga of the document's expense rows, 0 when it has none.
void UltimaRigaSpese(const QString &psTabSpese, int16_t piAnno, int32_t plNumRif, int32_t &plRiga);
// Opens, updatable, the document's first row of the expense code (empty: the expense of the
// payment record set) and returns its alias in psAliasSpese; the caller tests for a row.
void EsisteSpesaDoc(QString &psAliasSpese, const QString &psTabSpese, int16_t piAnno, int32_t plNumRif,
                    const QString &psAliasPag, const QString &psSpesa);
