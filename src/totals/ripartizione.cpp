// Stage 5: expenses whose VAT is apportioned are spread over the document's VAT codes, by the
// incidence of each code liable to VAT on the taxable total (or all to the first code when
// none is liable), and the exempt document is recognised.
//
// Every amount is spread whole: each code's share is rounded, and the last code that
// receives a share takes what the others leave, so the shares add up to the expense.
#include "sccalcpiedefat.h"

#include "apperror.h"
#include "calcoli.h"
#include "gestrecordset.h"
#include "utilgenerali.h"
#include "utilpiede.h"

using namespace piede;

namespace {

// The incidence of `impon` on `totale` in percent, three decimals; 0 on a zero total.
Currency incidenza(Currency impon, Currency totale)
{
    Int128 num = static_cast<Int128>(impon.units()) * 100 * 1000;
    Int128 den = totale.units();
    if (den == 0)
        return {};
    if (den < 0) {
        num = -num;
        den = -den;
    }
    return Currency::fromUnits(static_cast<int64_t>(divideRounded(num, den, RoundMode::HalfAway) * 10));
}

// The shares of an amount over the receiving codes' incidences; the last share is the rest.
std::vector<Currency> quote(Currency importo, const std::vector<Currency> &incidenze, int16_t dec)
{
    std::vector<Currency> q(incidenze.size());
    Currency date;
    for (size_t i = 0; i + 1 < incidenze.size(); ++i) {
        q[i] = dividi(importo * incidenze[i], 100, dec);
        date += q[i];
    }
    if (!q.empty())
        q.back() = importo - date;
    return q;
}

void assicuraContoSpesa(scIva &iva, const QString &conto)
{
    if (!iva.obCPEsiste(conto))
        iva.AddControP(conto, QString(), QString());
    else if (!iva.obCdcCompEsiste(conto, QString(), QString()))
        iva.AddCdcComp(conto, QString(), QString());
}

} // namespace

