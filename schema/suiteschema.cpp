#include "suiteschema.h"

#include "apperror.h"
#include "currency.h"
#include "textcompare.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

// Generated at build time from suite_schema.txt.
extern const char *const kSuiteSchemaText;

namespace suite {

namespace {

const QString kSource = QStringLiteral("suite_schema");

AppError schemaError(int lineNo, const QString &what)
{
    return AppError(ErrNum::InvalidCall,
                    QStringLiteral("Schema, riga %1: %2").arg(lineNo).arg(what), kSource);
}

std::optional<FieldType> typeFromName(const QString &name, int *length)
{
    static const QRegularExpression textN(QStringLiteral("^text\\((\\d+)\\)$"));
    *length = 0;
    if (const auto m = textN.match(name); m.hasMatch()) {
        *length = m.captured(1).toInt();
        return FieldType::Text;
    }
    static const std::pair<const char *, FieldType> names[] = {
        {"memo", FieldType::Memo},         {"int16", FieldType::Integer}, {"int32", FieldType::Long},
        {"double", FieldType::Double},     {"currency", FieldType::Currency},
        {"date", FieldType::Date},         {"datetime", FieldType::DateTime},
        {"bool", FieldType::Boolean}};
    for (const auto &[n, t] : names)
        if (name == QLatin1String(n))
            return t;
    return std::nullopt;
}

// "Periodo{1..12}" gives Periodo1 .. Periodo12; any other name stands for itself.
QStringList expandName(const QString &name, int lineNo)
{
    static const QRegularExpression range(QStringLiteral("^(\\w*)\\{(\\d+)\\.\\.(\\d+)\\}(\\w*)$"));
    const auto m = range.match(name);
    if (!m.hasMatch()) {
        static const QRegularExpression plain(QStringLiteral("^[A-Za-z]\\w*$"));
        if (!plain.match(name).hasMatch())
            throw schemaError(lineNo, QStringLiteral("nome non valido \"%1\"").arg(name));
        return {name};
    }
    const int from = m.captured(2).toInt(), to = m.captured(3).toInt();
    if (from > to || to - from > 100)
        throw schemaError(lineNo, QStringLiteral("intervallo non valido \"%1\"").arg(name));
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << m.captured(1) + QString::number(i) + m.captured(4);
    return out;
}

void checkTable(const TableDef &t, int lineNo)
{
    if (t.primaryKey.isEmpty())
        throw schemaError(lineNo, QStringLiteral("la tabella %1 non ha chiave").arg(t.name));
    auto checkFields = [&](const QStringList &fields) {
        for (const QString &f : fields)
            if (!t.field(f))
                throw schemaError(lineNo, QStringLiteral("%1.%2 non esiste").arg(t.name, f));
    };
    checkFields(t.primaryKey);
    for (const auto &u : t.uniqueIndexes)
        checkFields(u);
    for (const auto &x : t.indexes)
        checkFields(x);
}

QString columnDef(const TableDef &t, const FieldDef &f, SqlEngine engine)
{
    QString def = f.name + QLatin1Char(' ') + sqlType(f, engine);
    if (t.isKeyField(f.name))
        def += QStringLiteral(" NOT NULL");
    if (f.defaultValue) {
        QString valore = *f.defaultValue;
        if (f.type == FieldType::Currency && engine == SqlEngine::SQLite)
            if (const auto c = Currency::parse(valore)) valore = QString::number(c->units());
        def += QStringLiteral(" DEFAULT ") + valore;
    }
    return def;
}

} // namespace

SqlEngine engineOf(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QSQLITE") ? SqlEngine::SQLite : SqlEngine::PostgreSQL;
}

QString fieldTypeName(FieldType t)
{
    switch (t) {
    case FieldType::Text: return QStringLiteral("text");
    case FieldType::Memo: return QStringLiteral("memo");
    case FieldType::Integer: return QStringLiteral("int16");
    case FieldType::Long: return QStringLiteral("int32");
    case FieldType::Double: return QStringLiteral("double");
    case FieldType::Currency: return QStringLiteral("currency");
    case FieldType::Date: return QStringLiteral("date");
    case FieldType::DateTime: return QStringLiteral("datetime");
    case FieldType::Boolean: return QStringLiteral("bool");
    }
    return {};
}

const FieldDef *TableDef::field(QStringView fieldName) const
{
    for (const FieldDef &f : fields)
        if (textEquals(f.name, fieldName))
            return &f;
    return nullptr;
}

bool TableDef::isKeyField(QStringView fieldName) const
{
    for (const QString &k : primaryKey)
        if (textEquals(k, fieldName))
            return true;
    return false;
}

Schema Schema::parse(QStringView text)
{
    Schema s;
    TableDef *cur = nullptr;
    int tableLine = 0;
    const auto lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QStringView line = lines[i];
        if (const auto hash = line.indexOf(QLatin1Char('#')); hash >= 0)
            line = line.left(hash);
        const QStringList words = line.toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const QString &head = words[0];
        if (head == QLatin1String("table")) {
            if (words.size() != 2)
                throw schemaError(lineNo, QStringLiteral("\"table\" vuole un nome"));
            if (cur)
                checkTable(*cur, tableLine);
            if (s.table(words[1]))
                throw schemaError(lineNo, QStringLiteral("tabella %1 ripetuta").arg(words[1]));
            expandName(words[1], lineNo);
            s.m_tables.push_back(TableDef{words[1], {}, {}, {}, {}});
            cur = &s.m_tables.back();
            tableLine = lineNo;
            continue;
        }
        if (!cur)
            throw schemaError(lineNo, QStringLiteral("riga fuori da una tabella"));
        if (head == QLatin1String("key") || head == QLatin1String("unique") || head == QLatin1String("index")) {
            const QStringList fields = words.mid(1);
            if (fields.isEmpty())
                throw schemaError(lineNo, QStringLiteral("\"%1\" senza campi").arg(head));
            if (head == QLatin1String("key")) {
                if (!cur->primaryKey.isEmpty())
                    throw schemaError(lineNo, QStringLiteral("chiave ripetuta"));
                cur->primaryKey = fields;
            } else if (head == QLatin1String("unique")) {
                cur->uniqueIndexes.push_back(fields);
            } else {
                cur->indexes.push_back(fields);
            }
            continue;
        }
        // <Field> <type> [default <value>]
        int length = 0;
        const auto type = words.size() >= 2 ? typeFromName(words[1], &length) : std::nullopt;
        if (!type || (words.size() != 2 && words.size() != 4)
            || (words.size() == 4 && words[2] != QLatin1String("default")))
            throw schemaError(lineNo, QStringLiteral("campo non valido"));
        std::optional<QString> def;
        if (words.size() == 4) {
            bool isNumber = false;
            words[3].toDouble(&isNumber);
            if (!isNumber)
                throw schemaError(lineNo, QStringLiteral("valore predefinito non numerico"));
            def = words[3];
        }
        for (const QString &name : expandName(head, lineNo)) {
            if (cur->field(name))
                throw schemaError(lineNo, QStringLiteral("campo %1 ripetuto").arg(name));
            cur->fields.push_back(FieldDef{name, *type, length, def});
        }
    }
    if (cur)
        checkTable(*cur, tableLine);
    return s;
}

