#pragma once
// The checks of the fields that identify a new document: delivery-note prefixes and sales VAT
// registers against the company's lists, margin-scheme registers, the financial year of a date,
// and the document number written with its prefix.
#include "variant.h"

#include <QString>
#include <cstdint>

// The company's lists of one-character codes: menu parameters "Fat.ElePrefDdt" and
// "Ditta.EleRegIvaVen" ("" when absent).
QString LeggiElePrefDdt();
QString LeggiEleRegIvaVen();

// Whether the code (trimmed in the caller's variable) is in the list: an empty code only when
// allowed, otherwise one character found anywhere in the list text, letter case ignored.
bool CodiceInElenco(const QString &elenco, QString &codice, bool vuotoAmmesso);
bool PrefDdtValido(QString &prefisso, bool vuotoAmmesso);
bool RegIvaVenValido(QString &registro, bool vuotoAmmesso);

// Whether the VAT register of that year, type and prefix exists and follows the margin scheme.
bool LeggiLibroIva(int16_t anno, const QString &tipoReg, const QString &prefisso);

// The financial year of a date from "Mag.AnnoCorr", "Mag.DataInizio" and "Mag.DataFine": 0 with
// the year (the current one, the one before or the one after); 4 or 5 with the year 0 and the
// message of a date before or after them; 3 with the year 0 when the parameters cannot be read.
// The message is written only for 4 and 5, and emptied for a date inside the current year.
Variant ControllaDataEsercizio(const Variant &data, int16_t &anno, QString &messaggio);

// The printed number of a document: the number (rounded to a whole one when numeric) followed by
// "/" and the prefix in capitals. With `qualsiasiPrefisso` -1 any prefix but "." is written;
// otherwise only a prefix from "A" to "Z".
QString FormattaNumDoc(const QString &prefisso, const Variant &numero, int16_t qualsiasiPrefisso);
