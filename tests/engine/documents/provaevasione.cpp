#include "provaevasione.h"

#include "../../common/aiutodiprova.h"
#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "suiteschema.h"
#include "utilgenerali.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

MenuConfig configurazione()
{
    MenuConfig m;
    m.utente = kUtenteProva;
    return m;
}

QString testoDi(const Variant &v)
{
    return v.text();
}

// The order cursor of the run for one order, with the columns the run driver's selection gives
// it (the order, its currency, its own type, fixed notes, payment terms, the customer account).
QString sqlCursoreOrdine(int16_t anno, int32_t numRif)
{
    return QStringLiteral("Select OrdVenTest.*, Monete.*") +
           QStringLiteral(",FattDocumenti.*, NoteFisse1.*,NoteFisse2.*,NoteFisse3.*") +
           QStringLiteral(",PianoConti.Bolli, PianoConti.SpeseBan, PianoConti.StRifOrd") +
           QStringLiteral(",PianoConti.Descrizione,PianoConti.PrezzoDDT,Pianoconti.RagDDT") +
           QStringLiteral(",PianoConti.StRifCli,PianoConti.RagRB, PianoConti.FECodIPA, PianoConti.IndAmm, "
                          "PianoConti.DicIntenti") +
           QStringLiteral(", Pagamenti.NotaFissa, Pagamenti.FeBanca") + QStringLiteral(" FROM ((((((") +
           QStringLiteral(" OrdVenTest left join FattDocumenti") +
           QStringLiteral(" on OrdVenTest.FattDocumento = FattDocumenti.FattDocumento)") +
           QStringLiteral(" left join Monete on OrdVenTest.Moneta = Monete.Moneta)") +
           QStringLiteral(" left join Pagamenti on OrdVenTest.Pagamento = Pagamenti.Pagamento)") +
           QStringLiteral(" left join NoteFisse AS NoteFisse1  on OrdVenTest.NumNota1 = NoteFisse1.NotaFissa)") +
           QStringLiteral(" left join NoteFisse AS NoteFisse2  on OrdVenTest.NumNota2 = NoteFisse2.NotaFissa)") +
           QStringLiteral(" left join NoteFisse AS NoteFisse3  on OrdVenTest.NumNota3 = NoteFisse3.NotaFissa)") +
           QStringLiteral(" left join PianoConti on OrdVenTest.GruppoCli = PianoConti.Gruppo") +
           QStringLiteral(" and OrdVenTest.MastroCli = PianoConti.Mastro and OrdVenTest.ContoCli = PianoConti.Conto") +
           QStringLiteral(" Where OrdVenTest.Anno = ") + UtilGenerali::SqlValore(Variant(anno), 2) +
           QStringLiteral(" and OrdVenTest.NumRif = ") + UtilGenerali::SqlValore(Variant(numRif), 3);
}

} // namespace

AddebitiDiProva::AddebitiDiProva()
{
    const auto registra = [this](const QString &nome, bool speseBanca) {
        return [this, nome, speseBanca](const QString &tab, int16_t anno, int32_t num, const QString &s1,
                                        const QString &s2, const QString &c1, const QString &c2, const QString &p1,
                                        const QString &p2, const QString &m1, const QString &m2, const QString &iva,
                                        int32_t &errore, QString &testo) {
            chiamate.push_back({nome, {tab, QString::number(anno), QString::number(num), s1, s2, c1, c2, p1, p2, m1,
                                       m2, iva}});
            errore = speseBanca ? erroreSpeseBanca : 0;
            testo = speseBanca ? testoSpeseBanca : QString();
            return errore;
        };
    };
    m_precedenti = ImpostaAddebitiFattura({registra(QStringLiteral("AggiungiSpeseBanca"), true),
                                           registra(QStringLiteral("AggiungiBolliDoc"), false)});
}

AddebitiDiProva::~AddebitiDiProva()
{
    ImpostaAddebitiFattura(std::move(m_precedenti));
}

int DialoghiConAzione::msgCom(const RichiestaMsgCom &richiesta)
{
    if (azione)
        azione(++m_volte);
    return DialoghiDiProva::msgCom(richiesta);
}

ProvaEvasione::ProvaEvasione() : c(configurazione()) {}

void ProvaEvasione::SetUp()
{
    m_db = ScratchDb::create(GetParam());
    if (IsSkipped() || HasFailure())
        return;
    suite::FixtureOptions opt;
    opt.orders = 0;
    opt.customers = 20;
    opt.articles = 8;
    c.creaDitta(*m_db, opt);
    gsCodLira = suite::fx::kLire;
    gsCodEuro = suite::fx::kEuro;
    gsProgramma = QStringLiteral("EvaOrd");
    gsProgrammaPar = QStringLiteral("EvOr");
    giNumDecPrzEuro = 2;
    installaAiutoDiProva();
    m_q = m_db->open(QStringLiteral("provaevasione"));
    auto d = std::make_unique<DialoghiConAzione>();
    dialoghi = d.get();
    m_dialoghiPrecedenti = impostaDialoghi(std::move(d));
    addebiti = std::make_unique<AddebitiDiProva>();
}

void ProvaEvasione::TearDown()
{
    addebiti.reset();
    eva.RilasciaRecordset();
    if (dialoghi) {
        impostaDialoghi(std::move(m_dialoghiPrecedenti));
        dialoghi = nullptr;
    }
    if (m_q.isValid()) {
        m_q.close();
        m_q = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("provaevasione"));
    }
}