QString Schema::suiteText()
{
    return QString::fromUtf8(kSuiteSchemaText);
}

const Schema &Schema::suite()
{
    static const Schema s = parse(suiteText());
    return s;
}

const TableDef *Schema::table(QStringView name) const
{
    for (const TableDef &t : m_tables)
        if (textEquals(t.name, name))
            return &t;
    return nullptr;
}

const TableDef &Schema::tableOrThrow(QStringView name) const
{
    if (const TableDef *t = table(name))
        return *t;
    throw AppError(ErrNum::InvalidCall, QStringLiteral("Tabella inesistente: ") + name.toString(), kSource);
}

QString sqlType(const FieldDef &field, SqlEngine engine)
{
    const bool lite = engine == SqlEngine::SQLite;
    switch (field.type) {
    case FieldType::Text:
        return lite ? QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(field.length) : QStringLiteral("citext");
    case FieldType::Memo:
        return lite ? QStringLiteral("TEXT COLLATE NOCASE") : QStringLiteral("citext");
    case FieldType::Integer:
    case FieldType::Boolean:
        return lite ? QStringLiteral("SMALLINT") : QStringLiteral("smallint");
    case FieldType::Long:
        return lite ? QStringLiteral("INTEGER") : QStringLiteral("integer");
    case FieldType::Double:
        return lite ? QStringLiteral("DOUBLE") : QStringLiteral("double precision");
    case FieldType::Currency:
        // SQLite: the amount's ten-thousandths in an INTEGER, exact over the whole currency range.
        return lite ? QStringLiteral("CURRENCY_E4") : QStringLiteral("numeric(19,4)");
    case FieldType::Date:
        return lite ? QStringLiteral("DATE") : QStringLiteral("date");
    case FieldType::DateTime:
        return lite ? QStringLiteral("DATETIME") : QStringLiteral("timestamp(0) without time zone");
    }
    return {};
}

QStringList Schema::createStatements(SqlEngine engine) const
{
    QStringList out;
    if (engine == SqlEngine::PostgreSQL)
        out << QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext");
    for (const TableDef &t : m_tables) {
        QStringList cols;
        for (const FieldDef &f : t.fields)
            cols << columnDef(t, f, engine);
        cols << QStringLiteral("PRIMARY KEY (%1)").arg(t.primaryKey.join(QStringLiteral(", ")));
        out << QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(t.name, cols.join(QStringLiteral(",\n  ")));
        int n = 0;
        for (const QStringList &u : t.uniqueIndexes)
            out << QStringLiteral("CREATE UNIQUE INDEX %1_u%2 ON %1 (%3)")
                       .arg(t.name)
                       .arg(++n)
                       .arg(u.join(QStringLiteral(", ")));
        n = 0;
        for (const QStringList &x : t.indexes) {
            // PostgreSQL sorts Nulls last unless told; the suite's SQL sorts them as the lowest
            // values ("NULLS FIRST" ascending, "NULLS LAST" descending), and an index in that
            // order serves both directions without a sort.
            QStringList campi;
            for (const QString &f : x)
                campi << (engine == SqlEngine::PostgreSQL && !t.isKeyField(f) ? f + QStringLiteral(" NULLS FIRST") : f);
            out << QStringLiteral("CREATE INDEX %1_i%2 ON %1 (%3)")
                       .arg(t.name)
                       .arg(++n)
                       .arg(campi.join(QStringLiteral(", ")));
        }
    }
    return out;
}

void Schema::create(QSqlDatabase &db, SqlEngine engine) const
{
    if (!db.transaction())
        throw AppError(ErrNum::InvalidCall, db.lastError().text(), kSource);
    QSqlQuery q(db);
    for (const QString &sql : createStatements(engine)) {
        if (!q.exec(sql)) {
            const QString msg = q.lastError().text();
            q.finish();
            db.rollback();
            throw AppError(ErrNum::InvalidCall, QStringLiteral("Creazione dello schema: ") + msg, kSource);
        }
    }
    q.finish();
    if (!db.commit())
        throw AppError(ErrNum::InvalidCall, db.lastError().text(), kSource);
}

} // namespace suite
