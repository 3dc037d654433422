#include "mostraerraggmov.h"

#include "contesto.h"
#include "utilgenerali.h"
#include "utilposting.h"

namespace {

const QString kModelloImporto = QStringLiteral("#,###.^^^^^^");

// A value as read, Null and absent fields included.
Variant campo(const GestRecordset &rs, const QString &alias, const QString &nome)
{
    if (alias.isEmpty() || !rs.Aperto(alias))
        return {};
    return rs.ValoreCampo(alias, nome);
}

QString testo(const Variant &v)
{
    return v.text();
}

QString importo(const Variant &v)
{
    return v.isBlank() ? QString() : UtilGenerali::FormattaValore(v, kModelloImporto);
}

QString quantita(const Variant &v)
{
    if (v.isBlank())
        return {};
    return UtilGenerali::MascheraNumero(v, giNumDecQtaFmt, Variant(int16_t(0)), false, QStringLiteral("#,##0"), false,
                                        QString(), QStringLiteral("^"));
}

} // namespace

ContenutoErrAggMov ContenutoErroreMovimento(const QString &pvErrore, const QString &pvTitolo,
                                            const GestRecordset &pgRec, const QString &psAliasTes,
                                            const QString &psAliasRiga, const QString &psTabella)
{
    ContenutoErrAggMov c;
    c.titolo = pvTitolo;
    c.messaggio = pvErrore;
    const auto tes = [&](const char *nome) { return campo(pgRec, psAliasTes, QString::fromLatin1(nome)); };
    const auto riga = [&](const char *nome) {
        return campo(pgRec, psAliasRiga, psTabella + QLatin1Char('.') + QString::fromLatin1(nome));
    };
    c.valori[10] = testo(tes("NumReg"));
    c.valori[20] = testo(tes("DataReg"));
    c.valori[30] = testo(tes("MovMagtes.MagCausale"));
    c.valori[40] = testo(tes("MagazzinoProv"));
    c.valori[50] = testo(tes("MagazzinoDest"));
    c.valori[60] = testo(tes("Listino"));
    c.valori[70] = testo(tes("Moneta"));
    c.valori[80] = importo(tes("Cambio"));
    const bool livello = psTabella.contains(QLatin1String("Liv"), Qt::CaseInsensitive);
    if (!psAliasRiga.isEmpty() && pgRec.Aperto(psAliasRiga))
        c.valori[90] = testo(
            posting::ArticoloRiga(pgRec, psAliasRiga, livello ? QStringLiteral("L") : QStringLiteral("D"), psTabella));
    else
        c.valori[90] = QString();
    c.valori[100] = quantita(riga("Qta"));
    c.valori[110] = importo(riga("ValUnitario"));
    c.valori[120] = importo(riga("ValTotale"));
    c.valori[130] = quantita(riga("QtaAggMag"));
    c.valori[140] = importo(riga("ValLire"));
    c.valori[150] = importo(riga("ValEuro"));
    return c;
}

void MostraErrAggMov(const QString &pvErrore, const QString &pvTitolo, const GestRecordset &pgRec,
                     const QString &psAliasTes, const QString &psAliasRiga, const QString &psTabella)
{
    vistePosting().mostraErrAggMov(
        ContenutoErroreMovimento(pvErrore, pvTitolo, pgRec, psAliasTes, psAliasRiga, psTabella));
}
