// The header fields of the target document, from the order, its joined rows, the run's criteria
// and the company's settings.
#include "testataincorso.h"

#include "cambioordine.h"
#include "contesto.h"
#include "menuclient.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

class CampiTestata {
public:
    explicit CampiTestata(scEvaOrdVen &eva) : m_eva(eva), m_rs(eva.mgRecs()) {}

    Variant ordine(QStringView campo) const { return m_rs.LeggiCampo(m_eva.msAliasOrd, campo); }
    Variant testata(QStringView campo) const { return m_rs.ValoreCampo(m_eva.msAliasTesDoc, campo); }
    void scrivi(QStringView campo, const Variant &valore) { m_rs.ScriviCampo(m_eva.msAliasTesDoc, campo, valore); }
    // The order's column of the same name, as read.
    void copia(const QString &campo) { scrivi(campo, ordine(QStringLiteral("OrdVenTest.") + campo)); }

    void nuova(const TestataInCorso &t);
    void trovata();

private:
    void fattura();
    void bolla();
    void comuni(const TestataInCorso &t);
    QString ragDdt() const;

    scEvaOrdVen &m_eva;
    GestRecordset &m_rs;
};

bool inFattura(const scEvaOrdVen &eva)
{
    return textEquals(eva.osDocEvaTipo, u"F");
}

Variant parametro(const QString &nome)
{
    return ggMenuClient->LeggiParametro(nome, QString());
}

// A period of 0 means none: the column stays empty.
Variant periodo(int16_t valore)
{
    return valore != 0 ? Variant(valore) : Variant(QString());
}

void CampiTestata::nuova(const TestataInCorso &t)
{
    scrivi(u"FattDocumento", m_eva.osTipoDocEva.trimmed().isEmpty() ? ordine(u"FattDocumenti.FattDocEvasione")
                                                                      : Variant(m_eva.osTipoDocEva));
    if (inFattura(m_eva))
        fattura();
    else
        bolla();
    comuni(t);
}

void CampiTestata::fattura()
{
    scrivi(u"PeriodoIva", periodo(m_eva.oiPerIvaMese));
    scrivi(u"AnnoIva", periodo(m_eva.oiPerIvaAnno));
    scrivi(u"Riepilogativa", Variant(QStringLiteral("N")));
    scrivi(u"FattAccomp", Variant(m_eva.msFattAccomp));
    scrivi(u"Abbuono", Variant(int16_t{0}));
    QString preDoc = m_eva.osPrefDoc;
    if (preDoc.isEmpty())
        preDoc = ordine(u"FattDocumenti.PrefRegIva").text();
    if (preDoc.isEmpty())
        preDoc = parametro(QStringLiteral("Ditta.RegIvaVen")).text();
    scrivi(u"PreDoc", Variant(preDoc));
    scrivi(u"Bolli", ordine(u"Pianoconti.Bolli"));
    scrivi(u"SpeseBan", ordine(u"PianoConti.SpeseBan"));
    scrivi(u"Acconto", ordine(u"OrdVenTest.Acconto"));
    scrivi(u"FECodIPA", ordine(u"PianoConti.FECodIPA"));
    scrivi(u"FeBanca", ordine(u"Pagamenti.FeBanca"));
    scrivi(u"IndAmm", ordine(u"PianoConti.IndAmm"));
}

void CampiTestata::bolla()
{
    scrivi(u"DaFatturare", Variant(m_eva.msFattDocEvasione.trimmed().isEmpty() ? QStringLiteral("N") : QStringLiteral("S")));
    const Variant prezzoDdt = ordine(u"PianoConti.PrezzoDDT");
    scrivi(u"PrezzoDDT", textEquals(prezzoDdt.text(), u"T") ? Variant(m_eva.msPrezzoDDT) : prezzoDdt);
    scrivi(u"MagazzDest", Variant(ordine(u"OrdVenTest.GruppoCli").text() + ordine(u"OrdVenTest.MastroCli").text() +
                                  ordine(u"OrdVenTest.ContoCli").text()));
    scrivi(u"Interno", ordine(u"FattDocumenti.Interno"));
    const QString preDoc = m_eva.osPrefDoc.isEmpty() ? parametro(QStringLiteral("Fat.PrefDdt")).text() : m_eva.osPrefDoc;
    scrivi(u"PreDoc", Variant(preDoc));
}

