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

// ------------------------------------------------------------------ shell, common services, run

TEST_P(Istruzioni, ShellCommonAndRun)
{
    const QString programma = QStringLiteral("EvaOrd") + "EvOr";
    tutte({
        {"saved criteria: write, read, delete", [&] {
             const QString testa = QStringLiteral("INSERT INTO AppoggioTemp") + "(Utente,IdProgramma,IdCampo";
             esegui(testa + ",Valorestringa)" + " VALUES (" + T(kUtente) + "," + T("scEvaOrdVen") + "," + T("osCliDa") + "," +
                    SqlValore(Variant(QStringLiteral("14-01-0001")), 8) + ")");
             esegui(testa + ",Valorenumero)" + " VALUES (" + T(kUtente) + "," + T("scEvaOrdVen") + "," + T("olNumRifDa") + "," +
                    F(12.5) + ")");
             esegui(testa + ",Valoredata)" + " VALUES (" + T(kUtente) + "," + T("scEvaOrdVen") + "," + T("otDataEvasione") +
                    "," + D(2024, 6, 30) + ")");
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("SELECT *") + " FROM AppoggioTemp" + " WHERE Utente = " + T("MARIO") +
                                           " AND IdProgramma = " + T("scEvaOrdVen"));
             EXPECT_EQ(rs.RecordCount(a), 3);
             rs.FindFirst(a, QStringLiteral("IdCampo = ") + T("otdataevasione"));
             EXPECT_EQ(rs.LeggiCampo(a, u"Valoredata").toDate(), Date::fromYmd(2024, 6, 30));
             esegui(QStringLiteral("DELETE FROM AppoggioTemp") + " WHERE Utente = " + T("mario") + " AND IdProgramma = " +
                    T("scEvaOrdVen"));
             EXPECT_EQ(conta(QStringLiteral("AppoggioTemp")), 0);
         }},
        {"rounding bands", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select * from") + " ArrotLire" + " Order By FinoA"), 1);
             EXPECT_EQ(apri(QStringLiteral("Select * from") + " ArrotEuro" + " Order By FinoA"), 1);
         }},
        {"currency", [&] { EXPECT_EQ(apri(QStringLiteral("Select * from Monete") + " where moneta = " + T("euro")), 1); }},
        {"stock of an article", [&] {
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select sum(QtaIniziale) As SumQtaIniziale") + ", sum(QtaCarico) As SumQtaCarico" +
                                           ", sum(QtaSCarico) As SumQtaSCarico" + ", sum(QtaOrdFor) As SumQtaOrdFor" +
                                           ", sum(QtaImpCli) As SumQtaImpCli" + " from ArticoliProg" + " Where Anno = " + I(2024) +
                                           " and Articolo = " + T(suite::articleCode(1)) + " and Magazzino = " +
                                           T(suite::fx::kWarehouse) + " and Livello1 = " + T(suite::fx::kNoLevel) +
                                           " and Livello2 = " + T(suite::fx::kNoLevel));
             EXPECT_GT(rs.LeggiCampo(a, u"SumQtaIniziale").toDouble(), 0.0);
             EXPECT_EQ(rs.LeggiCampo(a, u"SUMQTASCARICO").type(), Variant::Type::Double);
             // no row: Null sums
             const QString b = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select sum(QtaIniziale) As SumQtaIniziale from ArticoliProg Where Anno = ") +
                                           I(1999));
             EXPECT_TRUE(rs.ValoreCampo(b, u"SumQtaIniziale").isNull());
             EXPECT_EQ(rs.LeggiCampo(b, u"SumQtaIniziale").toDouble(), 0.0);
         }},
        {"price-list validity chain", [&] {
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("SELECT ArtListini.* FROM ArtListini WHERE") + " Articolo = " +
                                           T(suite::articleCode(2)) + " and Livello1 = " + T(suite::fx::kNoLevel) +
                                           " and Livello2 = " + T(suite::fx::kNoLevel) + " and Listino = " + T("L1") +
                                           " order by DataInizio",
                                       false, dbOpenDynaset);
             ASSERT_EQ(rs.RecordCount(a), 1);
             const Variant inizio = rs.LeggiCampo(a, u"DataInizio");
             rs.FindFirst(a, QStringLiteral("datainizio = ") + SqlValore(inizio, 7));
             EXPECT_FALSE(rs.NoMatch(a));
             rs.Edit(a);
             rs.ScriviCampo(a, u"DataFine", Variant(Date::fromYmd(9999, 12, 31)));
             rs.Update(a);
         }},
        {"VAT register", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select * from LibriIva") + " Where Anno = " + I(2024) + " And TipoReg = " + T("V") +
                            " And Pref = " + T("A")),
                       apri(QStringLiteral("Select * from LibriIva") + " Where Anno = " + I(2024) + " And TipoReg = " + T("v") +
                            " And Pref = " + T("a")));
         }},
        {"record lock: find, add, duplicate", [&] {
             const QString sql = QStringLiteral("Select * from LockGest") + " Where Tipo = " + T("O") + " AND Anno = " + I(2024) +
                                 " AND NumReg = " + L(3);
             const QString a = rs.Apri(db, conn, QString(), sql, false, dbOpenDynaset);
             EXPECT_TRUE(rs.NessunRecord(a));
             rs.AddNew(a);
             rs.ScriviCampo(a, u"Tipo", Variant("O"));
             rs.ScriviCampo(a, u"Anno", Variant(static_cast<int16_t>(2024)));
             rs.ScriviCampo(a, u"NumReg", Variant(3));
             rs.ScriviCampo(a, u"Utente", Variant(kUtente));
             rs.Update(a);
             const QString b = rs.Apri(db, conn, QString(), sql.toLower().replace(QLatin1String("'o'"), QLatin1String("'O'")),
                                       false, dbOpenDynaset);
             EXPECT_EQ(rs.RecordCount(b), 1);
             rs.AddNew(b);
             rs.ScriviCampo(b, u"Tipo", Variant("o"));
             rs.ScriviCampo(b, u"Anno", Variant(static_cast<int16_t>(2024)));
             rs.ScriviCampo(b, u"NumReg", Variant(3));
             EXPECT_EQ(numeroErrore([&] { rs.Update(b); }), ErrDb::ChiaveDuplicata);
         }},
        {"next number, every shape", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select top 1 ") + "NumRif" + " from " + "OrdVenTest" + " where anno = " + I(2024) +
                            " order by " + "NumRif" + " DESC"),
                       1);
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select top 1 ") + "NumRif" + " from " + "OrdVenTest" + " where anno " + "<" +
                                           I(2025) + " order by " + "NumRif" + " DESC");
             EXPECT_EQ(rs.LeggiCampo(a, u"NumRif").toLong(), 20);
             EXPECT_EQ(apri(QStringLiteral("Select top 1 ") + "NumReg" + " from " + "MovMagTes" + " where anno " + ">=" + I(2024) +
                            " order by " + "NumReg" + " DESC"),
                       0);
             EXPECT_EQ(apri(QStringLiteral("Select top 1 ") + "NumRif" + " from " + "FatTest" + " order by NumRif DESC"), 0);
         }},
        {"decode with the inactive-article rule", [&] {
             EXPECT_EQ(apri(QStringLiteral("SELECT Articolo, Descrizione FROM Articoli WHERE Articolo = ") + T(suite::articleCode(40)) +
                            " And " + " (ucase(Inattivo)<>'S') "),
                       0);
             EXPECT_EQ(apri(QStringLiteral("SELECT Articolo, Descrizione FROM Articoli WHERE Articolo = ") + T(suite::articleCode(1)) +
                            " And " + " (ucase(Inattivo)<>'S') "),
                       1);
         }},
        {"documents in progress: check, register, walk, delete", [&] {
             const QString sql = QStringLiteral("Select * from DocDaElab") + " Where Utente = " + T(kUtente) + " AND Programma = " +
                                 T(programma) + " AND Anno = " + I(2024);
             const QString a = rs.Apri(db, conn, QStringLiteral("DocDaElab"), sql, false, dbOpenDynaset);
             EXPECT_TRUE(rs.NessunRecord(a));
             for (int n : {1, 2}) {
                 rs.AddNew(a);
                 rs.ScriviCampo(a, u"Utente", Variant(kUtente));
                 rs.ScriviCampo(a, u"Programma", Variant(programma));
                 rs.ScriviCampo(a, u"Anno", Variant(static_cast<int16_t>(2024)));
                 rs.ScriviCampo(a, u"NumReg", Variant(n));
                 rs.ScriviCampo(a, u"DataOraEvas", UtilGenerali::ConvertiTipo(Variant(Date::now()), 7));
                 rs.ScriviCampo(a, u"Comando", Variant("C"));
                 rs.Update(a);
             }
             EXPECT_EQ(rs.RecordCount(a), 2);
             rs.MoveFirst(a);
             while (!rs.Eof(a)) {
                 EXPECT_GT(rs.LeggiCampo(a, u"DocDaElab.NumReg").toLong(), 0);
                 rs.Delete(a);
                 rs.MoveNext(a);
             }
             EXPECT_EQ(conta(QStringLiteral("DocDaElab")), 0);
         }},
        {"expenses staged for an automatic run", [&] {
             esegui(QStringLiteral("Delete * from OrdVenEvaSpese ") + " WHERE OrdVenEvaSpese.Anno=" + I(2024) +
                    " AND OrdVenEvaSpese.NumRif=" + L(3));
             esegui(QStringLiteral("INSERT INTO OrdVenEvaSpese (") + " Utente, Anno, NumRif,Riga,Selez)" + " SELECT " + T(kUtente) +
                    " AS MioUtente," + "OrdVenSpese.Anno, OrdVenSpese.NumRif, OrdVenSpese.Riga," + "'S' as MioSelez" +
                    " FROM OrdVenSpese" + " WHERE OrdVenSpese.Anno=" + I(2024) + " AND OrdVenSpese.NumRif=" + L(3));
             EXPECT_EQ(conta("OrdVenEvaSpese WHERE NumRif = 3"), conta("OrdVenSpese WHERE NumRif = 3"));
         }},
        {"order state after a run", [&] {
             EXPECT_GE(apri(QStringLiteral("Select OrdVenDett.*") + " from OrdVenDett" + " Where OrdVenDett.Anno = " + I(2024) +
                            " AND OrdVenDett.NumRif = " + L(4) + " AND (OrdVenDett.TipoRiga= " + T("A") +
                            " OR OrdVenDett.TipoRiga= " + T("M") + ")" + " AND (OrdVenDett.StatoRiga<>" + T("E") +
                            " OR OrdVenDett.StatoRiga is NULL)"),
                       1);
         }},
        {"recovery read-back of a document", [&] {
             EXPECT_EQ(apri(QStringLiteral("select * from ") + "FatTest" + " Where " + "FatTest" + ".Anno = " + I(2024) + " and " +
                            "FatTest" + ".NumRif = " + L(1),
                            dbOpenDynaset),
                       0);
         }},
    });
}

