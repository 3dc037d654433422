#include "righedescrittive.h"

#include "campiriga.h"
#include "controllidocumento.h"
#include "comunirighe.h"
#include "parametri.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "ultimerighe.h"
#include "utilgenerali.h"

namespace {

const QString kSezione = QStringLiteral("EvasioneOrd");
const QString kNo = QStringLiteral("N");

struct RigaDescrittiva {
    QString notaSopra;
    QString formatoRiga;      // from the kind's menu parameter
    QString notaSopraStamp;
    bool riferimentoOrdine = false; // the order reference line carries the flags "N"
    bool statoConsegna = false;     // the delivery state line carries no Riepilogativa
};

bool fattura(const scEvaOrdVen &eva)
{
    return textEquals(eva.osDocEvaTipo, u"F");
}

void aggiungi(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate, const RigaDescrittiva &d)
{
    NumeraNuovaRiga(eva, c, piRigheCreate);
    GestRecordset &recs = eva.mgRecs();
    const QString &a = c.aliasDettDoc;
    recs.AddNew(a);
    recs.ScriviCampo(a, u"Anno", Variant(eva.oiAnno));
    recs.ScriviCampo(a, u"NumRif", Variant(c.numRifDoc));
    recs.ScriviCampo(a, u"RigDet", Variant(c.ultimoRigDet));
    recs.ScriviCampo(a, u"RigLiv", Variant(c.ultimoRigLiv));
    recs.ScriviCampo(a, u"TipoRiga", Variant(QStringLiteral("D")));
    recs.ScriviCampo(a, u"FormatoRiga", Variant(d.formatoRiga));
    recs.ScriviCampo(a, u"NotaSopra", Variant(d.notaSopra));
    recs.ScriviCampo(a, u"NotaSopraStamp", Variant(d.notaSopraStamp));
    recs.ScriviCampo(a, u"Qta", Variant::null());
    recs.ScriviCampo(a, u"ValUnitario", Variant::null());
    recs.ScriviCampo(a, u"ValTotale", Variant::null());
    if (fattura(eva)) {
        if (!d.statoConsegna)
            recs.ScriviCampo(a, u"Riepilogativa", Variant(kNo));
        recs.ScriviCampo(a, u"DescPers1", Variant(c.ordXmlGen));
    }
    if (d.riferimentoOrdine) {
        for (const char16_t *campo : {u"FlScontoPag", u"Promozione", u"Omaggio", u"SoggRitAcc"})
            recs.ScriviCampo(a, campo, Variant(kNo));
    }
    recs.Update(a);
    AnnotaRigaScritta(eva, c.numRifDoc, c.ultimoRigDet, c.ultimoRigLiv);
}

QString parametroMenu(const QString &nome)
{
    return LeggiParamMenu(nome).text();
}

QString stampa(const QString &nome)
{
    return LeggiParamPers(kSezione, nome, Variant(QStringLiteral("A"))).text();
}

// The customer's switch, "T" standing for the company's setting.
QString interruttore(const GestRecordset &recs, const QString &ordini, QStringView campo, const QString &parametro)
{
    const QString s = Testo(recs, ordini, campo);
    return textEquals(s, u"T") ? parametroMenu(parametro) : s;
}

QString data(const GestRecordset &recs, const QString &ordini, QStringView campo)
{
    return UtilGenerali::FormattaValore(recs.ValoreCampo(ordini, campo), QStringLiteral("dd/mm/yyyy"));
}

void rigaRiferimentoOrdine(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &o = eva.msAliasOrd;
    const QString s = interruttore(recs, o, u"PianoConti.StRifOrd", QStringLiteral("Fat.StRifOrd"));
    if (!textEquals(s, u"S") && !textEquals(s, u"O"))
        return;
    QString nome = Testo(recs, o, u"FattDocumenti.RiepDoc");
    if (nome.trimmed().isEmpty())
        nome = QStringLiteral("Ord");
    RigaDescrittiva d;
    const Variant numDoc = recs.ValoreCampo(o, u"OrdVenTest.NumDoc");
    if (numDoc.isBlank() || UtilGenerali::ValoreNumerico(numDoc) == 0)
        d.notaSopra = nome + QStringLiteral(" RIF. N. ") + QString::number(recs.LeggiCampo(o, u"OrdVenTest.NumRif").toLong()) +
                      QStringLiteral(" DEL ") + data(recs, o, u"OrdVenTest.DataRif");
    else
        d.notaSopra = nome + QStringLiteral(" N. ") + FormattaNumDoc(Testo(recs, o, u"OrdVenTest.PreDoc"), numDoc, 0) +
                      QStringLiteral(" DEL ") + data(recs, o, u"OrdVenTest.DataDoc");
    d.formatoRiga = parametroMenu(QStringLiteral("Fat.FormatoRigaRifDdt"));
    d.notaSopraStamp = stampa(QStringLiteral("StRigaRifOrd"));
    d.riferimentoOrdine = true;
    aggiungi(eva, c, piRigheCreate, d);
}

void rigaRiferimentoCliente(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &o = eva.msAliasOrd;
    const QString rifCli = Testo(recs, o, u"OrdVenTest.RifCli");
    if (rifCli.isEmpty())
        return;
    if (!textEquals(interruttore(recs, o, u"PianoConti.StRifCli", QStringLiteral("Fat.StRifCli")), u"S"))
        return;
    RigaDescrittiva d;
    d.notaSopra = rifCli;
    d.formatoRiga = parametroMenu(QStringLiteral("Fat.FormatoRigaRifCli"));
    d.notaSopraStamp = stampa(QStringLiteral("StRigaRifCli"));
    aggiungi(eva, c, piRigheCreate, d);
}

void righeCampiLiberi(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate)
{
    if (textEquals(eva.msComeEva, u"N"))
        return;
    const bool unica = textEquals(eva.msComeEva, u"U");
    GestRecordset &recs = eva.mgRecs();
    RigaDescrittiva d;
    d.formatoRiga = parametroMenu(QStringLiteral("Fat.FormatoRigaLiberi"));
    d.notaSopraStamp = stampa(QStringLiteral("StRigaRifLib"));
    QString unita;
    for (size_t k = 1; k <= 4; ++k) {
        const QString testo = Testo(recs, eva.msAliasOrd, QStringLiteral("OrdVenTest.LiberoTest%1").arg(k));
        const QString &etichetta = eva.msDescLibTest[k];
        if (etichetta.trimmed().isEmpty() || testo.trimmed().isEmpty() || !textEquals(eva.msRigaDaEva[k], u"S"))
            continue;
        const QString riga = etichetta + QStringLiteral(": ") + testo;
        if (unica) {
            unita += QLatin1Char(' ') + riga;
        } else {
            d.notaSopra = riga;
            aggiungi(eva, c, piRigheCreate, d);
        }
    }
    if (unica && !unita.isEmpty()) {
        d.notaSopra = unita;
        aggiungi(eva, c, piRigheCreate, d);
    }
}

} // namespace

void ScriviRigheOrdine(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate)
{
    rigaRiferimentoOrdine(eva, c, piRigheCreate);
    rigaRiferimentoCliente(eva, c, piRigheCreate);
    righeCampiLiberi(eva, c, piRigheCreate);
}

void ScriviRigaStato(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate, const RigaInConversione &riga,
                     PosizioneStato posizione)
{
    if (!eva.mbRigDescrEva || !textEquals(eva.osDocEvaTipo, u"B") ||
        !RigaArticolo(Testo(eva.mgRecs(), c.aliasCursore, u"OrdVenDett.TipoRiga")))
        return;
    const QString &dove = eva.msRigDescrEva[1];
    if (!textEquals(dove, posizione == PosizioneStato::Prima ? u"P" : u"D"))
        return;
    RigaDescrittiva d;
    d.notaSopra = riga.residuo > 0 ? eva.msRigDescrEva[3] : eva.msRigDescrEva[2];
    d.formatoRiga = parametroMenu(QStringLiteral("Fat.FormatoRigaRifDdt"));
    d.notaSopraStamp = QStringLiteral("A");
    d.statoConsegna = true;
    aggiungi(eva, c, piRigheCreate, d);
}
