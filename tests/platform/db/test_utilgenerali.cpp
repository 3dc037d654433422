// The general functions of the library: literals, rounding, conversions, switches, lists,
// ini files and the progress display.
#include "avanzamentoelab.h"
#include "provadb.h"
#include "utilgenerali.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

namespace {

namespace U = UtilGenerali;

TEST(UtilGenerali, SqlValoreWritesLiteralsForEachEngine)
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    struct Caso { Variant v; int16_t tipo; const char *sqlite; const char *postgres; };
    const Caso casi[] = {
        {Variant("O'Brien"), 8, "'O''Brien'", "'O''Brien'"},
        {Variant("c:\\x"), 8, "'c:\\x'", "'c:\\x'"},
        {Variant(1.5), 5, "1.5", "1.5"},
        {Variant(1e-5), 5, "1e-05", "1e-05"},
        {Variant(Currency::fromUnits(123456)), 5, "12.3456", "12.3456"},
        {Variant("1936,27"), 5, "1936.27", "1936.27"},
        {Variant(static_cast<int16_t>(-1)), 2, "-1", "-1"},
        {Variant(true), 2, "-1", "-1"},
        {Variant(70000), 3, "70000", "70000"},
        {Variant(Date::fromYmd(2024, 3, 5)), 7, "'2024-03-05'", "DATE '2024-03-05'"},
        {Variant(Date::fromYmd(2024, 3, 5, 14, 7, 9)), 7, "'2024-03-05 14:07:09'", "TIMESTAMP '2024-03-05 14:07:09'"},
        {Variant("05/03/2024"), 7, "'2024-03-05'", "DATE '2024-03-05'"},
        {Variant::null(), 8, "NULL", "NULL"},
        {Variant(), 8, "''", "''"},
        {Variant(), 3, "0", "0"},
        {Variant(), 7, "NULL", "NULL"},
    };
    for (const Caso &c : casi) {
        EXPECT_EQ(U::SqlValore(c.v, c.tipo, MotoreDb::SQLite), QString::fromUtf8(c.sqlite)) << c.sqlite;
        EXPECT_EQ(U::SqlValore(c.v, c.tipo, MotoreDb::PostgreSQL), QString::fromUtf8(c.postgres)) << c.postgres;
    }
    EXPECT_EQ(numeroErrore([] { U::SqlValore(Variant(70000), 2); }), ErrNum::Overflow);
    EXPECT_EQ(numeroErrore([] { U::SqlValore(Variant("abc"), 3); }), ErrNum::TypeMismatch);
    QLocale::setDefault(QLocale::c());
}

TEST(UtilGenerali, ArrotondaValoreIsDecimalCorrect)
{
    struct Caso { double v; const char *modo; double passo; int esp; double atteso; };
    const Caso casi[] = {
        {2.675, "A", 1, -2, 2.68},   {-2.675, "A", 1, -2, -2.68}, {2.665, "A", 1, -2, 2.67},
        {1.12, "S", 1, -2, 1.12},    {1.121, "S", 1, -2, 1.13},   {-1.121, "S", 1, -2, -1.12},
        {1.129, "T", 1, -2, 1.12},   {-1.129, "T", 1, -2, -1.12}, {-1.121, "I", 1, -2, -1.13},
        {1.121, "I", 1, -2, 1.12},   {1.01, "S", 5, -2, 1.05},    {1.04, "T", 5, -2, 1.0},
        {12.5, "A", 5, 0, 15.0},     {7.0, "S", 5, 0, 10.0},      {0.1 + 0.2, "A", 1, -1, 0.3},
        {1234.5, "a", 1, 0, 1235.0}, {18.305, "5", 0.01, 0, 18.31}, {18.304, "5", 0.01, 0, 18.30},
    };
    for (const Caso &c : casi)
        EXPECT_DOUBLE_EQ(U::ArrotondaValore(Variant(c.v), QString::fromLatin1(c.modo), c.passo, c.esp), c.atteso)
            << c.v << " " << c.modo << " " << c.passo << "e" << c.esp;
    EXPECT_EQ(U::ArrotondaValore(Variant::null(), QStringLiteral("A")), 0.0);
    EXPECT_EQ(numeroErrore([] { U::ArrotondaValore(Variant(1.0), QStringLiteral("X")); }), ErrNum::InvalidCall);
}

