#include "pavimento.h"

#include "suiteschema.h"

#include <QElapsedTimer>
#include <QDate>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <map>
#include <stdexcept>

namespace {

struct Riga {
    QVariantList valori;
};

struct Tabella {
    QStringList colonne;
    std::vector<int> chiave; // positions of the key columns
    QHash<QString, Riga> righe;
};

QString chiaveDi(const QVariantList &valori, const std::vector<int> &chiave)
{
    QString k;
    for (const int i : chiave)
        k += valori[i].toString().toLower() + QChar(0x1f);
    return k;
}

Tabella leggi(const QSqlDatabase &db, const suite::TableDef &def)
{
    Tabella t;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM ") + def.name))
        throw std::runtime_error(q.lastError().text().toStdString());
    const QSqlRecord r = q.record();
    for (int i = 0; i < r.count(); ++i) {
        t.colonne << r.fieldName(i);
        if (def.isKeyField(r.fieldName(i)))
            t.chiave.push_back(i);
    }
    while (q.next()) {
        Riga riga;
        riga.valori.reserve(r.count());
        for (int i = 0; i < r.count(); ++i)
            riga.valori << q.value(i);
        t.righe.insert(chiaveDi(riga.valori, t.chiave), std::move(riga));
    }
    return t;
}

QString dove(const Tabella &t)
{
    QStringList parti;
    for (const int i : t.chiave)
        parti << t.colonne[i] + QStringLiteral(" = ?");
    return QStringLiteral(" WHERE ") + parti.join(QStringLiteral(" AND "));
}

QVariantList valoriChiave(const Tabella &t, const QVariantList &valori)
{
    QVariantList v;
    for (const int i : t.chiave)
        v << valori[i];
    return v;
}

IstruzionePavimento inserisci(const QString &nome, const Tabella &t, const QVariantList &valori)
{
    QStringList segni;
    for (qsizetype i = 0; i < t.colonne.size(); ++i)
        segni << QStringLiteral("?");
    return {QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(nome, t.colonne.join(QLatin1Char(',')), segni.join(QLatin1Char(','))),
            valori};
}

// An update of the given columns of one row to the values it has in `valori`.
IstruzionePavimento aggiorna(const QString &nome, const Tabella &t, const QVariantList &valori, const std::vector<int> &colonne)
{
    QStringList set;
    QVariantList v;
    for (const int i : colonne) {
        set << t.colonne[i] + QStringLiteral(" = ?");
        v << valori[i];
    }
    v << valoriChiave(t, valori);
    return {QStringLiteral("UPDATE ") + nome + QStringLiteral(" SET ") + set.join(QLatin1Char(',')) + dove(t), v};
}

IstruzionePavimento cancella(const QString &nome, const Tabella &t, const QVariantList &valori)
{
    return {QStringLiteral("DELETE FROM ") + nome + dove(t), valoriChiave(t, valori)};
}

// A row that exists only for the span of the run (a lock, a registration): key fields made up
// so that they clash with no real row, every other field Null.
QVariantList rigaDiPassaggio(const suite::TableDef &def, const Tabella &t, long long n)
{
    QVariantList v;
    const int ultima = t.chiave.empty() ? -1 : t.chiave.back();
    for (qsizetype i = 0; i < t.colonne.size(); ++i) {
        const suite::FieldDef *f = def.field(t.colonne[i]);
        if (!def.isKeyField(t.colonne[i]) || !f) {
            v << QVariant();
            continue;
        }
        const bool testo = f->type == suite::FieldType::Text || f->type == suite::FieldType::Memo;
        if (i == ultima)
            v << (testo ? QVariant(QStringLiteral("~%1").arg(n)) : QVariant(-1 - n));
        else
            v << (testo ? QVariant(QStringLiteral("~")) : QVariant(0));
    }
    return v;
}

// A value of the field's type, for a row of passage that the run updates.
QVariant valoreDi(const suite::FieldDef *f)
{
    if (!f)
        return QStringLiteral("P");
    switch (f->type) {
    case suite::FieldType::Text:
    case suite::FieldType::Memo: return QStringLiteral("P");
    case suite::FieldType::Date:
    case suite::FieldType::DateTime: return QDate(2024, 1, 1);
    default: return 1;
    }
}

// One row the floor writes: where it starts (inserted, or as the untouched company has it) and
// the values the run left, over the columns that differ. Its updates alternate between the
// two and end on the run's values, so that each one changes the row (SQLite skips writing a
// row rewritten with the same bytes, which would make the floor cheaper than any real run).
struct Bersaglio {
    QVariantList prima, dopo;
    std::vector<int> colonne;
    bool daInserire = false;
    bool daCancellare = false;
    long long aggiornamenti = 0;
};

} // namespace