void scCalcPiedeFat::RipartisciIvaSpese()
{
    msFase = QStringLiteral("Ripartizione IVA spese");
    obFattEsente = true;
    QString primaIva;
    bool reale = false;
    Currency totImpon;
    for (const scIva &iva : ogIve.ocCollIva) {
        if (eIvaDaRipartire(iva.osIva))
            continue;
        if (!iva.obIvaEsente)
            obFattEsente = false;
        if (!reale)
            primaIva = iva.osIva;
        reale = true;
        totImpon += iva.odImpon;
    }

    const int16_t dec = m_w.liNumDec;
    const bool ivati = eS(m_w.lsPrezziIvati);
    if (ogIve.obEsiste(kIvaDaRipartire)) {
        // Nothing to spread over (no row with a code of its own counted, as in a withholding run
        // where only the expense is subject to it): the expense has no VAT to take, and the
        // calculation ends here rather than book it at rate 0.
        if (!reale)
            throw AppError(ErrNum::InvalidCall,
                           QStringLiteral("Spese con IVA da ripartire senza codici IVA su cui ripartirle"));
        scIva &p = ogIve.ogIva(kIvaDaRipartire);
        if (obFattEsente) {
            scIva &f = ogIve.ogIva(primaIva);
            f.odSVal += p.odSVal;
            f.odSValPerSco += p.odSValPerSco;
            const Currency q = arrotonda(p.odSValSpese, dec), qs = arrotonda(p.odSValSpesePerSco, dec);
            f.odSValSpese += q;
            f.odSValSpesePerSco += qs;
            f.odSpeseRipart += q + qs;
            if (ivati) {
                // The first code is exempt: its values with VAT are the values themselves.
                f.odSValIvSpese += q;
                f.odSValIvSpesePerSco += qs;
            }
            for (const scControP &c : p.ocCollControPte) {
                assicuraContoSpesa(f, c.osConto);
                for (const bool pbConto : {true, false}) {
                    ImportiIva &x = f.ogCP(c.osConto, pbConto, QString(), QString());
                    x.odSVal += c.odSVal;
                    x.odSValPerSco += c.odSValPerSco;
                }
            }
        } else {
            // Incidences of the codes liable to VAT; the last one is brought to 100.
            Currency totIncid, totIncidPrec;
            scIva *ultima = nullptr;
            for (scIva &x : ogIve.ocCollIva) {
                if (eIvaDaRipartire(x.osIva) || x.obIvaEsente)
                    continue;
                x.odIncid = incidenza(x.odImpon, totImpon);
                totIncidPrec = totIncid;
                totIncid += x.odIncid;
                ultima = &x;
            }
            const Currency cento = Currency::fromLong(100);
            if (ultima && totIncid != cento)
                ultima->odIncid = cento - totIncidPrec;

            std::vector<scIva *> riceventi;
            std::vector<Currency> incid;
            for (scIva &x : ogIve.ocCollIva)
                if (!eIvaDaRipartire(x.osIva) && x.odIncid > Currency()) {
                    riceventi.push_back(&x);
                    incid.push_back(x.odIncid);
                }
            for (scIva *x : riceventi)
                for (const scControP &c : p.ocCollControPte)
                    assicuraContoSpesa(*x, c.osConto);

            // Code level.
            auto spargi = [&](Currency importo, auto &&aggiungi) {
                const std::vector<Currency> q = quote(importo, incid, dec);
                for (size_t i = 0; i < riceventi.size(); ++i)
                    aggiungi(*riceventi[i], q[i]);
            };
            spargi(p.odSVal, [](scIva &x, Currency q) { x.odSVal += q; });
            spargi(p.odSValPerSco, [](scIva &x, Currency q) { x.odSValPerSco += q; });
            auto conIva = [&](scIva &x, Currency q) {
                return x.obIvaEsente ? q : q + CalcImportoPerc(Variant(q), Variant(x.odAliquota), dec).toCurrency();
            };
            if (ivati) {
                // The net share also joins the values without VAT, so that the payment
                // discount and a later recomputation of the VAT on expenses see it.
                spargi(p.odSValIvSpese, [&](scIva &x, Currency q) {
                    x.odSpeseRipart += q;
                    x.odSValSpese += q;
                    x.odSValIvSpese += conIva(x, q);
                });
                spargi(p.odSValIvSpesePerSco, [&](scIva &x, Currency q) {
                    x.odSValSpesePerSco += q;
                    const Currency l = conIva(x, q);
                    x.odSValIvSpesePerSco += l;
                    x.odSpeseRipart += l;
                });
            } else {
                spargi(p.odSValSpese, [](scIva &x, Currency q) {
                    x.odSValSpese += q;
                    x.odSpeseRipart += q;
                });
                spargi(p.odSValSpesePerSco, [](scIva &x, Currency q) {
                    x.odSValSpesePerSco += q;
                    x.odSpeseRipart += q;
                });
            }

            // Counterpart level, on the counterpart and on its empty share; no VAT added.
            for (const scControP &c : p.ocCollControPte) {
                for (const bool pbConto : {true, false}) {
                    const ImportiIva &da = p.ogCP(c.osConto, pbConto, QString(), QString());
                    auto cp = [&](Currency ImportiIva::*m, Currency ImportiIva::*anche) {
                        const std::vector<Currency> q = quote(da.*m, incid, dec);
                        for (size_t i = 0; i < riceventi.size(); ++i) {
                            ImportiIva &a = riceventi[i]->ogCP(c.osConto, pbConto, QString(), QString());
                            a.*m += q[i];
                            if (anche)
                                a.*anche += q[i];
                        }
                    };
                    cp(&ImportiIva::odSVal, nullptr);
                    cp(&ImportiIva::odSValPerSco, nullptr);
                    if (ivati) {
                        cp(&ImportiIva::odSValIvSpese, &ImportiIva::odSValSpese);
                        cp(&ImportiIva::odSValIvSpesePerSco, &ImportiIva::odSValSpesePerSco);
                    } else {
                        cp(&ImportiIva::odSValSpese, nullptr);
                        cp(&ImportiIva::odSValSpesePerSco, nullptr);
                    }
                }
            }
        }
        ogIve.ocCollIva.Remove(kIvaDaRipartire);
        CalcScontoPagam(m_w.lsPrezziIvati, dec);
        CalcIva(m_w.lsPrezziIvati, dec);
    }

    if (!m_w.pbCalcRitAcc)
        m_w.ldPercRitAcc = m_w.pdPercRitAcc >= 0
                               ? m_w.pdPercRitAcc
                               : UtilGenerali::ValoreNumerico(rs().LeggiCampo(msAliasTesta, osTabTesta + ".PercRitAcc"));
}
