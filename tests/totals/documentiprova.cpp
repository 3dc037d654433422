#include "documentiprova.h"

#include "vbdate.h"

namespace {

using suite::FieldValues;

// The defaults with the overrides put in their place (names compared ignoring case).
FieldValues unisci(FieldValues base, const FieldValues &sopra)
{
    for (const auto &[nome, valore] : sopra) {
        bool trovato = false;
        for (auto &[n, v] : base)
            if (n.compare(nome, Qt::CaseInsensitive) == 0) {
                v = valore;
                trovato = true;
            }
        if (!trovato)
            base.emplace_back(nome, valore);
    }
    return base;
}

} // namespace

void scriviDocumento(const QSqlDatabase &db, const DocumentoProva &d)
{
    const QString pre = d.fattura ? QStringLiteral("Fat") : QStringLiteral("Ddt");
    const Variant anno(d.anno), numRif(d.numRif);
    FieldValues testata = {{"Anno", anno},
                           {"NumRif", numRif},
                           {"NumDoc", numRif},
                           {"DataDoc", Date::fromYmd(2024, 3, 15)},
                           {"DataRif", Date::fromYmd(2024, 3, 15)},
                           {"GruppoCli", "14"},
                           {"MastroCli", "01"},
                           {"ContoCli", "0001"},
                           {"FattDocumento", d.fattura ? "FAT" : "DDT"},
                           {"Moneta", "Euro"},
                           {"Cambio", 1.0},
                           {"Pagamento", "RD"},
                           {"PrezziIvati", "N"}};
    if (d.fattura)
        testata.emplace_back(QStringLiteral("Bolli"), Variant("N"));
    suite::insertRow(db, pre + "Test", unisci(testata, d.testata));

    int32_t riga = 0;
    for (const RigaProva &r : d.righe) {
        ++riga;
        const double unitario = r.valUnitario != 0 || r.qta == 0 ? r.valUnitario : r.valTotale / r.qta;
        suite::insertRow(db, pre + "Dett",
                         unisci({{"Anno", anno},
                                 {"NumRif", numRif},
                                 {"RigLiv", riga},
                                 {"RigDet", riga},
                                 {"TipoRiga", r.tipoRiga},
                                 {"Articolo", r.tipoRiga == QLatin1String("D") ? QString() : QStringLiteral("ART00001")},
                                 {"Qta", r.qta},
                                 {"ValUnitario", unitario},
                                 {"ValTotale", r.valTotale},
                                 {"ValEuro", r.valTotale},
                                 {"GruppoVen", "58"},
                                 {"MastroVen", "01"},
                                 {"ContoVen", "0001"},
                                 {"Iva", r.iva},
                                 {"Omaggio", r.omaggio},
                                 {"ScontoTot", r.sconto},
                                 {"FlScontoPag", "N"},
                                 {"SoggRitAcc", "N"}},
                                r.extra));
        for (const LivelloProva &l : r.livelli)
            suite::insertRow(db, pre + "Liv",
                             {{"Anno", anno},
                              {"NumRif", numRif},
                              {"RigLiv", riga},
                              {"Livello1", l.livello1},
                              {"Livello2", l.livello2},
                              {"Qta", l.qta},
                              {"ValUnitario", l.valUnitario},
                              {"ValTotale", l.valTotale},
                              {"ValEuro", l.valTotale}});
    }
    riga = 0;
    for (const SpesaProva &s : d.spese) {
        ++riga;
        suite::insertRow(db, pre + "Spese",
                         unisci({{"Anno", anno},
                                 {"NumRif", numRif},
                                 {"Riga", riga},
                                 {"Spesa", s.spesa},
                                 {"Iva", s.iva},
                                 {"Importo", s.importo},
                                 {"Percentuale", s.percentuale},
                                 {"ImportoMin", s.minimo},
                                 {"ImportoMax", s.massimo},
                                 {"SoggRitAcc", "N"},
                                 {"CassaPrev", "N"},
                                 {"TipoAddebito", ""}},
                                s.extra));
    }
}

void scriviSpeseDiProva(const QSqlDatabase &db)
{
    const auto spesa = [&](const char *codice, const char *tipo, const char *addebitoIva, const char *soggSco,
                           const char *conto, FieldValues extra = {}) {
        suite::insertRow(db, QStringLiteral("Spese"),
                         unisci({{"Spesa", codice},
                                 {"Descrizione", codice},
                                 {"TipoAddebito", tipo},
                                 {"AddebitoIva", addebitoIva},
                                 {"SoggScontoPagam", soggSco},
                                 {"RifStampa", codice},
                                 {"Gruppo", "58"},
                                 {"Mastro", "01"},
                                 {"Conto", conto},
                                 {"Moneta", "Euro"}},
                                extra));
    };
    spesa("PES", "S", "N", "N", "0002");
    spesa("RIP", "F", "R", "N", "0002");
    spesa("RIPS", "F", "R", "S", "0002", {{"RifStampa", "RIP"}});
    spesa("TRS", "F", "N", "S", "0003");
    spesa("CPA", "P", "N", "N", "0004", {{"Percentuale", 4.0}});
    spesa("CPF", "I", "N", "N", "0004", {{"Percentuale", 2.0}});
    const FieldValues bollo = {{"Gruppo", "60"}, {"Mastro", "10"}, {"ImportoLire", 0.01},
                               {"ImportoMin", 1.0}, {"ImportoMax", 0.0}, {"Iva", "E15"}};
    spesa("BOLS", "T", "N", "S", "0050", bollo);
    spesa("BOLV", "T", "N", "", "0050", bollo);
}