// ------------------------------------------------------------------ documents and lines

TEST_P(Istruzioni, DocumentsAndLines)
{
    const auto cerca = [&](const QString &tabella, bool ind, bool split, bool lingua, bool ritenuta, bool fattura, int ragOrd,
                           bool dicIntenti) {
        QString s = QStringLiteral("select top 1 * from ") + tabella + " Where" + " (" + tabella + ".Stato = " + T("") + " or " +
                    tabella + ".Stato is null)" + " AND DataRif =" + D(2024, 3, 1) + " and Anno =" + I(2024) +
                    " and FattDocumento =" + T(suite::fx::kDdtType);
        if (ind) s += QStringLiteral(" AND IndSped =") + T("001");
        else s += QStringLiteral(" AND RagSoc =") + T("Cliente 0001") + " AND IndirizzoSped =" + T("Via Roma 1") + " AND isnull(IndSped)";
        s += QStringLiteral(" AND GruppoCli =") + T("14") + " AND MastroCli =" + T("01") + " AND ContoCli =" + T("0001") +
             " AND RagOrd =" + T(ragOrd == 0 ? "S" : ragOrd == 1 ? "C" : "O") + " AND MagazzProv =" + T("01");
        s += split ? QStringLiteral(" AND IvaSosp='N'") : QStringLiteral(" AND IvaSosp=") + T("N");
        s += QStringLiteral(" AND Iva=") + T("") + " AND Pagamento=" + T("RD") + " AND PrezziIvati=" + T("N") + " AND ScontoPag=" +
             T("") + " AND Banca=" + T("") + " AND Vettore=" + T("") + " AND Resa=" + T("FRA") + " AND Agente1=" + T("AG01") +
             " AND Agente2=" + T("") + " AND Moneta=" + T("Euro") + " AND Cambio=" + F(1936.27) + " AND Provenienza = " + T("O");
        s += lingua ? QStringLiteral(" AND (Lingua is null OR Lingua =") + T("") + ") " : QStringLiteral(" AND Lingua=") + T("IT");
        s += ritenuta ? QStringLiteral(" AND (PercRitAcc=") + F(0.0) + " OR isnull(PercRitAcc))"
                      : QStringLiteral(" AND PercRitAcc=") + F(20.0);
        if (ragOrd == 1) s += QStringLiteral(" AND Contratto=") + T("C0001");
        if (ragOrd == 2) s += QStringLiteral(" AND OrdAnno=") + I(2024) + " AND OrdNumRif=" + L(1);
        s += QStringLiteral(" AND CIG=") + T("") + " AND CUP=" + T("") + " AND ScoPagSuDett=" + T("N");
        if (fattura) s += QStringLiteral(" AND Riepilogativa = 'N'");
        s += dicIntenti ? QStringLiteral(" AND PdcDicIntenti=") + I(1) : QStringLiteral(" AND PdcDicIntenti is null");
        return s;
    };
    tutte({
        {"open header search, every shape", [&] {
             for (int ragOrd : {0, 1, 2})
                 for (bool v : {false, true}) {
                     EXPECT_EQ(apri(cerca(QStringLiteral("FatTest"), v, v, v, v, v, ragOrd, v), dbOpenDynaset), 0);
                     EXPECT_EQ(apri(cerca(QStringLiteral("DdtTest"), !v, v, !v, v, false, ragOrd, !v), dbOpenDynaset), 0);
                 }
             EXPECT_EQ(apri(QStringLiteral("select * from ") + "DdtTest" + " where 1=2", dbOpenDynaset), 0);
         }},
        {"a new header found by the search it was written for", [&] {
             const QString a = rs.Apri(db, conn, QString(), QStringLiteral("select * from DdtTest where 1=2"), false, dbOpenDynaset);
             rs.AddNew(a);
             const std::vector<std::pair<const char16_t *, Variant>> campi = {
                 {u"Anno", Variant(static_cast<int16_t>(2024))}, {u"NumRif", Variant(1)}, {u"DataRif", Variant(Date::fromYmd(2024, 3, 1))},
                 {u"Stato", Variant("")}, {u"FattDocumento", Variant(suite::fx::kDdtType)}, {u"RagSoc", Variant("Cliente 0001")},
                 {u"IndirizzoSped", Variant("Via Roma 1")}, {u"IndSped", Variant::null()}, {u"GruppoCli", Variant("14")},
                 {u"MastroCli", Variant("01")}, {u"ContoCli", Variant("0001")}, {u"RagOrd", Variant("S")},
                 {u"MagazzProv", Variant("01")}, {u"IvaSosp", Variant("N")}, {u"Iva", Variant("")}, {u"Pagamento", Variant("RD")},
                 {u"PrezziIvati", Variant("N")}, {u"ScontoPag", Variant("")}, {u"Banca", Variant("")}, {u"Vettore", Variant("")},
                 {u"Resa", Variant("FRA")}, {u"Agente1", Variant("AG01")}, {u"Agente2", Variant("")}, {u"Moneta", Variant("Euro")},
                 {u"Cambio", Variant(1936.27)}, {u"Provenienza", Variant("O")}, {u"Lingua", Variant("")},
                 {u"PercRitAcc", Variant::null()}, {u"CIG", Variant("")}, {u"CUP", Variant("")}, {u"ScoPagSuDett", Variant("N")},
                 {u"PdcDicIntenti", Variant::null()}};
             for (const auto &[campo, valore] : campi) rs.ScriviCampo(a, QStringView(campo), valore);
             rs.Update(a);
             rs.VaiUltimoModificato(a);
             EXPECT_EQ(rs.LeggiCampo(a, u"NumRif").toLong(), 1);
             EXPECT_EQ(apri(cerca(QStringLiteral("DdtTest"), false, true, true, true, false, 0, false), dbOpenDynaset), 1);
             // a copied header answers the order's field names too
             EXPECT_EQ(rs.LeggiCampo(a, u"OrdVenTest.Moneta").toString(), QStringLiteral("Euro"));
         }},
        {"e-invoice stamp row", [&] {
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select * from FatTestFe") + " Where Anno = " + I(2024) + " And NumRif = " + L(1),
                                       false, dbOpenDynaset);
             if (rs.NessunRecord(a)) {
                 rs.AddNew(a);
                 rs.ScriviCampo(a, u"Anno", UtilGenerali::ValoreNonNullo(Variant(static_cast<int16_t>(2024)), true, true));
                 rs.ScriviCampo(a, u"NumRif", Variant(UtilGenerali::ValoreLong(Variant(1))));
             } else {
                 rs.Edit(a);
             }
             rs.ScriviCampo(a, u"FENumeroBollo", Variant("SI"));
             rs.ScriviCampo(a, u"FEImportoBollo", Variant(2.0));
             rs.Update(a);
         }},
        {"expenses of the order into the document", [&] {
             EXPECT_GE(apri(QStringLiteral("Select OrdVenEvaSpese.Selez,OrdVenSpese.*, Spese.*") +
                            " from (OrdVenEvaSpese left join OrdVenSpese " + " on OrdVenEvaSpese.Anno = OrdVenSpese.Anno" +
                            " and OrdVenEvaSpese.NumRif = OrdVenSpese.NumRif" + " and OrdVenEvaSpese.Riga = OrdVenSpese.Riga)" +
                            " left join Spese" + " on OrdVenSpese.Spesa = Spese.Spesa" + " Where OrdVenSpese.Anno = " + I(2024) +
                            " AND OrdVenSpese.NumRif = " + L(3) + " AND OrdVenEvaSpese.Utente = " + T(kUtente) +
                            " AND OrdVenEvaSpese.Selez = " + T("S") + " Order by OrdVenSpese.Riga"),
                       0);
             EXPECT_EQ(apri(QStringLiteral("Select * from ") + "DdtSpese" + " Where Anno = " + I(2024) + " and NumRif = " + L(1) +
                                " and Spesa = " + T("TRA"),
                            dbOpenDynaset),
                       0);
             EXPECT_EQ(apri(QStringLiteral("Select * from ") + "DdtSpese" + " Where 0=1", dbOpenDynaset), 0);
             EXPECT_EQ(apri(QStringLiteral("Select top 1 * from ") + "DdtSpese" + " where anno = " + I(2024) + " AND NumRif = " +
                            L(1) + " order by Riga DESC"),
                       0);
             EXPECT_EQ(apri(QStringLiteral("Select top 1 * from ") + "DdtDett" + " where anno = " + I(2024) + " AND NumRif = " +
                            L(1) + " order by RigDet DESC"),
                       0);
         }},
        {"closing: header read with and without the account", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select ") + "FatTest" + ".*" + " From " + "FatTest" + " where anno = " + I(2024) +
                                " AND NumRif = " + L(1),
                            dbOpenDynaset),
                       0);
             const QString t = QStringLiteral("DdtTest");
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select ") + t + ".*" + ",Pianoconti.Bolli" + " From " + t + " Left Join Pianoconti" +
                                           " On " + t + ".GruppoCli = Pianoconti.Gruppo" + " And " + t +
                                           ".MastroCli = Pianoconti.Mastro" + " And " + t + ".ContoCli = Pianoconti.Conto" +
                                           " where anno = " + I(2024) + " AND NumRif = " + L(1),
                                       false, dbOpenDynaset);
             ASSERT_EQ(rs.RecordCount(a), 1);
             rs.Edit(a);
             rs.ScriviCampo(a, u"TotMerce", Variant(Currency::fromUnits(1234500)));
             rs.ScriviCampo(a, u"TotDocum", Variant(Currency::fromUnits(1506090)));
             rs.Update(a);
             EXPECT_EQ(scalare("SELECT TotDocum FROM DdtTest WHERE NumRif = 1").toCurrency(), Currency::fromUnits(1506090));
         }},
        {"document lines: empty set, provenance, WEEE link", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select * from ") + "DdtDett" + " Where 0=1", dbOpenDynaset), 0);
             EXPECT_EQ(apri(QStringLiteral("Select * from ") + "DdtLiv" + " Where 0=1", dbOpenDynaset), 0);
             const QString l = QStringLiteral("DdtDett");
             EXPECT_EQ(apri(QStringLiteral("SELECT ") + l + ".*" + " From " + l + " WHERE" + " " + l + ".TipoProv=" + T("O") +
                                " AND " + l + ".AnnoRifProv=" + I(2024) + " AND " + l + ".NumRifProv=" + L(1) + " AND " + l +
                                ".RigaRifProv=" + L(1) + " ORDER BY " + l + ".RigLiv",
                            dbOpenDynaset),
                       0);
             esegui(QStringLiteral("update ") + "DdtDett" + " Set RigLivRAEE = " + L(3) + " WHERE Anno =" + I(2024) +
                    " AND NumRif = " + L(1) + " AND RigLiv = " + L(2));
         }},
        {"order levels: open levels of a line, marks cleared", [&] {
             EXPECT_GE(apri(QStringLiteral("SELECT *") + " From OrdVenLiv" + " WHERE" + " OrdVenLiv.Anno=" + I(2024) +
                                " AND OrdVenLiv.NumRif=" + L(5) + " AND OrdVenLiv.RigLiv=" + L(1) + " AND (Ordvenliv.StatoRiga<>" +
                                T("E") + " OR Ordvenliv.StatoRiga Is Null)",
                            dbOpenDynaset),
                       0);
             esegui(QStringLiteral("update OrdVenLiv") + " Set OrdVenLiv.FlagStato = " + T("0") + " WHERE" + " OrdVenLiv.Anno=" +
                    I(2024) + " AND OrdVenLiv.NumRif=" + L(5) + " AND OrdVenLiv.RigLiv=" + L(1));
         }},
        {"cash sale: movement rows", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select * from MovMagDettApp where Anno = -1"), dbOpenDynaset), 0);
             EXPECT_EQ(apri(QStringLiteral("Select * from MovMagLivApp where Anno = -1"), dbOpenDynaset), 0);
             EXPECT_EQ(apri(QStringLiteral("SELECT MovMagDettApp.*") + " From MovMagDettApp" + " WHERE" + " MovMagDettApp.TipoProv=" +
                                T("O") + " AND MovMagDettApp.AnnoRifProv=" + I(2024) + " AND MovMagDettApp.NumRifProv=" + L(1) +
                                " AND MovMagDettApp.RigaRifProv=" + L(1) + " ORDER BY MovMagDettApp.RigLiv",
                            dbOpenDynaset),
                       0);
         }},
    });
}

