// The search of an open target header that the current order may join by its grouping rule.
#include "testataincorso.h"

#include "connessionedb.h"
#include "contesto.h"
#include "parametri.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

QString testo(const Variant &v)
{
    return UtilGenerali::SqlValore(v, 8);
}

bool regolaRaggruppa(const QString &ragOrd)
{
    return textEquals(ragOrd, u"S") || textEquals(ragOrd, u"O") || textEquals(ragOrd, u"C");
}

class Condizione {
public:
    explicit Condizione(scEvaOrdVen &eva) : m_eva(eva), m_rs(eva.mgRecs()) {}

    Variant ordine(QStringView campo) const { return m_rs.LeggiCampo(m_eva.msAliasOrd, campo); }

    void aggiungi(const QString &parte) { m_testo += parte; }

    // A grouping term on a text column. An order without the value joins a header without it,
    // whether that header holds Null or the empty text (headers copy the order's fields, and
    // other programs leave them Null).
    void uguale(const QString &colonna, const QString &valore)
    {
        if (valore.isEmpty())
            m_testo += QStringLiteral(" AND (") + colonna + QStringLiteral(" is null OR ") + colonna +
                       QStringLiteral(" =") + testo(Variant(QString())) + QStringLiteral(")");
        else
            m_testo += QStringLiteral(" AND ") + colonna + QStringLiteral("=") + testo(Variant(valore));
    }
    void ugualeOrdine(const QString &colonna) { uguale(colonna, ordine(QStringLiteral("OrdVenTest.") + colonna).text()); }

    const QString &testoCondizione() const { return m_testo; }

private:
    scEvaOrdVen &m_eva;
    GestRecordset &m_rs;
    QString m_testo;
};

// From " Where" to the last term: the open headers of the run's kind, year and type whose
// grouping fields agree with the order's.
QString condizioneRicerca(scEvaOrdVen &eva, double cambioOrdine)
{
    Condizione c(eva);
    const QString &tabella = eva.msTabTesta;
    c.aggiungi(QStringLiteral(" Where") + QStringLiteral(" (") + tabella + QStringLiteral(".Stato = ") +
               testo(Variant(QString())) + QStringLiteral(" or ") + tabella + QStringLiteral(".Stato is null)"));
    const QString raggrDataRif =
        LeggiParamPers(QStringLiteral("EvasioneOrd"), QStringLiteral("RaggrDataRif"), Variant(QString())).text();
    if (!textEquals(raggrDataRif, u"N"))
        c.aggiungi(QStringLiteral(" AND DataRif =") + UtilGenerali::SqlValore(Variant(eva.otDataEvasione), 7));
    c.aggiungi(QStringLiteral(" and Anno =") + UtilGenerali::SqlValore(Variant(eva.oiAnno), 2));
    c.uguale(QStringLiteral("FattDocumento"), eva.osTipoDocEva);
    // Without a destination code (Null or empty alike) the name and address stand for it.
    const QString indSped = c.ordine(u"OrdVenTest.IndSped").text();
    if (!indSped.isEmpty()) {
        c.uguale(QStringLiteral("IndSped"), indSped);
    } else {
        c.ugualeOrdine(QStringLiteral("RagSoc"));
        c.ugualeOrdine(QStringLiteral("IndirizzoSped"));
        c.uguale(QStringLiteral("IndSped"), QString());
    }
    c.ugualeOrdine(QStringLiteral("GruppoCli"));
    c.ugualeOrdine(QStringLiteral("MastroCli"));
    c.ugualeOrdine(QStringLiteral("ContoCli"));
    c.uguale(QStringLiteral("RagOrd"), eva.msRagOrd);
    c.ugualeOrdine(QStringLiteral("MagazzProv"));
    if (eva.oiSplitPay == 2)
        c.aggiungi(QStringLiteral(" AND IvaSosp='N'"));
    else
        c.ugualeOrdine(QStringLiteral("IvaSosp"));
    for (const char16_t *campo : {u"Iva", u"Pagamento", u"PrezziIvati", u"ScontoPag", u"Banca", u"Vettore", u"Resa",
                                  u"Agente1", u"Agente2", u"Moneta"})
        c.ugualeOrdine(QString::fromUtf16(campo));
    c.aggiungi(QStringLiteral(" AND Cambio=") + UtilGenerali::SqlValore(Variant(cambioOrdine), 5));
    c.aggiungi(QStringLiteral(" AND Provenienza = ") + testo(Variant(QStringLiteral("O"))));
    c.uguale(QStringLiteral("Lingua"), c.ordine(u"OrdVenTest.Lingua").text());
    const Variant percRitAcc = c.ordine(u"OrdVenTest.PercRitAcc");
    if (percRitAcc.toDouble() == 0.0)
        c.aggiungi(QStringLiteral(" AND (PercRitAcc=") + UtilGenerali::SqlValore(percRitAcc, 5) +
                   QStringLiteral(" OR isnull(PercRitAcc))"));
    else
        c.aggiungi(QStringLiteral(" AND PercRitAcc=") + UtilGenerali::SqlValore(percRitAcc, 5));
    if (textEquals(eva.msRagOrd, u"C"))
        c.ugualeOrdine(QStringLiteral("Contratto"));
    if (textEquals(eva.msRagOrd, u"O"))
        c.aggiungi(QStringLiteral(" AND OrdAnno=") +
                   UtilGenerali::SqlValore(Variant(c.ordine(u"OrdVenTest.Anno").toInteger()), 2) +
                   QStringLiteral(" AND OrdNumRif=") +
                   UtilGenerali::SqlValore(Variant(c.ordine(u"OrdVenTest.NumRif").toLong()), 3));
    c.ugualeOrdine(QStringLiteral("CIG"));
    c.ugualeOrdine(QStringLiteral("CUP"));
    c.ugualeOrdine(QStringLiteral("ScoPagSuDett"));
    if (textEquals(eva.osDocEvaTipo, u"F"))
        c.aggiungi(QStringLiteral(" AND Riepilogativa = 'N'"));
    if (!eva.mgRecs().ValoreCampo(eva.msAliasOrd, u"OrdVenTest.PdcDicIntenti").isNull())
        c.aggiungi(QStringLiteral(" AND PdcDicIntenti=") +
                   UtilGenerali::SqlValore(Variant(c.ordine(u"OrdVenTest.PdcDicIntenti").toInteger()), 2));
    else if (!textEquals(eva.msDicIntentiVerif, u"S"))
        c.aggiungi(QStringLiteral(" AND PdcDicIntenti is null"));
    return c.testoCondizione();
}

} // namespace

