// The calculator as a whole: the run of its stages, the reset, the error list and the
// accessors. Each stage lives in a file of its own.
#include "sccalcpiedefat.h"

#include "confrontaarrotondati.h"
#include "gestrecordset.h"
#include "utilgenerali.h"
#include "utilpiede.h"

using namespace piede;

scCalcPiedeFat::scCalcPiedeFat() = default;
scCalcPiedeFat::~scCalcPiedeFat() = default;

GestRecordset &scCalcPiedeFat::rs()
{
    if (!mgGestRs)
        mgGestRs = std::make_unique<GestRecordset>();
    return *mgGestRs;
}

void scCalcPiedeFat::CalcPiedeFat(int16_t piAnno, int32_t plNumRif, bool pbCalcRitAcc, double pdPercRitAcc,
                                  const std::optional<Variant> &pvAddBolli)
{
    try {
        m_w = Lavoro{};
        m_w.pbCalcRitAcc = pbCalcRitAcc;
        m_w.pdPercRitAcc = pdPercRitAcc;
        m_w.lbNoAddBolli = !pvAddBolli.has_value();
        if (pvAddBolli)
            m_w.pvAddBolli = *pvAddBolli;
        AzzeraVarPiede();
        miAnno = piAnno;
        mlNumRif = plNumRif;
        msAliasTesta.clear();
        msAliasDett.clear();
        msAliasSpese.clear();

        if (LeggiTestata()) {
            LeggiBolli();
            if (LeggiDettagli()) {
                LeggiSpese();
                RipartisciIvaSpese();
                if (!pbCalcRitAcc)
                    CalcolaRitenuta();
                CalcolaTotali();
                PreparaBolli();
                if (!pbCalcRitAcc && m_w.lbTabBolli)
                    CalcolaBolli();
                ParteFinale();
            }
        }
    } catch (const AppError &e) {
        AccodaErrore(e.number(), e.description());
    } catch (const std::exception &e) {
        AccodaErrore(ErrNum::InvalidCall, QString::fromLocal8Bit(e.what()));
    }
    // The exit: whatever the way out, the run's record sets go with their manager.
    msFase.clear();
    mgGestRs.reset();
}

void scCalcPiedeFat::AzzeraVarPiede()
{
    ogIve.Clear();
    odTotMerce = odTotEsente = odTotEsenteAppBol = odTotSpese = odTotFattura = odTotIva = odTotBolli = Currency();
    odAbbuono = odAcconto = odTotOmaggi = odTotOmaggiNoIva = Currency();
    obFattEsente = false;
    osErrori.clear();
    oiNumErrori = 0;
    odTotPagare = odTotImponibile = odTotImpOmaggi = odTotImpRitAcc = odTotImpRitAccEff = odRitAcc = Currency();
    osGruppoBol.clear();
    osMastroBol.clear();
    osContoBol.clear();
    obApplScontoPag = false;
    odScontoPag = Currency();
    osScontoPag.clear();
    obOmaSIvaPres = obOmaTotPres = false;
    oiNumSconti = 0;
    mdTotMerceSco.assign(1, 0.0);
    ogSpese.Svuota();
    ogSpesePerc.Svuota();
}

void scCalcPiedeFat::AccodaRiga(const QString &psRiga)
{
    if (oiNumErrori < 30)
        osErrori += psRiga + QStringLiteral("\r\n");
    else if (oiNumErrori == 30)
        osErrori += QStringLiteral("..............");
    oiNumErrori = static_cast<int16_t>(oiNumErrori + 1);
}

void scCalcPiedeFat::AccodaErrore(int32_t plNumErrore, const QString &psErrore)
{
    AccodaRiga(QStringLiteral("Errore n°") + QString::number(UtilGenerali::NumeroErrore(plNumErrore)) + " : " + psErrore +
               " in " + " CalcPiedeFat (" + msFase + ") ");
}

double scCalcPiedeFat::odSpeseScad(int16_t piNumScad) const
{
    if (piNumScad < 0 || piNumScad >= static_cast<int>(mdSpeseScad.size()))
        throw AppError::standard(ErrNum::Subscript);
    return mdSpeseScad[static_cast<size_t>(piNumScad)];
}

void scCalcPiedeFat::setOdSpeseScad(int16_t piNumScad, double mdSpesaScad)
{
    if (piNumScad < 0 || piNumScad >= static_cast<int>(mdSpeseScad.size()))
        throw AppError::standard(ErrNum::Subscript);
    mdSpeseScad[static_cast<size_t>(piNumScad)] = mdSpesaScad;
}

int16_t scCalcPiedeFat::oiSpeseScadNum() const
{
    if (mdSpeseScad.empty())
        return 0;
    const auto ub = static_cast<int16_t>(mdSpeseScad.size() - 1);
    if (ub == 0)
        return 0;
    if (ub == 1 && ConfrontaArrotondati(Variant(mdSpeseScad[1]), Variant(0.0), -8) == 0)
        return 0;
    return ub;
}

Variant scCalcPiedeFat::odTotMerceSco(int16_t piIndSco) const
{
    if (piIndSco >= 1 && piIndSco <= oiNumSconti && piIndSco < static_cast<int>(mdTotMerceSco.size()))
        return Variant(mdTotMerceSco[static_cast<size_t>(piIndSco)]);
    return Variant(static_cast<int16_t>(0));
}