// ------------------------------------------------------------------ totals and stock posting

TEST_P(Istruzioni, TotalsAndPosting)
{
    const QString t = QStringLiteral("FatTest"), d = QStringLiteral("OrdVenDett"), l = QStringLiteral("OrdVenLiv"),
                  s = QStringLiteral("OrdVenSpese");
    tutte({
        {"footer: header query", [&] {
             const QString q = QStringLiteral("SELECT") + " " + t + ".Acconto" + ", " + t + ".ScoPagSuDett" + ", " + t + ".Abbuono" +
                               ", " + t + ".Bolli" + ", " + t + ".DataRif" + ", " + t + ".GruppoCli" + ", " + t + ".MastroCli" +
                               ", " + t + ".ContoCli" + ", " + t + ".PercRitAcc" + ", " + t + ".Peso" + ", " + t + ".Moneta" + ", " + t +
                               ".Pagamento" + ", " + t + ".PrezziIvati" + ", " + t + ".ScontoPag" +
                               ", FattDocumenti.RegimeMargine, FattDocumenti.Segno, FattDocumenti.FattDocumento" + ", Monete.NumDec" +
                               ", PagTipi.TipoEffetto, PagTipi.AddBolli, Pagamenti.NumScad" + ", TabIva.TipoIva" +
                               ", Stati.Cee,Stati.Iso" + " FROM" + " ((((((" + t + " " + " LEFT JOIN Monete ON " + t +
                               ".Moneta = Monete.Moneta)" + " LEFT JOIN FattDocumenti ON " + t +
                               ".FattDocumento = FattDocumenti.FattDocumento)" + " LEFT JOIN Pagamenti ON " + t +
                               ".Pagamento = Pagamenti.Pagamento)" + " LEFT JOIN PagTipi ON Pagamenti.PagTipo = PagTipi.PagTipo)" +
                               " LEFT JOIN TabIva ON " + t + ".Iva = TabIva.Iva)" + " LEFT JOIN PianoConti" + " ON " + t +
                               ".GruppoCli = PianoConti.Gruppo" + " AND " + t + ".MastroCli = PianoConti.Mastro" + " AND " + t +
                               ".ContoCli = PianoConti.Conto)" + " LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato" + " Where" +
                               " " + t + ".NumRif = " + L(1) + " And " + t + ".Anno = " + I(2024);
             EXPECT_EQ(apri(q), 0);
             // the same on an order header, whose rows exist: fields read under the table's name
             QString o = q;
             o.replace(QLatin1String("FatTest.Abbuono, FatTest.Bolli, "), QString()).replace(QLatin1String("FatTest.Peso, "), QString());
             o.replace(t, QStringLiteral("OrdVenTest"));
             const QString a = rs.Apri(db, conn, QString(), o);
             ASSERT_EQ(rs.RecordCount(a), 1);
             EXPECT_EQ(rs.LeggiCampo(a, u"OrdVenTest.Moneta").toString(), suite::fx::kEuro);
             EXPECT_EQ(rs.LeggiCampo(a, u"OrdVenTest.Abbuono", 5).toDouble(), 0.0); // not selected: 0, no error
             EXPECT_EQ(rs.LeggiCampo(a, u"FattDocumenti.FattDocumento").toString(),
                       scalare(QStringLiteral("SELECT FattDocumento FROM OrdVenTest WHERE Anno = 2024 AND NumRif = 1")).toString());
         }},
        {"footer: lines, level and plain forms, with and without deposits", [&] {
             for (bool g : {false, true}) {
                 const QString livelli = QStringLiteral("SELECT") + " " + d + ".* " + "," + d + ".gruppoven & " + d + ".MastroVen & " +
                                         d + ".contoVen AS Conto" + "," + l + ".* " + ",TabIva.*" +
                                         (g ? QStringLiteral(",Articoli.Cauzione as ArtCauzione") : QStringLiteral(",'N' as ArtCauzione")) +
                                         " FROM " + (g ? "(" : "") + "(" + d + "  " + " LEFT JOIN TabIva ON " + d + ".Iva = TabIva.Iva)" +
                                         " LEFT JOIN " + l + " ON " + d + ".RigLiv = " + l + ".RigLiv" + " AND " + d + ".NumRif = " + l +
                                         ".NumRif" + " AND " + d + ".Anno = " + l + ".Anno" +
                                         (g ? QStringLiteral(") LEFT JOIN Articoli ON ") + d + ".Articolo = Articoli.Articolo" : QString()) +
                                         " Where" + " " + d + ".NumRif = " + L(5) + " And " + d + ".Anno = " + I(2024) + " and (" + d +
                                         ".TipoRiga = " + T("M") + " or " + d + ".TipoRiga = " + T("A") + ")" + " order by " + d +
                                         ".Iva," + d + ".gruppoven & " + d + ".MastroVen & " + d + ".contoVen," + d + ".RigDet";
                 const QString a = rs.Apri(db, conn, QString(), livelli);
                 EXPECT_GT(rs.RecordCount(a), 0);
                 EXPECT_EQ(rs.LeggiCampo(a, u"ArtCauzione").toString().isNull(), false);
                 EXPECT_EQ(numeroErrore([&] { rs.LeggiCampo(a, u"Qta"); }), ErrDb::ElementoNonTrovato);
                 rs.LeggiCampo(a, u"OrdVenLiv.Qta");
                 const QString piana = QStringLiteral("SELECT") + " " + d + ".*" + "," + d + ".gruppoven & " + d + ".MastroVen & " + d +
                                       ".contoVen AS Conto" + ",TabIva.*" +
                                       (g ? QStringLiteral(",Articoli.Cauzione as ArtCauzione") : QStringLiteral(",'N' as ArtCauzione")) +
                                       " FROM " + (g ? "(" : "") + d + " LEFT JOIN TabIva ON " + d + ".Iva = TabIva.Iva" +
                                       (g ? QStringLiteral(") LEFT JOIN Articoli ON ") + d + ".Articolo = Articoli.Articolo" : QString()) +
                                       " Where" + " " + d + ".NumRif = " + L(5) + " And " + d + ".Anno = " + I(2024) + " order by " + d +
                                       ".Iva," + d + ".gruppoven & " + d + ".MastroVen & " + d + ".contoVen," + d + ".RigDet";
                 EXPECT_GT(apri(piana), 0);
             }
         }},
        {"footer: expenses and stamps", [&] {
             EXPECT_GE(apri(QStringLiteral("SELECT") + " " + s + ".*" + ",TabIva.*" + ",Spese.*" + " FROM" + " (" + s +
                            " LEFT JOIN TabIva ON " + s + ".Iva = TabIva.Iva)" + " LEFT JOIN Spese ON " + s + ".Spesa = Spese.Spesa" +
                            " Where" + " " + s + ".Anno = " + I(2024) + " And " + s + ".NumRif = " + L(3) + " Order BY" + " " + s +
                            ".Iva" + " ,spese.gruppo & spese.Mastro & spese.conto"),
                       0);
             const QString b = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select TaBolli.* , Tabiva.*") +
                                           " FROM TaBolli left join Tabiva on TaBolli.CodEseBollo = TabIva.Iva");
             EXPECT_EQ(rs.RecordCount(b), 1);
         }},
        {"committed quantities and bills of materials", [&] {
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select * from ArticoliProg") + " where" + " Anno>=" + I(2024) + " And Magazzino=" +
                                           T(suite::fx::kWarehouse) + " And Articolo=" + T(suite::articleCode(1)) + " And Livello1=" +
                                           T(suite::fx::kNoLevel) + " And Livello2=" + T(suite::fx::kNoLevel),
                                       false, dbOpenDynaset);
             ASSERT_EQ(rs.RecordCount(a), 1);
             rs.Edit(a);
             rs.ScriviCampo(a, u"QtaImpCli", Variant(rs.LeggiCampo(a, u"QtaImpCli").toDouble() - 1.0));
             rs.Update(a);
             EXPECT_EQ(apri(QStringLiteral("Select ArtLegami.*, Articoli.* from ArtLegami") + " Left Join Articoli" +
                            " On ArtLegami.ArticoloFiglio = Articoli.Articolo" + " Where ArticoloPadre = " + T(suite::articleCode(1))),
                       0);
             EXPECT_GE(apri(QStringLiteral("Select * from ArticoliProg") + " where Anno>=" + I(2024) + " And Magazzino=" +
                                T(suite::fx::kWarehouse) + " And Articolo=" + T(suite::articleCode(5)),
                            dbOpenDynaset),
                       1);
         }},
        {"movement: header with causal, old rows, work rows", [&] {
             for (const char *tab : {"MovMagDett", "MovMagLiv", "MovMagMatr", "MovMagRintraccia"})
                 esegui(QStringLiteral("Delete from ") + QLatin1String(tab) + " Where anno = " + I(2024) + " And numreg = " + L(1));
             esegui(QStringLiteral("Delete from ") + "MovMagLivApp" + " Where Anno = " + I(2024) + " AND NumReg = " + L(1) +
                    " AND RigLiv = " + L(2));
             EXPECT_EQ(apri(QStringLiteral("Select * from ") + "MovMagMatrApp" + " Where Anno = " + I(2024) + " AND NumReg = " + L(1)),
                       0);
             EXPECT_EQ(apri(QStringLiteral("Select MovMagTes.*,MagCausali.* from ") + " MovMagTes INNER JOIN MagCausali" +
                                " ON MovMagTes.MagCausale = MagCausali.MagCausale" + " Where MovMagTes.anno = " + I(2024) +
                                " And MovMagTes.numreg = " + L(1),
                            dbOpenDynaset),
                       0);
             const QString dd = QStringLiteral("MovMagDettApp"), ll = QStringLiteral("MovMagLivApp");
             const QString coda = QStringLiteral(", Articoli.LivGruppo1, Articoli.ArtMag, Articoli.FlagLivLis") +
                                  ", Articoli.GruppoForAb, Articoli.MastroForAb, Articoli.ContoForAb" + " from ";
             EXPECT_EQ(apri(QStringLiteral("Select ") + dd + ".*" + coda + " " + dd + " Inner Join Articoli" + " ON (" + dd +
                                ".Articolo = Articoli.Articolo)" + " Where " + dd + ".Anno = " + I(2024) + " AND " + dd +
                                ".NumReg = " + L(1) + " AND " + dd + ".FlagStato = " + T("0"),
                            dbOpenDynaset),
                       0);
             EXPECT_EQ(apri(QStringLiteral("Select ") + ll + ".*, " + dd + ".Articolo" + ", " + dd + ".ListDaAgg" + ", " + dd +
                                ".ListDaAggClie" + coda + " (" + ll + " Inner Join " + dd + " ON (" + dd + ".NumReg = " + ll +
                                ".NumReg)" + " AND (" + dd + ".Anno = " + ll + ".Anno)" + " AND (" + dd + ".RigLiv = " + ll +
                                ".RigLiv)" + ") Inner Join Articoli" + " ON (" + dd + ".Articolo = Articoli.Articolo)" + " Where " +
                                dd + ".Anno = " + I(2024) + " AND " + dd + ".NumReg = " + L(1),
                            dbOpenDynaset),
                       0);
             EXPECT_EQ(apri(QStringLiteral("Select ") + "MovMagDett" + ".* from" + " " + "MovMagDett" + " Where " + "MovMagDett" +
                                ".Anno = -1",
                            dbOpenDynaset),
                       0);
             EXPECT_EQ(apri(QStringLiteral("Select ") + "MovMagLiv" + ".* from " + " " + "MovMagLiv" + " Where " + "MovMagLiv" +
                                ".Anno = -1",
                            dbOpenDynaset),
                       0);
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select sum(Qta) as TotQta") + ", Sum(ValTotale) as TotVal" + " From MovMagDett" +
                                           "App" + " Where Anno = " + I(2024) + " And NumReg = " + L(1));
             EXPECT_EQ(rs.LeggiCampo(a, u"TotVal").toDouble(), 0.0);
         }},
        {"costs and progressives of a row", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select * from ArticoliCosti") + " Where Anno = " + I(2024) + " And Articolo = " +
                                T(suite::articleCode(1)) + " And Livello1 = " + T(suite::fx::kNoLevel) + " And Livello2 = " +
                                T(suite::fx::kNoLevel),
                            dbOpenDynaset),
                       apri(QStringLiteral("Select * from ArticoliCosti") + " Where Anno = " + I(2024) + " And Articolo = " +
                                T(suite::articleCode(1).toLower()) + " And Livello1 = " + T(suite::fx::kNoLevel) + " And Livello2 = " +
                                T(suite::fx::kNoLevel)));
             EXPECT_EQ(apri(QStringLiteral("Select * from ArticoliProg") + " Where Anno = " + I(2024) + " And Magazzino = " +
                                T(suite::fx::kWarehouse) + " And Articolo = " + T(suite::articleCode(1)) + " And Livello1 = " +
                                T(suite::fx::kNoLevel) + " And Livello2 = " + T(suite::fx::kNoLevel),
                            dbOpenDynaset),
                       1);
         }},
    });
}

