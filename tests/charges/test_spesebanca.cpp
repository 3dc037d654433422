// The bank-charge and stamp-duty rows of a document and the e-invoice stamp fields, on both
// engines.
#include "bollofe.h"
#include "dittaprova.h"
#include "rifiutidiprova.h"
#include "righediprova.h"
#include "rowwriter.h"
#include "spesebanca.h"

#include <QSqlQuery>

namespace {

class SpeseBanca : public DittaDiProva {
protected:
    void SetUp() override
    {
        DittaDiProva::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        // Expenses beside the fixture's INC (bank charge 2.50 in euro) and BOL (stamp 2.00).
        suite::RowWriter spese(m_q, QStringLiteral("Spese"),
                               {"Spesa", "TipoAddebito", "Moneta", "Importo", "ImportoLire", "Percentuale",
                                "ImportoMin", "ImportoMax", "ImportoMinLire", "ImportoMaxLire", "Iva", "SoggRitAcc"});
        const Variant n = Variant::null();
        spese.insert({"INCM", "R", "Euro", 2.5, 4841.0, n, 1.0, 10.0, 1936.0, 19363.0, "E15", "S"});
        spese.insert({"INCU", "R", "USD", 3.0, n, n, n, n, n, n, "E15", "N"});
        spese.insert({"INCV", "R", n, 1.0, n, n, n, n, n, n, "E15", "N"});
        spese.insert({"INCZ", "R", "Euro", 0.0, n, n, n, n, n, n, "E15", "N"});
        spese.insert({"INCL", "R", "L.", 1.5, 3000.0, n, n, n, n, n, "E15", "N"});
        spese.insert({"BOLZ", "T", "Euro", 2.0, n, 0.0, n, n, n, n, "E15", "N"});
        spese.insert({"BOL0", "T", "Euro", 0.0, n, 1.0, n, n, n, n, "E15", "N"});
        const auto termini = [&](const QString &codice, const Variant &spesa, int numScad) {
            suite::insertRow(m_q, QStringLiteral("Pagamenti"),
                             {{"Pagamento", codice}, {"Spesa", spesa}, {"NumScad", static_cast<int16_t>(numScad)}});
        };
        for (const char *s : {"INCM", "INCU", "INCV", "INCZ", "INCL", "BOL", "BOLZ", "BOL0", "XXX"})
            termini(QStringLiteral("P3") + QLatin1String(s), s, 3);
        termini(QStringLiteral("P2INCM"), "INCM", 2);
        termini(QStringLiteral("P0INCM"), "INCM", 0);
        // Customer 3 is charged both; customer 2 neither; customer 5's flag is lower case.
        suite::execSql(m_q, QStringLiteral("UPDATE PianoConti SET SpeseBan = 's' WHERE Conto = '0005'"));
    }

    // The expense rows of invoice 2024/numRif: "Riga Spesa Importo Iva ImportoMax ImportoMin".
    QStringList righe(int32_t numRif) const
    {
        return righeDb(QStringLiteral("SELECT Riga, Spesa, Importo, Iva, ImportoMax, ImportoMin, SoggRitAcc "
                                      "FROM FatSpese WHERE Anno = 2024 AND NumRif = %1 ORDER BY Riga")
                           .arg(numRif));
    }

