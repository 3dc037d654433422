// The bank-charge and stamp-duty rows of a document: which of the two sets of document data
// qualifies for the charge, and the row reconciled with them.
#include "spesebanca.h"

#include "apperror.h"
#include "contesto.h"
#include "dividiconto.h"
#include "textcompare.h"
#include "transazioni.h"
#include "utilgenerali.h"

namespace {

// What tells the two charges apart.
struct Addebito {
    const char16_t *flagConto;      // PianoConti's flag of the charged customer
    const char16_t *tipoAddebito;   // Spese.TipoAddebito
    const char16_t *campoNonZero;   // the expense field that must not be zero
};
constexpr Addebito kSpeseBanca{u"SpeseBan", u"R", u"Spese.Importo"};
constexpr Addebito kBolli{u"Bolli", u"T", u"Spese.Percentuale"};

struct Insieme {
    const QString &segno;
    const QString &conto;
    const QString &pagamento;
    const QString &moneta;
    const QString *flag; // the caller's account flag, or nullptr: PianoConti is asked
};

// The test of one set, and the record sets it leaves open for the reconciliation.
struct Esito {
    bool applica = false;
    QString aliasConto;
    QString aliasPag;
    int16_t numScad = 0;
};

bool contoAddebitato(const Addebito &a, const Insieme &s, Esito &e)
{
    if (s.flag)
        return textEquals(*s.flag, u"S");
    if (s.conto.isEmpty())
        return false;
    QString gruppo, mastro, conto;
    DividiConto(s.conto, gruppo, mastro, conto);
    GestRecordset &rs = mgRecSpeBan();
    const QString campo = QString::fromUtf16(a.flagConto);
    e.aliasConto = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                           QStringLiteral("Select PianoConti.") + campo + QStringLiteral(" from PianoConti") +
                               QStringLiteral(" where Gruppo = ") + UtilGenerali::SqlValore(Variant(gruppo), 8) +
                               QStringLiteral(" and Mastro = ") + UtilGenerali::SqlValore(Variant(mastro), 8) +
                               QStringLiteral(" and Conto = ") + UtilGenerali::SqlValore(Variant(conto), 8),
                           false, dbOpenSnapshot);
    return !rs.NessunRecord(e.aliasConto) && textEquals(rs.LeggiCampo(e.aliasConto, campo).text(), u"S");
}

// A lire document may take an expense priced in euro and the other way round.
bool monetaCompatibile(const QString &monetaDoc, const QString &monetaSpesa)
{
    if (monetaDoc.isEmpty() || monetaSpesa.isEmpty())
        return false;
    const auto lireOEuro = [](const QString &m) { return textEquals(m, gsCodLira) || textEquals(m, gsCodEuro); };
    return textEquals(monetaDoc, monetaSpesa) || (lireOEuro(monetaDoc) && lireOEuro(monetaSpesa));
}

Esito verifica(const Addebito &a, const Insieme &s, bool nuovo)
{
    Esito e;
    if (s.segno.isEmpty() || s.segno == QLatin1String("-"))
        return e;
    if (!contoAddebitato(a, s, e) || s.pagamento.isEmpty())
        return e;
    GestRecordset &rs = mgRecSpeBan();
    e.aliasPag = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                         QStringLiteral("Select Pagamenti.*,Spese.*") + QStringLiteral(" from Pagamenti left join Spese") +
                             QStringLiteral(" on Pagamenti.Spesa = Spese.Spesa") + QStringLiteral(" where Pagamento = ") +
                             UtilGenerali::SqlValore(Variant(s.pagamento), 8),
                         false, dbOpenSnapshot);
    if (rs.NessunRecord(e.aliasPag))
        return e;
    const auto campo = [&](QStringView nome) { return rs.ValoreCampo(e.aliasPag, nome); };
    // Terms without an expense, or with a code missing from Spese, carry no charge.
    if (UtilGenerali::Vuoto(campo(u"Spese.Spesa")))
        return e;
    const int16_t numScad = UtilGenerali::ValoreIntero(campo(u"Pagamenti.NumScad"));
    if (!textEquals(campo(u"Spese.TipoAddebito").text(), a.tipoAddebito) || numScad == 0 ||
        UtilGenerali::ValoreNumerico(campo(a.campoNonZero)) == 0.0)
        return e;
    if (nuovo)
        e.numScad = numScad;
    e.applica = monetaCompatibile(s.moneta, campo(u"Spese.Moneta").text());
    return e;
}

