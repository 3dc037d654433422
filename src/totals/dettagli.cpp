// Stage 3: the document's lines (and level rows) filed into the VAT breakdown.
#include "sccalcpiedefat.h"

#include "calcoli.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "utilgenerali.h"
#include "utilpiede.h"

#include <algorithm>

using namespace piede;

namespace {

// The names of the fields read from every row, built once per calculation.
struct CampiDettaglio {
    explicit CampiDettaglio(const QString &d, const QString &l)
        : tipoRiga(d + ".TipoRiga"), soggRitAcc(d + ".SoggRitAcc"), omaggio(d + ".Omaggio"),
          conto(QStringLiteral("Conto")), centro(d + ".CentroDiCosto"), compModo(d + ".CompGiornMens"),
          compDa(d + ".DataCompDa"), compA(d + ".DataCompA"), iva(d + ".Iva"), beneUsato(d + ".BeneUsato"),
          flScontoPag(d + ".FlScontoPag"), cauzione(QStringLiteral("ArtCauzione")), sconto(d + ".ScontoTot"),
          valTotale(d + ".ValTotale"), valUnitario(d + ".ValUnitario"), qta(d + ".Qta"), rigDet(d + ".RigDet"),
          rigLiv(d + ".RigLiv"), livello1(l + ".Livello1"), livello2(l + ".Livello2"), livValTotale(l + ".ValTotale"),
          livValUnitario(l + ".ValUnitario"), livQta(l + ".Qta")
    {
    }
    const QString tipoRiga, soggRitAcc, omaggio, conto, centro, compModo, compDa, compA, iva, beneUsato, flScontoPag,
        cauzione, sconto, valTotale, valUnitario, qta, rigDet, rigLiv, livello1, livello2, livValTotale, livValUnitario,
        livQta;
    const QString aliquota = QStringLiteral("TabIva.Aliquota"), tipoIva = QStringLiteral("TabIva.TipoIva"),
                  descrBreve = QStringLiteral("TabIva.DescrizioneBreve"), descr = QStringLiteral("TabIva.Descrizione"),
                  descrMemo = QStringLiteral("TabIva.DescrMemo"), applBolloEse = QStringLiteral("TabIva.ApplBolloEse");
};

QString formatoData(const Variant &v)
{
    if (UtilGenerali::Vuoto(v, 7, 1, false))
        return {};
    return v.toDate().toQDate().toString(QStringLiteral("dd/MM/yyyy"));
}

// Adds v to the bucket at the code, at the counterpart and at its share.
void aggiungi(scIva &iva, scControP &cp, scControPCDCComp &quota, Currency ImportiIva::*m, Currency v)
{
    iva.*m += v;
    cp.*m += v;
    quota.*m += v;
}

} // namespace

namespace {

// "(expr) = value", or "Is Null" when the group counted no value (a Null may read as "").
QString pari(const QString &espr, const Variant &v, const Variant &valori)
{
    return QStringLiteral(" and (") + espr +
           (UtilGenerali::ValoreNumerico(valori) == 0 ? QStringLiteral(") Is Null") : ") = " + UtilGenerali::SqlValore(v, 8));
}

} // namespace

