#include "istruzionipg.h"

#include "esecuzione.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <libpq-fe.h>

namespace {

// The server's type numbers that Qt's driver reads into its own types.
enum : Oid {
    kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kRegproc = 24, kXid = 28, kCid = 29,
    kFloat4 = 700, kFloat8 = 701, kAbstime = 702, kReltime = 703, kVoid = 2278, kDate = 1082, kTime = 1083,
    kTimestamp = 1114, kTimestampTz = 1184, kTimeTz = 1266, kNumeric = 1700
};

QMetaType metaPg(Oid t)
{
    switch (t) {
    case kBool: return QMetaType(QMetaType::Bool);
    case kInt8: return QMetaType(QMetaType::LongLong);
    case kInt2: case kInt4: case kVoid: case kRegproc: case kXid: case kCid: return QMetaType(QMetaType::Int);
    case kNumeric: case kFloat4: case kFloat8: return QMetaType(QMetaType::Double);
    case kAbstime: case kReltime: case kDate: return QMetaType(QMetaType::QDate);
    case kTime: case kTimeTz: return QMetaType(QMetaType::QTime);
    case kTimestamp: case kTimestampTz: return QMetaType(QMetaType::QDateTime);
    case kBytea: return QMetaType(QMetaType::QByteArray);
    default: return QMetaType(QMetaType::QString);
    }
}

GuastoMotore guastoRisultato(PGconn *c, const PGresult *r)
{
    GuastoMotore g;
    g.motore = MotoreDb::PostgreSQL;
    g.messaggio = testoLibpq(QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(c)));
    if (g.messaggio.isEmpty()) g.messaggio = testoLibpq(QString::fromUtf8(PQerrorMessage(c)));
    if (const char *s = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr) g.statoSql = QString::fromLatin1(s);
    else if (PQstatus(c) != CONNECTION_OK) g.statoSql = QStringLiteral("08006"); // the link is gone
    return g;
}

// The text with each "?" outside quotes numbered as the server wants it ($1, $2 ...).
QByteArray numerati(const QString &sql, int quanti)
{
    if (quanti == 0) return sql.toUtf8();
    QString t;
    t.reserve(sql.size() + 2 * quanti);
    int k = 0;
    QChar apice;
    for (const QChar c : sql) {
        if (!apice.isNull()) {
            if (c == apice) apice = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            apice = c;
        } else if (c == QLatin1Char('?')) {
            t += QLatin1Char('$') + QString::number(++k);
            continue;
        }
        t += c;
    }
    return t.toUtf8();
}

} // namespace

ParametroPg parametroPg(const QVariant &v)
{
    ParametroPg p;
    if (valoreLegatoNullo(v)) {
        p.nullo = true;
        return p;
    }
    switch (v.metaType().id()) {
    case QMetaType::Bool: p.testo = v.toBool() ? "true" : "false"; break;
    case QMetaType::Int: case QMetaType::Short: case QMetaType::LongLong: case QMetaType::Char:
    case QMetaType::SChar: case QMetaType::Long:
        p.testo = QByteArray::number(v.toLongLong());
        break;
    case QMetaType::UInt: case QMetaType::UShort: case QMetaType::ULongLong: case QMetaType::UChar:
    case QMetaType::ULong:
        p.testo = QByteArray::number(v.toULongLong());
        break;
    case QMetaType::Double: case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isnan(d)) p.testo = "NaN";
        else if (std::isinf(d)) p.testo = d > 0 ? "Infinity" : "-Infinity";
        else p.testo = QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
        break;
    }
    case QMetaType::QDate: p.testo = v.toDate().toString(Qt::ISODate).toLatin1(); break;
    case QMetaType::QTime: p.testo = v.toTime().toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1(); break;
    case QMetaType::QDateTime:
        // An instant, as Qt's driver writes it: the server takes it in its session's zone.
        p.testo = v.toDateTime().toUTC().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss.zzzZ")).toLatin1();
        p.tipo = kTimestampTz;
        break;
    case QMetaType::QByteArray: {
        size_t n = 0;
        const QByteArray b = v.toByteArray();
        unsigned char *e = PQescapeBytea(reinterpret_cast<const unsigned char *>(b.constData()), static_cast<size_t>(b.size()), &n);
        p.testo = QByteArray(reinterpret_cast<const char *>(e), n > 0 ? static_cast<qsizetype>(n) - 1 : 0);
        PQfreemem(e);
        p.tipo = kBytea;
        break;
    }
    default: p.testo = v.toString().toUtf8(); break;
    }
    return p;
}

