#include "campirot.h"

#include "gestrecordset.h"
#include "scevaordven.h"
#include "textcompare.h"

#include <QStringList>
#include <array>

namespace {

// The record's fields, in their order (position 0 is field 1).
enum Campo : int {
    GruppoCli, MastroCli, ContoCli, MagazzProv, IvaSosp, PrezziIvati, Iva, Pagamento, ScontoPag, Banca, IndSped,
    RagSocIndirizzo, Vettore, Resa, Agente1, Agente2, Moneta, Lingua, MagazzDest, RagOrd, OrdAperto, Contratto, CIG,
    CUP, Anno, NumRif, ScoPagSuDett, PdcDicIntenti, NumeroCampi
};

// The text fields that count whatever the grouping rule (all but Contratto).
constexpr std::array kConfrontati = {GruppoCli, MastroCli, ContoCli, MagazzProv, IvaSosp, PrezziIvati, Iva,
                                     Pagamento, ScontoPag, Banca, IndSped, RagSocIndirizzo, Vettore, Resa, Agente1,
                                     Agente2, Moneta, Lingua, MagazzDest, RagOrd, OrdAperto, CIG, CUP,
                                     ScoPagSuDett, PdcDicIntenti};

// A field of a record that was never filled reads as an empty text or 0.
Variant campo(const QVector<Variant> &record, Campo c)
{
    return c < record.size() ? record[c] : Variant();
}

bool testiDiversi(const QVector<Variant> &a, const QVector<Variant> &b, Campo c)
{
    return !textEquals(campo(a, c).text(), campo(b, c).text());
}

// The text fields read as they stand in the order, by column.
struct ColonnaTesto {
    Campo campo;
    const char16_t *colonna;
};
constexpr ColonnaTesto kColonneTesto[] = {
    {GruppoCli, u"GruppoCli"}, {MastroCli, u"MastroCli"}, {ContoCli, u"ContoCli"}, {MagazzProv, u"MagazzProv"},
    {IvaSosp, u"IvaSosp"},     {PrezziIvati, u"PrezziIvati"}, {Iva, u"Iva"},        {Pagamento, u"Pagamento"},
    {ScontoPag, u"ScontoPag"}, {Banca, u"Banca"},         {IndSped, u"IndSped"},    {Vettore, u"Vettore"},
    {Resa, u"Resa"},           {Agente1, u"Agente1"},     {Agente2, u"Agente2"},    {Moneta, u"Moneta"},
    {Lingua, u"Lingua"},       {MagazzDest, u"MagazzDest"}, {RagOrd, u"RagOrd"},    {OrdAperto, u"OrdAperto"},
    {Contratto, u"Contratto"}, {CIG, u"CIG"},             {CUP, u"CUP"},            {ScoPagSuDett, u"ScoPagSuDett"}};

} // namespace

void CampiRotLeggi(scEvaOrdVen &eva, GestRecordset &pgRecs, const QString &psRid)
{
    const auto leggi = [&](const char16_t *colonna) {
        return pgRecs.LeggiCampo(psRid, QString(QStringLiteral("OrdVenTest.") + QString::fromUtf16(colonna)));
    };
    QVector<Variant> r(NumeroCampi);
    for (const ColonnaTesto &c : kColonneTesto)
        r[c.campo] = Variant(leggi(c.colonna).text());
    // Under split payment every document has IvaSosp "N", whatever the order says.
    if (eva.oiSplitPay == 2)
        r[IvaSosp] = Variant(QStringLiteral("N"));
    r[RagSocIndirizzo] = Variant(leggi(u"RagSoc").text() + leggi(u"IndirizzoSped").text());
    r[Anno] = Variant(leggi(u"Anno").toInteger());
    r[NumRif] = Variant(leggi(u"NumRif").toLong());
    r[PdcDicIntenti] = pgRecs.ValoreCampo(psRid, u"OrdVenTest.PdcDicIntenti").isNull()
                           ? Variant(QString())
                           : Variant(leggi(u"PdcDicIntenti").text());
    eva.mvCampiRotNew = std::move(r);
}

void CampiRotNew2Old(scEvaOrdVen &eva)
{
    eva.mvCampiRotOld = eva.mvCampiRotNew;
}

bool CampiRotDiversi(scEvaOrdVen &eva)
{
    const QVector<Variant> &nuovo = eva.mvCampiRotNew, &vecchio = eva.mvCampiRotOld;
    for (Campo c : kConfrontati)
        if (testiDiversi(nuovo, vecchio, c))
            return true;
    const QString ragOrd = campo(nuovo, RagOrd).text();
    if (textEquals(ragOrd, u"N"))
        return true;
    if (textEquals(ragOrd, u"O"))
        return campo(nuovo, Anno).toLong() != campo(vecchio, Anno).toLong() ||
               campo(nuovo, NumRif).toLong() != campo(vecchio, NumRif).toLong();
    if (textEquals(ragOrd, u"C"))
        return testiDiversi(nuovo, vecchio, Contratto);
    return false;
}

QString CampiRotOrdinamento(const scEvaOrdVen &eva)
{
    QStringList termini;
    for (const ColonnaTesto &c : kColonneTesto) {
        if (c.campo == Contratto || (c.campo == IvaSosp && eva.oiSplitPay == 2))
            continue;
        termini << QStringLiteral("Nz(OrdVenTest.%1,'')").arg(QString::fromUtf16(c.colonna));
        if (c.campo == IndSped)
            termini << QStringLiteral("OrdVenTest.RagSoc & OrdVenTest.IndirizzoSped");
    }
    termini << QStringLiteral("OrdVenTest.PdcDicIntenti") << QStringLiteral("Nz(OrdVenTest.Contratto,'')")
            << QStringLiteral("OrdVenTest.Anno") << QStringLiteral("OrdVenTest.NumRif");
    return QStringLiteral(" Order by ") + termini.join(QStringLiteral(", "));
}
