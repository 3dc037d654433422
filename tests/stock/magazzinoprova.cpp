#include "magazzinoprova.h"

#include "blocchi.h"
#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "riaggiornamovimento.h"
#include "utilgenerali.h"

#include <cmath>

namespace {

suite::FieldValues uniti(suite::FieldValues base, const suite::FieldValues &altri)
{
    for (const auto &[nome, v] : altri) {
        bool trovato = false;
        for (auto &[n, vb] : base)
            if (n.compare(nome, Qt::CaseInsensitive) == 0) {
                vb = v;
                trovato = true;
            }
        if (!trovato)
            base.emplace_back(nome, v);
    }
    return base;
}

const QString kLivelloVuoto = QStringLiteral("~\u00e7~");

QString lit(const QString &t)
{
    return UtilGenerali::SqlValore(Variant(t), 8);
}

// The condition on the two levels, empty ones as the empty-level marker.
QString livelli(const QString &l1, const QString &l2)
{
    return QStringLiteral(" And Livello1 = ") + lit(l1.isEmpty() ? kLivelloVuoto : l1) +
           QStringLiteral(" And Livello2 = ") + lit(l2.isEmpty() ? kLivelloVuoto : l2);
}

} // namespace

void MagazzinoDiProva::SetUp()
{
    m_db = ScratchDb::create(GetParam());
    if (IsSkipped() || HasFailure())
        return;
    suite::FixtureOptions opt;
    opt.orders = 0;
    opt.customers = 4;
    opt.articles = 8;
    contesto.creaDitta(*m_db, opt);
    contesto.menu().responder().setUtente(QStringLiteral("mario"));
    m_q = m_db->open(QStringLiteral("magazzinoprova"));
    gsCodLira = suite::fx::kLire;
    gsCodEuro = suite::fx::kEuro;
    gsMonetaDitta = suite::fx::kEuro;
    gsOperCambio = QStringLiteral("/");
    gsCambioLiraEuro = suite::fx::kCambioLiraEuro;
    giNumDecQta = 3;
    giNumDecQtaFmt = 3;
    giNumDecPrzLire = 0;
    giNumDecImpLire = 0;
    giNumDecPrzEuro = 2;
    giNumDecImpEuro = 2;

    auto v = std::make_unique<VistePostingDiProva>();
    viste = v.get();
    m_vistePrecedenti = impostaVistePosting(std::move(v));
    ServiziMagazzino s;
    s.CalcolaQuotaSpese = [this](const QString &rip, double importo, double tot, const QString &perc, double qta,
                                 double valTot, double unit) {
        richieste << QStringLiteral("CalcolaQuotaSpese %1 %2 %3 %4 %5 %6 %7")
                         .arg(rip)
                         .arg(importo)
                         .arg(tot)
                         .arg(perc)
                         .arg(qta)
                         .arg(valTot)
                         .arg(unit);
        return quotaSpese;
    };
    s.TotaliRigheMov = [this](const QString &modo, int16_t anno, int32_t num, const QString &suffisso) {
        richieste << QStringLiteral("TotaliRigheMov %1 %2 %3 %4").arg(modo).arg(anno).arg(num).arg(suffisso);
        const QString campo = modo == QLatin1String("Q") ? QStringLiteral("Qta") : QStringLiteral("ValTotale");
        return Variant(valore(QStringLiteral("Select sum(%1) from MovMagDett%2 Where Anno = %3 And NumReg = %4")
                                  .arg(campo, suffisso)
                                  .arg(anno)
                                  .arg(num))
                           .toDouble());
    };
    s.AggValoriScarico = [this](AvanzamentoElab &, int16_t anno, int32_t num, const QString &da, const QString &a) {
        richieste << QStringLiteral("AggValoriScarico %1 %2 [%3] [%4]").arg(anno).arg(num).arg(da, a);
    };
    m_serviziPrecedenti = impostaServiziMagazzino(s);
}

void MagazzinoDiProva::TearDown()
{
    if (viste) {
        impostaServiziMagazzino(m_serviziPrecedenti);
        impostaVistePosting(std::move(m_vistePrecedenti));
    }
    if (m_q.isValid()) {
        m_q.close();
        m_q = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("magazzinoprova"));
    }
}

void MagazzinoDiProva::inserisci(const QString &tabella, const suite::FieldValues &campi)
{
    suite::insertRow(m_q, tabella, campi);
}

void MagazzinoDiProva::esegui(const QString &sql)
{
    ggDbAzienda->Esegui(gsNomeConn, sql);
}

void MagazzinoDiProva::articolo(const QString &codice, const suite::FieldValues &campi)
{
    inserisci(QStringLiteral("Articoli"), uniti({{"Articolo", codice},
                                                 {"Descrizione", "Articolo " + codice},
                                                 {"ArtMag", "S"},
                                                 {"FlagLivLis", 0},
                                                 {"IvaVendite", "22"},
                                                 {"Maggior", 0.0},
                                                 {"ArtUM", "PZ"}},
                                                campi));
}

