#pragma once
// The header of a stock movement that a program generates: a new MovMagTes row in the
// financial year of the movement date, with the next free registration number, stored and left
// current under the caller's alias, then locked in LockGest (type "M", stage "0") for the
// caller. Every header value comes in as an argument.
#include "gestrecordset.h"
#include "variant.h"

#include <QString>
#include <cstdint>
#include <optional>

// psGestione: management code of the lock (replaced by that of a lock row found for the
//   movement). piPadreAnno, plPadreNumReg, psPadreTipo: the lock's parent. pvDataReg: the
//   movement date. pgRecs and psAliasTes: where the header's record set is opened (psAliasTes ""
//   lets the manager choose) and stays, on the new row. plNumReg, piAnno: out, the movement's key.
//   psUtenteLock: out, the holder of a lock row found for the movement. psChiaveLock: in and
//   out, the lock's key as BloccaRecord takes it.
// The document fields PreDoc, NumDoc and DataDoc are written only when the prefix is not empty,
// the number is above 0 or psNumDoc is not empty; psNumDoc, when given, is the number written;
// pvDataDoc left out is the movement date. psImportoSpese, when not empty, is read as a number
// (the workstation's decimal separator) into ImportoSpese.
//
// A movement date outside the previous, current and next financial year raises 5: no movement
// is numbered in year 0. A store refused on the table's key (another user took the number) or
// by an ODBC failure numbers again, ten attempts in all, then raises that error; any other
// error reaches the caller with nothing stored. The result is the lock's (EsitoBlocco): on
// anything but 0 the header is stored and the lock is not the caller's.
[[nodiscard]] int16_t ScriviTestataMov(QString &psGestione, int16_t piPadreAnno, const Variant &pvDataReg,
                                       int32_t plPadreNumReg, GestRecordset &pgRecs, int32_t &plNumReg,
                                       int16_t &piAnno, QString &psUtenteLock, QString &psAliasTes,
                                       const QString &psMagCausale, const QString &psMagazzinoProv,
                                       const QString &psMagazzinoDest, const QString &psGruppoCliFor,
                                       const QString &psMastroCliFor, const QString &psContoCliFor,
                                       const QString &psListino, const QString &psMoneta, const QString &psPadreTipo,
                                       const QString &psFattDocumento, double pdCambio, const QString &psPreDoc,
                                       int32_t plNumDoc, QString &psChiaveLock,
                                       const std::optional<Variant> &pvDataDoc = std::nullopt,
                                       const QString &psNumDoc = {}, const QString &psImportoSpese = {});
