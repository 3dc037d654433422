// The discount for payment on everything subject to it, at each level of the breakdown.
#include "sccalcpiedefat.h"

#include "calcoli.h"
#include "utilpiede.h"

using namespace piede;

void scCalcPiedeFat::CalcScontoPagam(const QString &psPrezziIvati, int16_t piNumDec)
{
    obApplScontoPag = false;
    if (odScontoPag.isZero() || mbScoPagSuDett)
        return;
    msFase = QStringLiteral("Calcolo sconto pagamento");

    // The rounding falls on the discounted amount; the discount is what is left.
    const Variant perc(odScontoPag);
    auto sconto = [&](Currency v) {
        return v - ApplicaSconto(Variant(v), perc, piNumDec, true).toCurrency();
    };
    auto merce = [&](ImportiIva &x) {
        x.odScoPagam = sconto(x.odSValPerSco);
        x.odScoPagamOmaggio = sconto(x.odSValOmaggioPerSco);
    };
    const bool ivati = eS(psPrezziIvati);
    auto spese = [&](ImportiIva &x) { x.odScoPagamSpese = sconto(ivati ? x.odSValIvSpesePerSco : x.odSValSpesePerSco); };

    const Currency zero;
    for (scIva &iva : ogIve.ocCollIva) {
        if (iva.odSValPerSco > zero) {
            obApplScontoPag = true;
            merce(iva);
            for (scControP &cp : iva.ocCollControPte) {
                merce(cp);
                for (scControPCDCComp &quota : cp.ocCdcCompetenza)
                    merce(quota);
            }
        }
        if (iva.odSValSpesePerSco > zero) {
            obApplScontoPag = true;
            spese(iva);
            for (scControP &cp : iva.ocCollControPte) {
                spese(cp);
                if (cp.obCdcCompEsiste(QString(), QString()))
                    spese(cp.ogCdcComp(QString(), QString()));
            }
        }
    }
}
