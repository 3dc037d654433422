#pragma once
// Ini files read as the Windows profile calls read them: sections and keys ignore letter
// case, the first occurrence of a key wins, values are trimmed and lose one pair of
// enclosing quotes, lines beginning with ";" are comments, LF and CRLF both end a line.
// Files are UTF-8, or Windows-1252 when they are not valid UTF-8.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class IniFile {
public:
    IniFile() = default;
    // Reads the file; a missing or unreadable file gives an empty ini (every key absent).
    static IniFile load(const QString &path);
    static IniFile fromText(const QString &text);

    bool exists() const { return m_exists; }
    const QString &path() const { return m_path; }

    // The key's value, nullopt when the section or the key is absent.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // The key's value, or the default when absent.
    QString value(const QString &section, const QString &key, const QString &deflt) const;
    // As GetPrivateProfileInt: absent or empty value gives the default; otherwise the
    // leading integer (blanks, a sign, 0x/0o/0b prefixes), 0 when there is none.
    int32_t intValue(const QString &section, const QString &key, int32_t deflt) const;

    QStringList sections() const;
    QStringList keys(const QString &section) const;

private:
    struct Entry { QString key; QString value; };
    struct Section { QString name; std::vector<Entry> entries; };
    const Entry *find(const QString &section, const QString &key) const;

    QString m_path;
    bool m_exists = false;
    std::vector<Section> m_sections;
};

// GetPrivateProfileInt's reading of a value text.
int32_t profileInt(QStringView text);
