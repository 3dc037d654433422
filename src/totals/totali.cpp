// Stage 7 and the final stage: the document totals from the breakdown, and the amount to pay.
#include "sccalcpiedefat.h"

#include "calcoli.h"
#include "utilpiede.h"

using namespace piede;

void scCalcPiedeFat::CalcolaTotali()
{
    msFase = QStringLiteral("Calcolo totali");
    odTotMerce = odTotEsente = odTotEsenteAppBol = odTotImponibile = odTotImpOmaggi = Currency();
    oiNumSconti = 0;
    for (const scIva &iva : ogIve.ocCollIva)
        oiNumSconti = std::max(oiNumSconti, iva.oiNumSconti);
    mdTotMerceSco.assign(static_cast<size_t>(oiNumSconti) + 1, 0.0);

    const bool ivati = eS(m_w.lsPrezziIvati);
    const int16_t dec = m_w.liNumDec;
    for (const scIva &iva : ogIve.ocCollIva) {
        const Variant aliquota(iva.odAliquota);
        auto netto = [&](Currency x) { return ivati ? ScorporaIva(Variant(x), aliquota, dec).toCurrency() : x; };
        auto nettoD = [&](double x) { return ivati ? ScorporaIva(Variant(x), aliquota, dec).toDouble() : x; };
        odTotMerce += netto(iva.odMerce);
        const int16_t n = iva.oiNumSconti;
        for (int i = 1; i <= oiNumSconti; ++i)
            mdTotMerceSco[static_cast<size_t>(i)] += nettoD(iva.odMerceSco(static_cast<int16_t>(i <= n ? i : n)));
        const Currency omaggi = netto(iva.odSValOmaggio + (iva.odSValOmaggioPerSco - iva.odScoPagamOmaggio));
        odTotOmaggi += omaggi + iva.odImpOmaggioT + iva.odIvaOmaggioT;
        odTotOmaggiNoIva += omaggi + iva.odImpOmaggioT;
        if (iva.obIvaEsente) {
            odTotEsente += iva.odImpon;
            if (!uguale(iva.osApplBolloEse, QLatin1String("N")))
                odTotEsenteAppBol += iva.odImpon;
            odTotIva += iva.odImpos;
        } else {
            odTotImpOmaggi += omaggi;
            odTotImponibile += iva.odImpon;
        }
    }
    odTotFattura = odTotImponibile + odTotIva + odTotEsente;
}

void scCalcPiedeFat::ParteFinale()
{
    msFase = QStringLiteral("Parte finale");
    odTotPagare = odTotFattura - odAbbuono - odAcconto - odTotOmaggi - odRitAcc;
    if (obCassaPrevNoImpon)
        odTotPagare -= ouTotCassaPrev;
}
