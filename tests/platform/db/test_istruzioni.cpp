// Every statement the program sends, built as its code builds it (literals from SqlValore),
// translated and run on both engines against the company fixture. Where the statement's
// meaning is easy to state (rows marked are the rows read, the order selection's criteria),
// the result is checked too.
#include "companyfixture.h"
#include "errori.h"
#include "provadb.h"
#include "utilgenerali.h"

#include <QSqlDatabase>
#include <functional>

namespace {

using UtilGenerali::SqlValore;

QString T(const QString &s) { return SqlValore(Variant(s), 8); }
QString T(const char *s) { return SqlValore(Variant(s), 8); }
QString I(int n) { return SqlValore(Variant(static_cast<int16_t>(n)), 2); }
QString L(int n) { return SqlValore(Variant(static_cast<int32_t>(n)), 3); }
QString D(int a, int m, int g) { return SqlValore(Variant(Date::fromYmd(a, m, g)), 7); }
QString F(double d) { return SqlValore(Variant(d), 5); }

const char *kUtente = "Mario";

class Istruzioni : public ProvaDb {
protected:
    void SetUp() override
    {
        scratch = ScratchDb::create(GetParam());
        if (IsSkipped()) return;
        if (!scratch) GTEST_FAIL() << "database di prova non disponibile";
        {
            QSqlDatabase q = scratch->open(QStringLiteral("fixture_istruzioni"));
            suite::FixtureOptions o;
            o.orders = 20;
            suite::buildCompany(q, o);
            q.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fixture_istruzioni"));
        conn = db.Connetti(nomeConnessione(*scratch));
    }

    // Opens the statement (type 2 or 4) and answers its row count; a failure names the statement.
    int apri(const QString &sql, int16_t tipo = dbOpenSnapshot)
    {
        const QString a = rs.Apri(db, conn, QStringLiteral("Prova"), sql, false, tipo);
        const int n = rs.RecordCount(a);
        rs.Chiudi(a);
        return n;
    }

    // Runs every statement; each failure is reported with the statement's name.
    void tutte(const std::vector<std::pair<const char *, std::function<void()>>> &casi)
    {
        for (const auto &[nome, corpo] : casi) {
            SCOPED_TRACE(nome);
            try {
                corpo();
            } catch (const AppError &e) {
                ADD_FAILURE() << nome << ": " << e.what();
            }
        }
    }
};

// ------------------------------------------------------------------ order selection and lines

struct Criteri {
    bool joinSel = false;
    bool tipoDocEva = false;
    int anno = 0, numRif = 0;
    bool tutti = false; // every optional criterion
    bool corrispettivo = false;
};

QString prepSqlWhere(const Criteri &c)
{
    QString w = QStringLiteral(" Where") + " (OrdVenTest.Stato <> " + T("E") + " OR OrdVenTest.Stato Is Null)" +
                " and OrdVenTest.DataRif <=" + D(2024, 12, 31) + " and (OrdVenTest.Interno <>" + T("S") +
                " OR OrdVenTest.Interno Is Null)";
    if (!c.corrispettivo) w += QStringLiteral(" and (not (OrdVenTest.GruppoCli is null))");
    if (!c.tutti) return w;
    const suite::Account da = suite::customerAccount(1), a = suite::customerAccount(20);
    w += QStringLiteral(" and OrdVenTest.FattDocumento =") + T(suite::fx::kOrderType) + " and OrdVenTest.Moneta =" +
         T(suite::fx::kEuro) + " and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli >=" + T(da.code()) +
         " and OrdVenTest.GruppoCli & OrdVenTest.MastroCli & OrdVenTest.ContoCli <=" + T(a.code()) +
         " And EXISTS (Select OrdVenDett.* From OrdVenDett" + " Where OrdVenDett.Anno = OrdVenTest.Anno" +
         " AND OrdVenDett.NumRif = OrdVenTest.NumRif" + " AND (OrdVenDett.StatoRiga <>" + T("E") +
         " OR OrdVenDett.StatoRiga IS NULL)" + " AND OrdVenDett.Articolo >= " + T(suite::articleCode(1)) +
         " AND OrdVenDett.Articolo <= " + T(suite::articleCode(40)) + ")" + " AND ((" + " OrdVenTest.DataCons >=" +
         D(2024, 1, 1) + " and" + " OrdVenTest.DataCons <=" + D(2024, 12, 31) + " ) or" + " Exists (" +
         " Select OrdVenDett.Anno From  OrdVenDett" + " Where OrdVenTest.Anno = OrdVenDett.Anno" +
         " AND OrdVenTest.NumRif = OrdVenDett.NumRif" + " And OrdVenDett.DataCons >=" + D(2024, 1, 1) +
         " And OrdVenDett.DataCons <=" + D(2024, 12, 31) + "))" + " and OrdVenTest.DataRif >=" + D(2024, 1, 1) +
         " and OrdVenTest.DataRif <=" + D(2024, 12, 31) + " and OrdVenTest.NumRif >=" + L(1) + " and OrdVenTest.NumRif <=" +
         L(9999) + " and OrdVenTest.DataDoc >=" + D(2024, 1, 1) + " and OrdVenTest.DataDoc <=" + D(2024, 12, 31) +
         " and OrdVenTest.NumDoc >=" + L(1) + " and OrdVenTest.NumDoc <=" + L(9999) + " and OrdVenTest.Descrizione Like " +
         T(UtilGenerali::LikeLetterale(QStringLiteral("Ordine")) + QLatin1Char('*'));
    return w;
}

QString prepSqlSelOrd(const Criteri &c)
{
    QString s = QStringLiteral("Select OrdVenTest.*, Monete.*") + ",FattDocumenti.*, NoteFisse1.*,NoteFisse2.*,NoteFisse3.*" +
                ",PianoConti.Bolli, PianoConti.SpeseBan, PianoConti.StRifOrd" +
                ",PianoConti.Descrizione,PianoConti.PrezzoDDT,Pianoconti.RagDDT" +
                ",PianoConti.StRifCli,PianoConti.RagRB, PianoConti.FECodIPA, PianoConti.IndAmm, PianoConti.DicIntenti" +
                ", Pagamenti.NotaFissa, Pagamenti.FeBanca";
    if (!c.tipoDocEva) s += QStringLiteral(", FattDocumenti2.DoveStampoDesLung as Doc2DoveDesLung");
    s += QStringLiteral(" FROM ((((((");
    if (!c.tipoDocEva) s += QStringLiteral("(");
    if (c.joinSel)
        s += QStringLiteral("(OrdVenEvaTest left join OrdVenTest") + " on OrdVenEvaTest.Anno = OrdVenTest.Anno" +
             " and OrdVenEvaTest.NumRif = OrdVenTest.NumRif)" + " left join FattDocumenti";
    else
        s += QStringLiteral(" OrdVenTest left join FattDocumenti");
    s += QStringLiteral(" on OrdVenTest.FattDocumento = FattDocumenti.FattDocumento)") + " left join Monete" +
         " on OrdVenTest.Moneta = Monete.Moneta)" + " left join Pagamenti" + " on OrdVenTest.Pagamento = Pagamenti.Pagamento)" +
         " left join NoteFisse AS NoteFisse1 " + " on OrdVenTest.NumNota1 = NoteFisse1.NotaFissa)" +
         " left join NoteFisse AS NoteFisse2 " + " on OrdVenTest.NumNota2 = NoteFisse2.NotaFissa)" +
         " left join NoteFisse AS NoteFisse3 " + " on OrdVenTest.NumNota3 = NoteFisse3.NotaFissa)" + " left join PianoConti" +
         " on OrdVenTest.GruppoCli = PianoConti.Gruppo" + " and OrdVenTest.MastroCli = PianoConti.Mastro" +
         " and OrdVenTest.ContoCli = PianoConti.Conto";
    if (!c.tipoDocEva)
        s += QStringLiteral(") left join FattDocumenti as FattDocumenti2") +
             " on FattDocumenti.FattDocEvasione = FattDocumenti2.FattDocumento";
    if (c.joinSel)
        s += QStringLiteral(" Where OrdVenEvaTest.Utente = ") + T(kUtente) + " and OrdVenEvaTest.Selez = " + T("S");
    else if (c.anno)
        s += QStringLiteral(" Where OrdVenTest.Anno = ") + I(c.anno) + " and OrdVenTest.NumRif = " + L(c.numRif);
    else
        s += prepSqlWhere(c);
    return s;
}

struct Dettaglio {
    int modo = 0;
    bool livelli = true, manuale = false, ripresa = false, date = true;
    int anno = 2024, numRif = 1;
};

QString prepSqlDett(const Dettaglio &d)
{
    QString s;
    if (d.modo == 0) {
        s = d.livelli ? QStringLiteral("Select OrdVenDett.*, OrdVenLiv.*, Articoli.ArtMag, Articoli.PezziPerConf, TabIva.*")
                      : QStringLiteral("Select OrdVenDett.* , Articoli.ArtMag , Articoli.PezziPerConf, TabIva.*");
        if (d.manuale) s += QStringLiteral(",OrdVenEvaDett.*");
        s += d.livelli ? QStringLiteral(" from (") : QStringLiteral(" from(");
    } else {
        s = QStringLiteral("Update") + " (";
    }
    if (d.manuale && d.livelli)
        s += QStringLiteral("((OrdVenEvaDett left join OrdVenDett") + " on OrdVenEvaDett.Anno = OrdVenDett.Anno" +
             " and OrdVenEvaDett.NumRif = OrdVenDett.NumRif" + " and OrdVenEvaDett.RigLiv = OrdVenDett.RigLiv)" +
             " left join OrdVenLiv" + " on OrdVenEvaDett.Anno = OrdVenLiv.Anno " + " and OrdVenEvaDett.NumRif = OrdVenLiv.NumRif " +
             " and OrdVenEvaDett.RigLiv = OrdVenLiv.RigLiv " + " and OrdVenEvaDett.Livello1 = OrdVenLiv.Livello1 " +
             " and OrdVenEvaDett.Livello2 = OrdVenLiv.Livello2) ";
    else if (d.manuale)
        s += QStringLiteral(" (OrdVenEvaDett left join OrdVenDett") + " on OrdVenEvaDett.Anno = OrdVenDett.Anno" +
             " and OrdVenEvaDett.NumRif = OrdVenDett.NumRif" + " and OrdVenEvaDett.RigLiv = OrdVenDett.RigLiv)";
    else if (d.livelli)
        s += QStringLiteral(" (OrdVenDett left join OrdVenLiv") + " on OrdVenDett.Anno = OrdVenLiv.Anno " +
             " and OrdVenDett.NumRif = OrdVenLiv.NumRif " + " and OrdVenDett.RigLiv = OrdVenLiv.RigLiv) ";
    else
        s += QStringLiteral(" OrdVenDett");
    s += QStringLiteral(" left join Articoli") + " on OrdVenDett.Articolo = Articoli.Articolo)" + " left join TabIva" +
         " on OrdVenDett.Iva = TabIva.Iva";
    if (d.modo == 1) s += QStringLiteral(" Set OrdVenDett.FlagStato = ") + T("4");
    if (d.modo == 2) s += QStringLiteral(" Set OrdVenLiv.FlagStato = ") + T("4");
    s += QStringLiteral(" Where OrdVenDett.Anno = ") + I(d.anno) + " AND OrdVenDett.NumRif = " + L(d.numRif);
    if (d.ripresa) {
        s += QStringLiteral(" AND OrdVenDett.FlagStato <> ") + T("0") + " AND OrdVenDett.FlagStato <> ''" +
             " AND not(OrdVenDett.FlagStato is null)";
        if (d.livelli)
            s += QStringLiteral(" AND OrdVenLiv.FlagStato <> ") + T("0") + " AND OrdVenLiv.FlagStato <> ''" +
                 " AND not(OrdVenLiv.FlagStato is null)";
    } else if (d.manuale) {
        s += QStringLiteral(" AND OrdVenEvaDett.Utente = ") + T(kUtente) + " and (OrdVenEvaDett.ASaldo = " + T("S") +
             " OR OrdVenEvaDett.QtaDaEva <>0 ) ";
    } else {
        s += QStringLiteral(" AND (OrdVenDett.StatoRiga<>") + T("E") + " OR OrdVenDett.StatoRiga is NULL)";
        if (d.date)
            s += QStringLiteral(" And((") + "OrdVenDett.DataCons >=" + D(2024, 1, 1) + " And" + " OrdVenDett.DataCons <=" +
                 D(2024, 12, 31) + " ) or OrdVenDett.DataCons IS NULL)";
        s += QStringLiteral(" AND OrdVenDett.Articolo >= ") + T(suite::articleCode(1)) + " AND OrdVenDett.Articolo <= " +
             T(suite::articleCode(40));
    }
    if (d.modo == 2) s += QStringLiteral(" AND LEN(OrdVenLiv.Livello1)>0");
    if (d.modo == 0) s += QStringLiteral(" Order by OrdVenDett.RigDet");
    return s;
}

TEST_P(Istruzioni, OrderSelectionAndLines)
{
    tutte({
        {"order selection, every criterion, fulfilment type not given", [&] {
             Criteri c;
             c.tutti = true;
             const QString a = rs.Apri(db, conn, QStringLiteral("Ord"), prepSqlSelOrd(c), false, dbOpenDynaset);
             EXPECT_GT(rs.RecordCount(a), 0);
             EXPECT_EQ(rs.LeggiCampo(a, u"OrdVenTest.FattDocumento").toString(), suite::fx::kOrderType);
             EXPECT_EQ(rs.LeggiCampo(a, u"Monete.Descrizione").toString().isEmpty(), false);
             EXPECT_TRUE(rs.LeggiCampo(a, u"OrdVenTest.Descrizione").toString().startsWith(QLatin1String("Ordine")));
             EXPECT_FALSE(rs.LeggiCampo(a, u"Doc2DoveDesLung", 8).isNull());
             EXPECT_EQ(numeroErrore([&] { rs.LeggiCampo(a, u"Descrizione"); }), ErrDb::ElementoNonTrovato);
             // the run writes the order's state through this cursor
             rs.Edit(a);
             rs.ScriviCampo(a, u"OrdVenTest.Stato", Variant("P"));
             rs.Update(a);
         }},
        {"order selection, fulfilment type given", [&] {
             Criteri c;
             c.tipoDocEva = true;
             EXPECT_GT(apri(prepSqlSelOrd(c), dbOpenDynaset), 0);
         }},
        {"order selection of a cash sale", [&] {
             Criteri c;
             c.corrispettivo = true;
             EXPECT_EQ(apri(prepSqlSelOrd(c)), 20);
         }},
        {"order selection of one order", [&] {
             Criteri c;
             c.anno = 2024;
             c.numRif = 15;
             EXPECT_EQ(apri(prepSqlSelOrd(c)), 1);
         }},
        {"order selection from the staging rows, both shapes", [&] {
             esegui(QStringLiteral("INSERT INTO OrdVenEvaTest (Utente, Anno, NumRif, Selez, EvadeTutto) VALUES (") + T(kUtente) +
                    ", " + I(2024) + ", " + L(2) + ", " + T("S") + ", " + T("S") + ")");
             Criteri c;
             c.joinSel = true;
             EXPECT_EQ(apri(prepSqlSelOrd(c), dbOpenDynaset), 1);
             c.tipoDocEva = true;
             EXPECT_EQ(apri(prepSqlSelOrd(c), dbOpenDynaset), 1);
         }},
        {"ordering clause", [&] {
             const QString o = QStringLiteral(" Order by OrdVenTest.GruppoCli,OrdVenTest.MastroCli,OrdVenTest.ContoCli") +
                               ",OrdVenTest.MagazzProv" + ",OrdVenTest.IvaSosp" + ",OrdVenTest.PrezziIvati" + ",OrdVenTest.Iva" +
                               ",OrdVenTest.Pagamento" + ",OrdVenTest.ScontoPag" + ",OrdVenTest.Banca" + ",OrdVenTest.RagSoc" +
                               ",OrdVenTest.IndSped" + ",OrdVenTest.IndirizzoSped" + ",OrdVenTest.Vettore" + ",OrdVenTest.Resa" +
                               ",OrdVenTest.Agente1" + ",OrdVenTest.Agente2" + ",OrdVenTest.Moneta" + ",OrdVenTest.MagazzDest" +
                               ",OrdVenTest.Contratto" + ",OrdVenTest.CIG" + ",OrdVenTest.CUP" + ",OrdVenTest.ScoPagSuDett" +
                               ",OrdVenTest.NumRif" + ",OrdVenTest.PdcDicIntenti";
             EXPECT_EQ(apri(QStringLiteral("Select OrdVenTest.* from OrdVenTest") + prepSqlWhere({}) + o), 20);
         }},
        {"exchange-rate currencies", [&] {
             const QString s = QStringLiteral("SELECT OrdVenTest.Moneta, Monete.Descrizione") + " FROM OrdVenTest LEFT JOIN Monete" +
                               " ON OrdVenTest.Moneta = Monete.Moneta" + prepSqlWhere({}) + " and (Monete.Cee<>'S' )" +
                               " GROUP BY OrdVenTest.Moneta, Monete.Descrizione" + " , Monete.NumDec, Monete.NumDecGest";
             const QString a = rs.Apri(db, conn, QString(), s);
             EXPECT_EQ(rs.RecordCount(a), 1);
             EXPECT_EQ(rs.LeggiCampo(a, u"Moneta").toString(), suite::fx::kNonEuCurrency);
         }},
    });
    // Marking: the rows marked "4" are the rows the line statement reads, in every shape.
    for (bool livelli : {true, false}) {
        SCOPED_TRACE(livelli ? "with levels" : "without levels");
        for (int ordine = 1; ordine <= 20; ++ordine) {
            Dettaglio d;
            d.livelli = livelli;
            d.numRif = ordine;
            d.modo = 0;
            const int lette = apri(prepSqlDett(d), dbOpenDynaset);
            esegui(QStringLiteral("UPDATE OrdVenDett SET FlagStato = '0'"));
            esegui(QStringLiteral("UPDATE OrdVenLiv SET FlagStato = '0'"));
            d.modo = 1;
            esegui(prepSqlDett(d));
            int marcate = conta(QStringLiteral("OrdVenDett WHERE FlagStato = '4'"));
            int ripresi = marcate; // a resumed run reads back what was marked
            if (livelli) {
                d.modo = 2;
                esegui(prepSqlDett(d));
                const int livelliMarcati = conta(QStringLiteral("OrdVenLiv WHERE FlagStato = '4'"));
                const int righeConLivelli = conta(QStringLiteral("OrdVenDett WHERE FlagStato = '4' AND EXISTS (SELECT 1 FROM "
                                                                 "OrdVenLiv WHERE OrdVenLiv.Anno = OrdVenDett.Anno AND "
                                                                 "OrdVenLiv.NumRif = OrdVenDett.NumRif AND OrdVenLiv.RigLiv = "
                                                                 "OrdVenDett.RigLiv)"));
                marcate += livelliMarcati - righeConLivelli; // a line with levels is read once per level
                ripresi = livelliMarcati; // with levels, resumption reads marked levels only
            }
            EXPECT_EQ(marcate, lette) << "order " << ordine;
            d.modo = 0;
            d.ripresa = true;
            EXPECT_EQ(apri(prepSqlDett(d)), ripresi) << "order " << ordine;
        }
    }
    tutte({
        {"lines without a delivery-date criterion", [&] {
             Dettaglio d;
             d.date = false;
             EXPECT_GT(apri(prepSqlDett(d)), 0);
         }},
        {"manual staging of lines with levels, then the manual line statements", [&] {
             const QString q1 = " IIf(OrdVenDett.Qtaevasa Is Null,0,OrdVenDett.Qtaevasa) ";
             const QString q2 = " IIf(Ordvenliv.Qtaevasa Is Null,0,OrdVenLiv.Qtaevasa) ";
             const QString colonne = QStringLiteral("INSERT INTO OrdVenEvaDett (") + " Utente, Anno, NumRif, RigDet, RigLiv, Livello1, Livello2" +
                                     ", Articolo,Descrizione" + ", UM , Qta, QtaEvasa, ASaldo, QtaDaEva, ValUnitario" +
                                     ", DataCons, RigLivRAEE" + ")";
             const QString descrizione = QStringLiteral("IIf(OrdVenDett.TipoRiga = ") + T("D") + ",OrdVenDett.NotaSopra" +
                                         ",IIf(not OrdVenDett.Descrizione Is Null,OrdVenDett.Descrizione,Articoli.Descrizione )) AS MioDescrizione,";
             for (int ordine : {1, 5, 7}) {
                 esegui(QStringLiteral("Delete * from OrdVenEvaDett ") + " WHERE OrdVenEvaDett.Anno=" + I(2024) +
                        " AND OrdVenEvaDett.NumRif=" + L(ordine));
                 esegui(colonne + " SELECT " + T(kUtente) + " AS MioUtente," + "OrdVenDett.Anno, OrdVenDett.NumRif, OrdVenDett.RigDet," +
                        "OrdVenDett.RigLiv," + "IIf(Ordvenliv.Livello1 Is Null,' ',OrdVenLiv.Livello1) AS MioLiv1," +
                        "IIf(Ordvenliv.Livello2 Is Null,' ',OrdVenLiv.Livello2) AS Mioliv2," + "Articoli.Articolo," + descrizione +
                        "IIf(Ordvenliv.Livello1 Is Null,OrdVenDett.um,Ordvenliv.UM) AS MioUm," +
                        "IIf(Ordvenliv.Livello1 Is Null,OrdVenDett.Qta,Ordvenliv.Qta) AS MioQta," + "IIf(Ordvenliv.Livello1 Is Null," +
                        q1 + "," + q2 + ") AS MioQtaevasa," + "IIf(OrdVenDett.TipoRiga = " + T("D") + ",'S','N') AS MioASaldo," +
                        "IIf(Ordvenliv.Livello1 Is Null,OrdVenDett.Qta - " + q1 + ",Ordvenliv.Qta - " + q2 + ") AS mioQtaDaEva," +
                        "IIf(OrdVenLiv.Livello1 Is Null,OrdVenDett.ValUnitario,OrdVenLiv.ValUnitario) AS MioValUnitario" +
                        ", OrdVenDett.DataCons,OrdVenDett.RigLivRAEE" + " FROM (OrdVenDett LEFT JOIN OrdVenLiv" +
                        " ON OrdVenDett.Anno = OrdVenLiv.Anno" + " AND OrdVenDett.NumRif = OrdVenLiv.NumRif" +
                        " AND OrdVenDett.RigLiv = OrdVenLiv.RigLiv)" + " LEFT JOIN Articoli ON OrdVenDett.Articolo = Articoli.Articolo" +
                        " WHERE OrdVenDett.Anno=" + I(2024) + " AND OrdVenDett.NumRif=" + L(ordine) + " AND OrdVenDett.TipoRiga<>" +
                        T("C") + " AND " + "IIf(Ordvenliv.Livello1 Is Null" + ",OrdVenDett.StatoRiga<>" + T("E") +
                        " OR OrdVenDett.StatoRiga Is Null" + ",Ordvenliv.StatoRiga<>" + T("E") + " OR Ordvenliv.StatoRiga Is Null" +
                        ")" + " And ((" + " OrdVenDett.DataCons >=" + D(2024, 1, 1) + " And" + " OrdVenDett.DataCons <=" +
                        D(2024, 12, 31) + " ) or OrdVenDett.DataCons IS NULL)");
                 // the summary rows of lines with levels, "0 AS mioQtaDaEva" shape
                 esegui(colonne + " SELECT " + T(kUtente) + " AS MioUtente," + "OrdVenDett.Anno, OrdVenDett.NumRif, OrdVenDett.RigDet," +
                        "OrdVenDett.RigLiv," + T("*liv") + " AS MioLiv1," + "' ' AS Mioliv2," + "Articoli.Articolo," + descrizione +
                        "OrdVenDett.um AS MioUm," + "OrdVenDett.Qta AS MioQta," + q1 + " AS MioQtaevasa" +
                        ", IIf(OrdVenDett.TipoRiga = " + T("D") + ",'S','N') AS MioASaldo" + ", 0 AS mioQtaDaEva" +
                        ", OrdVenDett.ValUnitario AS MioValUnitario" + ", OrdVenDett.DataCons,OrdVenDett.RigLivRAEE" +
                        " FROM OrdVenDett" + " LEFT JOIN Articoli ON OrdVenDett.Articolo = Articoli.Articolo" +
                        " WHERE OrdVenDett.Anno=" + I(2024) + " AND OrdVenDett.NumRif=" + L(ordine) + " AND OrdVenDett.TipoRiga<>" +
                        T("C") + " AND (OrdVenDett.StatoRiga<>" + T("E") + " OR OrdVenDett.StatoRiga Is Null)" +
                        " AND OrdVenDett.Articolo >= " + T(suite::articleCode(1)) + " AND Exists (Select livello1 from OrdVenLiv" +
                        " Where OrdVenDett.Anno = OrdVenLiv.Anno" + " AND OrdVenDett.NumRif = OrdVenLiv.NumRif" +
                        " AND OrdVenDett.RigLiv = OrdVenLiv.RigLiv" + ")");
             }
             EXPECT_GT(conta(QStringLiteral("OrdVenEvaDett WHERE Livello1 = '*LIV'")), 0);
             EXPECT_GT(conta(QStringLiteral("OrdVenEvaDett WHERE Livello1 = ' ' AND QtaDaEva > 0")), 0);
             for (bool livelli : {true, false}) {
                 Dettaglio d;
                 d.manuale = true;
                 d.livelli = livelli;
                 d.modo = 0;
                 const int lette = apri(prepSqlDett(d));
                 EXPECT_GT(lette, 0);
                 esegui(QStringLiteral("UPDATE OrdVenDett SET FlagStato = '0'"));
                 d.modo = 1;
                 esegui(prepSqlDett(d));
                 EXPECT_GT(conta(QStringLiteral("OrdVenDett WHERE FlagStato = '4'")), 0);
                 if (livelli) {
                     d.modo = 2;
                     esegui(prepSqlDett(d));
                 }
             }
         }},
        {"manual staging with the partition description", [&] {
             esegui(QStringLiteral("Delete * from OrdVenEvaDett ") + " WHERE OrdVenEvaDett.Utente=" + T(kUtente));
             esegui(QStringLiteral("INSERT INTO OrdVenEvaDett (") + " Utente, Anno, NumRif, RigDet, RigLiv, Livello1, Livello2" +
                    ", Articolo,Descrizione" + ", UM , Qta, QtaEvasa, ASaldo, QtaDaEva, ValUnitario" + ", DataCons, RigLivRAEE" +
                    ")" + " SELECT " + T(kUtente) + " AS MioUtente," + "OrdVenDett.Anno, OrdVenDett.NumRif, OrdVenDett.RigDet," +
                    "OrdVenDett.RigLiv," + T("*liv") + " AS MioLiv1," + "' ' AS Mioliv2," + "Articoli.Articolo," +
                    "IIf(OrdVenDett.TipoRiga = " + T("D") + ",OrdVenDett.NotaSopra" +
                    ",IIf(not OrdVenDett.Descrizione Is Null,OrdVenDett.Descrizione,Articoli.Descrizione ))" + "& ' -'" +
                    "& (select left(ArtClasseAttr.Descrizione,5)" + " from ArtClasseAttr where ArtClasse=1" +
                    " and ArtClasseAttr = ArtClasseAttr1)" + " & '-' & left(Articoli.ArtClasseAttr2,3)" +
                    " & '-' & left(Articoli.ArtClasseAttr4,3)" + "AS MioDescrizione," + "OrdVenDett.um AS MioUm," +
                    "OrdVenDett.Qta AS MioQta," + " IIf(OrdVenDett.Qtaevasa Is Null,0,OrdVenDett.Qtaevasa) " + " AS MioQtaevasa" +
                    ", IIf(OrdVenDett.TipoRiga = " + T("D") + ",'S','N') AS MioASaldo" +
                    ", OrdVenDett.Qta - IIf(OrdVenDett.Qtaevasa Is Null,0,OrdVenDett.Qtaevasa)  AS mioQtaDaEva" +
                    ", OrdVenDett.ValUnitario AS MioValUnitario" + ", OrdVenDett.DataCons,OrdVenDett.RigLivRAEE" +
                    " FROM OrdVenDett" + " LEFT JOIN Articoli ON OrdVenDett.Articolo = Articoli.Articolo" +
                    " WHERE OrdVenDett.Anno=" + I(2024) + " AND OrdVenDett.NumRif=" + L(3));
             // Null parts of the description count as empty: never a Null description.
             EXPECT_EQ(conta(QStringLiteral("OrdVenEvaDett WHERE Descrizione IS NULL AND NumRif = 3")), 0);
         }},
        {"re-reads of one line and one level", [&] {
             Dettaglio d;
             d.numRif = 5;
             const QString a = rs.Apri(db, conn, QStringLiteral("Righe"), prepSqlDett(d), false, dbOpenDynaset);
             ASSERT_FALSE(rs.NessunRecord(a));
             const Variant anno = rs.LeggiCampo(a, u"OrdVenDett.Anno"), num = rs.LeggiCampo(a, u"OrdVenDett.NumRif");
             EXPECT_EQ(apri(QStringLiteral("SELECT OrdVenDett.*") + " From OrdVenDett" + " WHERE" + " OrdVenDett.Anno=" +
                                SqlValore(anno, 2) + " AND OrdVenDett.NumRif=" + SqlValore(num, 3) + " AND OrdVenDett.RigLiv=" +
                                SqlValore(rs.LeggiCampo(a, u"OrdVenDett.RigLiv"), 3),
                            dbOpenDynaset),
                       1);
             rs.FindFirst(a, QStringLiteral("Not OrdVenLiv.Livello1 Is Null"));
             if (!rs.NoMatch(a)) {
                 EXPECT_EQ(apri(QStringLiteral("SELECT OrdVenLiv.*") + " From OrdVenLiv" + " WHERE" + " OrdVenLiv.Anno=" +
                                    SqlValore(anno, 2) + " AND OrdVenLiv.NumRif=" + SqlValore(num, 3) + " AND OrdVenLiv.RigLiv=" +
                                    SqlValore(rs.LeggiCampo(a, u"OrdVenLiv.RigLiv"), 3) + " AND OrdVenLiv.Livello1=" +
                                    SqlValore(rs.LeggiCampo(a, u"OrdVenLiv.Livello1"), 8) + " AND OrdVenLiv.Livello2=" +
                                    SqlValore(rs.LeggiCampo(a, u"OrdVenLiv.Livello2"), 8),
                                dbOpenDynaset),
                           1);
             }
             rs.Chiudi(a);
         }},
    });
}

INSTANTIATE_TEST_SUITE_P(Motori, Istruzioni, kBothEngines, engineParamName);

} // namespace
