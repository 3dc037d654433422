#pragma once
// The request of a run given on the command line, checked and copied into the engine as the
// fulfilment dialog does on OK (order and target types decoded, prefix and split payment of
// the target type, the rates of the non-EU currencies).
#include "variant.h"
#include "vbdate.h"

#include <QMap>
#include <QString>
#include <optional>

class scEvaOrdVen;

struct RichiestaRun {
    std::optional<Date> dataEvasione;     // the work date when absent
    std::optional<QString> tipoOrdine;    // the menu's "Fat.DocOrd" when absent
    std::optional<QString> tipoEvasione;  // the order type's FattDocEvasione when absent
    bool corrispettivo = false;           // cash sale: no target type
    bool soloASaldo = false;              // the selected lines only closed
    QString clienteDa, clienteA;
    int32_t numeroDa = 0, numeroA = 0;    // 0: no limit
    Variant consegnaDa = Variant::null(), consegnaA = Variant::null(); // dates or Null
    int16_t meseIva = 0, annoIva = 0;     // the VAT period; 0 when not given
    std::optional<QString> prefisso;
    QString raggruppa;                    // RagOrd given to the selected orders before the run
    QMap<QString, double> cambi;          // rates given, by currency
};

// Copies the request into the engine. nullopt when it is ready to run, else the refusal,
// which the dialog would have shown.
std::optional<QString> PreparaRichiesta(const RichiestaRun &r, scEvaOrdVen &eva);
