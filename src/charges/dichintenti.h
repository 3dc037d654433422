#pragma once
// The letter-of-intent note of an invoice: the customer's letters of intent (PdcDicIntenti, or
// the single letter kept on the account in PianoConti) written into a text template.
//
// Template markers, found ignoring letter case: §M0§..§/M0§ kept for one letter, §Mn§..§/Mn§
// for several; §RigIni§..§RigFin§ expanded once per letter; inside it §M1§ (first letter),
// §MUL§ (last), §M2§ (second and later), §M-UL§ (all but the last) when several are listed;
// §Rif1§..§Rif3§ by the letter's RifComunicIntenti; "£"..."£" a slot for the account's insert
// text. Placeholders: §Codice§ §Descr§ §ProtRicez§ §AnnoRicAgEn§ §DtRicAgEn§ §NrRic§ §DtRic§
// §NrDich§ §DtDich§ §Importo§ §DataDa§ §DataA§.
#include "variant.h"

#include <QString>
#include <cstdint>

// Why the note could not be built.
struct ErroreDichIntenti {
    int32_t numero = 0;
    QString descrizione;
};

// The note for the account psGruppo/psMastro/psConto. psDicIntenti is the account's
// PianoConti.DicIntenti: framed in "§" it is the template itself, framed in "£" it is the
// insert of the template's "£" slot. The template is otherwise the personal parameter
// psParamTesto of section "Fatture", else psTestoDef, else the standard sentence. pvCodice names
// one letter (any state); 0 lists the letters in force. pdImporto receives the amount of the
// letters cited. "NO" when there is no letter to cite.
// A failure gives the empty text: with `errore` its number and description come back there,
// otherwise the error dialog shows it.
QString TestoDichIntenti(const QString &psGruppo, const QString &psMastro, const QString &psConto,
                         const QString &psDicIntenti, const QString &psParamTesto, const QString &psTestoDef,
                         double &pdImporto, const Variant &pvCodice, ErroreDichIntenti *errore = nullptr);

// Every §tag§...§/tag§ block of the text, in order, replaced by its content (pbTieni) or taken
// out. A block whose closing tag is missing, and everything after it, stays as it is.
QString EstraiSezioneTag(const QString &psTesto, const QString &psTag, bool pbTieni);