void CercaTestata(scEvaOrdVen &eva, TestataInCorso &t, bool soloNuova)
{
    GestRecordset &rs = eva.mgRecs();
    const bool raggruppa = regolaRaggruppa(eva.msRagOrd) && !soloNuova;
    t.sqlRicerca = raggruppa ? condizioneRicerca(eva, t.cambioOrdine) : QString();
    // Opened updatable also when nothing is searched: the new header is added through it.
    const QString sql = raggruppa ? QStringLiteral("select top 1 * from ") + eva.msTabTesta + t.sqlRicerca +
                                        QStringLiteral(" Order by NumRif")
                                  : QStringLiteral("select * from ") + eva.msTabTesta + QStringLiteral(" where 1=2");
    eva.msAliasTesDoc = rs.Apri(*ggDbAzienda, gsNomeConn, eva.msAliasTesDoc, sql, false, dbOpenDynaset);
    t.nuova = !raggruppa || rs.NessunRecord(eva.msAliasTesDoc);
    t.numRif = t.nuova ? 0 : rs.LeggiCampo(eva.msAliasTesDoc, u"NumRif").toLong();
}

bool TestataAncoraValida(scEvaOrdVen &eva, const TestataInCorso &t)
{
    // Another user may have closed, changed or removed the header while we waited for its lock.
    GestRecordset &rs = eva.mgRecs();
    const QString sql = QStringLiteral("select * from ") + eva.msTabTesta + t.sqlRicerca +
                        QStringLiteral(" AND NumRif=") + UtilGenerali::SqlValore(Variant(t.numRif), 3);
    eva.msAliasTesDoc = rs.Apri(*ggDbAzienda, gsNomeConn, eva.msAliasTesDoc, sql, false, dbOpenDynaset);
    return !rs.NessunRecord(eva.msAliasTesDoc);
}
