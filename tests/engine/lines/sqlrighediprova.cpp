// The statements of the current order's lines, as the run control gives them (marking, reading
// and the re-reads of one line and one level), for the tests of the converter until the run
// control has its own. The delivery-date and article ranges of the request are left out: the
// tests do not use them.
#include "menuclient.h"
#include "contesto.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

QString T(const Variant &v)
{
    return UtilGenerali::SqlValore(v, 8);
}

} // namespace

QString scEvaOrdVen::PrepSqlDett(int16_t piSegna, bool pbRipri)
{
    GestRecordset &recs = mgRecs();
    const bool livelli = textEquals(msGesTaglie, u"S");
    QString sql;
    if (piSegna == 0) {
        sql = livelli ? QStringLiteral("Select OrdVenDett.*, OrdVenLiv.*, Articoli.ArtMag, Articoli.PezziPerConf, TabIva.*")
                      : QStringLiteral("Select OrdVenDett.* , Articoli.ArtMag , Articoli.PezziPerConf, TabIva.*");
        if (obEvasManule)
            sql += QStringLiteral(",OrdVenEvaDett.*");
        sql += livelli ? QStringLiteral(" from (") : QStringLiteral(" from(");
    } else {
        sql = QStringLiteral("Update (");
    }
    if (obEvasManule) {
        const QString dett = QStringLiteral("OrdVenEvaDett left join OrdVenDett on OrdVenEvaDett.Anno = OrdVenDett.Anno"
                                            " and OrdVenEvaDett.NumRif = OrdVenDett.NumRif"
                                            " and OrdVenEvaDett.RigLiv = OrdVenDett.RigLiv)");
        sql += livelli ? QStringLiteral("((") + dett +
                             QStringLiteral(" left join OrdVenLiv on OrdVenEvaDett.Anno = OrdVenLiv.Anno "
                                            " and OrdVenEvaDett.NumRif = OrdVenLiv.NumRif "
                                            " and OrdVenEvaDett.RigLiv = OrdVenLiv.RigLiv "
                                            " and OrdVenEvaDett.Livello1 = OrdVenLiv.Livello1 "
                                            " and OrdVenEvaDett.Livello2 = OrdVenLiv.Livello2) ")
                       : QStringLiteral(" (") + dett;
    } else {
        sql += livelli ? QStringLiteral(" (OrdVenDett left join OrdVenLiv on OrdVenDett.Anno = OrdVenLiv.Anno "
                                        " and OrdVenDett.NumRif = OrdVenLiv.NumRif "
                                        " and OrdVenDett.RigLiv = OrdVenLiv.RigLiv) ")
                       : QStringLiteral(" OrdVenDett");
    }
    sql += QStringLiteral(" left join Articoli on OrdVenDett.Articolo = Articoli.Articolo)"
                          " left join TabIva on OrdVenDett.Iva = TabIva.Iva");
    if (piSegna == 1)
        sql += QStringLiteral(" Set OrdVenDett.FlagStato = ") + T(Variant("4"));
    else if (piSegna == 2)
        sql += QStringLiteral(" Set OrdVenLiv.FlagStato = ") + T(Variant("4"));
    sql += QStringLiteral(" Where OrdVenDett.Anno = ") +
           UtilGenerali::SqlValore(recs.LeggiCampo(msAliasOrd, u"OrdVenTest.Anno"), 2) +
           QStringLiteral(" AND OrdVenDett.NumRif = ") +
           UtilGenerali::SqlValore(recs.LeggiCampo(msAliasOrd, u"OrdVenTest.NumRif"), 3);
    if (pbRipri) {
        sql += QStringLiteral(" AND OrdVenDett.FlagStato <> ") + T(Variant("0")) +
               QStringLiteral(" AND OrdVenDett.FlagStato <> '' AND not(OrdVenDett.FlagStato is null)");
        if (livelli)
            sql += QStringLiteral(" AND OrdVenLiv.FlagStato <> ") + T(Variant("0")) +
                   QStringLiteral(" AND OrdVenLiv.FlagStato <> '' AND not(OrdVenLiv.FlagStato is null)");
    } else if (obEvasManule) {
        sql += QStringLiteral(" AND OrdVenEvaDett.Utente = ") + T(Variant(ggMenuClient->NomeUtente())) +
               QStringLiteral(" and (OrdVenEvaDett.ASaldo = ") + T(Variant("S")) +
               QStringLiteral(" OR OrdVenEvaDett.QtaDaEva <>0 ) ");
    } else {
        sql += QStringLiteral(" AND (OrdVenDett.StatoRiga<>") + T(Variant("E")) +
               QStringLiteral(" OR OrdVenDett.StatoRiga is NULL)");
    }
    if (piSegna == 2)
        sql += QStringLiteral(" AND LEN(OrdVenLiv.Livello1)>0");
    else if (piSegna == 0)
        sql += QStringLiteral(" Order by OrdVenDett.RigDet");
    return sql;
}

QString scEvaOrdVen::PrepSqlRilettOrdDett(const QString &psROrdDet)
{
    GestRecordset &recs = mgRecs();
    return QStringLiteral("SELECT OrdVenDett.* From OrdVenDett WHERE OrdVenDett.Anno=") +
           UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenDett.Anno"), 2) +
           QStringLiteral(" AND OrdVenDett.NumRif=") + UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenDett.NumRif"), 3) +
           QStringLiteral(" AND OrdVenDett.RigLiv=") + UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenDett.RigLiv"), 3);
}

QString scEvaOrdVen::PrepSqlRilettOrdDettLiv(const QString &psROrdDet)
{
    GestRecordset &recs = mgRecs();
    return QStringLiteral("SELECT OrdVenLiv.* From OrdVenLiv WHERE OrdVenLiv.Anno=") +
           UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenDett.Anno"), 2) +
           QStringLiteral(" AND OrdVenLiv.NumRif=") + UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenDett.NumRif"), 3) +
           QStringLiteral(" AND OrdVenLiv.RigLiv=") + UtilGenerali::SqlValore(recs.LeggiCampo(psROrdDet, u"OrdVenLiv.RigLiv"), 3) +
           QStringLiteral(" AND OrdVenLiv.Livello1=") + T(recs.LeggiCampo(psROrdDet, u"OrdVenLiv.Livello1")) +
           QStringLiteral(" AND OrdVenLiv.Livello2=") + T(recs.LeggiCampo(psROrdDet, u"OrdVenLiv.Livello2"));
}
