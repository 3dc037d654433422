// UtilGenerali: command-line switches, files and ini files.
#include "utilgenerali.h"

#include "filesqlite.h"
#include "inifile.h"
#include "winpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace {

// A switch word: "/" followed by letters only.
bool parolaOpzione(QStringView w)
{
    if (w.size() < 2 || w.front() != QLatin1Char('/')) return false;
    for (qsizetype i = 1; i < w.size(); ++i)
        if (!w[i].isLetter()) return false;
    return true;
}

struct Parola {
    QString testo;
    bool virgolette = false;
};

std::vector<Parola> parole(const QString &s)
{
    std::vector<Parola> out;
    qsizetype i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i].isSpace()) ++i;
        if (i >= s.size()) break;
        Parola p;
        if (s[i] == QLatin1Char('"')) {
            p.virgolette = true;
            ++i;
            while (i < s.size()) {
                if (s[i] == QLatin1Char('"')) {
                    if (i + 1 < s.size() && s[i + 1] == QLatin1Char('"')) {
                        p.testo.append(QLatin1Char('"'));
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                p.testo.append(s[i++]);
            }
        } else {
            while (i < s.size() && !s[i].isSpace()) p.testo.append(s[i++]);
        }
        out.push_back(std::move(p));
    }
    return out;
}

QString cartella(const QString &file) { return QFileInfo(file).absolutePath(); }

} // namespace

namespace UtilGenerali {

QString ValoreOpzione(const QString &testo, const QString &nome)
{
    const std::vector<Parola> w = parole(testo);
    for (size_t i = 0; i < w.size(); ++i) {
        if (w[i].virgolette || !parolaOpzione(w[i].testo)) continue;
        if (QStringView(w[i].testo).mid(1).compare(nome, Qt::CaseInsensitive) != 0) continue;
        QStringList valore;
        size_t j = i + 1;
        for (; j < w.size() && (w[j].virgolette || !parolaOpzione(w[j].testo)); ++j) valore << w[j].testo;
        if (valore.isEmpty()) return w[i].testo;
        return valore.join(QLatin1Char(' '));
    }
    return {};
}

bool EsisteFile(const QString &percorso)
{
    if (percorso.trimmed().isEmpty()) return false;
    const QFileInfo fi(mapWindowsPath(percorso.trimmed()));
    return fi.exists() && fi.isFile();
}

QString DirProgramma()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

QString ComponiPercorso(const QString &base, const QString &drive, const QString &cartellaDati)
{
    QString r;
    for (const QString &parte : {base, drive, cartellaDati}) {
        QString p = parte.trimmed();
        if (p.isEmpty()) continue;
        if (r.isEmpty()) {
            r = p;
            continue;
        }
        const bool fine = r.endsWith(QLatin1Char('\\')) || r.endsWith(QLatin1Char('/'));
        const bool inizio = p.startsWith(QLatin1Char('\\')) || p.startsWith(QLatin1Char('/'));
        if (fine && inizio) p.remove(0, 1);
        else if (!fine && !inizio) r.append(QLatin1Char('\\'));
        r += p;
    }
    return r;
}

QString LeggiValoreIni(const QString &sezione, const QString &chiave, const QString &predefinito, const QString &fileIni)
{
    return IniFile::load(mapWindowsPath(fileIni)).value(sezione, chiave, predefinito);
}

int32_t LeggiChiaveIni(const QString &sezione, const QString &chiave, const Variant &predefinito, Variant &valore,
                       const QString &fileIni, const QString &iniScelta)
{
    const QString principale = mapWindowsPath(fileIni);
    if (!iniScelta.trimmed().isEmpty()) {
        QString scelta = mapWindowsPath(iniScelta.trimmed());
        if (QFileInfo(scelta).isRelative()) scelta = QDir(cartella(principale)).filePath(scelta);
        if (const auto v = IniFile::load(scelta).value(sezione, chiave)) {
            valore = Variant(*v);
            return 0;
        }
    }
    if (const auto v = IniFile::load(principale).value(sezione, chiave)) {
        valore = Variant(*v);
        return 0;
    }
    valore = predefinito;
    return 1;
}

int32_t RecuperaDatabase(const QString &nomeDb)
{
    const QString percorso = mapWindowsPath(nomeDb.trimmed());
    if (!QFileInfo(percorso).isFile()) return 1;
    const QString nome = QStringLiteral("evasord_verifica_") + QUuid::createUuid().toString(QUuid::Id128);
    int32_t esito = 1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(percorso);
        if (db.open()) {
            FileSqlite::registraConfrontoTesti(db);
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("PRAGMA quick_check")) && q.next() && q.value(0).toString() == QLatin1String("ok"))
                esito = 0;
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(nome);
    return esito;
}

} // namespace UtilGenerali
