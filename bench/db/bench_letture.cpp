// Walking a join of lines and headers (20 fields a row) through a read-only record set, against
// raw Qt SQL reading and converting the same fields: 1,000, 10,000 and 100,000 rows. The cost
// of a row must not grow with the size of the set (target: within 1.5x of raw at every size).
#include "banco.h"
#include "gestrecordset.h"

#include <QDate>
#include <QSqlQuery>

namespace {

QString join(int righe)
{
    return QStringLiteral("SELECT Righe.*, Testate.Cliente, Testate.Descrizione, Testate.Moneta, Testate.DataRif, Testate.Cambio, "
                          "Testate.Totale, Testate.Stato FROM Righe INNER JOIN Testate ON Righe.Anno = Testate.Anno AND "
                          "Righe.NumRif = Testate.NumRif WHERE Righe.Anno = 2024 AND Righe.NumRif <= %1")
        .arg(righe / 10);
}

QDate dataIso(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate ? v.toDate() : QDate::fromString(v.toString(), Qt::ISODate);
}

double leggiGrezzo(const Banco &b, const QString &sql)
{
    double somma = 0;
    QSqlQuery q(b.grezza());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    q.prepare(sql);
    q.exec();
    while (q.next()) {
        somma += q.value(0).toInt() + q.value(1).toInt() + q.value(2).toInt();
        for (int i : {3, 4, 5, 11, 12, 13, 14, 15, 19}) benchmark::DoNotOptimize(q.value(i).toString());
        somma += q.value(6).toDouble() + q.value(7).toDouble() + q.value(8).toDouble() + q.value(9).toDouble();
        somma += q.value(17).toDouble() + q.value(18).toDouble();
        benchmark::DoNotOptimize(dataIso(q.value(10)));
        benchmark::DoNotOptimize(dataIso(q.value(16)));
    }
    return somma;
}

double leggiLibreria(ConnessioneDb &c, const QString &n, GestRecordset &g, const QString &sql)
{
    static const char16_t *campi[] = {u"Righe.Anno", u"Righe.NumRif", u"RigLiv", u"Articolo", u"Righe.Descrizione", u"UM",
                                      u"Qta", u"QtaEvasa", u"Prezzo", u"Importo", u"DataCons", u"Iva", u"FlagStato",
                                      u"Cliente", u"Testate.Descrizione", u"Moneta", u"DataRif", u"Cambio", u"Totale",
                                      u"Stato"};
    double somma = 0;
    const QString a = g.Apri(c, n, QStringLiteral("J"), sql, false, dbOpenSnapshot);
    Recordset &r = g.Recordset(a);
    while (!r.Eof()) {
        for (const char16_t *f : campi) {
            const Variant v = r.LeggiCampo(QStringView(f));
            if (v.isNumber()) somma += v.toDouble();
            benchmark::DoNotOptimize(v);
        }
        r.MoveNext();
    }
    g.Chiudi(a);
    return somma;
}

void Lettura(benchmark::State &st)
{
    const Banco *b = banco(st.range(0));
    if (!b) return st.SkipWithError("motore non disponibile");
    const QString sql = join(static_cast<int>(st.range(1)));
    ConnessioneDb c;
    const QString n = c.Connetti(b->connetti);
    GestRecordset g;
    Coppia coppia(st);
    for (auto _ : st) {
        coppia.grezza(cronometra([&] { benchmark::DoNotOptimize(leggiGrezzo(*b, sql)); }));
        coppia.libreria(cronometra([&] { benchmark::DoNotOptimize(leggiLibreria(c, n, g, sql)); }));
    }
    st.SetItemsProcessed(st.iterations() * st.range(1));
}

} // namespace

// Engine (0 SQLite, 1 PostgreSQL), rows.
BENCHMARK(Lettura)
    ->ArgsProduct({{0, 1}, {1000, 10000, 100000}})
    ->UseManualTime()
    ->Repetitions(7)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