void ProvaEvasione::preparaRun(const QString &tipoDocEva)
{
    eva.oiAnno = 2024;
    eva.otDataEvasione = Date::fromYmd(2024, 5, 10);
    eva.osTipoDocEva = tipoDocEva;
    QSqlQuery q(m_q);
    q.prepare(QStringLiteral("SELECT Tipo, FattAccomp, PrezzoDDT, FattDocEvasione FROM FattDocumenti WHERE FattDocumento = ?"));
    q.addBindValue(tipoDocEva);
    if (!q.exec() || !q.next())
        throw std::runtime_error("tipo documento mancante");
    eva.osDocEvaTipo = q.value(0).toString();
    eva.msFattAccomp = q.value(1).toString();
    eva.msPrezzoDDT = q.value(2).toString();
    eva.msFattDocEvasione = q.value(3).toString();
    const bool fattura = eva.osDocEvaTipo == QLatin1String("F");
    eva.msTabTesta = fattura ? QStringLiteral("FatTest") : QStringLiteral("DdtTest");
    eva.msTabDett = fattura ? QStringLiteral("FatDett") : QStringLiteral("DdtDett");
    eva.msTabLiv = fattura ? QStringLiteral("FatLiv") : QStringLiteral("DdtLiv");
    eva.msTabSpese = fattura ? QStringLiteral("FatSpese") : QStringLiteral("DdtSpese");
    eva.msTipoLockTes = fattura ? QStringLiteral("F") : QStringLiteral("D");
    eva.msDicIntentiVerif = QStringLiteral("V");
    eva.ogCambi().setValore(QStringLiteral("USD"), true, 1.085);
    eva.msAliasDocDaElab = eva.mgRecs().Apri(
        *ggDbAzienda, gsNomeConn, eva.msAliasDocDaElab,
        QStringLiteral("Select * from DocDaElab Where Utente = ") + UtilGenerali::SqlValore(Variant(kUtenteProva), 8) +
            QStringLiteral(" AND Programma = ") + UtilGenerali::SqlValore(Variant(kProgrammaProva), 8) +
            QStringLiteral(" AND Anno = 2024"),
        false, dbOpenDynaset);
}

void ProvaEvasione::svuota()
{
    for (const char *t : {"DdtTest", "FatTest", "FatSpese", "LockGest", "DocDaElab", "OrdVenDett", "OrdVenLiv",
                          "OrdVenSpese", "OrdVenTest"})
        esegui(QStringLiteral("DELETE FROM ") + QLatin1String(t));
    eva.msErrori.clear();
    eva.miNumErrori = 0;
    eva.oiSplitPay = 0;
    eva.osPrefDoc.clear();
}

int32_t ProvaEvasione::ordine(suite::OrderInput o)
{
    if (o.righe.empty())
        o.righe = {{.articolo = suite::articleCode(1), .qta = 2, .prezzo = 10}};
    return suite::addOrder(m_q, o);
}

void ProvaEvasione::apriOrdine(int32_t numRif)
{
    eva.msAliasOrd = eva.mgRecs().Apri(*ggDbAzienda, gsNomeConn, eva.msAliasOrd, sqlCursoreOrdine(2024, numRif),
                                       false, dbOpenSnapshot);
}

bool ProvaEvasione::evadi(int32_t numRif)
{
    GestRecordset &rs = eva.mgRecs();
    apriOrdine(numRif);
    eva.msRagOrd = testoDi(rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.RagOrd"));
    if (eva.msRagOrd.isEmpty())
        eva.msRagOrd = QStringLiteral("N");
    bool esci = false;
    EvadoOrdTest(eva, esci);
    return esci;
}

QString ProvaEvasione::sql(const QString &testo) const
{
    return QString(testo).replace(QStringLiteral("%T"), eva.msTabTesta);
}

void ProvaEvasione::selezionaSpese(int32_t numRif)
{
    suite::execSql(m_q,
                   QStringLiteral("INSERT INTO OrdVenEvaSpese (Utente, Anno, NumRif, Riga, Selez) "
                                  "SELECT ?, Anno, NumRif, Riga, 'S' FROM OrdVenSpese WHERE NumRif = ?"),
                   {kUtenteProva, numRif});
}

QVariant ProvaEvasione::valore(const QString &testo) const
{
    QSqlQuery q(m_q);
    if (!q.exec(sql(testo)))
        throw std::runtime_error(q.lastError().text().toStdString());
    return q.next() ? q.value(0) : QVariant();
}

void ProvaEvasione::esegui(const QString &testo) const
{
    QSqlQuery q(m_q);
    if (!q.exec(sql(testo)))
        throw std::runtime_error(q.lastError().text().toStdString());
}

QVariant ProvaEvasione::testata(int32_t numRif, const QString &campo) const
{
    const QVariant v = valore(QStringLiteral("SELECT ") + campo + QStringLiteral(" FROM %T WHERE Anno = 2024 AND NumRif = ") +
                              QString::number(numRif));
    // SQLite keeps an amount as its ten-thousandths: the amount itself is what the tests compare.
    const suite::FieldDef *f = suite::Schema::suite().tableOrThrow(eva.msTabTesta).field(campo);
    if (f && f->type == suite::FieldType::Currency && !v.isNull() && suite::engineOf(m_q) == suite::SqlEngine::SQLite)
        return QVariant(Currency::fromUnits(v.toLongLong()).toDouble());
    return v;
}

int ProvaEvasione::conta(const QString &tabella) const
{
    return valore(QStringLiteral("SELECT COUNT(*) FROM ") + tabella).toInt();
}
