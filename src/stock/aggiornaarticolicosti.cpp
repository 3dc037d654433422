#include "aggiornaarticolicosti.h"

#include "aggiornaartlistini.h"
#include "confrontaarrotondati.h"
#include "contesto.h"
#include "datimagazzino.h"
#include "parametri.h"
#include "servizimagazzino.h"
#include "utilposting.h"

using posting::arr;
using posting::codice;

namespace {

bool positivo(double valore)
{
    return ConfrontaArrotondati(Variant(valore), Variant(0.0), -8) == 1;
}

} // namespace

Variant AggiornaArticoliCosti(const QString &psOper, GestRecordset &pgRs, const QString &psAliasTes,
                              const QString &psAliasRiga, const QString &psTipoRiga, const QString &psTabRiga,
                              const QString &psAliasCosti, double pdVarGiac, int16_t piSegnoMedioC, double pdTotRighe,
                              const QString &psRipartPercVal, ContestoPosting &contesto)
{
    GestRecordset &rs = pgRs;
    const QString &c = psAliasCosti;
    const auto tes = [&](const char *campo) { return rs.LeggiCampo(psAliasTes, QString::fromLatin1(campo)); };
    const auto tesTesto = [&](const char *campo) { return tes(campo).text(); };
    const auto riga = [&](const char *campo) {
        return rs.LeggiCampo(psAliasRiga, psTabRiga + QLatin1Char('.') + QString::fromLatin1(campo));
    };
    const auto costo = [&](const char *campo) {
        return UtilGenerali::ValoreNumerico(rs.LeggiCampo(c, QString::fromLatin1(campo)), true);
    };
    const auto scrivi = [&](const char *campo, const Variant &valore) {
        rs.ScriviCampo(c, QString::fromLatin1(campo), valore);
    };
    const bool disaggiorna = codice(psOper, u"D");

    // 1. Causal and levels: a level row keeps as many levels as the article's price lists do.
    const QString carScar = tesTesto("MagCausali.CarScar");
    const QString segno = tesTesto("MagCausali.Segno");
    const QString tipoMov = tesTesto("MagCausali.TipoMov");
    QString livello1 = LivelloVuoto, livello2 = LivelloVuoto;
    // The stock the average is taken over: the levels the cost row keeps; over all values of a
    // level it does not keep (an article with levels whose costs are kept per article).
    Variant giacLivello1(LivelloVuoto), giacLivello2(LivelloVuoto);
    if (codice(psTipoRiga, u"L")) {
        const int16_t flag =
            UtilGenerali::ValoreNonNullo(rs.LeggiCampo(psAliasRiga, u"Articoli.FlagLivLis"), true, true).toInteger();
        giacLivello1 = Variant::null();
        giacLivello2 = Variant::null();
        if (flag >= 1)
            giacLivello1 = Variant(livello1 = riga("Livello1").text());
        if (flag >= 2)
            giacLivello2 = Variant(livello2 = riga("Livello2").text());
    }

    // 2. Cost row.
    if (rs.NessunRecord(c)) {
        if (disaggiorna)
            return {};
        rs.AddNew(c);
        scrivi("Anno", tes("MovMagTes.Anno"));
        scrivi("Articolo", posting::ArticoloRiga(rs, psAliasRiga, psTipoRiga, psTabRiga));
        scrivi("Livello1", Variant(livello1));
        scrivi("Livello2", Variant(livello2));
    } else {
        rs.Edit(c);
    }

    // 3. Stock direction: +1 the row brings goods in, -1 it takes them out.
    int s = 0;
    if (codice(carScar, u"C"))
        s = segno == QLatin1String("-") ? -1 : 1;
    else if (codice(carScar, u"S"))
        s = segno == QLatin1String("+") ? -1 : 1;

    const double q = contesto.mdQtaRiga;
    const double unitL = contesto.mdValUnitRigaLire;
    const double unitE = contesto.mdValUnitRiga;

    // 4. Weighted average.
    if (codice(tesTesto("MagCausali.AggMedioPon"), u"S") && s != 0 && q >= 0) {
        if (disaggiorna) {
            scrivi("CMPValido", Variant("N"));
        } else {
            if (codice(tipoMov, u"V")) {
                if (costo("MedioPonderale") != 0 && costo("MedioPonderaleLire") != contesto.mdValIniziale)
                    scrivi("CMPValido", Variant("N"));
            }
            const double g = LeggiProgArticolo(rs.LeggiCampo(c, u"Articolo").text(),
                                               rs.LeggiCampo(c, u"Anno").toInteger(), std::nullopt, giacLivello1,
                                               giacLivello2, nullptr, nullptr, nullptr, QStringLiteral("G"))
                                 .toDouble();
            const bool giacenza = positivo(g);
            if (giacenza) {
                const double b = g - pdVarGiac;
                const double entrataLire = q > 0 ? s * unitL * q : s * contesto.mdValRigaLire;
                const double entrata = q > 0 ? s * unitE * q : s * contesto.mdValRiga;
                scrivi("MedioPonderaleLire",
                       Variant(arr((costo("MedioPonderaleLire") * b + entrataLire) / g, giNumDecImpLire)));
                scrivi("MedioPonderale", Variant(arr((costo("MedioPonderale") * b + entrata) / g, giNumDecImpEuro)));
            }
            if (!giacenza || costo("MedioPonderaleLire") <= 0)
                scrivi("MedioPonderaleLire", Variant(std::max(s * unitL, 0.0)));
            if (!giacenza || costo("MedioPonderale") <= 0)
                scrivi("MedioPonderale", Variant(std::max(s * unitE, 0.0)));
        }
    }

    // 5. Last cost, with the row's share of the movement's expenses; the price lists named on
    // the row are re-priced from the unit value without it.
    const Variant dataReg = tes("DataReg");
    if (!disaggiorna && codice(tesTesto("MagCausali.AggCostoUlt"), u"S") && s != 0 && unitE != 0 && q > 0 &&
        !UtilGenerali::Vuoto(dataReg, 7)) {
        const Variant ultimo = rs.LeggiCampo(c, u"DataCostoUltimo");
        if (UtilGenerali::Vuoto(ultimo, 7) || !(dataReg.toDate() < ultimo.toDate())) {
            scrivi("DataCostoUltimo", dataReg);
            scrivi("CostoUltimoLire", Variant(unitL));
            const double quota = serviziMagazzino().CalcolaQuotaSpese(
                tesTesto("MagCausali.RipartSpese"), UtilGenerali::ValoreNumerico(tes("MovMagTes.ImportoSpese"), true),
                pdTotRighe, psRipartPercVal, UtilGenerali::ValoreNumerico(riga("Qta"), true),
                UtilGenerali::ValoreNumerico(riga("ValTotale"), true), unitE);
            scrivi("CostoUltimo", Variant(quota + unitE));
            const QString articolo = posting::ArticoloRiga(rs, psAliasRiga, psTipoRiga, psTabRiga).text();
            const Variant listino = rs.LeggiCampo(psAliasRiga, u"ListDaAgg");
            if (!UtilGenerali::Vuoto(listino))
                AggiornaArtListini(articolo, livello1, livello2, listino.text(), dataReg, unitE, unitL, QString(),
                                   QString(), QString(), QString(), QString(), QString());
            const Variant listinoCliente = rs.LeggiCampo(psAliasRiga, u"ListDaAggClie");
            if (!UtilGenerali::Vuoto(listinoCliente)) {
                const QString ordine =
                    LeggiParamPers(QStringLiteral("Magazzino"), QStringLiteral("ListVenDaAggOrd"), Variant(QString()))
                        .text()
                        .trimmed();
                AggiornaArtListini(articolo, livello1, livello2, listinoCliente.text(), dataReg, unitE, unitL,
                                   QString(), QString(), ordine, tesTesto("GruppoCliFor"), tesTesto("MastroCliFor"),
                                   tesTesto("ContoCliFor"));
            }
        }
    }

    // 6. Highest cost.
    if ((codice(tesTesto("MagCausali.AggCostoUlt"), u"S") || codice(tesTesto("MagCausali.AggMedioPon"), u"S") ||
         codice(tesTesto("MagCausali.AggMedioCar"), u"S")) &&
        !disaggiorna && s != 0 && unitE != 0 && q > 0 && unitE > costo("CostoPiu")) {
        scrivi("DataCostoPiu", dataReg);
        scrivi("CostoPiuLire", Variant(unitL));
        scrivi("CostoPiu", Variant(unitE));
    }

    // 7. Purchase and sale totals.
    int m = disaggiorna ? -1 : 1;
    const QString acqVen = tesTesto("MagCausali.AcqVen");
    const bool carico = codice(carScar, u"C"), scarico = codice(carScar, u"S");
    const bool meno = segno == QLatin1String("-"), piu = segno == QLatin1String("+");
    const auto totali = [&](const char *qta, const char *valLire, const char *val) {
        scrivi(qta, Variant(arr(costo(qta) + m * q, giNumDecQta)));
        scrivi(valLire, Variant(arr(costo(valLire) + m * contesto.mdValRigaLire, giNumDecPrzLire)));
        scrivi(val, Variant(arr(costo(val) + m * contesto.mdValRiga, giNumDecPrzEuro)));
    };
    if (codice(acqVen, u"A")) {
        if ((carico && meno) || (scarico && piu))
            m = -m;
        totali("QtaAcquisti", "ValAcquistiLire", "ValAcquisti");
    } else if (codice(acqVen, u"V")) {
        if ((carico && piu) || (scarico && meno))
            m = -m;
        totali("QtaVenduto", "ValVendutoLire", "ValVenduto");
    }

    // 8. Load totals: an opening-balance row replaces the old opening instead of adding to it.
    if (!codice(tipoMov, u"V")) {
        contesto.mdQtaIniziale = 0;
        contesto.mdValIniziale = 0;
        contesto.mdValInizialeLire = 0;
    }
    if (piSegnoMedioC != 0) {
        scrivi("QtaMedioC", Variant(arr(costo("QtaMedioC") + piSegnoMedioC * q - contesto.mdQtaIniziale, giNumDecQta)));
        scrivi("ValMedioCLire",
               Variant(arr(costo("ValMedioCLire") + piSegnoMedioC * contesto.mdValRigaLire - contesto.mdValInizialeLire,
                           giNumDecPrzLire)));
        scrivi("ValMedioC",
               Variant(arr(costo("ValMedioC") + piSegnoMedioC * contesto.mdValRiga - contesto.mdValIniziale,
                           giNumDecPrzEuro)));
    }

    // 9. Store.
    posting::ScriviNuovaORiga(rs, c);
    return {};
}
