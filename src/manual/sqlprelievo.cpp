#include "sqlprelievo.h"

#include "utilgenerali.h"

namespace {

QString T(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }
QString I(int16_t n) { return UtilGenerali::SqlValore(Variant(n), 2); }
QString L(int32_t n) { return UtilGenerali::SqlValore(Variant(n), 3); }
QString D(const Variant &data) { return UtilGenerali::SqlValore(data, 7); }
bool dataData(const Variant &d) { return !UtilGenerali::Vuoto(d, 7, 1, false); }
bool testoDato(const QString &t) { return !UtilGenerali::Vuoto(Variant(t), 8, 1, false); }

const QString kQ1 = QStringLiteral(" IIf(OrdVenDett.Qtaevasa Is Null,0,OrdVenDett.Qtaevasa) ");
const QString kQ2 = QStringLiteral(" IIf(Ordvenliv.Qtaevasa Is Null,0,OrdVenLiv.Qtaevasa) ");

QString colonne(const OrdineDaPrelevare &o)
{
    QString s = QStringLiteral("INSERT INTO OrdVenEvaDett (") +
                QStringLiteral(" Utente, Anno, NumRif, RigDet, RigLiv, Livello1, Livello2") +
                QStringLiteral(", Articolo,Descrizione") + QStringLiteral(", UM , Qta, QtaEvasa, ASaldo, QtaDaEva, ValUnitario") +
                QStringLiteral(", DataCons, RigLivRAEE");
    for (const QString &c : o.colonneAgg)
        s += QLatin1Char(',') + c;
    return s + QLatin1Char(')');
}

// The extra sources of a statement; a source on the level table gives nothing where the
// statement reads no level (summary rows, companies without levels).
QString origini(const OrdineDaPrelevare &o, bool conLivelli)
{
    QString s;
    for (const QString &c : o.origineAgg) {
        const bool diLivello = c.trimmed().startsWith(QLatin1String("OrdVenLiv."), Qt::CaseInsensitive);
        s += QLatin1Char(',') + (diLivello && !conLivelli ? QStringLiteral("Null") : c);
    }
    return s;
}

QString descrizione(const OrdineDaPrelevare &o)
{
    QString s = QStringLiteral("IIf(OrdVenDett.TipoRiga = ") + T(QStringLiteral("D")) + QStringLiteral(",OrdVenDett.NotaSopra");
    if (!o.partitaEnse)
        return s + QStringLiteral(",IIf(not OrdVenDett.Descrizione Is Null,OrdVenDett.Descrizione,Articoli.Descrizione )) AS MioDescrizione,");
    return s + QStringLiteral(",IIf(not OrdVenDett.Descrizione Is Null,OrdVenDett.Descrizione,Articoli.Descrizione ))") +
           QStringLiteral("& ' -'") + QStringLiteral("& (select left(ArtClasseAttr.Descrizione,5)") +
           QStringLiteral(" from ArtClasseAttr where ArtClasse=1") +
           QStringLiteral(" and ArtClasseAttr.ArtClasseAttr = Articoli.ArtClasseAttr1)") +
           QStringLiteral(" & '-' & left(Articoli.ArtClasseAttr2,3)") + QStringLiteral(" & '-' & left(Articoli.ArtClasseAttr4,3)") +
           QStringLiteral(" AS MioDescrizione,");
}

// The request's delivery-date and article ranges. Lines without a date are taken only when
// the order's own delivery date lies inside the range.
QString termini(const OrdineDaPrelevare &o)
{
    QString s;
    const bool da = dataData(o.dataConsDa), a = dataData(o.dataConsA);
    if (da || a) {
        bool senzaData = !o.dataConsTestata.isNull() && dataData(o.dataConsTestata);
        if (senzaData && da && Variant::compare(o.dataConsTestata, o.dataConsDa).value_or(-1) < 0)
            senzaData = false;
        if (senzaData && a && Variant::compare(o.dataConsTestata, o.dataConsA).value_or(1) > 0)
            senzaData = false;
        s += QStringLiteral(" And ((");
        if (da)
            s += QStringLiteral(" OrdVenDett.DataCons >=") + D(o.dataConsDa);
        if (a) {
            if (da)
                s += QStringLiteral(" And");
            s += QStringLiteral(" OrdVenDett.DataCons <=") + D(o.dataConsA);
        }
        s += senzaData ? QStringLiteral(" ) or OrdVenDett.DataCons IS NULL)") : QStringLiteral(" ))");
    }
    if (testoDato(o.articoloDa))
        s += QStringLiteral(" AND OrdVenDett.Articolo >= ") + T(o.articoloDa);
    if (testoDato(o.articoloA))
        s += QStringLiteral(" AND OrdVenDett.Articolo <= ") + T(o.articoloA);
    return s;
}

QString chiaveOrdine(const OrdineDaPrelevare &o)
{
    return QStringLiteral(" WHERE OrdVenDett.Anno=") + I(o.anno) + QStringLiteral(" AND OrdVenDett.NumRif=") + L(o.numRif) +
           QStringLiteral(" AND OrdVenDett.TipoRiga<>") + T(QStringLiteral("C"));
}

QString lineaAperta(const QString &tabella)
{
    return QStringLiteral("(") + tabella + QStringLiteral(".StatoRiga<>") + T(QStringLiteral("E")) + QStringLiteral(" OR ") +
           tabella + QStringLiteral(".StatoRiga Is Null)");
}

// Lines and levels of a company that manages levels: one row per open level of a line with
// levels (whatever the line's own state), one per open line without levels.
QString righeConLivelli(const OrdineDaPrelevare &o)
{
    QString s = colonne(o);
    s += QStringLiteral(" SELECT ") + T(o.utente) + QStringLiteral(" AS MioUtente,") +
         QStringLiteral("OrdVenDett.Anno, OrdVenDett.NumRif, OrdVenDett.RigDet,") + QStringLiteral("OrdVenDett.RigLiv,") +
         QStringLiteral("IIf(Ordvenliv.Livello1 Is Null,' ',OrdVenLiv.Livello1) AS MioLiv1,") +
         QStringLiteral("IIf(Ordvenliv.Livello2 Is Null,' ',OrdVenLiv.Livello2) AS Mioliv2,") + QStringLiteral("Articoli.Articolo,");
    s += descrizione(o);
    s += QStringLiteral("IIf(Ordvenliv.Livello1 Is Null,OrdVenDett.um,Ordvenliv.UM) AS MioUm,") +
         QStringLiteral("IIf(Ordvenliv.Livello1 Is Null,OrdVenDett.Qta,Ordvenliv.Qta) AS MioQta,");
    s += QStringLiteral("IIf(Ordvenliv.Livello1 Is Null,") + kQ1 + QLatin1Char(',') + kQ2 + QStringLiteral(") AS MioQtaevasa,");
    s += QStringLiteral("IIf(OrdVenDett.TipoRiga = ") + T(QStringLiteral("D")) + QStringLiteral(",'S','N') AS MioASaldo,");
    s += o.evadeTutto ? QStringLiteral("IIf(Ordvenliv.Livello1 Is Null,OrdVenDett.Qta - ") + kQ1 + QStringLiteral(",Ordvenliv.Qta - ") +
                            kQ2 + QStringLiteral(") AS mioQtaDaEva,")
                      : QStringLiteral("0 AS mioQtaDaEva,");
    s += QStringLiteral("IIf(OrdVenLiv.Livello1 Is Null,OrdVenDett.ValUnitario,OrdVenLiv.ValUnitario) AS MioValUnitario") +
         QStringLiteral(", OrdVenDett.DataCons,OrdVenDett.RigLivRAEE") + origini(o, true);
    s += QStringLiteral(" FROM (OrdVenDett LEFT JOIN OrdVenLiv") + QStringLiteral(" ON OrdVenDett.Anno = OrdVenLiv.Anno") +
         QStringLiteral(" AND OrdVenDett.NumRif = OrdVenLiv.NumRif") + QStringLiteral(" AND OrdVenDett.RigLiv = OrdVenLiv.RigLiv)") +
         QStringLiteral(" LEFT JOIN Articoli ON OrdVenDett.Articolo = Articoli.Articolo");
    s += chiaveOrdine(o) + QStringLiteral(" AND ((OrdVenLiv.Livello1 Is Null AND ") + lineaAperta(QStringLiteral("OrdVenDett")) +
         QStringLiteral(") OR (Not OrdVenLiv.Livello1 Is Null AND ") + lineaAperta(QStringLiteral("OrdVenLiv")) + QStringLiteral("))");
    return s + termini(o);
}

// The ordered and fulfilled quantity of a staged row.
struct Quantita {
    QString qta, evasa;
};

// A line's own quantities.
Quantita dellaRiga()
{
    return {QStringLiteral("OrdVenDett.Qta"), kQ1};
}

// A summary row's: the totals of the level rows staged with it (its open levels), which are
// what the summary row stands for.
Quantita deiLivelli()
{
    const auto somma = [](const QString &valore) {
        return QStringLiteral("(Select Sum(") + valore + QStringLiteral(") from OrdVenLiv") +
               QStringLiteral(" Where OrdVenLiv.Anno = OrdVenDett.Anno AND OrdVenLiv.NumRif = OrdVenDett.NumRif") +
               QStringLiteral(" AND OrdVenLiv.RigLiv = OrdVenDett.RigLiv AND ") + lineaAperta(QStringLiteral("OrdVenLiv")) +
               QStringLiteral(")");
    };
    return {somma(QStringLiteral("OrdVenLiv.Qta")), somma(kQ2)};
}

// The columns of a row taken from the line alone (line rows without levels, summary rows).
QString valoriDellaRiga(const OrdineDaPrelevare &o, const Quantita &q = dellaRiga())
{
    return QStringLiteral("OrdVenDett.um AS MioUm,") + q.qta + QStringLiteral(" AS MioQta,") + q.evasa +
           QStringLiteral(" AS MioQtaevasa") + QStringLiteral(", IIf(OrdVenDett.TipoRiga = ") + T(QStringLiteral("D")) +
           QStringLiteral(",'S','N') AS MioASaldo") +
           (o.evadeTutto ? QStringLiteral(", ") + q.qta + QStringLiteral(" - ") + q.evasa + QStringLiteral(" AS mioQtaDaEva")
                         : QStringLiteral(", 0 AS mioQtaDaEva")) +
           QStringLiteral(", OrdVenDett.ValUnitario AS MioValUnitario") + QStringLiteral(", OrdVenDett.DataCons,OrdVenDett.RigLivRAEE") +
           origini(o, false) + QStringLiteral(" FROM OrdVenDett") +
           QStringLiteral(" LEFT JOIN Articoli ON OrdVenDett.Articolo = Articoli.Articolo") + chiaveOrdine(o) +
           QStringLiteral(" AND ") + lineaAperta(QStringLiteral("OrdVenDett")) + termini(o);
}

QString testaRiga(const OrdineDaPrelevare &o, const QString &livello1)
{
    return colonne(o) + QStringLiteral(" SELECT ") + T(o.utente) + QStringLiteral(" AS MioUtente,") +
           QStringLiteral("OrdVenDett.Anno, OrdVenDett.NumRif, OrdVenDett.RigDet,") + QStringLiteral("OrdVenDett.RigLiv,") +
           T(livello1) + QStringLiteral(" AS MioLiv1,") + QStringLiteral("' ' AS Mioliv2,") + QStringLiteral("Articoli.Articolo,") +
           descrizione(o);
}

} // namespace

