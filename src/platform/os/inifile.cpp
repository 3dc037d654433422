#include "inifile.h"

#include "textcompare.h"

#include <QFile>
#include <QStringDecoder>

namespace {

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8(bytes);
    if (!utf8.hasError())
        return s;
    // Not UTF-8: the suite's older files are Windows-1252; Latin-1 maps all but 0x80-0x9F the same.
    static const char16_t cp1252[32] = {0x20AC, 0x81, 0x201A, 0x192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x2C6, 0x2030, 0x160, 0x2039, 0x152, 0x8D, 0x17D, 0x8F,
                                        0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x2DC, 0x2122, 0x161, 0x203A, 0x153, 0x9D, 0x17E, 0x178};
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += (b >= 0x80 && b < 0xA0) ? QChar(cp1252[b - 0x80]) : QChar(b);
    }
    return out;
}

} // namespace

IniFile IniFile::load(const QString &path)
{
    IniFile ini;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        QByteArray bytes = f.readAll();
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        ini = fromText(decode(bytes));
        ini.m_exists = true;
    }
    ini.m_path = path;
    return ini;
}

IniFile IniFile::fromText(const QString &text)
{
    IniFile ini;
    ini.m_exists = true;
    Section *current = nullptr;
    const auto lines = QStringView(text).split(u'\n');
    for (QStringView raw : lines) {
        const QStringView line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            ini.m_sections.push_back(Section{name.toString(), {}});
            current = &ini.m_sections.back();
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        const QStringView key = (eq < 0 ? line : line.left(eq)).trimmed();
        QStringView value = eq < 0 ? QStringView() : line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && ((value.front() == u'"' && value.back() == u'"') ||
                                  (value.front() == u'\'' && value.back() == u'\'')))
            value = value.mid(1, value.size() - 2);
        current->entries.push_back(Entry{key.toString(), value.toString()});
    }
    return ini;
}

const IniFile::Entry *IniFile::find(const QString &section, const QString &key) const
{
    for (const Section &s : m_sections) {
        if (!textEquals(s.name, section))
            continue;
        for (const Entry &e : s.entries)
            if (textEquals(e.key, key))
                return &e;
    }
    return nullptr;
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    if (const Entry *e = find(section, key))
        return e->value;
    return std::nullopt;
}

QString IniFile::value(const QString &section, const QString &key, const QString &deflt) const
{
    const Entry *e = find(section, key);
    return e ? e->value : deflt;
}

int32_t IniFile::intValue(const QString &section, const QString &key, int32_t deflt) const
{
    const Entry *e = find(section, key);
    if (!e || e->value.isEmpty())
        return deflt;
    return profileInt(e->value);
}

QStringList IniFile::sections() const
{
    QStringList out;
    for (const Section &s : m_sections)
        out << s.name;
    return out;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    for (const Section &s : m_sections)
        if (textEquals(s.name, section))
            for (const Entry &e : s.entries)
                out << e.key;
    return out;
}

int32_t profileInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        neg = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i + 1 < text.size() && text[i] == u'0') {
        const QChar p = text[i + 1].toLower();
        if (p == u'x') base = 16;
        else if (p == u'o') base = 8;
        else if (p == u'b') base = 2;
        if (base != 10) i += 2;
    }
    uint32_t v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].toLower().unicode();
        const int d = (c >= u'0' && c <= u'9') ? c - u'0' : (c >= u'a' && c <= u'z') ? c - u'a' + 10 : 99;
        if (d >= base)
            break;
        v = v * static_cast<uint32_t>(base) + static_cast<uint32_t>(d); // wraps as the Windows call does
    }
    return neg ? static_cast<int32_t>(0u - v) : static_cast<int32_t>(v);
}