    void riga(int32_t numRif, int32_t riga, const char *spesa, double importo)
    {
        suite::insertRow(m_q, QStringLiteral("FatSpese"),
                         {{"Anno", 2024}, {"NumRif", numRif}, {"Riga", riga}, {"Spesa", spesa}, {"Importo", importo}});
    }
};

struct CasoNuovo {
    const char *nome;
    bool bolli;
    QString segno, conto, pagamento, moneta, iva;
    QStringList attese;
};

TEST_P(SpeseBanca, TheRowOfANewDocument)
{
    const QString c3 = QStringLiteral("14-01-0003");
    const QStringList incm = {"1 INCM 7.5 22 10 1 S"};
    const std::vector<CasoNuovo> casi = {
        {"segno meno", false, "-", c3, "P3INCM", "Euro", "22", {}},
        {"segno vuoto", false, "", c3, "P3INCM", "Euro", "22", {}},
        {"euro, IVA del documento", false, "+", c3, "P3INCM", "Euro", "22", incm},
        {"IVA vuota: quella della spesa", false, "+", c3, "P3INCM", "Euro", "  ", {"1 INCM 7.5 E15 10 1 S"}},
        {"documento in lire", false, "+", c3, "P3INCM", "L.", "22", {"1 INCM 14523 22 19363 1936 S"}},
        {"conto senza separatori", false, "+", "14010003", "P3INCM", "Euro", "22", incm},
        {"flag in minuscolo", false, "+", "14-01-0005", "P3INCM", "Euro", "22", incm},
        {"cliente senza addebito", false, "+", "14-01-0002", "P3INCM", "Euro", "22", {}},
        {"cliente inesistente", false, "+", "14-01-9998", "P3INCM", "Euro", "22", {}},
        {"conto vuoto", false, "+", "", "P3INCM", "Euro", "22", {}},
        {"nessuna rata", false, "+", c3, "P0INCM", "Euro", "22", {}},
        {"termini senza spesa", false, "+", c3, "RD", "Euro", "22", {}},
        {"termini inesistenti", false, "+", c3, "ZZ", "Euro", "22", {}},
        {"spesa mancante da Spese", false, "+", c3, "P3XXX", "Euro", "22", {}},
        {"banca su una spesa di bollo", false, "+", c3, "P3BOL", "Euro", "22", {}},
        {"bollo su una spesa di banca", true, "+", c3, "P3INCM", "Euro", "", {}},
        {"banca a importo zero", false, "+", c3, "P3INCZ", "Euro", "22", {}},
        {"bollo a percentuale zero", true, "+", c3, "P3BOLZ", "Euro", "", {}},
        {"bollo a importo zero", true, "+", c3, "P3BOL0", "Euro", "", {"1 BOL0 0 E15 null null N"}},
        {"bollo", true, "+", c3, "P3BOL", "Euro", "", {"1 BOL 6 E15 0 77.47 N"}},
        {"terza moneta della spesa", false, "+", c3, "P3INCU", "USD", "22", {"1 INCU 9 22 null null N"}},
        {"terza moneta diversa", false, "+", c3, "P3INCM", "USD", "22", {}},
        {"spesa senza moneta", false, "+", c3, "P3INCV", "Euro", "22", {}},
        {"spesa in lire su documento in euro", false, "+", c3, "P3INCL", "Euro", "22", {"1 INCL 4.5 22 null null N"}},
        {"documento senza moneta", false, "+", c3, "P3INCM", "", "22", {}},
    };
    int32_t numRif = 0;
    for (const CasoNuovo &k : casi) {
        SCOPED_TRACE(k.nome);
        ++numRif;
        int32_t errore = -1;
        QString descr = QStringLiteral("x");
        const auto operazione = k.bolli ? AggiungiBolliDoc : AggiungiSpeseBanca;
        EXPECT_EQ(operazione("FatSpese", 2024, numRif, "", k.segno, "", k.conto, "", k.pagamento, "", k.moneta, k.iva,
                             errore, descr, std::nullopt),
                  0);
        EXPECT_EQ(errore, 0);
        EXPECT_EQ(descr, QString());
        EXPECT_EQ(righe(numRif), k.attese);
    }
}

TEST_P(SpeseBanca, BankChargeFirstThenStampAfterTheDocumentsRows)
{
    const auto aggiungi = [&](auto operazione, int32_t numRif, const QString &pagamento) {
        int32_t errore = 0;
        QString descr;
        operazione("FatSpese", 2024, numRif, "", "+", "", "14-01-0003", "", pagamento, "", "Euro", "", errore, descr,
                   std::nullopt);
        EXPECT_EQ(errore, 0) << descr.toStdString();
    };
    aggiungi(AggiungiSpeseBanca, 1, QStringLiteral("P3INCM"));
    aggiungi(AggiungiBolliDoc, 1, QStringLiteral("P3BOL"));
    EXPECT_EQ(righe(1), QStringList({"1 INCM 7.5 E15 10 1 S", "2 BOL 6 E15 0 77.47 N"}));
    riga(2, 5, "TRA", 15);
    aggiungi(AggiungiBolliDoc, 2, QStringLiteral("P3BOL"));
    EXPECT_EQ(righe(2), QStringList({"5 TRA 15 null null null null", "6 BOL 6 E15 0 77.47 N"}));
}

struct CasoRiconciliazione {
    const char *nome;
    QString segnoPrec, pagamentoPrec, monetaPrec, segno, pagamento, moneta;
    std::optional<FlagContiAddebito> flag;
    QStringList attese;
};

TEST_P(SpeseBanca, ThePreviousRowIsUpdatedReplacedOrDeleted)
{
    const QString tra = QStringLiteral("2 TRA 15 null null null null");
    const QString seconda = QStringLiteral("3 INCM 98 null null null null");
    const QString prima = QStringLiteral("1 INCM 99 null null null null");
    const std::vector<CasoRiconciliazione> casi = {
        {"aggiunta", "", "", "", "+", "P3INCM", "Euro", std::nullopt,
         {prima, tra, seconda, "4 INCM 7.5 22 10 1 S"}},
        {"aggiornamento sul posto", "+", "P3INCM", "Euro", "+", "P2INCM", "Euro", std::nullopt,
         {"1 INCM 5 22 10 1 null", tra, seconda}},
        {"sostituzione", "+", "P3INCM", "Euro", "+", "P3INCU", "USD", std::nullopt,
         {tra, seconda, "4 INCU 9 22 null null N"}},
        {"cancellazione", "+", "P3INCM", "Euro", "-", "P3INCM", "Euro", std::nullopt, {tra, seconda}},
        {"flag del chiamante", "+", "P3INCM", "Euro", "+", "P3INCM", "Euro", FlagContiAddebito{"S", "N"},
         {tra, seconda}},
        {"precedente senza riga", "+", "P3INCU", "USD", "+", "P3INCM", "Euro", std::nullopt,
         {prima, tra, seconda, "4 INCM 7.5 22 10 1 S"}},
    };
    int32_t numRif = 0;
    for (const CasoRiconciliazione &k : casi) {
        SCOPED_TRACE(k.nome);
        ++numRif;
        riga(numRif, 1, "INCM", 99);
        riga(numRif, 2, "TRA", 15);
        riga(numRif, 3, "INCM", 98);
        // With the caller's flags the accounts are not read.
        const QString conto = k.flag ? QString() : QStringLiteral("14-01-0003");
        int32_t errore = -1;
        QString descr;
        AggiungiSpeseBanca("FatSpese", 2024, numRif, k.segnoPrec, k.segno, conto, conto, k.pagamentoPrec, k.pagamento,
                           k.monetaPrec, k.moneta, "22", errore, descr, k.flag);
        EXPECT_EQ(errore, 0) << descr.toStdString();
        EXPECT_EQ(righe(numRif), k.attese);
    }
}

TEST_P(SpeseBanca, AnErrorIsReturnedAndAReplacedRowIsNotLost)
{
    int32_t errore = 0;
    QString descr;
    EXPECT_GT(AggiungiSpeseBanca("Inesistente", 2024, 1, "", "+", "", "14-01-0003", "", "P3INCM", "", "Euro", "22",
                                 errore, descr),
              0);
    EXPECT_GT(errore, 0);
    EXPECT_FALSE(descr.isEmpty());

    // The new row of a replaced expense is refused: the old row stays.
    rifiutaScrittura(m_q, GetParam(), QStringLiteral("rifiutaincu"), QStringLiteral("FatSpese"),
                     QStringLiteral("INSERT"), QStringLiteral("NEW.Spesa = 'INCU'"));
    riga(1, 1, "INCM", 99);
    const int32_t esito = AggiungiSpeseBanca("FatSpese", 2024, 1, "+", "+", "14-01-0003", "14-01-0003", "P3INCM",
                                             "P3INCU", "Euro", "USD", "22", errore, descr);
    EXPECT_GT(esito, 0);
    EXPECT_EQ(esito, errore);
    EXPECT_TRUE(descr.contains(QStringLiteral("scrittura rifiutata"))) << descr.toStdString();
    EXPECT_EQ(righe(1), QStringList({"1 INCM 99 null null null null"}));

    // The operations work on afterwards.
    EXPECT_EQ(AggiungiSpeseBanca("FatSpese", 2024, 2, "", "+", "", "14-01-0003", "", "P3INCM", "", "Euro", "22",
                                 errore, descr),
              0);
    EXPECT_EQ(descr, QString());
    EXPECT_EQ(righe(2), QStringList({"1 INCM 7.5 22 10 1 S"}));
}

// ---------------------------------------------------------------- e-invoice stamp fields

class BolloFe : public DittaDiProva {
protected:
    // "FENumeroBollo FEImportoBollo" of invoice 2024/numRif, or "nessuna riga".
    QString riga(int32_t numRif) const
    {
        const QStringList r = righeDb(
            QStringLiteral("SELECT FENumeroBollo, FEImportoBollo FROM FatTestFe WHERE Anno = 2024 AND NumRif = %1")
                .arg(numRif));
        return r.isEmpty() ? QStringLiteral("nessuna riga") : r.join(QLatin1Char('|'));
    }
};

TEST_P(BolloFe, TheStampFieldsOfAnInvoice)
{
    const struct {
        const char *nome;
        bool rigaEsistente;
        QString flag;
        double importo;
        QString attesa;
    } casi[] = {
        {"nuova riga", false, "S", 2.0, "SI 2"},
        {"riga esistente", true, "S", 2.0, "SI 2"},
        {"flag in minuscolo", false, "s", 2.0, "SI 2"},
        {"importo zero: campi vuotati", true, "S", 0.0, " null"},
        {"importo negativo", false, "S", -2.0, "SI 2"},
        {"zero a otto decimali", true, "S", 4e-9, " null"},
        {"un centomilionesimo", false, "S", 1e-8, "SI 1e-08"},
        {"flag N", true, "N", 2.0, " null"},
        {"flag vuoto", true, "", 2.0, " null"},
    };
    int32_t numRif = 0;
    for (const auto &k : casi) {
        SCOPED_TRACE(k.nome);
        ++numRif;
        if (k.rigaEsistente)
            suite::insertRow(m_q, QStringLiteral("FatTestFe"),
                             {{"Anno", 2024}, {"NumRif", numRif}, {"FENumeroBollo", "SI"}, {"FEImportoBollo", 9.0}});
        const ErroreAddebito e = AggiornaBolloFe(2024, numRif, k.flag, k.importo);
        EXPECT_FALSE(e) << e.descrizione.toStdString();
        EXPECT_EQ(riga(numRif), k.attesa);
    }
    EXPECT_EQ(riga(numRif + 1), QStringLiteral("nessuna riga"));
}

TEST_P(BolloFe, AFailureIsReturnedAndTheRowStays)
{
    suite::insertRow(m_q, QStringLiteral("FatTestFe"),
                     {{"Anno", 2024}, {"NumRif", 1}, {"FENumeroBollo", ""}, {"FEImportoBollo", Variant::null()}});
    rifiutaScrittura(m_q, GetParam(), QStringLiteral("rifiutafe"), QStringLiteral("FatTestFe"), QStringLiteral("UPDATE"));
    const ErroreAddebito e = AggiornaBolloFe(2024, 1, QStringLiteral("S"), 2.0);
    EXPECT_TRUE(e);
    EXPECT_TRUE(e.descrizione.contains(QStringLiteral("scrittura rifiutata"))) << e.descrizione.toStdString();
    EXPECT_EQ(riga(1), QStringLiteral(" null"));
}

INSTANTIATE_TEST_SUITE_P(Engines, SpeseBanca, kBothEngines, engineParamName);
INSTANTIATE_TEST_SUITE_P(Engines, BolloFe, kBothEngines, engineParamName);

} // namespace
