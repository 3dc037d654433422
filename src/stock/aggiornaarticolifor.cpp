#include "aggiornaarticolifor.h"

#include "connessionedb.h"
#include "contesto.h"
#include "datimagazzino.h"
#include "servizimagazzino.h"
#include "utilposting.h"

using posting::codice;

Variant AggiornaArticoliFor(GestRecordset &pgRec, const QString &psAliasTes, const QString &psAliasRiga,
                            const QString &psTipoRiga, const QString &psTabRiga, double pdTotRipartSpese,
                            const QString &psRipartSpesePercVal)
{
    GestRecordset &rs = pgRec;
    const Variant zero(int16_t(0));
    const auto tes = [&](const char *campo) { return rs.LeggiCampo(psAliasTes, QString::fromLatin1(campo)); };
    // The row's own fields, under the table it is read from (the work table when a movement is
    // posted from its work rows).
    const auto riga = [&](const char *campo) {
        return rs.LeggiCampo(psAliasRiga, psTabRiga + QLatin1Char('.') + QString::fromLatin1(campo));
    };
    const auto numero = [](const Variant &v) { return UtilGenerali::ValoreNumerico(v, true); };

    // 1. Row check.
    const double valUnitario = numero(riga("ValUnitario"));
    if (valUnitario <= 0 || numero(riga("QtaAggMag")) < 0)
        return zero;

    // 2. Search.
    const bool livelli = !codice(psTipoRiga, u"D");
    const Variant articolo = posting::ArticoloRiga(rs, psAliasRiga, psTipoRiga, psTabRiga);
    const int16_t flag =
        UtilGenerali::ValoreNonNullo(rs.LeggiCampo(psAliasRiga, u"Articoli.FlagLivLis"), true, true).toInteger();
    const Variant cond = livelli ? SqlCondLivelli(flag, riga("Livello1"), riga("Livello2"), false, false)
                                 : SqlCondLivelli(flag, Variant(QString()), Variant(QString()), true, false);
    const auto lit = [](const Variant &v) { return UtilGenerali::SqlValore(v, 8); };
    posting::AliasAperti aperti(rs);
    QString a;
    aperti.segui(a);
    a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                QStringLiteral("Select * from ArticoliFor") + QStringLiteral(" Where Articolo = ") + lit(articolo) +
                    cond.text() + QStringLiteral(" And GruppoFor = ") + lit(tes("GruppoCliFor")) +
                    QStringLiteral(" And MastroFor = ") + lit(tes("MastroCliFor")) +
                    QStringLiteral(" And ContoFor = ") + lit(tes("ContoCliFor")),
                false, dbOpenDynaset);

    const Variant dataReg = tes("DataReg");
    if (rs.NessunRecord(a)) {
        // 3. First purchase from this supplier.
        rs.AddNew(a);
        rs.ScriviCampo(a, u"Articolo", articolo);
        rs.ScriviCampo(a, u"Livello1", Variant(livelli && flag >= 1 ? riga("Livello1").text() : LivelloVuoto));
        rs.ScriviCampo(a, u"Livello2", Variant(livelli && flag >= 2 ? riga("Livello2").text() : LivelloVuoto));
        rs.ScriviCampo(a, u"GruppoFor", tes("GruppoCliFor"));
        rs.ScriviCampo(a, u"MastroFor", tes("MastroCliFor"));
        rs.ScriviCampo(a, u"ContoFor", tes("ContoCliFor"));
    } else {
        // 4. An older purchase changes nothing.
        const Variant ultimo = rs.LeggiCampo(a, u"DataUltAcq");
        if (!UtilGenerali::Vuoto(ultimo, 7) && !UtilGenerali::Vuoto(dataReg, 7) && dataReg.toDate() < ultimo.toDate())
            return zero;
        rs.Edit(a);
    }

    // 5. Cost with the row's expense share.
    rs.ScriviCampo(a, u"Moneta", tes("Moneta"));
    const double quota = serviziMagazzino().CalcolaQuotaSpese(
        tes("MagCausali.RipartSpese").text(), numero(tes("MovMagTes.ImportoSpese")), pdTotRipartSpese,
        psRipartSpesePercVal, numero(riga("Qta")), numero(riga("ValTotale")), valUnitario);
    rs.ScriviCampo(a, u"CostoUltimo", Variant(valUnitario + quota));
    // 6. Unit and date.
    rs.ScriviCampo(a, u"UltUM", riga("UM"));
    rs.ScriviCampo(a, u"DataUltAcq", dataReg);
    posting::ScriviNuovaORiga(rs, a);
    // 7. The record set is closed by `aperti`.
    return zero;
}
