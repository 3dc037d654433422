// The fields of a new delivery note and of a new invoice, the choices among their sources, and
// the reconciliation of a found header.
#include "provaevasione.h"

#include "contesto.h"

namespace {

using suite::FieldValues;

// Expected header columns: a null QVariant means Null, a double compares as a number.
using Attesi = std::vector<std::pair<QString, QVariant>>;

const FieldValues kOrdinePieno = {
    {"Tipo", "T1"},         {"Iva", "22"},           {"Listino", "L2"},        {"PrezziIvati", "S"},
    {"Banca", "BPM"},       {"ScontoCli", "5"},      {"ScontoPag", "2"},       {"Agente2", "AG02"},
    {"TipoProvv", "P"},     {"TipoProvv2", "Q"},     {"PercProvv1", 3.5},      {"PercProvv2", 1.25},
    {"Lingua", "EN"},       {"IndSped", "D1"},       {"RagSoc2", "Reparto B"}, {"CAPSped", "20121"},
    {"Resa", "FRA"},        {"DescResa", "Franco"},  {"Trasporto", "M"},       {"DescTrasporto", "Mittente"},
    {"Vettore", "V1"},      {"RagSocVett", "Vettori S.p.A."}, {"IndirizzoVett", "Via Po 2"},
    {"CAPVett", "10100"},   {"LocalitaVett", "Torino"}, {"PrVett", "TO"},      {"Contratto", "K9"},
    {"CIG", "CIG001"},      {"CUP", "CUP001"},       {"DescPers1", "uno"},     {"DescPers2", "due"},
    {"DescPers3", "tre"},   {"PercRitAcc", 4.0},     {"ScoPagSuDett", "S"},    {"Acconto", 150.0}};

class CampiTestata : public ProvaEvasione {
protected:
    void controlla(int32_t numRif, const Attesi &attesi)
    {
        for (const auto &[campo, atteso] : attesi) {
            SCOPED_TRACE(campo.toStdString());
            const QVariant v = testata(numRif, campo);
            if (atteso.isNull())
                EXPECT_TRUE(v.isNull()) << v.toString().toStdString();
            else if (atteso.typeId() == QMetaType::Double)
                EXPECT_DOUBLE_EQ(v.toDouble(), atteso.toDouble());
            else
                EXPECT_EQ(v.toString(), atteso.toString());
        }
    }

    // Customer 15: stamps and bank charges, terms RB306090 (bank BPM, note N03), PianoConti
    // PrezzoDDT and RagDDT "T".
    int32_t ordinePieno()
    {
        esegui(QStringLiteral("UPDATE PianoConti SET PrezzoDDT = 't' WHERE Conto = '0015'"));
        c.parametro(QStringLiteral("Fat.RagDDT"), Variant("X"));
        c.parametro(QStringLiteral("Fat.AspettoBene"), Variant("Scatole"));
        return ordine({.cliente = 15, .extra = kOrdinePieno});
    }

