#include "menujournal.h"

#include <QLocale>

QString menuLiteral(const Variant &v)
{
    switch (v.type()) {
    case Variant::Type::Empty: return QStringLiteral("Empty");
    case Variant::Type::Null: return QStringLiteral("Null");
    case Variant::Type::Boolean: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Variant::Type::Integer: return QString::number(v.toInteger()) + u'%';
    case Variant::Type::Long: return QString::number(v.toLong()) + u'&';
    case Variant::Type::Double: return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest) + u'#';
    case Variant::Type::Currency: return v.toCurrency().toString() + u'@';
    case Variant::Type::Date: return u'#' + v.toDate().toIsoString() + u'#';
    case Variant::Type::String: {
        QString s = *v.stringIf();
        s.replace(u'"', QStringLiteral("\"\""));
        return u'"' + s + u'"';
    }
    case Variant::Type::Array: {
        const VariantArray &a = v.toArray();
        QStringList items;
        for (const Variant &i : a.items)
            items << menuLiteral(i);
        return QStringLiteral("Array(%1: %2)").arg(a.lowerBound).arg(items.join(QStringLiteral(", ")));
    }
    }
    return {};
}

namespace {
QString argList(const std::vector<Variant> &args)
{
    QStringList items;
    for (const Variant &a : args)
        items << menuLiteral(a);
    return items.join(QStringLiteral(", "));
}
} // namespace

QString JournalEntry::text() const
{
    switch (kind) {
    case Kind::Connessione: return QStringLiteral("connessione");
    case Kind::Disconnessione: return QStringLiteral("disconnessione");
    case Kind::Rifiuto: return QStringLiteral("rifiuto ") + op;
    case Kind::Avvio: return QStringLiteral("avvio ") + op;
    case Kind::Uscita: return QStringLiteral("uscita ") + op;
    case Kind::Chiamata: {
        const QString outcome = errore ? QStringLiteral("errore %1").arg(*errore) : menuLiteral(result);
        return QStringLiteral("chiamata %1(%2) => %3").arg(op, argList(args), outcome);
    }
    case Kind::Comando: {
        const QString outcome = answered ? menuLiteral(result) : QStringLiteral("(nessuna risposta)");
        return QStringLiteral("comando %1(%2) => %3").arg(op, argList(args), outcome);
    }
    }
    return {};
}

QStringList journalLines(const MenuJournal &j)
{
    QStringList out;
    for (const JournalEntry &e : j)
        out << e.text();
    return out;
}

QStringList journalCalls(const MenuJournal &j)
{
    QStringList out;
    for (const JournalEntry &e : j)
        if (e.kind == JournalEntry::Kind::Chiamata)
            out << e.op;
    return out;
}
