#include "spesedocumento.h"

#include "contesto.h"
#include "menuclient.h"
#include "scevaordven.h"
#include "ultimerighe.h"
#include "utilgenerali.h"

namespace {

const QString kAliasSelSpese = QStringLiteral("SelSpeseOrd");
const QString kAliasSpeseDoc = QStringLiteral("SpeseDoc");

QString sqlSpeseSelezionate(scEvaOrdVen &eva)
{
    GestRecordset &rs = eva.mgRecs();
    return QStringLiteral("Select OrdVenEvaSpese.Selez,OrdVenSpese.*, Spese.*") +
           QStringLiteral(" from (OrdVenEvaSpese left join OrdVenSpese ") +
           QStringLiteral(" on OrdVenEvaSpese.Anno = OrdVenSpese.Anno") +
           QStringLiteral(" and OrdVenEvaSpese.NumRif = OrdVenSpese.NumRif") +
           QStringLiteral(" and OrdVenEvaSpese.Riga = OrdVenSpese.Riga)") + QStringLiteral(" left join Spese") +
           QStringLiteral(" on OrdVenSpese.Spesa = Spese.Spesa") + QStringLiteral(" Where OrdVenSpese.Anno = ") +
           UtilGenerali::SqlValore(rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Anno"), 2) +
           QStringLiteral(" AND OrdVenSpese.NumRif = ") +
           UtilGenerali::SqlValore(rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif"), 3) +
           QStringLiteral(" AND OrdVenEvaSpese.Utente = ") +
           UtilGenerali::SqlValore(Variant(ggMenuClient->NomeUtente()), 8) +
           QStringLiteral(" AND OrdVenEvaSpese.Selez = ") + UtilGenerali::SqlValore(Variant(QStringLiteral("S")), 8) +
           QStringLiteral(" Order by OrdVenSpese.Riga");
}

// A new expense row: the order's values as stored, Null included.
void aggiungiRiga(scEvaOrdVen &eva, int32_t numRif, int32_t riga)
{
    GestRecordset &rs = eva.mgRecs();
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, kAliasSpeseDoc,
                                  QStringLiteral("Select * from ") + eva.msTabSpese + QStringLiteral(" Where 0=1"),
                                  false, dbOpenDynaset);
    rs.AddNew(alias);
    rs.ScriviCampo(alias, u"Anno", Variant(eva.oiAnno));
    rs.ScriviCampo(alias, u"NumRif", Variant(numRif));
    rs.ScriviCampo(alias, u"Riga", Variant(riga));
    for (const char16_t *campo : {u"Spesa", u"Iva", u"Percentuale", u"Importo", u"ImportoMax", u"ImportoMin",
                                  u"SoggRitAcc"})
        rs.ScriviCampo(alias, campo,
                       rs.ValoreCampo(kAliasSelSpese, QStringLiteral("OrdVenSpese.") + QString::fromUtf16(campo)));
    rs.Update(alias);
}

} // namespace

void EvadoOrdSpese(scEvaOrdVen &eva, bool &pbEsci)
{
    eva.msFase = QStringLiteral("Evasione spese");
    GestRecordset &rs = eva.mgRecs();
    // An automatic run stages every expense of the order, and the order's check found none.
    const scEvaOrdVen::OrdineSenzaSpese &senza = eva.mOrdineSenzaSpese;
    if (!eva.obEvasManule && senza.senza &&
        senza.anno == rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Anno").toInteger() &&
        senza.numRif == rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif").toLong())
        return;
    const int32_t numRif = rs.LeggiCampo(eva.msAliasTesDoc, u"NumRif").toLong();
    struct Chiusura {
        GestRecordset &rs;
        ~Chiusura()
        {
            rs.Chiudi(kAliasSelSpese);
            rs.Chiudi(kAliasSpeseDoc);
        }
    } chiusura{rs};
    rs.Apri(*ggDbAzienda, gsNomeConn, kAliasSelSpese, sqlSpeseSelezionate(eva), false, dbOpenDynaset);
    if (rs.NessunRecord(kAliasSelSpese))
        return;
    rs.MoveFirst(kAliasSelSpese);
    int32_t riga = 0;
    CercaUltRigaSpese(eva, riga, numRif);
    eva.msFase = QStringLiteral("Evasione spese: Creazione spese fattura");
    while (!rs.Eof(kAliasSelSpese) && !pbEsci) {
        // An expense code missing from Spese reads as Null here and stops the transfer.
        const int16_t tipoEvasione = rs.ValoreCampo(kAliasSelSpese, u"Spese.TipoEvasione").toInteger();
        bool aggiungi = tipoEvasione == 2;
        bool somma = false;
        if (tipoEvasione == 1 || tipoEvasione == 3) {
            rs.Apri(*ggDbAzienda, gsNomeConn, kAliasSpeseDoc,
                    QStringLiteral("Select * from ") + eva.msTabSpese + QStringLiteral(" Where Anno = ") +
                        UtilGenerali::SqlValore(Variant(eva.oiAnno), 2) + QStringLiteral(" and NumRif = ") +
                        UtilGenerali::SqlValore(Variant(numRif), 3) + QStringLiteral(" and Spesa = ") +
                        UtilGenerali::SqlValore(rs.ValoreCampo(kAliasSelSpese, u"OrdVenSpese.Spesa"), 8),
                    false, dbOpenDynaset);
            aggiungi = rs.NessunRecord(kAliasSpeseDoc);
            somma = !aggiungi && tipoEvasione == 3;
        }
        if (aggiungi) {
            aggiungiRiga(eva, numRif, ++riga);
        } else if (somma) {
            // A Null amount on either side counts as 0.
            rs.MoveFirst(kAliasSpeseDoc);
            rs.Edit(kAliasSpeseDoc);
            rs.ScriviCampo(kAliasSpeseDoc, u"Importo",
                           Variant(UtilGenerali::ValoreNumerico(rs.ValoreCampo(kAliasSpeseDoc, u"Importo")) +
                                   UtilGenerali::ValoreNumerico(
                                       rs.ValoreCampo(kAliasSelSpese, u"OrdVenSpese.Importo"))));
            rs.Update(kAliasSpeseDoc);
        }
        rs.MoveNext(kAliasSelSpese);
    }
}
