// Translating the run's order selection from the suite's dialect: cold (a text the translator
// has not seen, as each document's statements are in a run) and from the translator's cache.
#include "traduttoresql.h"
#include "utilgenerali.h"

#include <benchmark/benchmark.h>
#include <unordered_map>

namespace {

// The order selection as the run builds it, with every optional criterion given.
QString selezioneOrdini()
{
    using UtilGenerali::SqlValore;
    const auto T = [](const char *s) { return SqlValore(Variant(s), 8, MotoreDb::SQLite); };
    const auto D = [](int a, int m, int g) { return SqlValore(Variant(Date::fromYmd(a, m, g)), 7, MotoreDb::SQLite); };
    return QStringLiteral("Select OrdVenTest.*, Monete.*") + ",FattDocumenti.*, NoteFisse1.*,NoteFisse2.*,NoteFisse3.*" +
           ",PianoConti.Bolli, PianoConti.SpeseBan, PianoConti.StRifOrd" + ",PianoConti.Descrizione,PianoConti.PrezzoDDT,Pianoconti.RagDDT" +
           ",PianoConti.StRifCli,PianoConti.RagRB, PianoConti.FECodIPA, PianoConti.IndAmm, PianoConti.DicIntenti" +
           ", Pagamenti.NotaFissa, Pagamenti.FeBanca" + ", FattDocumenti2.DoveStampoDesLung as Doc2DoveDesLung" +
           " FROM (((((((" + " OrdVenTest left join FattDocumenti" + " on OrdVenTest.FattDocumento = FattDocumenti.FattDocumento)" +
           " left join Monete" + " on OrdVenTest.Moneta = Monete.Moneta)" + " left join Pagamenti" +
           " on OrdVenTest.Pagamento = Pagamenti.Pagamento)" + " left join NoteFisse AS NoteFisse1 " +
           " on OrdVenTest.NumNota1 = NoteFisse1.NotaFissa)" + " left join NoteFisse AS NoteFisse2 " +
           " on OrdVenTest.NumNota2 = NoteFisse2.NotaFissa)" + " left join NoteFisse AS NoteFisse3 " +
           " on OrdVenTest.NumNota3 = NoteFisse3.NotaFissa)" + " left join PianoConti" + " on OrdVenTest.GruppoCli = PianoConti.Gruppo" +
           " and OrdVenTest.MastroCli = PianoConti.Mastro" + " and OrdVenTest.ContoCli = PianoConti.Conto" +
           ") left join FattDocumenti as FattDocumenti2" + " on FattDocumenti.FattDocEvasione = FattDocumenti2.FattDocumento" +
           " Where" + " (OrdVenTest.Stato <> " + T("E") + " OR OrdVenTest.Stato Is Null)" + " and OrdVenTest.DataRif <=" +
           D(2024, 6, 30) + " and (OrdVenTest.Interno <>" + T("S") + " OR OrdVenTest.Interno Is Null)" +
           " and (not (OrdVenTest.GruppoCli is null))" + " and OrdVenTest.FattDocumento =" + T("OC") +
           " and OrdVenTest.Moneta =" + T("Euro") + " and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli >=" +
           T("14010001") + " and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli <=" + T("14019999") +
           " And EXISTS (Select OrdVenDett.* From OrdVenDett" + " Where OrdVenDett.Anno = OrdVenTest.Anno" +
           " AND OrdVenDett.NumRif = OrdVenTest.NumRif" + " AND (OrdVenDett.StatoRiga <>" + T("E") +
           " OR OrdVenDett.StatoRiga IS NULL)" + " AND OrdVenDett.Articolo >= " + T("ART00001") +
           " AND OrdVenDett.Articolo <= " + T("ART99999") + ")" + " AND ((" + " OrdVenTest.DataCons >=" + D(2024, 1, 1) +
           " and" + " OrdVenTest.DataCons <=" + D(2024, 12, 31) + " ) or" + " Exists (" + " Select OrdVenDett.Anno From  OrdVenDett" +
           " Where OrdVenTest.Anno = OrdVenDett.Anno" + " AND OrdVenTest.NumRif = OrdVenDett.NumRif" +
           " And OrdVenDett.DataCons >=" + D(2024, 1, 1) + " And OrdVenDett.DataCons <=" + D(2024, 12, 31) + "))" +
           " and OrdVenTest.NumRif >=" + "1" + " and OrdVenTest.NumRif <=" + "9999" + " and OrdVenTest.Descrizione Like " +
           T("Ordine*");
}

// The tables of the order selection with the columns it names, filled up to a company
// schema's width (the header alone has some eighty fields).
class CatalogoBanco : public Catalogo {
public:
    CatalogoBanco()
    {
        const auto t = [&](const char *nome, int larghezza, std::initializer_list<const char *> nominate) {
            std::vector<ColonnaCatalogo> c;
            for (const char *n : nominate) c.push_back({QString::fromLatin1(n), TipoCampo::Testo, false});
            for (int i = static_cast<int>(c.size()); i < larghezza; ++i)
                c.push_back({QStringLiteral("Campo%1").arg(i), i % 3 ? TipoCampo::Testo : TipoCampo::Doppio, false});
            m_t.emplace(QString::fromLatin1(nome), std::make_shared<TabellaCatalogo>(QString::fromLatin1(nome), std::move(c), std::vector<int>{0}));
        };
        t("OrdVenTest", 80, {"Anno", "NumRif", "Stato", "DataRif", "Interno", "GruppoCli", "MastroCli", "ContoCli",
                             "FattDocumento", "Moneta", "DataCons", "DataDoc", "NumDoc", "Descrizione", "Pagamento",
                             "NumNota1", "NumNota2", "NumNota3"});
        t("OrdVenDett", 60, {"Anno", "NumRif", "RigLiv", "StatoRiga", "Articolo", "DataCons"});
        t("Monete", 10, {"Moneta", "Descrizione", "Cee", "NumDec", "NumDecGest"});
        t("FattDocumenti", 40, {"FattDocumento", "FattDocEvasione", "DoveStampoDesLung"});
        t("NoteFisse", 5, {"NotaFissa", "Descrizione"});
        t("Pagamenti", 40, {"Pagamento", "NotaFissa", "FeBanca"});
        t("PianoConti", 60, {"Gruppo", "Mastro", "Conto", "Bolli", "SpeseBan", "StRifOrd", "Descrizione", "PrezzoDDT",
                             "RagDDT", "StRifCli", "RagRB", "FECodIPA", "IndAmm", "DicIntenti"});
    }
    std::shared_ptr<const TabellaCatalogo> tabella(QStringView nome) override
    {
        const auto it = m_t.find(nome);
        return it == m_t.end() ? nullptr : it->second;
    }

private:
    std::unordered_map<QString, std::shared_ptr<const TabellaCatalogo>, HashNome, UgualeNome> m_t;
};

void TraduzioneSelezioneOrdini(benchmark::State &st)
{
    const QString sql = selezioneOrdini();
    CatalogoBanco cat;
    for (auto _ : st) benchmark::DoNotOptimize(traduciJet(sql, MotoreDb::PostgreSQL, cat));
}

void TraduzioneSelezioneOrdiniInCache(benchmark::State &st)
{
    const QString sql = selezioneOrdini();
    CatalogoBanco cat;
    TraduttoreSql t(MotoreDb::PostgreSQL, cat);
    for (auto _ : st) benchmark::DoNotOptimize(t.traduci(sql));
}

} // namespace

BENCHMARK(TraduzioneSelezioneOrdini)->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(TraduzioneSelezioneOrdiniInCache)->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
