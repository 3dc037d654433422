#include "traduttoresql.h"

#include "errori.h"
#include "scrittoresql.h"

namespace {

QStringView primaParola(QStringView sql)
{
    qsizetype i = 0;
    while (i < sql.size() && sql[i].isSpace()) ++i;
    qsizetype j = i;
    while (j < sql.size() && sql[j].isLetter()) ++j;
    return sql.mid(i, j - i);
}

bool parola(QStringView p, const char *k) { return p.compare(QLatin1String(k), Qt::CaseInsensitive) == 0; }

// A statement that goes as written must be one statement: a ";" outside quotes ends it.
void unaSola(QStringView sql)
{
    QChar virgolette;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!virgolette.isNull()) {
            if (c == virgolette) virgolette = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            virgolette = c == QLatin1Char('[') ? QLatin1Char(']') : c;
        } else if (c == QLatin1Char(';')) {
            if (!sql.mid(i + 1).trimmed().isEmpty())
                throw erroreSintassi(QStringLiteral("testo inatteso alla posizione %1").arg(i + 1));
        }
    }
}

} // namespace

std::vector<ColonnaRisultato> colonneRisultato(const Traduzione &t)
{
    std::vector<ColonnaRisultato> out;
    for (const VoceRisultato &v : t.voci) {
        if (!v.tutte) {
            out.push_back(v.colonna);
            continue;
        }
        for (const ColonnaCatalogo &c : v.tutte->colonne()) {
            ColonnaRisultato r;
            r.qualificatore = v.colonna.qualificatore;
            r.fonte = v.colonna.fonte;
            r.nome = c.nome;
            r.tabellaBase = v.tutte->nome();
            r.colonnaBase = c.nome;
            r.tipo = c.tipo;
            r.nonNullo = c.nonNullo;
            out.push_back(std::move(r));
        }
    }
    return out;
}

Traduzione traduciJet(QStringView sql, MotoreDb motore, Catalogo &catalogo)
{
    const QStringView p = primaParola(sql);
    if (!parola(p, "select") && !parola(p, "insert") && !parola(p, "update") && !parola(p, "delete")) {
        // Schema statements and anything else go as written.
        unaSola(sql);
        Traduzione t;
        t.sql = sql.toString();
        t.schema = parola(p, "create") || parola(p, "drop") || parola(p, "alter");
        return t;
    }
    const Albero a = analizza(sql);
    return scrittura::Scrittore(a, motore, catalogo).traduci();
}

std::shared_ptr<const Traduzione> TraduttoreSql::traduci(const QString &sql)
{
    if (m_catalogo.versione() != m_versioneCatalogo) {
        m_cache.clear();
        m_versioneCatalogo = m_catalogo.versione();
    }
    const auto it = m_cache.find(sql);
    if (it != m_cache.end())
        return it->second;
    auto t = std::make_shared<const Traduzione>(traduciJet(sql, m_motore, m_catalogo));
    if (m_cache.size() >= 1024)
        m_cache.clear();
    m_cache.emplace(sql, t);
    return t;
}