// ------------------------------------------------------------------ charges, schedule, manual picking

TEST_P(Istruzioni, ChargesScheduleAndPicking)
{
    const suite::Account c = suite::customerAccount(1);
    tutte({
        {"price lists from the cost", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select top 1 ArtListini.* from ArtListini") + " Where Articolo = " + T(suite::articleCode(1)) +
                                " AND ArtListini.Listino = " + T("L1") + " AND Livello1 = " + T(suite::fx::kNoLevel) +
                                " AND Livello2 = " + T(suite::fx::kNoLevel) + " AND DataInizio <= " + D(2024, 6, 1) +
                                " ORDER BY DataInizio Desc",
                            dbOpenDynaset),
                       1);
             EXPECT_EQ(apri(QStringLiteral("SELECT Monete.NumDecGest, Monete.Moneta, Listini.Ivato") +
                            " FROM Listini INNER JOIN Monete ON Listini.Moneta = Monete.Moneta" + " Where Listini.Listino = " + T("l2")),
                       1);
             EXPECT_EQ(apri(QStringLiteral("SELECT Articoli.Maggior, TabIva.Aliquota") +
                            " FROM Articoli INNER JOIN TabIva ON Articoli.IvaVendite = TabIva.Iva" + " Where Articolo = " +
                            T(suite::articleCode(1))),
                       1);
             EXPECT_EQ(apri(QStringLiteral("SELECT PianoConti.PercRicListClie From PianoConti") + " WHERE PianoConti.Gruppo = " +
                            T(c.gruppo) + " AND PianoConti.Mastro = " + T(c.mastro) + " AND PianoConti.Conto = " + T(c.conto)),
                       1);
             EXPECT_EQ(apri(QStringLiteral("Select * from ArticoliFor") + " Where Articolo = " + T(suite::articleCode(1)) +
                                " And Livello1 = " + T(suite::fx::kNoLevel) + " And Livello2 = " + T(suite::fx::kNoLevel) +
                                " And GruppoFor = " + T("20") + " And MastroFor = " + T("01") + " And ContoFor = " + T("0001"),
                            dbOpenDynaset),
                       0);
         }},
        {"issue values of level rows", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select MovMagDett.Articolo, MovMagDett.NumReg, MovMagDett.RigLiv,MovMagDett.ValScaricoLire,"
                                           "MovMagDett.ValScarico") +
                                " FROM (MovMagDett INNER JOIN Articoli" + " ON MovMagDett.Articolo = Articoli.Articolo)" +
                                " INNER JOIN MovMagTes" + " ON MovMagDett.NumReg = MovMagTes.NumReg" +
                                " AND MovMagDett.Anno = MovMagTes.Anno" + " Where MovMagDett.Anno = " + I(2024) +
                                " AND Articoli.LivGruppo1 Is Not Null" + " AND MovMagDett.Articolo >= " + T(suite::articleCode(1)),
                            dbOpenDynaset),
                       0);
             esegui(QStringLiteral("INSERT INTO MovMagLiv (Anno, NumReg, RigLiv, Livello1, Livello2, QtaAggMag, ValScarico, "
                                   "ValScaricoLire) VALUES (2024, 1, 1, 'S', 'ROSSO', 2, 3.5, 6777)"));
             esegui(QStringLiteral("INSERT INTO MovMagLiv (Anno, NumReg, RigLiv, Livello1, Livello2, QtaAggMag, ValScarico, "
                                   "ValScaricoLire) VALUES (2024, 1, 1, 'M', 'ROSSO', 0, 1.25, NULL)"));
             const QString a = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select sum(iif (QtaAggMag > 0,ValScaricoLire * QtaAggMag,ValScaricoLire)) as CostoLire") +
                                           ", sum(iif (QtaAggMag > 0,ValScarico * QtaAggMag,ValScarico)) as Costo " +
                                           ", sum(QtaAggMag) as QtaTot " + " from MovMagLiv" + " Where Anno = " + I(2024) +
                                           " AND NumReg = " + L(1) + " AND RigLiv = " + L(1));
             EXPECT_DOUBLE_EQ(rs.LeggiCampo(a, u"Costo", 7).toDouble(), 8.25);
             EXPECT_DOUBLE_EQ(rs.LeggiCampo(a, u"CostoLire", 7).toDouble(), 13554.0);
             EXPECT_DOUBLE_EQ(rs.LeggiCampo(a, u"QtaTot", 7).toDouble(), 2.0);
         }},
        {"movement header numbering probe", [&] {
             const QString sql = QStringLiteral("select * from MovMagTes where") + " anno = " + I(2024) + " and NumReg = " + L(1);
             const QString a = rs.Apri(db, conn, QStringLiteral("Probe"), sql, false, dbOpenDynaset);
             EXPECT_TRUE(rs.NessunRecord(a));
             rs.Riapri(a, QStringLiteral("select * from MovMagTes where") + " anno = " + I(2024) + " and NumReg = " + L(2));
             EXPECT_TRUE(rs.NessunRecord(a));
         }},
        {"bank charges and stamps of a new invoice", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select PianoConti.SpeseBan from PianoConti") + " where Gruppo = " + T(c.gruppo) +
                            " and Mastro = " + T(c.mastro) + " and Conto = " + T(c.conto)),
                       1);
             EXPECT_EQ(apri(QStringLiteral("Select PianoConti.Bolli from PianoConti") + " where Gruppo = " + T(c.gruppo) +
                            " and Mastro = " + T(c.mastro) + " and Conto = " + T(c.conto)),
                       1);
             EXPECT_EQ(apri(QStringLiteral("Select Pagamenti.*,Spese.*") + " from Pagamenti left join Spese" +
                            " on Pagamenti.Spesa = Spese.Spesa" + " where Pagamento = " + T("RB306090")),
                       1);
             EXPECT_EQ(apri(QStringLiteral("Select TOP 1 * from ") + "FatSpese" + " where anno = " + I(2024) + " AND NumRif = " +
                                L(1) + " AND Spesa = " + T("INC"),
                            dbOpenDynaset),
                       0);
             const QString a = rs.Apri(db, conn, QString(), QStringLiteral("Select * from ") + "FatSpese" + " where false", false,
                                       dbOpenDynaset);
             rs.AddNew(a);
             rs.ScriviCampo(a, u"Anno", Variant(static_cast<int16_t>(2024)));
             rs.ScriviCampo(a, u"NumRif", Variant(1));
             rs.ScriviCampo(a, u"Riga", Variant(1));
             rs.ScriviCampo(a, u"Spesa", Variant("INC"));
             rs.ScriviCampo(a, u"Importo", Variant(Currency::fromUnits(25000)));
             rs.Update(a);
             const QString b = rs.Apri(db, conn, QString(),
                                       QStringLiteral("Select top 1 * from ") + "FatSpese" + " where anno = " + I(2024) +
                                           " AND NumRif = " + L(1) + " order by Riga DESC");
             EXPECT_EQ(rs.LeggiCampo(b, u"Riga").toLong(), 1);
         }},
        {"payment schedule and letters of intent", [&] {
             EXPECT_EQ(apri(QStringLiteral("Select * From Pagamenti Where Pagamenti.Pagamento = ") + T("tr60")), 1);
             EXPECT_EQ(apri(QStringLiteral("Select * From PianoConti Where") + " PianoConti.Gruppo = " + T(c.gruppo) +
                            " And PianoConti.Mastro = " + T(c.mastro) + " And PianoConti.Conto = " + T(c.conto)),
                       1);
             const suite::Account di = suite::customerAccount(4);
             EXPECT_EQ(apri(QStringLiteral("Select * from PdcDicIntenti") + " Where Gruppo = " + T(di.gruppo) + " And Mastro = " +
                            T(di.mastro) + " And Conto = " + T(di.conto) + " And PdcDicIntenti = " + I(1)),
                       1);
             EXPECT_EQ(apri(QStringLiteral("Select PianoConti.DicIntenti") +
                            ", PianoConti.NrPrgIntenti,PianoConti.DataRicComIntenti,PianoConti.NrDichIntenti,PianoConti.DataDichIntenti,"
                            "PianoConti.ImportoDichIntenti" +
                            " from PianoConti" + " Where Gruppo = " + T(di.gruppo) + " And Mastro = " + T(di.mastro) + " And Conto = " +
                            T(di.conto)),
                       1);
         }},
        {"manual picking: staging, grids, updates", [&] {
             for (const char *t : {"OrdVenEvaTest", "OrdVenEvaDett", "OrdVenEvaSpese"})
                 esegui(QStringLiteral("Delete * from ") + QLatin1String(t) + " " + " WHERE " + QLatin1String(t) + ".Utente=" + T(kUtente));
             const QString a = rs.Apri(db, conn, QString(), QStringLiteral("Select * from OrdVenEvaTest where false"), false,
                                       dbOpenDynaset);
             for (int n : {1, 5}) {
                 rs.AddNew(a);
                 rs.ScriviCampo(a, u"Utente", Variant(kUtente));
                 rs.ScriviCampo(a, u"Anno", Variant(static_cast<int16_t>(2024)));
                 rs.ScriviCampo(a, u"NumRif", Variant(n));
                 rs.ScriviCampo(a, u"Selez", Variant("N"));
                 rs.ScriviCampo(a, u"EvadeTutto", Variant("N"));
                 rs.Update(a);
             }
             const QString testa = QStringLiteral("Select ") +
                                   "OrdVenEvaTest.Utente,OrdVenEvaTest.Anno,OrdVenEvaTest.NumRif,OrdVenTest.DataRif,OrdVenEvaTest.Selez,"
                                   "OrdVenEvaTest.EvadeTutto,OrdVenTest.Descrizione,OrdVenTest.Stato,OrdVenTest.RifCli,OrdVenTest.DataCons,"
                                   "OrdVenTest.ConsTotale,OrdVenTest.OrdAperto,OrdVenTest.Pagamento,OrdVenTest.MagazzProv,OrdVenTest.IvaSosp,"
                                   "OrdVenTest.PrezziIvati,OrdVenTest.Iva,OrdVenTest.Moneta,OrdVenTest.ScontoPag,OrdVenTest.Banca,"
                                   "OrdVenTest.IndSped,OrdVenTest.Vettore,OrdVenTest.Resa,OrdVenTest.Agente1,OrdVenTest.Agente2,"
                                   "OrdVenTest.MagazzDest,OrdVenTest.Lingua,OrdVenTest.NumDoc,OrdVenTest.DataDoc" +
                                   " FROM OrdVenEvaTest INNER JOIN OrdVenTest" + " On OrdVenEvaTest.Anno = OrdVenTest.Anno" +
                                   " And OrdVenEvaTest.NumRif = OrdVenTest.NumRif" + " Where OrdVenEvaTest.Utente = " + T("mario") +
                                   " ORDER BY OrdVenEvaTest.Anno, OrdVenEvaTest.NumRif,OrdVenTest.DataRif";
             const QString g = rs.Apri(db, conn, QStringLiteral("Griglia0"), testa, false, dbOpenDynaset);
             ASSERT_EQ(rs.RecordCount(g), 2);
             // the grid writes its flags into the staging row through the joined set
             rs.Edit(g);
             rs.ScriviCampo(g, u"Selez", Variant("S"));
             rs.ScriviCampo(g, u"EvadeTutto", Variant("S"));
             rs.Update(g);
             EXPECT_EQ(conta(QStringLiteral("OrdVenEvaTest WHERE Selez = 's' AND NumRif = 1")), 1);
             esegui(QStringLiteral("Delete * from OrdVenEvaSpese ") + " WHERE OrdVenEvaSpese.Anno=" + I(2024) +
                    " AND OrdVenEvaSpese.NumRif=" + L(3));
             esegui(QStringLiteral("INSERT INTO OrdVenEvaSpese (") + " Utente, Anno, NumRif,Riga,Selez)" + " SELECT " + T(kUtente) +
                    " AS MioUtente," + "OrdVenSpese.Anno, OrdVenSpese.NumRif, OrdVenSpese.Riga," + "'N' as MioSelez" +
                    " FROM OrdVenSpese" + " WHERE OrdVenSpese.Anno=" + I(2024) + " AND OrdVenSpese.NumRif=" + L(3));
             const QString spese = QStringLiteral("Select OrdVenEvaSpese.Utente,OrdVenEvaSpese.Anno, OrdVenEvaSpese.NumRif") +
                                   ",OrdVenEvaSpese.Riga,OrdVenSpese.Spesa" + ",Spese.Descrizione,OrdVenEvaSpese.Selez,OrdVenSpese.Iva" +
                                   ",OrdVenSpese.Percentuale,OrdVenSpese.Importo" + ",OrdVenSpese.ImportoMax,OrdVenSpese.ImportoMin" +
                                   " FROM (OrdVenEvaSpese LEFT JOIN OrdVenSpese" + " ON OrdVenSpese.Anno = OrdVenEvaSpese.Anno" +
                                   " AND OrdVenSpese.NumRif = OrdVenEvaSpese.NumRif" + " AND OrdVenSpese.Riga = OrdVenEvaSpese.Riga)" +
                                   " LEFT JOIN Spese" + " ON Spese.Spesa = OrdVenSpese.Spesa" + " Where OrdVenEvaSpese.Utente = " +
                                   T(kUtente) + " ORDER BY OrdVenEvaSpese.Anno, OrdVenEvaSpese.NumRif" + " ,OrdVenEvaSpese.Riga";
             const QString e = rs.Apri(db, conn, QStringLiteral("Griglia2"), spese, false, dbOpenDynaset);
             if (!rs.NessunRecord(e)) {
                 rs.Edit(e);
                 rs.ScriviCampo(e, u"Selez", Variant("S"));
                 rs.Update(e);
             }
             esegui(QStringLiteral("INSERT INTO OrdVenEvaDett (Utente, Anno, NumRif, RigDet, RigLiv, Livello1, Livello2, Qta, "
                                   "QtaEvasa, ASaldo, QtaDaEva, RigLivRAEE) VALUES (") +
                    T(kUtente) + ", 2024, 5, 1, 1, '*liv', ' ', 4, NULL, 'N', 0, 2)");
             esegui(QStringLiteral("INSERT INTO OrdVenEvaDett (Utente, Anno, NumRif, RigDet, RigLiv, Livello1, Livello2, Qta, "
                                   "QtaEvasa, ASaldo, QtaDaEva, RigLivRAEE) VALUES (") +
                    T(kUtente) + ", 2024, 5, 1, 1, 'S', 'ROSSO', 4, 1, 'N', 0, 0)");
             esegui(QStringLiteral("INSERT INTO OrdVenEvaDett (Utente, Anno, NumRif, RigDet, RigLiv, Livello1, Livello2, Qta, "
                                   "QtaEvasa, ASaldo, QtaDaEva, RigLivRAEE) VALUES (") +
                    T(kUtente) + ", 2024, 5, 2, 2, ' ', ' ', 1, 0, 'N', 0, 0)");
             for (bool mostra : {true, false}) {
                 const QString filtro = mostra ? QStringLiteral(" and (Livello1 <> ") + T("*liv") + " or (Livello1 = ' ' And Livello2 = ' '))"
                                               : QStringLiteral(" and (Livello1 = ") + T("*liv") + " or (Livello1 = ' ' And Livello2 = ' '))";
                 EXPECT_EQ(apri(QStringLiteral("Select ") + "NumRif,RigDet,Livello1,Livello2,Articolo,UM,Qta,QtaEvasa,QtaDaEva,ASaldo,"
                                                           "ValUnitario,DataCons,Descrizione,Utente,Anno,RigLiv,RigLivRAEE" +
                                    " FROM OrdVenEvaDett" + " Where OrdVenEvaDett.Utente = " + T(kUtente) + filtro +
                                    " ORDER BY OrdVenEvaDett.Anno, OrdVenEvaDett.NumRif" +
                                    " ,OrdVenEvaDett.RigDet,OrdVenEvaDett.Livello1,OrdVenEvaDett.Livello2",
                                dbOpenDynaset),
                           2);
             }
             esegui(QStringLiteral("Update OrdVenEvaDett Set ") + " QtaDaEva = Qta - IIf(Qtaevasa Is Null,0,Qtaevasa)" +
                    " Where Utente = " + T(kUtente) + " And Anno = " + I(2024) + " And NumRif = " + L(5) + " And RigDet = " + I(1) +
                    " And Livello1 <> " + T("*liv"));
             EXPECT_DOUBLE_EQ(scalare("SELECT QtaDaEva FROM OrdVenEvaDett WHERE Livello1 = 'S'").toDouble(), 3.0);
             esegui(QStringLiteral("Update OrdVenEvaDett Set ") + " QtaDaEva = 0" + " Where Utente = " + T(kUtente) + " And Anno = " +
                    I(2024) + " And NumRif = " + L(5) + " And RigDet = " + I(1) + " And Livello1 <> " + T("*liv"));
             esegui(QStringLiteral("Update OrdVenEvaDett Set ") + " QtaDaEva = " + F(1.5) + ", ASaldo = " + T("S") + " Where Utente = " +
                    T(kUtente) + " And Anno = " + I(2024) + " And NumRif = " + L(5) + " And RigLiv = " + L(2));
             EXPECT_DOUBLE_EQ(scalare("SELECT QtaDaEva FROM OrdVenEvaDett WHERE RigLiv = 2").toDouble(), 1.5);
             esegui(QStringLiteral("Delete * from OrdVenEvaDett ") + " WHERE OrdVenEvaDett.Utente=" + T(kUtente) + " And Livello1 = " +
                    T("*liv"));
             EXPECT_EQ(conta(QStringLiteral("OrdVenEvaDett WHERE Livello1 = '*liv'")), 0);
             EXPECT_EQ(apri(QStringLiteral("Select * from OrdVenDett") + " Where Anno = " + I(2024) + " And NumRif = " + I(5) +
                            " And RigDet = " + I(1)),
                       1);
         }},
    });
}

INSTANTIATE_TEST_SUITE_P(Motori, Istruzioni, kBothEngines, engineParamName);

} // namespace