QString CampiTestata::ragDdt() const
{
    if (inFattura(m_eva))
        return QStringLiteral("N");
    const QString ragOrd = ordine(u"OrdVenTest.RagOrd").text();
    if (textEquals(ragOrd, u"O") || textEquals(ragOrd, u"C"))
        return ragOrd;
    const QString ragDdtConto = ordine(u"Pianoconti.RagDDT").text();
    return textEquals(ragDdtConto, u"T") ? parametro(QStringLiteral("Fat.RagDDT")).text() : ragDdtConto;
}

void CampiTestata::comuni(const TestataInCorso &t)
{
    for (const char16_t *campo : {u"GruppoCli", u"MastroCli", u"ContoCli", u"Tipo", u"Iva"})
        copia(QString::fromUtf16(campo));
    if (m_eva.oiSplitPay == 2)
        scrivi(u"IvaSosp", Variant(QStringLiteral("N")));
    else
        copia(QStringLiteral("IvaSosp"));
    for (const char16_t *campo : {u"Listino", u"PrezziIvati", u"Moneta"})
        copia(QString::fromUtf16(campo));
    scrivi(u"Cambio", CambioDellOrdine(m_eva) ? ordine(u"OrdVenTest.Cambio") : Variant(t.cambioOrdine));
    copia(QStringLiteral("Pagamento"));
    scrivi(u"RagRB", ordine(u"Pianoconti.RagRB"));
    copia(QStringLiteral("RagOrd"));
    if (inFattura(m_eva))
        scrivi(u"RifAnniPrec", Variant(QStringLiteral("N")));
    scrivi(u"RagDDT", Variant(ragDdt()));
    scrivi(u"Provenienza", Variant(QStringLiteral("O")));
    for (const char16_t *campo :
         {u"Banca", u"ScontoCli", u"ScontoPag", u"MagazzProv", u"Agente1", u"Agente2", u"TipoProvv", u"TipoProvv2",
          u"PercProvv1", u"PercProvv2", u"Lingua", u"IndSped", u"RagSoc", u"RagSoc2", u"IndirizzoSped", u"CAPSped",
          u"LocalitaSped", u"PrSped", u"StatoSped", u"Resa", u"DescResa", u"Trasporto", u"DescTrasporto", u"Vettore",
          u"RagSocVett", u"IndirizzoVett", u"CAPVett", u"LocalitaVett", u"PrVett", u"Contratto"})
        copia(QString::fromUtf16(campo));
    scrivi(u"OrdAnno", ordine(u"OrdVenTest.Anno"));
    scrivi(u"OrdNumRif", ordine(u"OrdVenTest.NumRif"));
    for (const char16_t *campo : {u"CIG", u"CUP", u"DescPers1", u"DescPers2", u"DescPers3", u"PercRitAcc"})
        copia(QString::fromUtf16(campo));
    scrivi(u"CauTrasporto", parametro(QStringLiteral("Fat.CauTrasporto")));
    scrivi(u"AspettoBene", parametro(QStringLiteral("Fat.AspettoBene")));
    copia(QStringLiteral("ScoPagSuDett"));
    scrivi(u"PdcDicIntenti", m_rs.ValoreCampo(m_eva.msAliasOrd, u"OrdVenTest.PdcDicIntenti"));
}

// Differ, ignoring letter case; a Null side never differs.
bool diversi(const Variant &a, const Variant &b)
{
    const auto c = Variant::compare(a, b);
    return c.has_value() && *c != 0;
}

void CampiTestata::trovata()
{
    // A document of several contracts holds none; the next order with a contract gives it one.
    const Variant contrattoTestata = testata(u"Contratto");
    const Variant contrattoOrdine = m_rs.ValoreCampo(m_eva.msAliasOrd, u"OrdVenTest.Contratto");
    if (diversi(contrattoTestata, contrattoOrdine)) {
        if (UtilGenerali::Vuoto(contrattoTestata, 8, 1, false))
            scrivi(u"Contratto", contrattoOrdine);
        else if (!UtilGenerali::Vuoto(contrattoOrdine, 8, 1, false))
            scrivi(u"Contratto", Variant(QString()));
    }
    // A document of several orders names none.
    if (diversi(m_rs.ValoreCampo(m_eva.msAliasOrd, u"OrdVenTest.Anno"), testata(u"OrdAnno")) ||
        diversi(m_rs.ValoreCampo(m_eva.msAliasOrd, u"OrdVenTest.NumRif"), testata(u"OrdNumRif"))) {
        scrivi(u"OrdAnno", Variant(QString()));
        scrivi(u"OrdNumRif", Variant(QString()));
    }
}

} // namespace

void ScriviCampiTestata(scEvaOrdVen &eva, const TestataInCorso &t)
{
    CampiTestata c(eva);
    if (t.nuova)
        c.nuova(t);
    else
        c.trovata();
}
