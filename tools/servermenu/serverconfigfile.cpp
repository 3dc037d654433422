#include "serverconfigfile.h"

#include "apperror.h"
#include "inifile.h"
#include "numparse.h"
#include "textcompare.h"

#include <QFileInfo>

namespace {

[[noreturn]] void badValue(const QString &what)
{
    throw AppError(ErrNum::TypeMismatch, QStringLiteral("Valore non valido nella configurazione: ") + what,
                   QStringLiteral("ServerMenu"));
}

Date parseDate(const QString &text, const QString &where)
{
    const auto d = Date::parse(text.trimmed());
    if (!d)
        badValue(where);
    return *d;
}

Variant typedValue(const QString &text, const QString &where)
{
    if (!text.startsWith(u'@'))
        return text;
    if (text.startsWith(QStringLiteral("@@")))
        return text.mid(1);
    const QString body = text.mid(1);
    const qsizetype blank = body.indexOf(u' ');
    const QString type = blank < 0 ? body : body.left(blank);
    const QString arg = blank < 0 ? QString() : body.mid(blank + 1).trimmed();
    bool ok = true;
    Variant v;
    if (textEquals(type, u"Empty") && arg.isEmpty()) {
        v = Variant();
    } else if (textEquals(type, u"Null") && arg.isEmpty()) {
        v = Variant::null();
    } else if (textEquals(type, u"Boolean")) {
        ok = textEquals(arg, u"True") || textEquals(arg, u"False");
        v = textEquals(arg, u"True");
    } else if (textEquals(type, u"Integer")) {
        const int n = arg.toInt(&ok);
        ok = ok && n >= INT16_MIN && n <= INT16_MAX;
        v = static_cast<int16_t>(n);
    } else if (textEquals(type, u"Long")) {
        v = static_cast<int32_t>(arg.toInt(&ok));
    } else if (textEquals(type, u"Double")) {
        const auto d = parseNumber(arg);
        ok = d.has_value();
        v = d.value_or(0.0);
    } else if (textEquals(type, u"Currency")) {
        const auto c = Currency::parse(arg);
        ok = c.has_value();
        v = c.value_or(Currency());
    } else if (textEquals(type, u"Date")) {
        v = parseDate(arg, where);
    } else {
        ok = false;
    }
    if (!ok)
        badValue(where);
    return v;
}

RichiestaLancio readLaunch(const IniFile &ini, const QString &section)
{
    return RichiestaLancio{ini.value(section, QStringLiteral("Param"), {}),
                           ini.value(section, QStringLiteral("ChiLancia"), {}),
                           ini.value(section, QStringLiteral("KeySecLancia"), {}),
                           ini.value(section, QStringLiteral("ParamLancia"), {}),
                           ini.value(section, QStringLiteral("TipoForm"), {})};
}

ServerMenuFile parse(const IniFile &ini)
{
    ServerMenuFile f;
    MenuConfig &c = f.config;
    const QString server = QStringLiteral("Server");
    c.utente = ini.value(server, QStringLiteral("Utente"), {});
    c.terminale = ini.value(server, QStringLiteral("Terminale"), {});
    if (const auto d = ini.value(server, QStringLiteral("DataLavoro")); d && !d->isEmpty())
        c.dataLavoro = parseDate(*d, QStringLiteral("DataLavoro"));
    c.fileIni = ini.value(server, QStringLiteral("FileIni"), {});
    c.procCorrente = ini.value(server, QStringLiteral("ProcCorrente"), {});
    f.giornale = ini.value(server, QStringLiteral("Giornale"), {});

    const QString prog = QStringLiteral("Programma");
    c.programma = ini.value(prog, QStringLiteral("Percorso"), {});
    c.switchM = ini.value(prog, QStringLiteral("M"));
    c.switchP = ini.value(prog, QStringLiteral("P"));
    c.switchF = ini.value(prog, QStringLiteral("F"));
    c.switchI = ini.value(prog, QStringLiteral("I"));

    for (const QString &section : ini.sections()) {
        if (textEquals(section, u"Lancio"))
            c.lancio = readLaunch(ini, section);
        else if (section.startsWith(QStringLiteral("Lancio "), Qt::CaseInsensitive))
            c.lanci[section.mid(7).trimmed()] = readLaunch(ini, section);
    }

    const QString menu = QStringLiteral("ParametriMenu");
    for (const QString &key : ini.keys(menu))
        c.parametri.emplace(key, typedValue(ini.value(menu, key, {}), key));
    const QString pers = QStringLiteral("ParametriPersonali");
    for (const QString &key : ini.keys(pers)) {
        const qsizetype dot = key.indexOf(u'.');
        if (dot <= 0)
            badValue(key);
        c.parametri.emplace(MenuConfig::chiavePersonale(key.left(dot), key.mid(dot + 1)),
                            typedValue(ini.value(pers, key, {}), key));
    }
    const QString tasti = QStringLiteral("TastiCtrl");
    for (const QString &key : ini.keys(tasti)) {
        bool ok = false;
        const int code = key.toInt(&ok);
        if (!ok || code < INT16_MIN || code > INT16_MAX)
            badValue(key);
        c.tastiCtrl[static_cast<int16_t>(code)] = typedValue(ini.value(tasti, key, {}), key);
    }
    return f;
}

} // namespace

Variant valoreConfigurazione(const QString &text)
{
    return typedValue(text, text);
}

ServerMenuFile leggiFileServerMenu(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw AppError(ErrNum::FileNotFound, QStringLiteral("File di configurazione non trovato: ") + path,
                       QStringLiteral("ServerMenu"));
    return parse(IniFile::load(path));
}

ServerMenuFile leggiTestoServerMenu(const QString &text)
{
    return parse(IniFile::fromText(text));
}
