// The VAT by rate: taxable amount and VAT of every code computed on the code's total, the
// counterparts and shares computed alike and reconciled with their code; and the expense
// values with their VAT.
#include "sccalcpiedefat.h"

#include "calcoli.h"
#include "confrontaarrotondati.h"
#include "utilpiede.h"

using namespace piede;

namespace {

Currency perc(Currency v, Currency aliquota, int16_t dec)
{
    return CalcImportoPerc(Variant(v), Variant(aliquota), dec).toCurrency();
}

Currency scorpora(Currency v, Currency aliquota, int16_t dec)
{
    return ScorporaIva(Variant(v), Variant(aliquota), dec).toCurrency();
}

// The figures of one level from its own amounts; answers whether the VAT taken out of an
// inclusive total differs from the rate's VAT on the taxable part.
bool figure(ImportiIva &x, Currency aliquota, bool esente, bool ivati, int16_t dec)
{
    const bool conIva = ivati && !esente;
    const Currency e = conIva ? x.odSValIvSpese : x.odSValSpese;
    const Currency ep = conIva ? x.odSValIvSpesePerSco : x.odSValSpesePerSco;
    const Currency lordo = x.odSVal + e + (x.odSValPerSco - x.odScoPagam) + x.odSValOmaggio +
                           (x.odSValOmaggioPerSco - x.odScoPagamOmaggio) + (ep - x.odScoPagamSpese) + x.odSValOmaggioT;
    if (esente) {
        x.odImpon = lordo;
        x.odImpos = Currency();
        x.odTotImpoImpos = x.odImpon;
        x.odImpOmaggioT = x.odSValOmaggioT;
        x.odIvaOmaggioT = Currency();
        return false;
    }
    if (ivati) {
        x.odTotImpoImpos = lordo;
        x.odImpon = scorpora(lordo, aliquota, dec);
        x.odImpos = x.odTotImpoImpos - x.odImpon;
        x.odImpOmaggioT = scorpora(x.odSValOmaggioT, aliquota, dec);
        x.odIvaOmaggioT = x.odSValOmaggioT - x.odImpOmaggioT;
        return ConfrontaArrotondati(Variant(perc(x.odImpon, aliquota, dec)), Variant(x.odImpos), -8) != 0;
    }
    x.odImpon = lordo;
    x.odImpos = perc(x.odImpon, aliquota, dec);
    x.odTotImpoImpos = x.odImpon + x.odImpos;
    x.odIvaOmaggioT = perc(x.odSValOmaggioT, aliquota, dec);
    x.odImpOmaggioT = x.odSValOmaggioT;
    return false;
}

void speseConIva(ImportiIva &x, Currency aliquota, bool esente, int16_t dec)
{
    if (esente) {
        x.odSValIvSpese = x.odSValSpese;
        x.odSValIvSpesePerSco = x.odSValSpesePerSco;
    } else {
        x.odSValIvSpese = x.odSValSpese + perc(x.odSValSpese, aliquota, dec);
        x.odSValIvSpesePerSco = x.odSValSpesePerSco + perc(x.odSValSpesePerSco, aliquota, dec);
    }
}

// The counterparts' figures as the rounded sums of their shares; the rounding difference
// with the code goes to the last counterpart and, inside it, to the first share that stays
// non-negative (the first share when none does).
void controparti(scIva &iva, bool ivati, int16_t dec)
{
    Currency s1, s2, p1, p2;
    scControP *ultima = nullptr;
    for (scControP &cp : iva.ocCollControPte) {
        Currency r1, r2, r3, r4, r5;
        for (scControPCDCComp &q : cp.ocCdcCompetenza) {
            figure(q, iva.odAliquota, iva.obIvaEsente, ivati, dec);
            r1 = arrotonda(r1 + q.odImpon, dec);
            r2 = arrotonda(r2 + q.odImpos, dec);
            r3 = arrotonda(r3 + q.odTotImpoImpos, dec);
            r4 = arrotonda(r4 + q.odIvaOmaggioT, dec);
            r5 = arrotonda(r5 + q.odImpOmaggioT, dec);
        }
        cp.odImpon = r1;
        cp.odImpos = r2;
        cp.odTotImpoImpos = r3;
        cp.odImpOmaggioT = r5;
        cp.odIvaOmaggioT = r4;
        p1 = s1;
        p2 = s2;
        s1 += cp.odImpon;
        s2 += cp.odImpos;
        ultima = &cp;
    }
    if (!ultima)
        return;
    Currency di, dv;
    if (s1 != iva.odImpon) {
        di = s1 - iva.odImpon;
        ultima->odImpon = iva.odImpon - p1;
    }
    if (s2 != iva.odImpos) {
        dv = s2 - iva.odImpos;
        ultima->odImpos = iva.odImpos - p2;
    }
    if (di.isZero() && dv.isZero())
        return;
    const Currency zero;
    for (scControPCDCComp &q : ultima->ocCdcCompetenza) {
        if (q.odImpon - di >= zero && q.odImpos - dv >= zero) {
            q.odImpon -= di;
            q.odImpos -= dv;
            return;
        }
    }
    scControPCDCComp &prima = ultima->ocCdcCompetenza.Item(1);
    prima.odImpon -= di;
    prima.odImpos -= dv;
}

} // namespace

void scCalcPiedeFat::CalcIvSpese(int16_t piNumDec)
{
    for (scIva &iva : ogIve.ocCollIva) {
        speseConIva(iva, iva.odAliquota, iva.obIvaEsente, piNumDec);
        for (scControP &cp : iva.ocCollControPte) {
            speseConIva(cp, iva.odAliquota, iva.obIvaEsente, piNumDec);
            if (cp.obCdcCompEsiste(QString(), QString()))
                speseConIva(cp.ogCdcComp(QString(), QString()), iva.odAliquota, iva.obIvaEsente, piNumDec);
        }
    }
}

void scCalcPiedeFat::CalcIva(const QString &psPrezziIvati, int16_t piNumDec)
{
    msFase = QStringLiteral("Calcolo IVA");
    odTotIva = Currency();
    const bool ivati = eS(psPrezziIvati);
    for (scIva &iva : ogIve.ocCollIva) {
        iva.obForzato = figure(iva, iva.odAliquota, iva.obIvaEsente, ivati, piNumDec);
        if (!iva.obIvaEsente)
            odTotIva += iva.odImpos;
        iva.odBaseScoPagam = iva.odSValPerSco + (ivati ? iva.odSValIvSpesePerSco : iva.odSValSpesePerSco) +
                             iva.odSValOmaggioPerSco;
        iva.odTotScoPagam = iva.odScoPagam + iva.odScoPagamOmaggio + iva.odScoPagamSpese;
        controparti(iva, ivati, piNumDec);
    }
}