// The lines are read in the query's order, VAT code and account first, without holding a long
// document whole: the codes and accounts as groups, then each group's rows a page at a time
// by their key, each page after the last row of the page before.
bool scCalcPiedeFat::LeggiDettagli()
{
    msFase = QStringLiteral("Lettura Dettagli Normali");
    SqlDettagli q;
    PrepSqlDettDoc(q, m_w.lbGestVuotiCauz);
    GestRecordset &g = rs();
    const QString &d = osTabDett, &l = osTabLiv;
    const QString ivaDett = d + ".Iva";
    const QString gruppi = g.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                  QStringLiteral("SELECT ") + ivaDett + ", " + q.conto + " AS Conto, Count(" + ivaDett +
                                      ") AS Ive, Count(" + q.conto + ") AS Conti" + q.daWhere + " GROUP BY " +
                                      ivaDett + ", " + q.conto + " ORDER BY " + ivaDett + ", " + q.conto,
                                  false, dbOpenSnapshot);
    if (g.NessunRecord(gruppi)) {
        g.Chiudi(gruppi);
        if (obErrNoDett)
            AccodaErrore(0, QStringLiteral("Documento senza dettagli: ") + QString::number(mlNumRif) + " " +
                                QString::number(miAnno));
        return false;
    }
    oiNumSconti = 0;

    const CampiDettaglio f(osTabDett, osTabLiv);
    const bool livelli = mbGesTaglie && !UtilGenerali::Vuoto(Variant(osTabLiv), 8, 1, false);
    const int16_t dec = m_w.liNumDec;
    const bool subordinato = !odScontoPag.isZero() && !mbScoPagSuDett;
    const int32_t righePagina = std::max<int32_t>(olRighePagina, 1);
    const QString top = QStringLiteral("SELECT TOP ") + QString::number(righePagina) + " " + q.campi + q.daWhere;

    for (; !g.Eof(gruppi); g.MoveNext(gruppi)) {
        const QString gruppo = pari(ivaDett, g.LeggiCampo(gruppi, f.iva), g.LeggiCampo(gruppi, u"Ive")) +
                               pari(q.conto, g.LeggiCampo(gruppi, f.conto), g.LeggiCampo(gruppi, u"Conti"));
        QString dopo;
        for (;;) {
            msAliasDett = g.Apri(*ggDbAzienda, gsNomeConn, msAliasDett, top + gruppo + dopo + " order by " + q.ordineRiga,
                                 false, dbOpenSnapshot);
            const QString &a = msAliasDett;
            if (g.NessunRecord(a))
                break;
            const Recordset &righe = g.Recordset(a);
            auto testo = [&](const QString &c) { return righe.LeggiCampo(c).text(); };
            auto numero = [&](const QString &c) { return UtilGenerali::ValoreNumerico(righe.LeggiCampo(c)); };
            int32_t lette = 0;
            for (; !g.Eof(a); g.MoveNext(a), ++lette) {
                const QString tipoRiga = testo(f.tipoRiga);
                if (!uguale(tipoRiga, QLatin1String("A")) && !uguale(tipoRiga, QLatin1String("M")))
                    continue;
                if (!eS(testo(f.soggRitAcc)) && m_w.pbCalcRitAcc)
                    continue;

                const QString omaggio = testo(f.omaggio);
                if (uguale(omaggio, QLatin1String("I")))
                    obOmaSIvaPres = true;
                else if (uguale(omaggio, QLatin1String("S")))
                    obOmaTotPres = true;

                QString conto = testo(f.conto);
                if (conto.isEmpty())
                    conto = m_w.lsContoVen;
                const QString centro = testo(f.centro);
                const QString modo = testo(f.compModo);
                const Variant da = righe.LeggiCampo(f.compDa);
                const QString competenza = modo.isEmpty() || UtilGenerali::Vuoto(da, 7, 1, false)
                                               ? QString()
                                               : modo + formatoData(da) + formatoData(righe.LeggiCampo(f.compA));
                QString chiave = testo(f.iva);
                const QString beneUsato = testo(f.beneUsato);
                if (eS(msRegimeMargine) && !beneUsato.isEmpty())
                    chiave += QStringLiteral("~§") + beneUsato;
                const QString tipoIva = testo(f.tipoIva);

                const bool rigaLivello = livelli && !testo(f.livello1).isEmpty();
                const Currency valore = arrotonda(numero(rigaLivello ? f.livValTotale : f.valTotale), dec);

                if (!ogIve.obEsiste(chiave)) {
                    scIva &nuova = ogIve.AddIva(chiave);
                    nuova.osDescrizione = testo(f.descrBreve);
                    nuova.osDescrLunga = testo(f.descr);
                    nuova.osDescrMemo = testo(f.descrMemo);
                    nuova.osTipoIva = tipoIva;
                    nuova.odAliquota = importo(righe.LeggiCampo(f.aliquota));
                    nuova.obIvaEsente = tipoEsente(tipoIva);
                    nuova.osApplBolloEse = testo(f.applBolloEse);
                }
                scIva &iva = ogIve.ogIva(chiave);
                if (!iva.obCPEsiste(conto))
                    iva.AddControP(conto, centro, competenza);
                else if (!iva.obCdcCompEsiste(conto, centro, competenza))
                    iva.AddCdcComp(conto, centro, competenza);
                scControP &cp = iva.ogControp(conto);
                scControPCDCComp &quota = cp.ogCdcComp(centro, competenza);

                const bool perSco = eS(testo(f.flScontoPag)) && subordinato;
                Currency ImportiIva::*secchio = nullptr;
                if (uguale(omaggio, QLatin1String("I")))
                    secchio = perSco ? &ImportiIva::odSValOmaggioPerSco : &ImportiIva::odSValOmaggio;
                else if (uguale(omaggio, QLatin1String("S")))
                    secchio = &ImportiIva::odSValOmaggioT;
                else
                    secchio = perSco ? &ImportiIva::odSValPerSco : &ImportiIva::odSVal;
                aggiungi(iva, cp, quota, secchio, valore);

                const bool merce = uguale(omaggio, QLatin1String("N")) && !(m_w.lbGestVuotiCauz && eS(testo(f.cauzione)));
                if (!merce)
                    continue;
                aggiungi(iva, cp, quota, &ImportiIva::odMerce, valore);

                // Goods after each step of the line's cascade discount.
                const Variant prezzo(numero(rigaLivello ? f.livValUnitario : f.valUnitario));
                const Variant qta(numero(rigaLivello ? f.livQta : f.qta));
                const double intera = CalcImportoRiga(prezzo, qta, Variant(0.0), false, dec).toDouble();
                auto arrotondaSe = [&](double v, bool si) {
                    return si ? UtilGenerali::ArrotondaValore(Variant(v), QStringLiteral("A"), 1.0, -dec) : v;
                };
                const QString sconto = testo(f.sconto);
                if (!sconto.isEmpty() && sconto.trimmed() != QLatin1String("0")) {
                    const Variant parti = UtilGenerali::Dividi(sconto, QStringLiteral("+"));
                    const VariantArray &termini = parti.toArray();
                    const int n = static_cast<int>(termini.items.size());
                    iva.PrepMerceSco(static_cast<int16_t>(n + 1));
                    QString testoSconto;
                    for (int c = 2; c <= iva.oiNumSconti; ++c) {
                        if (c <= n + 1)
                            testoSconto += termini.items[static_cast<size_t>(c - 2)].text();
                        const double perc = UtilGenerali::ValoreNumerico(CalcScontoComposto(testoSconto, nullptr, 0.0, 6));
                        const double riga =
                            CalcImportoRiga(prezzo, qta, Variant(perc), gbArrUnitIntermedio, dec).toDouble();
                        const auto i = static_cast<int16_t>(c);
                        iva.setOdMerceSco(i, iva.odMerceSco(i) + arrotondaSe(riga, !gbArrUnitIntermedio));
                        if (c <= n + 1)
                            testoSconto += QLatin1Char('+');
                    }
                } else {
                    if (iva.oiNumSconti == 0)
                        iva.PrepMerceSco(1);
                    const double arrotondata = iva.oiNumSconti >= 2 ? arrotondaSe(intera, true) : 0.0;
                    for (int c = 2; c <= iva.oiNumSconti; ++c) {
                        const auto i = static_cast<int16_t>(c);
                        iva.setOdMerceSco(i, iva.odMerceSco(i) + arrotondata);
                    }
                }
                iva.setOdMerceSco(1, iva.odMerceSco(1) + intera);
            }
            if (lette < righePagina)
                break;
            // The next page starts after the key of this page's last row.
            g.MoveLast(a);
            const QString det = UtilGenerali::SqlValore(righe.LeggiCampo(f.rigDet), 3);
            const QString liv = UtilGenerali::SqlValore(righe.LeggiCampo(f.rigLiv), 3);
            QString stessaRiga = d + ".RigLiv > " + liv;
            const Variant l1 = livelli ? righe.LeggiCampo(f.livello1) : Variant();
            if (livelli && !l1.isNull()) {
                const Variant l2 = righe.LeggiCampo(f.livello2);
                stessaRiga += " or (" + d + ".RigLiv = " + liv + " and (" + l + ".Livello1 > " +
                              UtilGenerali::SqlValore(l1, 8) + " or (" + l + ".Livello1 = " +
                              UtilGenerali::SqlValore(l1, 8) + " and " + l + ".Livello2 > " +
                              UtilGenerali::SqlValore(l2, 8) + ")))";
            }
            dopo = " and (" + d + ".RigDet > " + det + " or (" + d + ".RigDet = " + det + " and (" + stessaRiga + ")))";
        }
    }
    g.Chiudi(gruppi);
    g.Chiudi(msAliasDett);

    Currency netta;
    for (const scIva &iva : ogIve.ocCollIva)
        netta += eS(m_w.lsPrezziIvati)
                     ? ScorporaIva(Variant(iva.odMerce), Variant(iva.odAliquota), m_w.liNumDec).toCurrency()
                     : iva.odMerce;
    m_w.luTotMerceNetta = netta;
    return true;
}
