#include "aggiornamovimento.h"

#include "confrontaarrotondati.h"
#include "connessionedb.h"
#include "contesto.h"
#include "conversionieuro.h"
#include "monete.h"
#include "parametri.h"
#include "passataposting.h"
#include "selezionimovimento.h"
#include "servizimagazzino.h"
#include "utilposting.h"

namespace {

// The work row moved into the movement's table: a new row of the table with each of its fields
// taken from the work row's field of the same name (a level row with its line's article).
void spostaRiga(GestRecordset &rs, const QString &aliasRiga, const QString &tipoRiga, const QString &tabRiga,
                const QString &selezioneDest)
{
    posting::AliasAperti aperti(rs);
    QString dest;
    aperti.segui(dest);
    dest = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), selezioneDest, false, dbOpenDynaset);
    const Recordset &da = rs.Recordset(aliasRiga);
    Recordset &a = rs.Recordset(dest);
    rs.AddNew(dest);
    for (int i = 0; i < a.FieldsCount(); ++i) {
        const QString nome = a.NomeCampo(i).section(QLatin1Char('.'), -1);
        const QString origine = tabRiga + QLatin1Char('.') + nome;
        if (nome.compare(QLatin1String("Articolo"), Qt::CaseInsensitive) == 0)
            rs.ScriviCampo(dest, a.NomeCampo(i), posting::ArticoloRiga(rs, aliasRiga, tipoRiga, tabRiga));
        else if (da.EsisteCampo(origine))
            rs.ScriviCampo(dest, a.NomeCampo(i), da.ValoreCampo(origine));
    }
    rs.Update(dest);
}

} // namespace

EsitoPosting AggiornaMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, GestRecordset &pgRec,
                               const QString &psTipoRiga, bool pvConForm, QString &psAliasTes, QString &psAliasRiga,
                               bool pbDaApp, const QString &psFlagStato, int16_t &piErrore, bool pbSoloDisaggiornate)
{
    const QString suffisso = pbDaApp ? QStringLiteral("App") : QString();
    const QString aliasDato = psAliasRiga.trimmed().isEmpty() ? QString() : psAliasRiga;

    ContestoPosting contesto;
    double totRipartSpese = 0;
    QString ripartSpesePercVal;
    PassataPosting p(false, piAnnoRegMov, plNumRegMov, psTipoRiga, pvConForm, QStringLiteral("MovMagDett") + suffisso,
                     QStringLiteral("MovMagLiv") + suffisso);
    const QString &tabella = p.tabella();
    p.selezione = !pbDaApp && pbSoloDisaggiornate
                      ? SqlRigheMovimento(piAnnoRegMov, plNumRegMov, psTipoRiga, p.tabDett, p.tabLiv, Variant("2"))
                      : SqlRigheMovimento(piAnnoRegMov, plNumRegMov, psTipoRiga, p.tabDett, p.tabLiv);
    // The movement's expenses are shared over the total of its work rows.
    p.preparazione = [&] {
        const Variant spese = pgRec.LeggiCampo(psAliasTes, u"MovMagTes.ImportoSpese");
        if (ConfrontaArrotondati(spese, Variant(0.0), -8) == 0)
            return;
        ripartSpesePercVal =
            LeggiParamPers(QStringLiteral("Magazzino"), QStringLiteral("RipartSpesePercVal"), Variant("V")).text();
        totRipartSpese = UtilGenerali::ValoreNumerico(
            serviziMagazzino().TotaliRigheMov(pgRec.LeggiCampo(psAliasTes, u"MagCausali.RipartSpese").text(),
                                              pgRec.LeggiCampo(psAliasTes, u"MovMagTes.Anno").toInteger(),
                                              pgRec.LeggiCampo(psAliasTes, u"MovMagTes.Numreg").toLong(),
                                              QStringLiteral("App")),
            true);
    };
    p.passi = [&](const QString &riga) {
        if (!pbDaApp) {
            // The row's lire and euro values from its total at the movement's rate.
            QString operatore, cee;
            const QString moneta = pgRec.LeggiCampo(psAliasTes, u"Moneta").text();
            LeggiMoneta(moneta, nullptr, nullptr, &operatore, &cee);
            Variant lire, euro;
            ConvertiValute(pgRec.LeggiCampo(riga, tabella + QStringLiteral(".ValTotale")),
                           pgRec.LeggiCampo(psAliasTes, u"Cambio"), operatore, Variant(moneta), &lire, &euro, nullptr,
                           true, true, true, std::nullopt, std::nullopt, std::nullopt, false, false,
                           QStringLiteral("E"), QStringLiteral("E"), 0);
            pgRec.Edit(riga);
            pgRec.ScriviCampo(riga, tabella + QStringLiteral(".ValLire"), lire);
            pgRec.ScriviCampo(riga, tabella + QStringLiteral(".ValEuro"), euro);
            pgRec.Update(riga);
        }
        double valScaricoLire = 0, valScarico = 0;
        serviziMagazzino().PostaRiga(QStringLiteral("A"), !pbDaApp, pgRec, psAliasTes, riga, psTipoRiga, true, 0,
                                     valScaricoLire, valScarico, true, true, totRipartSpese, ripartSpesePercVal,
                                     contesto);
        if (pbDaApp) {
            spostaRiga(pgRec, riga, psTipoRiga, tabella,
                       SqlRigheApp(psTipoRiga, QStringLiteral("MovMagDett"), QStringLiteral("MovMagLiv")));
            pgRec.Delete(riga);
        } else {
            SegnaRiga(pgRec, riga, tabella, psFlagStato);
        }
    };
    QString aliasRiga = aliasDato.isEmpty() ? psAliasRiga : QString();
    const EsitoPosting esito = EseguiPassata(p, pgRec, psAliasTes, aliasDato, aliasRiga, piErrore);
    if (aliasDato.isEmpty())
        psAliasRiga = aliasRiga;
    return esito;
}
