#include "righediprova.h"

#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "utilgenerali.h"

QStringList righeDb(const QString &sql)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql);
    Recordset &r = rs.Recordset(a);
    QStringList out;
    for (int i = 0; i < r.RecordCount(); ++i) {
        QStringList riga;
        for (int c = 0; c < r.FieldsCount(); ++c) {
            const Variant v = r.Valore(i, c);
            riga << (v.isNull() ? QStringLiteral("null") : v.isNumber() ? QString::number(v.toDouble()) : v.text());
        }
        out << riga.join(QLatin1Char(' '));
    }
    rs.Chiudi(a);
    return out;
}