TEST(UtilGenerali, ValoreOpzioneReadsSwitchesNotPaths)
{
    const QString riga = QStringLiteral("/M menu1 /P \"EVAORD sede2\" /H /home/x/help.chm /F frmEvasOrd /RO");
    EXPECT_EQ(U::ValoreOpzione(riga, QStringLiteral("P")), QStringLiteral("EVAORD sede2"));
    EXPECT_EQ(U::ValoreOpzione(riga, QStringLiteral("h")), QStringLiteral("/home/x/help.chm"));
    EXPECT_EQ(U::ValoreOpzione(riga, QStringLiteral("F")), QStringLiteral("frmEvasOrd"));
    EXPECT_EQ(U::ValoreOpzione(riga, QStringLiteral("RO")), QStringLiteral("/RO"));
    EXPECT_EQ(U::ValoreOpzione(riga, QStringLiteral("I")), QString());
    EXPECT_EQ(U::ValoreOpzione(QStringLiteral("/I \"/home/h/x.ini\" /P EVAORD"), QStringLiteral("H")), QString());
    EXPECT_EQ(U::ValoreOpzione(QStringLiteral("/P EVAORD sede2 /M x"), QStringLiteral("P")), QStringLiteral("EVAORD sede2"));
}

TEST(UtilGenerali, ConfrontaIntervalloIsWrongOnlyForAFromAboveItsTo)
{
    struct Caso {
        const char *da, *a;
        int16_t tipo;
        int16_t atteso;
    };
    const Caso casi[] = {
        {"14-01-0002", "14-01-0001", 8, 1}, {"art01", "ART01", 8, 0}, {"ART02", "art10", 8, 0},
        {"01/02/2024", "31/01/2024", 7, 1}, {"31/01/2024", "01/02/2024", 7, 0}, {"10/1/2024", "10/01/2024", 7, 0},
        {"10", "9", 3, 1}, {"9", "10", 3, 0}, {"7", "7", 3, 0},
        // an empty bound or a date that does not read never makes the range wrong
        {"", "1", 3, 0}, {"5", "", 3, 0}, {"", "", 8, 0}, {"  /  /    ", "01/01/2024", 7, 0}, {"31/02/2024", "01/01/2024", 7, 0},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(U::ConfrontaIntervallo(Variant(c.da), Variant(c.a), c.tipo), c.atteso) << c.da << " / " << c.a;
}

TEST(UtilGenerali, ValueConversions)
{
    EXPECT_TRUE(U::Vuoto(Variant::null()));
    EXPECT_TRUE(U::Vuoto(Variant()));
    EXPECT_TRUE(U::Vuoto(Variant("")));
    EXPECT_FALSE(U::Vuoto(Variant(" ")));
    EXPECT_FALSE(U::Vuoto(Variant(0)));
    EXPECT_TRUE(U::Vuoto(Variant(Date::emptyMarker()), 7));
    EXPECT_TRUE(U::Vuoto(Variant(QStringLiteral("  /  /    ")), 7));
    EXPECT_TRUE(U::Vuoto(Variant(QStringLiteral("01/01/100")), 7));
    EXPECT_FALSE(U::Vuoto(Variant(Date::fromYmd(2024, 1, 1)), 7));
    EXPECT_EQ(U::ValoreNumerico(Variant("1936,27")), 1936.27);
    EXPECT_EQ(U::ValoreNumerico(Variant("1.06")), 1.06);
    EXPECT_EQ(U::ValoreNumerico(Variant("")), 0.0);
    EXPECT_EQ(U::ValoreNumerico(Variant("12 pezzi")), 12.0);
    EXPECT_EQ(U::ValoreLong(Variant("2,5")), 2);
    EXPECT_EQ(U::ValoreLong(Variant("3,5")), 4);
    EXPECT_EQ(U::ValoreIntero(Variant::null()), 0);
    EXPECT_TRUE(U::ValoreData(Variant("")).isNull());
    EXPECT_EQ(U::ValoreData(Variant("05/03/2024")).toDate(), Date::fromYmd(2024, 3, 5));
    EXPECT_TRUE(U::ValoreData(Variant("31/02/2024")).isNull());
    EXPECT_EQ(U::ValoreNonNullo(Variant::null()).toLong(), 0);
    EXPECT_EQ(U::ValoreNonNullo(Variant(" 3 ")).toLong(), 3);
    EXPECT_EQ(U::ValoreNonNullo(Variant("abc")).toString(), QStringLiteral("abc"));
    EXPECT_EQ(U::ConvertiTipo(Variant("05/03/2024"), 7).toDate(), Date::fromYmd(2024, 3, 5));
    EXPECT_TRUE(U::ConvertiTipo(Variant::null(), 7).isNull());
}

TEST(UtilGenerali, ListsAndTexts)
{
    EXPECT_EQ(U::Minimo({Variant(3.0), Variant(), Variant(1.5)}).toDouble(), 1.5);
    EXPECT_TRUE(U::Minimo({Variant(), Variant::null()}).isEmpty());
    EXPECT_EQ(U::Massimo({Variant(-1.0), Variant(0.0)}).toDouble(), 0.0);
    EXPECT_TRUE(U::InLista(QStringLiteral("pc2"), QStringLiteral("PC1; PC2 ;pc3")));
    EXPECT_FALSE(U::InLista(QStringLiteral("pc"), QStringLiteral("PC1;PC2")));
    EXPECT_FALSE(U::InLista(QString(), QStringLiteral("PC1;;")));
    const VariantArray parti = U::Dividi(QStringLiteral("a;b;;c"), QStringLiteral(";")).toArray();
    EXPECT_EQ(parti.lowerBound, 1);
    ASSERT_EQ(parti.items.size(), 4u);
    EXPECT_EQ(parti.items[3].toString(), QStringLiteral("c"));
    EXPECT_TRUE(U::Dividi(QString(), QStringLiteral(";")).toArray().items.empty());
    EXPECT_EQ(U::Sostituisci(QStringLiteral("£a£b"), QStringLiteral("£"), Variant("")), QStringLiteral("ab"));
    EXPECT_EQ(U::Sostituisci(1, QStringLiteral("Dal §numero§ al §NUMERO§"), QStringLiteral("§Numero§"), Variant(7), 1),
              QStringLiteral("Dal 7 al 7"));
    EXPECT_EQ(U::CercaIndietro(10, QStringLiteral("abcabcabc"), QStringLiteral("BC"), 1), 8);
    EXPECT_EQ(U::CercaIndietro(7, QStringLiteral("abcabcabc"), QStringLiteral("bc"), 1), 5);
    EXPECT_EQ(U::CercaIndietro(7, QStringLiteral("abcabcabc"), QStringLiteral("BC"), 0), 0);
    EXPECT_EQ(U::FineMese(Variant(Date::fromYmd(2024, 2, 10))), Date::fromYmd(2024, 2, 29));
    EXPECT_EQ(U::ComponiPercorso(QString(), QStringLiteral("D:"), QStringLiteral("\\Immagini")), QStringLiteral("D:\\Immagini"));
    EXPECT_EQ(U::ComponiPercorso(QString(), QStringLiteral("D:\\"), QStringLiteral("\\Img")), QStringLiteral("D:\\Img"));
    EXPECT_EQ(U::ComponiPercorso(QString(), QStringLiteral("D:"), QStringLiteral("Img")), QStringLiteral("D:\\Img"));
}

TEST(UtilGenerali, DisplayForms)
{
    struct Caso { Variant v; const char *formato; const char *atteso; };
    const Caso casi[] = {
        {Variant("14010001"), "conto", "14-01-0001"},
        {Variant("14-01-0001"), "Conto", "14-01-0001"},
        {Variant(Date::fromYmd(2024, 3, 5)), "dd/mm/yyyy", "05/03/2024"},
        {Variant(Date::fromYmd(2024, 3, 5, 14, 7)), "dd/mm/yy hh:nn", "05/03/24 14:07"},
        {Variant(1234.5), "#,###.^^^^^^", "1.234,5"},
        {Variant(Currency::fromUnits(12345678900)), "#,###.^^^^^^", "1.234.567,89"},
        {Variant(1234.5), "#,##0.000", "1.234,500"},
        {Variant(0.0), "#,##0.00", "0,00"},
        {Variant(-2.675), "#,##0.00", "-2,68"},
        {Variant(1234567.0), "#,##0", "1.234.567"},
        {Variant::null(), "#,##0", ""},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(U::FormattaValore(c.v, QString::fromLatin1(c.formato)), QString::fromUtf8(c.atteso)) << c.formato;
    EXPECT_EQ(U::CodiceConto(Variant("14-01-0001")), QStringLiteral("14010001"));
    EXPECT_EQ(U::MascheraNumero(Variant(static_cast<int16_t>(0)), 3, Variant("0"), true, QStringLiteral("#,##0"), false,
                                QString(), QStringLiteral("0")),
              QStringLiteral("#,##0.000"));
    EXPECT_EQ(U::MascheraNumero(Variant(static_cast<int16_t>(0)), 2, Variant("0"), true, QStringLiteral("#,##0"), false,
                                QString(), QStringLiteral("^")),
              QStringLiteral("#,##0.^^"));
    EXPECT_EQ(U::MascheraNumero(Variant(15000.5), 2, Variant(), false, QStringLiteral("#,##0"), false, QString(),
                                QStringLiteral("^")),
              QStringLiteral("15.000,5"));
    EXPECT_EQ(U::MascheraNumero(Variant(3.0), 0, Variant(), false, QStringLiteral("#,##0"), false, QString(), QStringLiteral("^")),
              QStringLiteral("3"));
}

TEST(UtilGenerali, IniKeysComeFromTheChosenFileFirst)
{
    QTemporaryDir dir;
    const auto scrivi = [&](const char *nome, const char *testo) {
        QFile f(dir.filePath(QLatin1String(nome)));
        f.open(QIODevice::WriteOnly);
        f.write(testo);
    };
    scrivi("suite.ini", "[Parametri Generali]\nNumIni=2\nVisParam=DB1\n[Tutti]\nColore=1\n");
    scrivi("ditta1.ini", "[Tutti]\ncolore=5\n");
    const QString principale = dir.filePath(QStringLiteral("suite.ini"));
    EXPECT_EQ(U::LeggiValoreIni(QStringLiteral("Parametri Generali"), QStringLiteral("numini"), QString(), principale),
              QStringLiteral("2"));
    EXPECT_EQ(U::LeggiValoreIni(QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("def"), principale), QStringLiteral("def"));
    Variant v;
    EXPECT_EQ(U::LeggiChiaveIni(QStringLiteral("Tutti"), QStringLiteral("Colore"), Variant("0"), v, principale,
                                QStringLiteral("ditta1.ini")),
              0);
    EXPECT_EQ(v.toString(), QStringLiteral("5"));
    EXPECT_EQ(U::LeggiChiaveIni(QStringLiteral("Tutti"), QStringLiteral("Colore"), Variant("0"), v, principale, QString()), 0);
    EXPECT_EQ(v.toString(), QStringLiteral("1"));
    EXPECT_EQ(U::LeggiChiaveIni(QStringLiteral("Tutti"), QStringLiteral("Manca"), Variant("0"), v, principale,
                                QStringLiteral("ditta1.ini")),
              1);
    EXPECT_EQ(v.toString(), QStringLiteral("0"));
    EXPECT_TRUE(U::EsisteFile(principale));
    EXPECT_FALSE(U::EsisteFile(dir.filePath(QStringLiteral("manca.ini"))));
    EXPECT_FALSE(U::EsisteFile(dir.path()));
}

TEST(AvanzamentoElab, FillsTheViewWithoutAForm)
{
    AvanzamentoElab a;
    a.Avvia(10, QStringLiteral("Righe dei livelli"), 0, true, true, Variant(), QStringLiteral(" Aggiornamento Movimenti"), 2, true);
    EXPECT_TRUE(a.memoria().visibile);
    EXPECT_EQ(a.memoria().massimo, 10);
    a.Avanza(Variant(3));
    a.Messaggio(QStringLiteral("Dati bloccati tentativo n. 2"));
    EXPECT_EQ(a.memoria().fatti, 3);
    EXPECT_EQ(a.memoria().messaggio, QStringLiteral("Dati bloccati tentativo n. 2"));
    EXPECT_GE(a.memoria().ridisegni, 3);
    a.Termina();
    EXPECT_FALSE(a.memoria().visibile);
    // With a form of its own, the form is filled instead.
    VistaAvanzamentoMemoria form;
    a.AvviaConForm(form, 5, QStringLiteral("x"), 0, true, true, Variant(static_cast<int16_t>(16)), QStringLiteral("T"), 2, true);
    a.Avanza(Variant(2));
    EXPECT_EQ(form.fatti, 2);
    EXPECT_EQ(form.titolo, QStringLiteral("T"));
}

} // namespace