    Attesi comuni(int32_t n) const
    {
        Attesi a = {{"GruppoCli", "14"}, {"MastroCli", "01"}, {"ContoCli", "0015"}, {"Moneta", "Euro"},
                    {"Cambio", 1.0}, {"Pagamento", "RB306090"}, {"RagRB", "BPM"}, {"RagOrd", "S"},
                    {"Provenienza", "O"}, {"MagazzProv", "01"}, {"Agente1", "AG01"}, {"RagSoc", "Cliente 0015"},
                    {"IndirizzoSped", "Via Roma 15"}, {"LocalitaSped", "Milano"}, {"PrSped", "MI"},
                    {"StatoSped", "IT"}, {"IvaSosp", "N"}, {"OrdAnno", "2024"}, {"OrdNumRif", QString::number(n)},
                    {"CauTrasporto", "Vendita"}, {"AspettoBene", "Scatole"}, {"PdcDicIntenti", QVariant()},
                    {"Stato", QVariant()}, {"DataRif", "2024-05-10"}};
        for (const auto &[campo, v] : kOrdinePieno)
            if (campo != QLatin1String("Acconto"))
                a.emplace_back(campo, v.type() == Variant::Type::Double ? QVariant(v.toDouble()) : QVariant(v.text()));
        return a;
    }
};

TEST_P(CampiTestata, NewDeliveryNote)
{
    preparaRun(QStringLiteral("DDT"));
    const int32_t n = ordinePieno();
    ASSERT_FALSE(evadi(n)) << eva.msErrori.toStdString();
    Attesi a = comuni(n);
    a.insert(a.end(), {{"FattDocumento", "DDT"}, {"DaFatturare", "S"}, {"PrezzoDDT", "S"},
                       {"MagazzDest", "14010015"}, {"Interno", "N"}, {"PreDoc", "B"}, {"RagDDT", "X"},
                       {"EvasioneNota", "N"}, {"NumNota1", "N01"}});
    controlla(1, a);
    EXPECT_TRUE(addebiti->chiamate.empty());
}

TEST_P(CampiTestata, NewInvoice)
{
    preparaRun(QStringLiteral("FAT"));
    const int32_t n = ordinePieno();
    ASSERT_FALSE(evadi(n)) << eva.msErrori.toStdString();
    Attesi a = comuni(n);
    a.insert(a.end(), {{"FattDocumento", "FAT"}, {"PeriodoIva", QVariant()}, {"AnnoIva", QVariant()},
                       {"Riepilogativa", "N"}, {"FattAccomp", "N"}, {"Abbuono", 0.0}, {"PreDoc", "A"},
                       {"Bolli", "S"}, {"SpeseBan", "S"}, {"Acconto", 150.0}, {"FECodIPA", "0000000"},
                       {"FeBanca", "BPM"}, {"IndAmm", "Via Roma 15"}, {"RifAnniPrec", "N"}, {"RagDDT", "N"},
                       {"NumNota3", "N03"}, {"ElePdcDicIntenti", "NO"}});
    controlla(1, a);
}

TEST_P(CampiTestata, PrefixAndVatPeriodOfAnInvoice)
{
    struct Caso {
        QString prefRun, prefTipo;
        int16_t mese, anno;
        QString preDoc;
        QVariant periodo, annoIva;
    };
    const std::vector<Caso> casi = {{"X", "Z", 3, 2019, "X", 3, 2019},
                                    {"", "Z", 0, 2019, "Z", QVariant(), 2019},
                                    {"", "", 0, 0, "A", QVariant(), QVariant()}};
    for (const Caso &k : casi) {
        SCOPED_TRACE(k.preDoc.toStdString());
        svuota();
        preparaRun(QStringLiteral("FAT"));
        esegui(QStringLiteral("UPDATE FattDocumenti SET PrefRegIva = ") +
               (k.prefTipo.isEmpty() ? QStringLiteral("NULL") : "'" + k.prefTipo + "'") +
               QStringLiteral(" WHERE FattDocumento = 'OC'"));
        eva.osPrefDoc = k.prefRun;
        eva.oiPerIvaMese = k.mese;
        eva.oiPerIvaAnno = k.anno;
        ASSERT_FALSE(evadi(ordine({})));
        controlla(1, {{"PreDoc", k.preDoc}, {"PeriodoIva", k.periodo}, {"AnnoIva", k.annoIva}});
    }
}

TEST_P(CampiTestata, ChoicesOfDeliveryNoteAndRate)
{
    // An internal delivery note type, not to be invoiced; a prefix for the run; a non-EU order
    // with its own rate; a contract rule.
    preparaRun(QStringLiteral("DDTI"));
    eva.osPrefDoc = QStringLiteral("R");
    const int32_t n = ordine({.moneta = QStringLiteral("USD"), .cambio = 1.2, .ragOrd = QStringLiteral("C"),
                              .extra = {{"Contratto", "K1"}}});
    ASSERT_FALSE(evadi(n)) << eva.msErrori.toStdString();
    controlla(1, {{"FattDocumento", "DDTI"}, {"DaFatturare", "N"}, {"PreDoc", "R"}, {"Cambio", 1.085},
                  {"Moneta", "USD"}, {"RagDDT", "C"}, {"Contratto", "K1"}, {"PrezzoDDT", "S"}});

    // A blank target type: the order type's own target. Split payment: IvaSosp "N".
    svuota();
    preparaRun(QStringLiteral("FATSP"));
    eva.osTipoDocEva = QStringLiteral(" ");
    eva.oiSplitPay = 2;
    ASSERT_FALSE(evadi(ordine({.fattDocumento = suite::fx::kOrderTypeToInvoice, .extra = {{"IvaSosp", "S"}}})));
    controlla(1, {{"FattDocumento", "FAT"}, {"IvaSosp", "N"}});
}

TEST_P(CampiTestata, ANonEuOrderWithoutARateStops)
{
    preparaRun(QStringLiteral("DDT"));
    eva.ogCambi().setValore(QStringLiteral("USD"), true, 0.0);
    EXPECT_TRUE(evadi(ordine({.moneta = QStringLiteral("USD")})));
    EXPECT_TRUE(eva.msErrori.startsWith(QStringLiteral("Errore n\u00b05 : Manca il cambio della moneta USD in ")));
    EXPECT_EQ(conta("DdtTest"), 0);
}

TEST_P(CampiTestata, AFoundHeaderReconcilesContractAndSourceOrder)
{
    struct Caso {
        QString testata;  // SQL value of the header's Contratto after the first order
        QVariant ordine;  // the second order's Contratto (null: Null)
        QVariant atteso;
    };
    const std::vector<Caso> casi = {{"'A'", "B", ""},        {"''", "B", "B"},
                                    {"'A'", "", "A"},        {"'A'", QVariant(), "A"},
                                    {"NULL", "B", QVariant()}, {"'A'", "a", "A"}};
    for (const Caso &k : casi) {
        SCOPED_TRACE((k.testata + " " + k.ordine.toString()).toStdString());
        svuota();
        preparaRun(QStringLiteral("DDT"));
        const int32_t primo = ordine({});
        ASSERT_FALSE(evadi(primo));
        esegui(QStringLiteral("UPDATE DdtTest SET Contratto = ") + k.testata);
        const Variant contratto = k.ordine.isNull() ? Variant::null() : Variant(k.ordine.toString());
        ASSERT_FALSE(evadi(ordine({.extra = {{"Contratto", contratto}}})));
        EXPECT_EQ(conta("DdtTest"), 1);
        if (k.atteso.isNull())
            EXPECT_TRUE(testata(1, "Contratto").isNull());
        else
            EXPECT_EQ(testata(1, "Contratto").toString().toUpper(), k.atteso.toString().toUpper());
        EXPECT_TRUE(testata(1, "OrdAnno").isNull());
        EXPECT_TRUE(testata(1, "OrdNumRif").isNull());
    }

    // Under the rule "O" the same order again keeps them.
    svuota();
    preparaRun(QStringLiteral("DDT"));
    const int32_t n = ordine({.ragOrd = QStringLiteral("O")});
    ASSERT_FALSE(evadi(n));
    ASSERT_FALSE(evadi(n));
    EXPECT_EQ(conta("DdtTest"), 1);
    controlla(1, {{"OrdAnno", "2024"}, {"OrdNumRif", QString::number(n)}});
}

INSTANTIATE_TEST_SUITE_P(Engines, CampiTestata, kBothEngines, engineParamName);

} // namespace