RisultatoPg::~RisultatoPg()
{
    if (m_r) PQclear(m_r);
}

RisultatoPg &RisultatoPg::operator=(RisultatoPg &&o) noexcept
{
    if (this != &o) {
        if (m_r) PQclear(m_r);
        m_r = o.m_r;
        o.m_r = nullptr;
    }
    return *this;
}

int RisultatoPg::righe() const { return m_r ? PQntuples(m_r) : 0; }
int RisultatoPg::colonne() const { return m_r ? PQnfields(m_r) : 0; }

int RisultatoPg::modificate() const
{
    return m_r ? QByteArray(PQcmdTuples(m_r)).toInt() : 0;
}

QByteArray RisultatoPg::comando() const { return m_r ? QByteArray(PQcmdStatus(m_r)) : QByteArray(); }

QString RisultatoPg::nome(int colonna) const { return QString::fromUtf8(PQfname(m_r, colonna)); }

QMetaType RisultatoPg::meta(int colonna) const { return metaPg(PQftype(m_r, colonna)); }

QVariant RisultatoPg::valore(int riga, int colonna) const
{
    const Oid tipo = PQftype(m_r, colonna);
    const QMetaType m = metaPg(tipo);
    if (PQgetisnull(m_r, riga, colonna))
        return QVariant(m, nullptr);
    const char *v = PQgetvalue(m_r, riga, colonna);
    const qsizetype n = PQgetlength(m_r, riga, colonna);
    switch (m.id()) {
    case QMetaType::Bool: return QVariant(v[0] == 't');
    case QMetaType::QString: return QString::fromUtf8(v, n);
    case QMetaType::LongLong:
        if (v[0] == '-') return QByteArray::fromRawData(v, n).toLongLong();
        return QByteArray::fromRawData(v, n).toULongLong();
    case QMetaType::Int: return QByteArray::fromRawData(v, n).toInt();
    case QMetaType::Double: {
        if (tipo == kNumeric) return QString::fromLatin1(v, n);
        bool ok = false;
        const double d = QByteArray::fromRawData(v, n).toDouble(&ok);
        if (ok) return d;
        if (qstricmp(v, "NaN") == 0) return std::nan("");
        if (qstricmp(v, "Infinity") == 0) return HUGE_VAL;
        if (qstricmp(v, "-Infinity") == 0) return -HUGE_VAL;
        return QVariant();
    }
    case QMetaType::QDate: return QDate::fromString(QString::fromLatin1(v, n), Qt::ISODate);
    case QMetaType::QTime: return QTime::fromString(QString::fromLatin1(v, n), Qt::ISODate);
    case QMetaType::QDateTime: {
        // A time without zone is taken as UTC, as Qt's driver takes it.
        QString t = QString::fromLatin1(v, n);
        const QStringView ora = QStringView(t).mid(11);
        if (!(ora.contains(QLatin1Char('-')) || ora.contains(QLatin1Char('+')) || ora.endsWith(QLatin1Char('Z'))))
            t += QLatin1Char('Z');
        return QDateTime::fromString(t, Qt::ISODate);
    }
    case QMetaType::QByteArray: {
        size_t lung = 0;
        unsigned char *d = PQunescapeBytea(reinterpret_cast<const unsigned char *>(v), &lung);
        QByteArray b(reinterpret_cast<const char *>(d), static_cast<qsizetype>(lung));
        PQfreemem(d);
        return b;
    }
    default: return QVariant();
    }
}

IstruzioniPg::Istruzione &IstruzioniPg::istruzione(const QString &sql)
{
    const auto it = m_istruzioni.find(sql);
    if (it != m_istruzioni.end())
        return it->second;
    // The texts of a program are few; a bound keeps one that builds texts without end in check.
    if (m_istruzioni.size() >= 512)
        svuota();
    return m_istruzioni.emplace(sql, Istruzione{}).first->second;
}

void IstruzioniPg::svuota()
{
    bool preparate = false;
    for (const auto &[t, i] : m_istruzioni) preparate = preparate || !i.nome.isEmpty();
    m_istruzioni.clear();
    if (preparate) {
        try {
            comandi({QByteArrayLiteral("DEALLOCATE ALL")});
        } catch (const AppError &) {
            // a statement left on the server only takes its memory
        }
    }
}

