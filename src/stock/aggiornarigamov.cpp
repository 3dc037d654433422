#include "aggiornarigamov.h"

#include "aggiornaarticolicosti.h"
#include "aggiornaarticolifor.h"
#include "aggiornaarticoliprog.h"
#include "connessionedb.h"
#include "contesto.h"
#include "conversionieuro.h"
#include "datimagazzino.h"
#include "monete.h"
#include "utilposting.h"

using posting::arr;
using posting::codice;

int16_t AggiornaRigaMov(const QString &psModo, bool pbRigheDefinitive, GestRecordset &pgRec, const QString &psAliasTes,
                        const QString &psAliasRiga, const QString &psTipoRiga, bool pbAggForArt,
                        int16_t piSoloValScarico, double &pdValScaricoLire, double &pdValScarico, bool pbAggProg,
                        bool pbAggCosti, double &pdTotRipartSpese, QString &psRipartSpesePercVal,
                        ContestoPosting &contesto)
{
    GestRecordset &rs = pgRec;
    const auto tes = [&](const char *campo) { return rs.LeggiCampo(psAliasTes, QString::fromLatin1(campo)); };
    const auto tesTesto = [&](const char *campo) { return tes(campo).text(); };
    const bool dettaglio = codice(psTipoRiga, u"D");

    // 1. Rows that move no stock.
    const QString artMag = rs.LeggiCampo(psAliasRiga, u"Articoli.ArtMag").text();
    if (!artMag.isEmpty() && !codice(artMag, u"S"))
        return 0;
    const QString tipoMov = tesTesto("MagCausali.TipoMov");
    if (codice(tipoMov, u"O") || codice(tipoMov, u"D"))
        return 0;
    if (dettaglio && !UtilGenerali::Vuoto(rs.LeggiCampo(psAliasRiga, u"Articoli.LivGruppo1"), 8, 1, false))
        return 0;

    // 2. Row table.
    QString t;
    if (!codice(psModo, u"D") && !pbRigheDefinitive)
        t = dettaglio ? QStringLiteral("MovMagDettApp") : QStringLiteral("MovMagLivApp");
    else
        t = dettaglio ? QStringLiteral("MovMagDett") : QStringLiteral("MovMagLiv");
    const auto riga = [&](const char *campo) {
        return rs.LeggiCampo(psAliasRiga, t + QLatin1Char('.') + QString::fromLatin1(campo));
    };

    // 3. Quantity and values.
    const double qtaAggMag = UtilGenerali::ValoreNumerico(riga("QtaAggMag"), true);
    contesto.mdQtaRiga = arr(qtaAggMag, giNumDecQta);
    contesto.mdValRigaLire = UtilGenerali::ValoreNumerico(riga("ValLire"), true);
    contesto.mdValRiga = UtilGenerali::ValoreNumerico(riga("ValEuro"), true);

    // 4. Unit values per stock unit.
    if (qtaAggMag != UtilGenerali::ValoreNumerico(riga("Qta"), true) && contesto.mdQtaRiga != 0) {
        contesto.mdValUnitRigaLire = arr(contesto.mdValRigaLire / contesto.mdQtaRiga, giNumDecImpLire);
        contesto.mdValUnitRiga = arr(contesto.mdValRiga / contesto.mdQtaRiga, giNumDecImpEuro);
    } else {
        QString operatore, cee;
        const QString moneta = tesTesto("Moneta");
        LeggiMoneta(moneta, nullptr, nullptr, &operatore, &cee);
        Variant lire, euro;
        ConvertiValute(riga("ValUnitario"), tes("Cambio"), operatore, Variant(moneta), &lire, &euro, nullptr, true,
                       true, true, Variant(giNumDecImpLire), Variant(giNumDecImpEuro), std::nullopt, false, false,
                       QStringLiteral("E"), QStringLiteral("E"), 0);
        contesto.mdValUnitRigaLire = lire.toDouble();
        contesto.mdValUnitRiga = euro.toDouble();
    }

    // Every record set opened for the row is closed when the row ends, also on an error.
    posting::AliasAperti aperti(rs);
    QString aliasCosti, aliasProv, aliasDest;
    aperti.segui(aliasCosti);
    aperti.segui(aliasProv);
    aperti.segui(aliasDest);

    // 5. Cost row.
    const int16_t flagLivLis =
        UtilGenerali::ValoreNonNullo(rs.LeggiCampo(psAliasRiga, u"Articoli.FlagLivLis"), true, true).toInteger();
    const Variant condLivelli = dettaglio
                                    ? SqlCondLivelli(flagLivLis, Variant(QString()), Variant(QString()), true, false)
                                    : SqlCondLivelli(flagLivLis, riga("Livello1"), riga("Livello2"), false, false);
    aliasCosti = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                         QStringLiteral("Select * from ArticoliCosti") + QStringLiteral(" Where Anno = ") +
                             UtilGenerali::SqlValore(tes("MovMagTes.Anno"), 2) + QStringLiteral(" And Articolo = ") +
                             UtilGenerali::SqlValore(posting::ArticoloRiga(rs, psAliasRiga, psTipoRiga, t), 8) +
                             condLivelli.text(),
                         false, dbOpenDynaset);
    double varGiacenza = 0;
    int16_t segnoCosto = 0;

    const bool provMagazzino = codice(tesTesto("MagCausali.Prov"), u"M");
    const bool destMagazzino = codice(tesTesto("MagCausali.Dest"), u"M");
    // 6. Source warehouse.
    if (pbAggProg && provMagazzino) {
        const int16_t stato = AggiornaArticoliProg(
            tesTesto("MagazzinoProv"), false, psModo, rs, psAliasTes, psAliasRiga, psTipoRiga, t, aliasProv, aliasCosti,
            varGiacenza, segnoCosto, pbAggForArt, piSoloValScarico, pdValScaricoLire, pdValScarico, contesto);
        if (stato != 0)
            return stato;
    }
    // 7. Destination warehouse: the opposite movement of the source when both are warehouses.
    if (pbAggProg && destMagazzino) {
        const int16_t stato =
            AggiornaArticoliProg(tesTesto("MagazzinoDest"), provMagazzino, psModo, rs, psAliasTes, psAliasRiga,
                                 psTipoRiga, t, aliasDest, aliasCosti, varGiacenza, segnoCosto, pbAggForArt,
                                 piSoloValScarico, pdValScaricoLire, pdValScarico, contesto);
        if (stato != 0)
            return stato;
    }

    // 8. Costs.
    const QString carScar = tesTesto("MagCausali.CarScar");
    const int16_t quale =
        UtilGenerali::ValoreNonNullo(rs.LeggiCampo(psAliasTes, u"MagCausali.QualeProgrQta"), true, true).toInteger();
    if (pbAggCosti && !codice(tipoMov, u"I") && !codice(carScar, u"N") && (quale == 0 || !codice(tipoMov, u"V"))) {
        if (pdTotRipartSpese == -1) {
            pdTotRipartSpese = 0;
            psRipartSpesePercVal.clear();
        }
        const Variant stato =
            AggiornaArticoliCosti(psModo, rs, psAliasTes, psAliasRiga, psTipoRiga, t, aliasCosti, varGiacenza,
                                  segnoCosto, pdTotRipartSpese, psRipartSpesePercVal, contesto);
        if (!stato.isEmpty() && stato.toInteger() != 0)
            return stato.toInteger();
        // Supplier data of a purchase, under the module's switch.
        if (!codice(psModo, u"D") &&
            (codice(tesTesto("MagCausali.Prov"), u"F") || codice(tesTesto("MagCausali.Dest"), u"F")) &&
            codice(msUtilMovim, u"S")) {
            const Variant forn =
                AggiornaArticoliFor(rs, psAliasTes, psAliasRiga, psTipoRiga, t, pdTotRipartSpese, psRipartSpesePercVal);
            if (!forn.isEmpty() && forn.toInteger() != 0)
                return forn.toInteger();
        }
    }
    // 9. The record sets of the row are closed by `aperti`.
    return 0;
}
