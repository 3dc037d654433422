#include "scive.h"

#include "calcoli.h"

namespace {

QString chiaveQuota(const QString &centro, const QString &competenza)
{
    return ChiaveControP(centro, competenza).text();
}

} // namespace

// ---------------------------------------------------------------- scControP

bool scControP::obCdcCompEsiste(const QString &psCentroDiCosto, const QString &psCompetenza) const
{
    return ocCdcCompetenza.Esiste(chiaveQuota(psCentroDiCosto, psCompetenza));
}

scControPCDCComp &scControP::AddCdcComp(const QString &psCentroDiCosto, const QString &psCompetenza)
{
    auto quota = std::make_unique<scControPCDCComp>();
    quota->osKey = chiaveQuota(psCentroDiCosto, psCompetenza);
    quota->osCentroDiCosto = psCentroDiCosto;
    quota->osCompetenza = psCompetenza;
    const QString chiave = quota->osKey;
    return ocCdcCompetenza.Add(chiave, std::move(quota));
}

scControPCDCComp &scControP::ogCdcComp(const QString &psCentroDiCosto, const QString &psCompetenza) const
{
    return ocCdcCompetenza.Item(chiaveQuota(psCentroDiCosto, psCompetenza));
}

// ---------------------------------------------------------------- scIva

scIva::scIva() : mdMerceSco(1, 0.0) {}

ImportiIva &scIva::ogCP(const QString &psConto, bool pbConto, const QString &psCentroDiCosto,
                        const QString &psCompetenza) const
{
    scControP &cp = ocCollControPte.Item(psConto);
    if (pbConto)
        return cp;
    return cp.ogCdcComp(psCentroDiCosto, psCompetenza);
}

bool scIva::obCPEsiste(const QString &psConto) const { return ocCollControPte.Esiste(psConto); }

bool scIva::obCdcCompEsiste(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza) const
{
    return ocCollControPte.Item(psConto).obCdcCompEsiste(psCentroDiCosto, psCompetenza);
}

void scIva::CPClear() { ocCollControPte.Clear(); }

scControP &scIva::AddControP(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza)
{
    auto cp = std::make_unique<scControP>();
    cp->osConto = psConto;
    cp->AddCdcComp(psCentroDiCosto, psCompetenza);
    return ocCollControPte.Add(psConto, std::move(cp));
}

scControPCDCComp &scIva::AddCdcComp(const QString &psConto, const QString &psCentroDiCosto, const QString &psCompetenza)
{
    return ocCollControPte.Item(psConto).AddCdcComp(psCentroDiCosto, psCompetenza);
}

scControP &scIva::ogControp(const QString &psControP) const { return ocCollControPte.Item(psControP); }

scControPCDCComp &scIva::ogCdcComp(const QString &psControP, const QString &psCentroDiCosto,
                                   const QString &psCompetenza) const
{
    return ocCollControPte.Item(psControP).ogCdcComp(psCentroDiCosto, psCompetenza);
}

void scIva::PrepMerceSco(int16_t piIndSconto)
{
    if (piIndSconto <= oiNumSconti)
        return;
    const auto n = static_cast<size_t>(piIndSconto) + 1;
    if (oiNumSconti == 0)
        mdMerceSco.assign(n, 0.0);
    else
        mdMerceSco.resize(n, mdMerceSco[static_cast<size_t>(oiNumSconti)]);
    oiNumSconti = piIndSconto;
}

double scIva::odMerceSco(int16_t piIndSconto) const
{
    if (oiNumSconti == 0 || piIndSconto > oiNumSconti)
        return odMerce.toDouble();
    if (piIndSconto < 0)
        throw AppError::standard(ErrNum::Subscript);
    return mdMerceSco[static_cast<size_t>(piIndSconto)];
}

void scIva::setOdMerceSco(int16_t piIndSconto, double pdImpScontato)
{
    if (piIndSconto < 0 || piIndSconto > oiNumSconti)
        throw AppError::standard(ErrNum::Subscript);
    mdMerceSco[static_cast<size_t>(piIndSconto)] = pdImpScontato;
}

// ---------------------------------------------------------------- scIve

bool scIve::obEsiste(const QString &psIva) const { return ocCollIva.Esiste(psIva); }

void scIve::Clear() { ocCollIva.Clear(); }

scIva &scIve::AddIva(const QString &psIva)
{
    auto iva = std::make_unique<scIva>();
    iva->osIva = psIva;
    return ocCollIva.Add(psIva, std::move(iva));
}
