#pragma once
// The silent decode of a code through the help component, and the rule that hides inactive
// articles from decodes and lookups.
#include "variant.h"

#include <QString>
#include <initializer_list>
#include <optional>

// The user's "NoDecInattivi" of section "Articoli", read on the first decode that needs it and
// kept ("" until then).
extern QString gsNoDecInattivi;

// An SQL condition true when the one-letter flag is not "S": a Null flag counts as not set, so
// an article whose Inattivo is Null is active and a document type whose Interno is Null is not
// internal. " (Inattivo Is Null Or ucase(Inattivo)<>'S') ".
QString CondizioneFlagNonS(const QString &campo);

// With "NoDecInattivi" "S" the filter is extended to active articles: F & " And " & the
// condition, or the condition alone for an empty filter. Otherwise it is left as it is.
void FiltroArticoliAttivi(QString &filtro);

// Decodes the code of the lookup type without any window. The description receives the
// record's description; the field list (an array of field names; nullptr for none) comes back
// with their values, empty ones when the code is not found. The result is the component's:
// -1 not found, 1 read error, anything else found. The caller's filter is not changed; article
// lookups hide inactive articles when the user asked it.
Variant DecodCodice(const QString &tipo, const Variant &codice, QString &descrizione,
                    const std::optional<Variant> &opzione = std::nullopt, int16_t opzione5 = 0, int16_t opzione6 = 8,
                    const QString &opzione7 = {}, int16_t opzione8 = 0, Variant *listaCampi = nullptr,
                    const QString &filtro = {});

// A field list for the decodes: the field names in an array from index 0.
Variant ListaCampi(std::initializer_list<const char *> nomi);
// The text of the list's value at the position, "" past its end.
QString ValoreInLista(const Variant &lista, size_t posizione);