void IstruzioniPg::comandi(const std::vector<QByteArray> &c)
{
    Esito e = esegui(c, nullptr, QString(), {}, {});
    if (!e.riuscito) sollevaGuasto(e.guasto);
}

IstruzioniPg::Esito IstruzioniPg::esegui(const std::vector<QByteArray> &prima, Istruzione *istr, const QString &sql,
                                        const std::vector<ParametroPg> &valori, const std::vector<QByteArray> &dopo)
{
    Esito esito;
    const auto fallito = [&](const PGresult *r) {
        esito.riuscito = false;
        esito.guasto = guastoRisultato(m_c, r);
    };
    // What Qt's driver may have left unread goes first, as it does itself.
    while (PGresult *r = PQgetResult(m_c)) PQclear(r);
    const bool statement = !sql.isNull();
    const int n = static_cast<int>(valori.size());
    std::vector<const char *> testi(valori.size());
    std::vector<int> lunghezze(valori.size());
    std::vector<Oid> tipi(valori.size());
    for (size_t k = 0; k < valori.size(); ++k) {
        testi[k] = valori[k].nullo ? nullptr : valori[k].testo.constData();
        lunghezze[k] = static_cast<int>(valori[k].testo.size());
        tipi[k] = valori[k].tipo;
    }
    if (PQenterPipelineMode(m_c) != 1) {
        fallito(nullptr);
        return esito;
    }
    enum class Voce : uint8_t { Prima, Preparazione, Principale, Dopo };
    std::vector<Voce> voci;
    bool inviato = true;
    for (const QByteArray &c : prima) {
        inviato = inviato && PQsendQueryParams(m_c, c.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
        voci.push_back(Voce::Prima);
    }
    QByteArray nomeNuovo;
    if (statement) {
        const QByteArray testo = numerati(sql, n);
        if (istr && istr->nome.isEmpty()) {
            nomeNuovo = "evasord_s" + QByteArray::number(++m_contatore);
            inviato = inviato && PQsendPrepare(m_c, nomeNuovo.constData(), testo.constData(), n, tipi.data()) == 1;
            voci.push_back(Voce::Preparazione);
        }
        if (istr)
            inviato = inviato && PQsendQueryPrepared(m_c, (istr->nome.isEmpty() ? nomeNuovo : istr->nome).constData(), n,
                                                     testi.data(), lunghezze.data(), nullptr, 0) == 1;
        else
            inviato = inviato && PQsendQueryParams(m_c, testo.constData(), n, tipi.data(), testi.data(),
                                                   lunghezze.data(), nullptr, 0) == 1;
        voci.push_back(Voce::Principale);
    }
    for (const QByteArray &c : dopo) {
        inviato = inviato && PQsendQueryParams(m_c, c.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
        voci.push_back(Voce::Dopo);
    }
    inviato = inviato && PQpipelineSync(m_c) == 1;
    if (!inviato) {
        fallito(nullptr);
        while (PGresult *r = PQgetResult(m_c)) PQclear(r);
        PQexitPipelineMode(m_c);
        return esito;
    }
    for (const Voce v : voci) {
        PGresult *r = PQgetResult(m_c);
        if (!r) { // the link broke
            if (esito.riuscito) fallito(nullptr);
            break;
        }
        const ExecStatusType s = PQresultStatus(r);
        const bool bene = s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
        if (!bene && s != PGRES_PIPELINE_ABORTED && esito.riuscito) {
            fallito(r);
            esito.falliPrima = v == Voce::Prima;
        }
        if (v == Voce::Preparazione && bene) istr->nome = nomeNuovo;
        if (v == Voce::Principale && bene) esito.risultato = RisultatoPg(r);
        else PQclear(r);
        while (PGresult *altro = PQgetResult(m_c)) PQclear(altro); // the end of this command's results
    }
    // The synchronisation point ends the pipeline.
    while (PGresult *r = PQgetResult(m_c)) {
        const bool sync = PQresultStatus(r) == PGRES_PIPELINE_SYNC;
        PQclear(r);
        if (sync) break;
    }
    if (PQexitPipelineMode(m_c) != 1 && esito.riuscito) fallito(nullptr);
    return esito;
}