void MagazzinoDiProva::causale(const QString &codice, const suite::FieldValues &campi)
{
    // The test's own causal in place of the fixture's of the same code.
    esegui(QStringLiteral("Delete from MagCausali Where MagCausale = ") + UtilGenerali::SqlValore(Variant(codice), 8));
    inserisci(QStringLiteral("MagCausali"), uniti({{"MagCausale", codice},
                                                   {"Descrizione", "Causale " + codice},
                                                   {"CarScar", "C"},
                                                   {"Prov", "F"},
                                                   {"Dest", "M"},
                                                   {"TipoMov", "N"},
                                                   {"Segno", "+"},
                                                   {"QualeProgrQta", 0},
                                                   {"AggMedioCar", "N"},
                                                   {"ValorizzScarico", "N"},
                                                   {"RipartSpese", "V"},
                                                   {"AggMedioPon", "N"},
                                                   {"AggCostoUlt", "N"},
                                                   {"AcqVen", "N"}},
                                                  campi));
}

void MagazzinoDiProva::movimento(int32_t numReg, const QString &causale, const suite::FieldValues &campi)
{
    inserisci(QStringLiteral("MovMagTes"), uniti({{"Anno", kAnno},
                                                  {"NumReg", numReg},
                                                  {"DataReg", Date::fromYmd(kAnno, 3, 15)},
                                                  {"MagCausale", causale},
                                                  {"MagazzinoProv", "01"},
                                                  {"MagazzinoDest", "01"},
                                                  {"GruppoCliFor", "14"},
                                                  {"MastroCliFor", "01"},
                                                  {"ContoCliFor", "0001"},
                                                  {"Moneta", "Euro"},
                                                  {"Cambio", 1.0},
                                                  {"AutMan", "A"}},
                                                 campi));
}

// The quantity and value fields of a work row: Qta = QtaAggMag, the unit value, the value in
// euro and in lire, FlagStato "0".
suite::FieldValues MagazzinoDiProva::importi(double qta, double val)
{
    return {{"UM", "PZ"},
            {"Qta", qta},
            {"QtaAggMag", qta},
            {"ValUnitario", qta != 0 ? val / qta : 0.0},
            {"ValTotale", val},
            {"ValEuro", val},
            {"ValLire", std::round(val * 1936.27)},
            {"FlagStato", "0"}};
}

void MagazzinoDiProva::riga(int32_t numReg, int32_t rigLiv, const QString &art, double qta, double val,
                            const suite::FieldValues &campi)
{
    suite::FieldValues r = {
        {"Anno", kAnno},   {"NumReg", numReg},          {"RigLiv", rigLiv},         {"RigReg", rigLiv},
        {"Articolo", art}, {"Livello1", kLivelloVuoto}, {"Livello2", kLivelloVuoto}};
    for (auto &v : importi(qta, val))
        r.push_back(v);
    inserisci(QStringLiteral("MovMagDettApp"), uniti(r, campi));
}

void MagazzinoDiProva::livello(int32_t numReg, int32_t rigLiv, const QString &l1, const QString &l2, double qta,
                               double val, const suite::FieldValues &campi)
{
    suite::FieldValues r = {
        {"Anno", kAnno}, {"NumReg", numReg}, {"RigLiv", rigLiv}, {"Livello1", l1}, {"Livello2", l2}};
    for (auto &v : importi(qta, val))
        r.push_back(v);
    inserisci(QStringLiteral("MovMagLivApp"), uniti(r, campi));
}

EsitoPosting MagazzinoDiProva::riaggiorna(int32_t numReg, bool disaggiorna, bool senzaVecchie)
{
    QString chiave, utente, gestione = QStringLiteral("3"), varie, stato;
    const int16_t preso = BloccaRecord(QStringLiteral("0"), QStringLiteral("M"), kAnno, numReg, true, false, chiave,
                                       QStringLiteral("Movimenti di magazzino"), utente, gestione, varie, false,
                                       QStringLiteral("O"), kAnno, 1, 0, stato)
                              .toInteger();
    EXPECT_EQ(preso, 0);
    const EsitoPosting esito = RiaggiornaMovimento(kAnno, numReg, true, disaggiorna, chiave, senzaVecchie);
    SbloccaRecord(chiave, true);
    EXPECT_EQ(conta(QStringLiteral("Select * from LockGest Where Tipo = 'M' And NumReg = %1").arg(numReg)), 0)
        << valore("Select Ora from LockGest").text().toStdString() << " "
        << valore("Select Stato from LockGest").text().toStdString();
    return esito;
}

Valori MagazzinoDiProva::numeri(const QString &sql)
{
    Valori out;
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    if (rs.NessunRecord(a))
        return out;
    const Recordset &r = rs.Recordset(a);
    for (int i = 0; i < r.FieldsCount(); ++i) {
        const Variant v = r.Valore(0, i);
        if (v.isNumber())
            out.campi[r.NomeCampo(i).section(QLatin1Char('.'), -1).toLower()] = v.toDouble();
    }
    return out;
}

Valori MagazzinoDiProva::prog(const QString &magazzino, const QString &art, const QString &l1, const QString &l2)
{
    return numeri(QStringLiteral("Select * from ArticoliProg Where Anno = 2024 And Magazzino = ") + lit(magazzino) +
                  QStringLiteral(" And Articolo = ") + lit(art) + livelli(l1, l2));
}

Valori MagazzinoDiProva::costi(const QString &art, const QString &l1, const QString &l2)
{
    return numeri(QStringLiteral("Select * from ArticoliCosti Where Anno = 2024 And Articolo = ") + lit(art) +
                  livelli(l1, l2));
}

Variant MagazzinoDiProva::valore(const QString &sql)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    if (rs.NessunRecord(a))
        return {};
    return rs.Recordset(a).Valore(0, 0);
}

int MagazzinoDiProva::conta(const QString &sql)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    return rs.RecordCount(a);
}
