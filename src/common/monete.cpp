#include "monete.h"

#include "contesto.h"
#include "gestrecordset.h"
#include "utilgenerali.h"

int32_t LeggiMoneta(const QString &codice, Variant *decImporti, Variant *decPrezzi, QString *operatore, QString *cee)
{
    GestRecordset rs;
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                  QStringLiteral("Select * from Monete") + QStringLiteral(" where moneta = ") +
                                      UtilGenerali::SqlValore(Variant(codice), 8),
                                  false, dbOpenSnapshot);
    int32_t prezzi = 2;
    int32_t importi = 2;
    QString oper = QStringLiteral("/");
    QString eu = QStringLiteral("N");
    if (!rs.NessunRecord(alias)) {
        prezzi = rs.LeggiCampo(alias, u"NumDec").toLong();
        importi = rs.LeggiCampo(alias, u"NumDecGest").toLong();
        oper = rs.LeggiCampo(alias, u"Operatore").text();
        eu = rs.LeggiCampo(alias, u"Cee").text();
    }
    rs.Chiudi(alias);

    if (operatore)
        *operatore = oper;
    if (cee)
        *cee = eu;
    if (decPrezzi) {
        *decPrezzi = Variant(prezzi);
        if (decImporti)
            *decImporti = Variant(importi);
        return prezzi;
    }
    if (decImporti) {
        *decImporti = Variant(importi);
        return importi;
    }
    return prezzi;
}
