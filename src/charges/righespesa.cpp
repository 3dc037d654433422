// The expense rows of a document that the bank-charge and stamp-duty operations write.
#include "spesebanca.h"

#include "contesto.h"
#include "textcompare.h"
#include "utilgenerali.h"

GestRecordset &mgRecSpeBan()
{
    static GestRecordset gestore;
    return gestore;
}

void UltimaRigaSpese(const QString &psTabSpese, int16_t piAnno, int32_t plNumRif, int32_t &plRiga)
{
    GestRecordset &rs = mgRecSpeBan();
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                  QStringLiteral("Select top 1 * from ") + psTabSpese + QStringLiteral(" where anno = ") +
                                      UtilGenerali::SqlValore(Variant(piAnno), 2) + QStringLiteral(" AND NumRif = ") +
                                      UtilGenerali::SqlValore(Variant(plNumRif), 3) +
                                      QStringLiteral(" order by Riga DESC"),
                                  false, dbOpenSnapshot);
    plRiga = rs.NessunRecord(alias) ? 0 : rs.LeggiCampo(alias, u"Riga").toLong();
    rs.Chiudi(alias);
}

void EsisteSpesaDoc(QString &psAliasSpese, const QString &psTabSpese, int16_t piAnno, int32_t plNumRif,
                    const QString &psAliasPag, const QString &psSpesa)
{
    GestRecordset &rs = mgRecSpeBan();
    const Variant spesa = UtilGenerali::Vuoto(Variant(psSpesa)) ? rs.ValoreCampo(psAliasPag, u"Spese.Spesa")
                                                                 : Variant(psSpesa);
    // Ordered so that "the first row of the code" is the same row on every engine.
    psAliasSpese = rs.Apri(*ggDbAzienda, gsNomeConn, psAliasSpese,
                           QStringLiteral("Select TOP 1 * from ") + psTabSpese + QStringLiteral(" where anno = ") +
                               UtilGenerali::SqlValore(Variant(piAnno), 2) + QStringLiteral(" AND NumRif = ") +
                               UtilGenerali::SqlValore(Variant(plNumRif), 3) + QStringLiteral(" AND Spesa = ") +
                               UtilGenerali::SqlValore(spesa, 8) + QStringLiteral(" order by Riga"),
                           false, dbOpenDynaset);
}

void ValorizzaRigaSpesa(const QString &psAliasSpese, const QString &psAliasPag, int16_t piNumScad,
                        const QString &psMoneta, const QString &psIva)
{
    GestRecordset &rs = mgRecSpeBan();
    const bool lire = textEquals(psMoneta, gsCodLira);
    const auto spesa = [&](QStringView campo) { return rs.ValoreCampo(psAliasPag, campo); };
    rs.ScriviCampo(psAliasSpese, u"Iva", psIva.trimmed().isEmpty() ? spesa(u"Spese.Iva") : Variant(psIva));
    rs.ScriviCampo(psAliasSpese, u"Percentuale", spesa(u"Spese.Percentuale"));
    // The charge is per instalment; the limits stay those of one.
    const double perRata = UtilGenerali::ValoreNumerico(spesa(lire ? u"Spese.ImportoLire" : u"Spese.Importo"));
    rs.ScriviCampo(psAliasSpese, u"Importo", Variant(perRata * piNumScad));
    rs.ScriviCampo(psAliasSpese, u"ImportoMax", spesa(lire ? u"Spese.ImportoMaxLire" : u"Spese.ImportoMax"));
    rs.ScriviCampo(psAliasSpese, u"ImportoMin", spesa(lire ? u"Spese.ImportoMinLire" : u"Spese.ImportoMin"));
}

void InserisciRigaSpesa(QString &psAliasSpese, const QString &psTabSpese, int16_t piAnno, int32_t plNumRif,
                        const QString &psAliasPag, int16_t piNumScad, const QString &psMoneta, const QString &psIva)
{
    GestRecordset &rs = mgRecSpeBan();
    if (psAliasSpese.isEmpty())
        psAliasSpese = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                               QStringLiteral("Select * from ") + psTabSpese + QStringLiteral(" where false"), false,
                               dbOpenDynaset);
    int32_t ultima = 0;
    UltimaRigaSpese(psTabSpese, piAnno, plNumRif, ultima);
    rs.AddNew(psAliasSpese);
    rs.ScriviCampo(psAliasSpese, u"Anno", Variant(piAnno));
    rs.ScriviCampo(psAliasSpese, u"NumRif", Variant(plNumRif));
    rs.ScriviCampo(psAliasSpese, u"Riga", Variant(ultima + 1));
    rs.ScriviCampo(psAliasSpese, u"Spesa", rs.ValoreCampo(psAliasPag, u"Spese.Spesa"));
    rs.ScriviCampo(psAliasSpese, u"SoggRitAcc", rs.ValoreCampo(psAliasPag, u"Spese.SoggRitAcc"));
    ValorizzaRigaSpesa(psAliasSpese, psAliasPag, piNumScad, psMoneta, psIva);
    rs.Update(psAliasSpese);
}