PianoPavimento pianificaPavimento(const QSqlDatabase &dopo, const QSqlDatabase &prima, const ProfiloScritture &profilo)
{
    PianoPavimento piano;
    std::vector<IstruzionePavimento> inserimenti, aggiornamenti, cancellazioni;
    for (const auto &[nome, conti] : profilo.tabelle) {
        const suite::TableDef *def = suite::Schema::suite().table(nome);
        if (!def)
            continue;
        const Tabella a = leggi(dopo, *def);
        const Tabella b = leggi(prima, *def);
        if (a.colonne != b.colonne)
            throw std::runtime_error("columns differ");
        std::vector<int> nonChiave;
        for (qsizetype i = 0; i < a.colonne.size(); ++i)
            if (!def->isKeyField(a.colonne[i]))
                nonChiave.push_back(int(i));
        const auto senzaDati = [&](QVariantList v) {
            for (const int i : nonChiave)
                v[i] = QVariant();
            return v;
        };

        // What the run left: changed rows, new rows, rows gone.
        std::vector<Bersaglio> bersagli;
        long long nuove = 0;
        for (auto it = a.righe.cbegin(); it != a.righe.cend(); ++it) {
            const auto vecchia = b.righe.constFind(it.key());
            if (vecchia == b.righe.cend())
                continue;
            std::vector<int> diverse;
            for (qsizetype i = 0; i < a.colonne.size(); ++i)
                if (it.value().valori[i] != vecchia.value().valori[i])
                    diverse.push_back(int(i));
            if (!diverse.empty())
                bersagli.push_back({vecchia.value().valori, it.value().valori, std::move(diverse)});
        }
        piano.cambiate += static_cast<long long>(bersagli.size());
        for (auto it = a.righe.cbegin(); it != a.righe.cend(); ++it)
            if (!b.righe.contains(it.key())) {
                bersagli.push_back({senzaDati(it.value().valori), it.value().valori, nonChiave, true});
                ++nuove;
            }
        piano.nuove += nuove;
        for (auto it = b.righe.cbegin(); it != b.righe.cend(); ++it)
            if (!a.righe.contains(it.key())) {
                cancellazioni.push_back(cancella(def->name, b, it.value().valori));
                ++piano.tolte;
            }
        // Rows inserted and deleted again by the run.
        long long cancellate = piano.tolte;
        for (long long n = nuove; n < conti.inseriti; ++n) {
            Bersaglio p{rigaDiPassaggio(*def, a, n), {}, {nonChiave.front()}, true, cancellate++ < conti.cancellati};
            p.dopo = p.prima;
            p.dopo[nonChiave.front()] = valoreDi(def->field(a.colonne[nonChiave.front()]));
            bersagli.push_back(std::move(p));
        }

        // The run's updates spread over the rows.
        if (!bersagli.empty())
            for (size_t i = 0; i < bersagli.size(); ++i)
                bersagli[i].aggiornamenti = conti.aggiornati / static_cast<long long>(bersagli.size())
                                            + (static_cast<long long>(i) < conti.aggiornati % static_cast<long long>(bersagli.size()));
        for (const Bersaglio &x : bersagli) {
            if (x.daInserire)
                inserimenti.push_back(inserisci(def->name, a, x.aggiornamenti % 2 == 0 ? x.dopo : x.prima));
            long long volte = x.aggiornamenti;
            if (!x.daInserire && volte % 2 == 0 && volte > 0) {
                // from the untouched row an even count would start with a rewrite of it: a third state first
                aggiornamenti.push_back(aggiorna(def->name, a, senzaDati(x.dopo), x.colonne));
                --volte;
            }
            for (long long j = 0; j < volte; ++j)
                aggiornamenti.push_back(aggiorna(def->name, a, (volte - 1 - j) % 2 == 0 ? x.dopo : x.prima, x.colonne));
            if (x.daCancellare)
                cancellazioni.push_back(cancella(def->name, a, x.dopo));
        }
    }
    for (auto *gruppo : {&inserimenti, &aggiornamenti, &cancellazioni})
        for (auto &i : *gruppo)
            piano.istruzioni.push_back(std::move(i));
    return piano;
}

double eseguiPavimento(QSqlDatabase &db, const PianoPavimento &piano, long long transazioni)
{
    std::map<QString, QSqlQuery> preparate;
    const auto preparata = [&](const QString &sql) -> QSqlQuery & {
        auto it = preparate.find(sql);
        if (it == preparate.end()) {
            QSqlQuery q(db);
            if (!q.prepare(sql))
                throw std::runtime_error((sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
            it = preparate.emplace(sql, std::move(q)).first;
        }
        return it->second;
    };
    const long long totale = static_cast<long long>(piano.istruzioni.size());
    transazioni = std::max<long long>(1, std::min(transazioni, totale));
    QElapsedTimer tempo;
    tempo.start();
    long long fatte = 0;
    for (long long t = 0; t < transazioni; ++t) {
        // The statements spread evenly over the transactions.
        const long long fine = totale * (t + 1) / transazioni;
        if (!db.transaction())
            throw std::runtime_error(db.lastError().text().toStdString());
        for (; fatte < fine; ++fatte) {
            const IstruzionePavimento &i = piano.istruzioni[size_t(fatte)];
            QSqlQuery &q = preparata(i.sql);
            for (qsizetype k = 0; k < i.valori.size(); ++k)
                q.bindValue(int(k), i.valori[k]);
            if (!q.exec())
                throw std::runtime_error((i.sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
        }
        if (!db.commit())
            throw std::runtime_error(db.lastError().text().toStdString());
    }
    return double(tempo.nsecsElapsed()) / 1e9;
}
