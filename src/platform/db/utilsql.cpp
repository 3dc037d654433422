// UtilGenerali: SQL literals, error numbers and the workspace's transactions.
#include "utilgenerali.h"

#include "connessionedb.h"
#include "letterali.h"

namespace {

ConnessioneDb *gArea = nullptr;

ConnessioneDb *area()
{
    return gArea && gArea->Connesso() ? gArea : nullptr;
}

} // namespace

namespace UtilGenerali {

QString SqlValore(const Variant &valore, int16_t tipo)
{
    ConnessioneDb *a = area();
    return SqlValore(valore, tipo, a ? a->Motore() : MotoreDb::SQLite);
}

QString SqlValore(const Variant &valore, int16_t tipo, MotoreDb motore)
{
    if (valore.isNull())
        return QStringLiteral("NULL");
    switch (tipo) {
    case 2: return QString::number(valore.toInteger());
    case 3: return QString::number(valore.toLong());
    case 4: return letteraleDouble(static_cast<double>(static_cast<float>(valore.toDouble())));
    case 5:
        if (valore.type() == Variant::Type::Currency) return valore.toCurrency().toString();
        return letteraleDouble(valore.toDouble());
    case 6: return valore.toCurrency().toString();
    case 7:
        if (valore.isBlank()) return QStringLiteral("NULL");
        return letteraleData(valore.toDate(), motore);
    case 11: return valore.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
    case 8:
    default:
        return letteraleTesto(valore.text());
    }
}

QString LikeLetterale(const QString &testo)
{
    QString s;
    s.reserve(testo.size() + 8);
    for (const QChar c : testo) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('[')) {
            s.append(QLatin1Char('['));
            s.append(c);
            s.append(QLatin1Char(']'));
        } else {
            s.append(c);
        }
    }
    return s;
}

int32_t NumeroErrore(int32_t numero) { return numero; }

int32_t NumeroErrore(const AppError &errore) { return NumeroErrore(errore.number()); }

void BeginTrans(const Variant &, bool)
{
    ConnessioneDb *a = area();
    if (!a)
        throw AppError(ErrNum::ObjectRequired, QStringLiteral("Nessun database aperto per la transazione"));
    a->BeginTransTutte();
}

void CommitTrans(const Variant &, bool)
{
    if (ConnessioneDb *a = area()) a->CommitTransTutte();
}

void Rollback(const Variant &, bool)
{
    if (ConnessioneDb *a = area()) a->RollbackTutte();
}

void ImpostaAreaDiLavoro(ConnessioneDb *connessione) { gArea = connessione; }

ConnessioneDb *AreaDiLavoro() { return area(); }

void registraConnessione(ConnessioneDb *connessione)
{
    if (!area()) gArea = connessione;
}

void dimenticaConnessione(ConnessioneDb *connessione)
{
    if (gArea == connessione) gArea = nullptr;
}

} // namespace UtilGenerali
