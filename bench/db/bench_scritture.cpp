// Writes as a run makes them: rows added and changed through record sets opened on the whole
// row ("Select * from " + table + " Where 0=1", a set over the document's rows), against raw
// prepared INSERT and UPDATE statements of the same fields and values. Tables FatDett (69
// fields, 18 written), FatTest (92 fields, 20 written) and ArticoliProg (36 fields, 9 written).
// Target: within 1.5x of raw.
#include "banco.h"
#include "gestrecordset.h"
#include "valoricampo.h"

#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <vector>

namespace {

using Valore = std::function<Variant(int riga, int giro)>;

struct Campo {
    const char *nome;
    Valore valore;
};

struct Tabella {
    const char *nome;
    int righe;
    std::vector<const char *> chiave;
    std::vector<Campo> nuovi;     // fields of a new row, the key first
    std::vector<Campo> cambiati;  // fields changed by an update
};

Variant testo(const QString &s) { return Variant(s); }
Variant doppio(double d) { return Variant(d); }
Variant valuta(int64_t centesimi) { return Variant(Currency::fromUnits(centesimi * 100)); }

const std::vector<Tabella> &tabelle()
{
    static const std::vector<Tabella> t = {
        {"FatDett", 2000, {"Anno", "NumRif", "RigLiv"},
         {{"Anno", [](int, int) { return Variant(int16_t(2024)); }},
          {"NumRif", [](int i, int) { return Variant(1 + i / 20); }},
          {"RigLiv", [](int i, int) { return Variant(1 + i % 20); }},
          {"RigDet", [](int i, int) { return Variant(1 + i % 20); }},
          {"TipoRiga", [](int, int) { return testo("A"); }},
          {"Articolo", [](int i, int) { return testo(QStringLiteral("ART%1").arg(i % 500, 5, 10, QLatin1Char('0'))); }},
          {"Descrizione", [](int i, int) { return testo(QStringLiteral("Articolo di prova %1").arg(i)); }},
          {"UM", [](int, int) { return testo("PZ"); }},
          {"Qta", [](int i, int) { return doppio(1 + i % 7); }},
          {"ValUnitario", [](int, int) { return doppio(12.5); }},
          {"ValTotale", [](int i, int) { return doppio(12.5 * (1 + i % 7)); }},
          {"ValEuro", [](int i, int) { return doppio(12.5 * (1 + i % 7)); }},
          {"ValLire", [](int i, int) { return doppio(24203.0 * (1 + i % 7)); }},
          {"Iva", [](int, int) { return testo("22"); }},
          {"ScontoTot", [](int, int) { return testo(""); }},
          {"GruppoVen", [](int, int) { return testo("58"); }},
          {"MastroVen", [](int, int) { return testo("01"); }},
          {"ContoVen", [](int, int) { return testo("0001"); }}},
         {{"Qta", [](int i, int k) { return doppio(1 + (i + k) % 7); }},
          {"ValTotale", [](int i, int k) { return doppio(12.5 * (1 + (i + k) % 7)); }},
          {"ValEuro", [](int i, int k) { return doppio(12.5 * (1 + (i + k) % 7)); }},
          {"ValLire", [](int i, int k) { return doppio(24203.0 * (1 + (i + k) % 7)); }}}},
        {"FatTest", 500, {"Anno", "NumRif"},
         {{"Anno", [](int, int) { return Variant(int16_t(2024)); }},
          {"NumRif", [](int i, int) { return Variant(1 + i); }},
          {"PreDoc", [](int, int) { return testo("A"); }},
          {"NumDoc", [](int i, int) { return Variant(1 + i); }},
          {"DataDoc", [](int i, int) { return Variant(Date::fromYmd(2024, 1 + i % 12, 1 + i % 28)); }},
          {"DataRif", [](int i, int) { return Variant(Date::fromYmd(2024, 1 + i % 12, 1 + i % 28)); }},
          {"Stato", [](int, int) { return testo("A"); }},
          {"GruppoCli", [](int, int) { return testo("14"); }},
          {"MastroCli", [](int, int) { return testo("01"); }},
          {"ContoCli", [](int i, int) { return testo(QStringLiteral("%1").arg(1 + i % 20, 4, 10, QLatin1Char('0'))); }},
          {"FattDocumento", [](int, int) { return testo("FAT"); }},
          {"Iva", [](int, int) { return testo(""); }},
          {"Listino", [](int, int) { return testo("L1"); }},
          {"Moneta", [](int, int) { return testo("Euro"); }},
          {"Cambio", [](int, int) { return doppio(1.0); }},
          {"Pagamento", [](int, int) { return testo("RD"); }},
          {"RagSoc", [](int i, int) { return testo(QStringLiteral("Cliente %1").arg(1 + i % 20)); }},
          {"TotMerce", [](int i, int) { return valuta(100000 + i); }},
          {"TotIva", [](int i, int) { return valuta(22000 + i); }},
          {"TotDocum", [](int i, int) { return valuta(122000 + 2 * i); }}},
         {{"Stato", [](int, int k) { return testo(k % 2 ? "C" : "A"); }},
          {"TotMerce", [](int i, int k) { return valuta(100000 + i + k); }},
          {"TotIva", [](int i, int k) { return valuta(22000 + i + k); }},
          {"TotDocum", [](int i, int k) { return valuta(122000 + 2 * (i + k)); }},
          {"TotImpon", [](int i, int k) { return valuta(100000 + i + k); }}}},
        {"ArticoliProg", 2000, {"Anno", "Magazzino", "Articolo", "Livello1", "Livello2"},
         {{"Anno", [](int, int) { return Variant(int16_t(2024)); }},
          {"Magazzino", [](int, int) { return testo("01"); }},
          {"Articolo", [](int i, int) { return testo(QStringLiteral("ART%1").arg(i, 5, 10, QLatin1Char('0'))); }},
          {"Livello1", [](int, int) { return testo(QStringLiteral("~\u00e7~")); }},
          {"Livello2", [](int, int) { return testo(QStringLiteral("~\u00e7~")); }},
          {"QtaIniziale", [](int i, int) { return doppio(100 + i % 50); }},
          {"QtaImpCli", [](int i, int) { return doppio(i % 9); }},
          {"ValIniziale", [](int i, int) { return valuta(1250 * (100 + i % 50)); }},
          {"DataUltCarico", [](int, int) { return Variant(Date::fromYmd(2024, 1, 2)); }}},
         {{"QtaImpCli", [](int i, int k) { return doppio((i + k) % 9); }},
          {"ValImpCli", [](int i, int k) { return valuta(1250 * ((i + k) % 9)); }}}},
    };
    return t;
}

QString elenco(const std::vector<Campo> &campi, const QString &dopo, const QString &separatore)
{
    QString s;
    for (const Campo &c : campi) s += (s.isEmpty() ? QString() : separatore) + QLatin1String(c.nome) + dopo;
    return s;
}

// The values of a set of fields for every row, as Variants and as the engine takes them.
struct Valori {
    std::vector<std::vector<Variant>> variant;
    std::vector<std::vector<QVariant>> legati;
};

Valori valori(const Banco &b, const Tabella &t, const std::vector<Campo> &campi, int giro, bool conChiave)
{
    Valori v;
    for (int i = 0; i < t.righe; ++i) {
        std::vector<Variant> r;
        std::vector<QVariant> l;
        for (const Campo &c : campi) {
            r.push_back(c.valore(i, giro));
            l.push_back(versoMotore(r.back(), tipoSchema(QLatin1String(t.nome), QLatin1String(c.nome)), b.motore));
        }
        if (conChiave)
            for (const char *k : t.chiave)
                for (const Campo &c : t.nuovi)
                    if (qstrcmp(c.nome, k) == 0) l.push_back(versoMotore(c.valore(i, giro), tipoSchema(QLatin1String(t.nome), QLatin1String(k)), b.motore));
        v.variant.push_back(std::move(r));
        v.legati.push_back(std::move(l));
    }
    return v;
}

// The transaction of the writes: one for all rows, or one per row as a run commits them.
struct Transazioni {
    std::function<void()> inizia, conferma;
};

Transazioni grezze(const Banco &b)
{
    return {[&b] { b.sqlite() ? eseguiGrezzo(b, QStringLiteral("BEGIN IMMEDIATE")) : (void)b.grezza().transaction(); },
            [&b] { b.sqlite() ? eseguiGrezzo(b, QStringLiteral("COMMIT")) : (void)b.grezza().commit(); }};
}

void scriviGrezzo(const Banco &b, const QString &sql, const Valori &v, bool perRiga)
{
    const Transazioni t = grezze(b);
    QSqlQuery q(b.grezza());
    q.prepare(sql);
    if (!perRiga) t.inizia();
    for (const auto &riga : v.legati) {
        if (perRiga) t.inizia();
        for (size_t k = 0; k < riga.size(); ++k) q.bindValue(static_cast<int>(k), riga[k]);
        if (!q.exec()) qFatal("%s", qPrintable(q.lastError().text()));
        if (perRiga) t.conferma();
    }
    if (!perRiga) t.conferma();
}

void svuota(const Banco &b, const Tabella &t) { eseguiGrezzo(b, QStringLiteral("DELETE FROM ") + QLatin1String(t.nome)); }

void Scrittura(benchmark::State &st)
{
    const Banco *b = banco(st.range(0));
    if (!b) return st.SkipWithError("motore non disponibile");
    const Tabella &t = tabelle()[static_cast<size_t>(st.range(1))];
    const bool aggiorna = st.range(2) != 0;
    const bool perRiga = st.range(3) != 0;
    const QString tabella = QLatin1String(t.nome);
    ConnessioneDb c;
    const QString n = c.Connetti(b->connetti);
    GestRecordset g;
    const auto libTrans = [&](bool inizio) { inizio ? c.BeginTrans(n) : c.CommitTrans(n); };

    QString sqlGrezzo;
    if (aggiorna) {
        QString dove;
        for (const char *k : t.chiave) dove += (dove.isEmpty() ? QString() : QStringLiteral(" AND ")) + QLatin1String(k) + QStringLiteral(" = ?");
        sqlGrezzo = QStringLiteral("UPDATE ") + tabella + QStringLiteral(" SET ") + elenco(t.cambiati, QStringLiteral(" = ?"), QStringLiteral(", ")) +
                    QStringLiteral(" WHERE ") + dove;
        svuota(*b, t);
        scriviGrezzo(*b, QStringLiteral("INSERT INTO ") + tabella + QStringLiteral(" (") + elenco(t.nuovi, {}, QStringLiteral(", ")) +
                             QStringLiteral(") VALUES (") + QStringLiteral("?, ").repeated(static_cast<int>(t.nuovi.size()) - 1) + QStringLiteral("?)"),
                     valori(*b, t, t.nuovi, 0, false), false);
    } else {
        sqlGrezzo = QStringLiteral("INSERT INTO ") + tabella + QStringLiteral(" (") + elenco(t.nuovi, {}, QStringLiteral(", ")) +
                    QStringLiteral(") VALUES (") + QStringLiteral("?, ").repeated(static_cast<int>(t.nuovi.size()) - 1) + QStringLiteral("?)");
    }
    std::vector<QByteArray> nomi;
    for (const Campo &f : aggiorna ? t.cambiati : t.nuovi) nomi.push_back(QByteArray(f.nome));
    std::vector<QString> nomiTesto;
    for (const QByteArray &x : nomi) nomiTesto.push_back(QString::fromLatin1(x));

    Coppia coppia(st);
    int giro = 0;
    for (auto _ : st) {
        ++giro;
        const Valori v = valori(*b, t, aggiorna ? t.cambiati : t.nuovi, giro, aggiorna);
        if (!aggiorna) svuota(*b, t);
        coppia.grezza(cronometra([&] { scriviGrezzo(*b, sqlGrezzo, v, perRiga); }));
        const Valori w = aggiorna ? valori(*b, t, t.cambiati, giro + 1000, false) : v;
        if (!aggiorna) svuota(*b, t);
        QString a;
        if (aggiorna)
            a = g.Apri(c, n, QStringLiteral("S"), QStringLiteral("Select * from ") + tabella + QStringLiteral(" Where Anno = 2024"), false,
                       dbOpenDynaset);
        coppia.libreria(cronometra([&] {
            if (!aggiorna)
                a = g.Apri(c, n, QStringLiteral("S"), QStringLiteral("Select * from ") + tabella + QStringLiteral(" Where 0=1"), false,
                           dbOpenDynaset);
            Recordset &r = g.Recordset(a);
            if (!perRiga) libTrans(true);
            for (const auto &riga : w.variant) {
                if (perRiga) libTrans(true);
                aggiorna ? r.Edit() : r.AddNew();
                for (size_t k = 0; k < riga.size(); ++k) r.ScriviCampo(nomiTesto[k], riga[k]);
                r.Update();
                if (aggiorna) r.MoveNext();
                if (perRiga) libTrans(false);
            }
            if (!perRiga) libTrans(false);
        }));
        g.Chiudi(a);
    }
    st.SetItemsProcessed(st.iterations() * t.righe);
}

} // namespace

// Engine (0 SQLite, 1 PostgreSQL), table (0 FatDett, 1 FatTest, 2 ArticoliProg), 0 insert /
// 1 update, 0 one transaction / 1 a transaction per row.
BENCHMARK(Scrittura)
    ->ArgsProduct({{0, 1}, {0, 1, 2}, {0, 1}, {0}})
    ->ArgsProduct({{0, 1}, {0}, {0, 1}, {1}}) // a run's way: FatDett, a commit per line
    ->UseManualTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