// The document's row of the previous expense brought in line with the new set: deleted,
// updated in place, or replaced by the new expense's row; a new row when there was none.
void riconcilia(const QString &tab, int16_t anno, int32_t numRif, const Esito &prec, const Esito &nuovo,
                const QString &moneta, const QString &iva, QString &aliasSpese)
{
    GestRecordset &rs = mgRecSpeBan();
    if (prec.applica) {
        EsisteSpesaDoc(aliasSpese, tab, anno, numRif, prec.aliasPag, QString());
        if (!rs.NessunRecord(aliasSpese)) {
            if (!nuovo.applica) {
                rs.Delete(aliasSpese);
            } else if (textEquals(rs.ValoreCampo(prec.aliasPag, u"Spese.Spesa").text(),
                                  rs.ValoreCampo(nuovo.aliasPag, u"Spese.Spesa").text())) {
                rs.Edit(aliasSpese);
                ValorizzaRigaSpesa(aliasSpese, nuovo.aliasPag, nuovo.numScad, moneta, iva);
                rs.Update(aliasSpese);
            } else {
                // One change: the document must not lose its charge when the new row fails.
                IniziaTransazione();
                try {
                    rs.Delete(aliasSpese);
                    InserisciRigaSpesa(aliasSpese, tab, anno, numRif, nuovo.aliasPag, nuovo.numScad, moneta, iva);
                    ConfermaTransazione();
                } catch (const AppError &) {
                    AnnullaTransazione();
                    throw;
                }
            }
            return;
        }
    }
    if (nuovo.applica)
        InserisciRigaSpesa(aliasSpese, tab, anno, numRif, nuovo.aliasPag, nuovo.numScad, moneta, iva);
}

int32_t aggiungi(const Addebito &a, const QString &tab, int16_t anno, int32_t numRif, const Insieme &prec,
                 const Insieme &nuovo, const QString &iva, int32_t &plErrore, QString &psErrore)
{
    plErrore = 0;
    psErrore.clear();
    Esito ePrec, eNuovo;
    QString aliasSpese;
    try {
        ePrec = verifica(a, prec, false);
        eNuovo = verifica(a, nuovo, true);
        riconcilia(tab, anno, numRif, ePrec, eNuovo, nuovo.moneta, iva, aliasSpese);
    } catch (const AppError &e) {
        plErrore = e.number();
        psErrore = e.description();
    }
    GestRecordset &rs = mgRecSpeBan();
    for (const QString *alias : {&aliasSpese, &ePrec.aliasConto, &eNuovo.aliasConto, &ePrec.aliasPag, &eNuovo.aliasPag})
        if (!alias->isEmpty())
            rs.Chiudi(*alias);
    return plErrore;
}

int32_t aggiungi(const Addebito &a, const QString &psTabSpese, int16_t piAnno, int32_t plNumRif,
                 const QString &psSegnoPrec, const QString &psSegno, const QString &psContoPrec, const QString &psConto,
                 const QString &psPagamentoPrec, const QString &psPagamento, const QString &psMonetaPrec,
                 const QString &psMoneta, const QString &psIva, int32_t &plErrore, QString &psErrore,
                 const std::optional<FlagContiAddebito> &pvFlagConti)
{
    const Insieme prec{psSegnoPrec, psContoPrec, psPagamentoPrec, psMonetaPrec,
                       pvFlagConti ? &pvFlagConti->precedente : nullptr};
    const Insieme nuovo{psSegno, psConto, psPagamento, psMoneta, pvFlagConti ? &pvFlagConti->nuovo : nullptr};
    return aggiungi(a, psTabSpese, piAnno, plNumRif, prec, nuovo, psIva, plErrore, psErrore);
}

} // namespace

int32_t AggiungiSpeseBanca(const QString &psTabSpese, int16_t piAnno, int32_t plNumRif, const QString &psSegnoPrec,
                           const QString &psSegno, const QString &psContoPrec, const QString &psConto,
                           const QString &psPagamentoPrec, const QString &psPagamento, const QString &psMonetaPrec,
                           const QString &psMoneta, const QString &psIva, int32_t &plErrore, QString &psErrore,
                           const std::optional<FlagContiAddebito> &pvFlagConti)
{
    return aggiungi(kSpeseBanca, psTabSpese, piAnno, plNumRif, psSegnoPrec, psSegno, psContoPrec, psConto,
                    psPagamentoPrec, psPagamento, psMonetaPrec, psMoneta, psIva, plErrore, psErrore, pvFlagConti);
}

int32_t AggiungiBolliDoc(const QString &psTabSpese, int16_t piAnno, int32_t plNumRif, const QString &psSegnoPrec,
                         const QString &psSegno, const QString &psContoPrec, const QString &psConto,
                         const QString &psPagamentoPrec, const QString &psPagamento, const QString &psMonetaPrec,
                         const QString &psMoneta, const QString &psIva, int32_t &plErrore, QString &psErrore,
                         const std::optional<FlagContiAddebito> &pvFlagConti)
{
    return aggiungi(kBolli, psTabSpese, piAnno, plNumRif, psSegnoPrec, psSegno, psContoPrec, psConto,
                    psPagamentoPrec, psPagamento, psMonetaPrec, psMoneta, psIva, plErrore, psErrore, pvFlagConti);
}