namespace sqlPrelievo {

QString CancellaRighe(const QString &utente, int16_t anno, int32_t numRif)
{
    return QStringLiteral("Delete * from OrdVenEvaDett ") + QStringLiteral(" WHERE OrdVenEvaDett.Anno=") + I(anno) +
           QStringLiteral(" AND OrdVenEvaDett.NumRif=") + L(numRif) + QStringLiteral(" AND OrdVenEvaDett.Utente=") + T(utente);
}

QString CancellaSpese(const QString &utente, int16_t anno, int32_t numRif)
{
    return QStringLiteral("Delete * from OrdVenEvaSpese ") + QStringLiteral(" WHERE OrdVenEvaSpese.Anno=") + I(anno) +
           QStringLiteral(" AND OrdVenEvaSpese.NumRif=") + L(numRif) + QStringLiteral(" AND OrdVenEvaSpese.Utente=") + T(utente);
}

QString InserisciRighe(const OrdineDaPrelevare &o)
{
    // Without levels managed the run converts no level: each open line is one row.
    return o.gesTaglie ? righeConLivelli(o) : testaRiga(o, QStringLiteral(" ")) + valoriDellaRiga(o);
}

QString InserisciRiepiloghi(const OrdineDaPrelevare &o)
{
    return testaRiga(o, QStringLiteral("*liv")) + valoriDellaRiga(o, deiLivelli()) +
           QStringLiteral(" AND Exists (Select livello1 from OrdVenLiv") +
           QStringLiteral(" Where OrdVenDett.Anno = OrdVenLiv.Anno") + QStringLiteral(" AND OrdVenDett.NumRif = OrdVenLiv.NumRif") +
           QStringLiteral(" AND OrdVenDett.RigLiv = OrdVenLiv.RigLiv") + QStringLiteral(")");
}

QString InserisciSpese(const OrdineDaPrelevare &o)
{
    return QStringLiteral("INSERT INTO OrdVenEvaSpese (") + QStringLiteral(" Utente, Anno, NumRif,Riga,Selez)") +
           QStringLiteral(" SELECT ") + T(o.utente) + QStringLiteral(" AS MioUtente,") +
           QStringLiteral("OrdVenSpese.Anno, OrdVenSpese.NumRif, OrdVenSpese.Riga,") + QStringLiteral("'N' as MioSelez") +
           QStringLiteral(" FROM OrdVenSpese") + QStringLiteral(" WHERE OrdVenSpese.Anno=") + I(o.anno) +
           QStringLiteral(" AND OrdVenSpese.NumRif=") + L(o.numRif);
}

} // namespace sqlPrelievo
