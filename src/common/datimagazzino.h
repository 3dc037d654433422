#pragma once
// Stock data for the stock posting: the condition on an article's variant levels, the
// empty-level marker, an article's summed progressives, and the validity chain of its
// price-list rows.
//
// Variant levels (Livello1, Livello2) exist only when the company parameter "Mag.GesTaglie" is
// "S"; otherwise the product tables hold the marker LivelloVuoto in both level fields.
#include "variant.h"

#include <QString>
#include <cstdint>
#include <optional>

// The empty-level marker of the product tables.
inline const QString LivelloVuoto = QStringLiteral("~\u00e7~");

// " And Livello1 = ... And Livello2 = ...": each level compared with the value passed when the
// company keeps levels, the level is passed, `senzaLivelli` is False and the table keeps that
// many levels for the article (`numLivelli` at least 1 for level 1, 2 for level 2) or
// `forzaLivelli` is True; with the marker otherwise. A level passed empty is compared as "".
Variant SqlCondLivelli(int16_t numLivelli, const std::optional<Variant> &livello1 = std::nullopt,
                       const std::optional<Variant> &livello2 = std::nullopt, bool senzaLivelli = false,
                       bool forzaLivelli = false);

// Takes the leading blanks off the caller's code (trailing ones stay) and returns it, or the
// marker when it is left empty.
QString NormLivello(QString &codice);

// The article's progressives of the year summed over its ArticoliProg rows: of one warehouse
// when `magazzino` is given and not empty, of one level 1 / level 2 unless Null (a Null level
// sums over all). A sum over no rows counts as 0.
//   available = opening + loaded - issued + ordered - committed, stock = opening + loaded -
//   issued, both rounded to giNumDecQta decimals; ordered rounded to a whole number.
// The outputs that are given receive them. Returns the available quantity for kind "D", the
// stock otherwise; without a kind, "D" when `disponibile` is given, else "G".
Variant LeggiProgArticolo(const QString &articolo, int16_t anno, const std::optional<Variant> &magazzino,
                          const Variant &livello1, const Variant &livello2, Variant *disponibile = nullptr,
                          Variant *giacenza = nullptr, Variant *ordinato = nullptr,
                          const std::optional<QString> &tipo = std::nullopt);

// Re-chains the end dates of the article's price-list rows after the row starting on `inizio`
// (a date text) was added or changed: that row ends the day before the next one starts (or on
// 31/12/9999), and the row before it ends the day before `inizio`. A single row always ends on
// 31/12/9999; a start that matches no row changes nothing. The levels are left-trimmed in place
// and an empty one is looked up as the marker. Errors reach the caller.
void AggiornaDateListino(const QString &articolo, QString &livello1, QString &livello2, const QString &listino,
                         const QString &inizio);
