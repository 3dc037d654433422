#include "evasionediprova.h"

#include "../../common/aiutodiprova.h"
#include "appoggiotemp.h"
#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "elaborazione.h"
#include "gestrecordset.h"
#include "presentazione.h"
#include "rowwriter.h"
#include "utilgenerali.h"

int DialoghiEvasione::msgCom(const RichiestaMsgCom &r)
{
    testi << r.psLabel;
    richieste.push_back(r);
    return risposta ? risposta(r) : 1;
}

int DialoghiEvasione::MsgBox(const QString &testo, PulsantiMsg, IconaMsg, const QString &)
{
    testi << testo;
    return RispostaMsg::Ok;
}

std::optional<QString> DialoghiEvasione::InputBox(const QString &prompt, const QString &, const QString &)
{
    testi << prompt;
    return std::nullopt;
}

void ServiziDiProva::registra(scEvaOrdVen &eva, const QString &nome)
{
    const QString numero = eva.msAliasOrd.isEmpty() || !eva.mgRecs().Aperto(eva.msAliasOrd)
                               ? QString()
                               : eva.mgRecs().LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif").text();
    chiamate << (numero.isEmpty() ? nome : nome + QStringLiteral(" ") + numero);
    inCorso.push_back(ElaborazioneAttiva());
}

void ServiziDiProva::EvadoOrdTest(scEvaOrdVen &eva, bool &)
{
    registra(eva, QStringLiteral("EvadoOrdTest"));
    // One document per order, registered once in the run's DocDaElab rows.
    GestRecordset &rs = eva.mgRecs();
    const int32_t numero = rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif").toLong() + 1000;
    rs.AddNew(eva.msAliasDocDaElab);
    rs.ScriviCampo(eva.msAliasDocDaElab, u"Utente", Variant(kUtente));
    rs.ScriviCampo(eva.msAliasDocDaElab, u"Programma", Variant(gsProgramma + gsProgrammaPar));
    rs.ScriviCampo(eva.msAliasDocDaElab, u"Anno", Variant(eva.oiAnno));
    rs.ScriviCampo(eva.msAliasDocDaElab, u"NumReg", Variant(numero));
    rs.ScriviCampo(eva.msAliasDocDaElab, u"Comando", Variant("C"));
    rs.Update(eva.msAliasDocDaElab);
    eva.msAliasTesDoc = QStringLiteral("TestataDiProva");
}

void ServiziDiProva::EvadoOrdSpese(scEvaOrdVen &eva, bool &) { registra(eva, QStringLiteral("EvadoOrdSpese")); }

void ServiziDiProva::ChiudiFatBolle(scEvaOrdVen &eva, QString &psAliasDocDaElab, bool &pbEsci, AvanzamentoElab &avanzamento)
{
    registra(eva, QStringLiteral("ChiudiFatBolle"));
    if (chiusura) {
        chiusura(eva, pbEsci);
        return;
    }
    GestRecordset &rs = eva.mgRecs();
    if (rs.NessunRecord(psAliasDocDaElab))
        return;
    for (rs.MoveFirst(psAliasDocDaElab); !rs.Eof(psAliasDocDaElab) && !pbEsci; rs.MoveNext(psAliasDocDaElab)) {
        avanzamento.Avanza(Variant(++eva.mlContaAvanz));
        rs.Delete(psAliasDocDaElab);
    }
}

int16_t ServiziDiProva::CreaAppoggioTemp(scEvaOrdVen &eva)
{
    registra(eva, QStringLiteral("CreaAppoggioTemp"));
    return ::CreaAppoggioTemp(eva);
}

Variant ServiziDiProva::CancellaAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente, const QString &psProgramma)
{
    registra(eva, QStringLiteral("CancellaAppoggioTemp"));
    return ::CancellaAppoggioTemp(eva, psUtente, psProgramma);
}

int16_t ServiziDiProva::ImportaAppoggioTemp(scEvaOrdVen &eva, const QString &psTerminaleMenu)
{
    registra(eva, QStringLiteral("ImportaAppoggioTemp"));
    return ::ImportaAppoggioTemp(eva, psTerminaleMenu);
}

void ServiziDiProva::evadiTutto(scEvaOrdVen &eva, bool &, int16_t &piRigheCreate)
{
    ggDbAzienda->Esegui(gsNomeConn, eva.PrepSqlDett(1, false));
    GestRecordset letto;
    const QString a = letto.Apri(*ggDbAzienda, gsNomeConn, {}, eva.PrepSqlDett(0, false));
    for (; !letto.Eof(a); letto.MoveNext(a)) {
        ggDbAzienda->Esegui(gsNomeConn,
                            QStringLiteral("Update OrdVenDett Set QtaEvasa = Qta, StatoRiga = 'E', FlagStato = '0'"
                                           " Where Anno = %1 And NumRif = %2 And RigLiv = %3")
                                .arg(letto.LeggiCampo(a, u"OrdVenDett.Anno").toLong())
                                .arg(letto.LeggiCampo(a, u"OrdVenDett.NumRif").toLong())
                                .arg(letto.LeggiCampo(a, u"OrdVenDett.RigLiv").toLong()));
        ++piRigheCreate;
    }
}

void ServiziDiProva::EvadoOrdDett(scEvaOrdVen &eva, bool &pbEsci, int16_t &piRigheCreate, bool)
{
    registra(eva, QStringLiteral("EvadoOrdDett"));
    piRigheCreate = 0;
    if (righe)
        righe(eva, pbEsci, piRigheCreate);
    else
        evadiTutto(eva, pbEsci, piRigheCreate);
}

void ServiziDiProva::EvadeDettSoloASaldo(scEvaOrdVen &eva, bool &pbEsci)
{
    registra(eva, QStringLiteral("EvadeDettSoloASaldo"));
    int16_t nessuna = 0;
    if (righe)
        righe(eva, pbEsci, nessuna);
}

void ServiziDiProva::EvadeDettCorrisp(scEvaOrdVen &eva, bool &pbEsci, bool)
{
    registra(eva, QStringLiteral("EvadeDettCorrisp"));
    int16_t nessuna = 0;
    if (righe)
        righe(eva, pbEsci, nessuna);
}

void EvasioneDiProva::SetUp()
{
    contesto = std::make_unique<ContestoDiProva>();
    contesto->menu().responder().setUtente(kUtente);
    db = ScratchDb::create(GetParam());
    if (IsSkipped() || !db)
        GTEST_SKIP();
    contesto->creaDitta(*db, suite::FixtureOptions{.orders = 0, .customers = 4, .articles = 8});
    installaAiutoDiProva();
    gsProgramma = QStringLiteral("EvaOrd");
    gsProgrammaPar = QStringLiteral("EvOr");
    fixture = db->open(QStringLiteral("seconda"));

    auto d = std::make_unique<DialoghiEvasione>();
    dialoghi = d.get();
    m_dialoghiPrima = impostaDialoghi(std::move(d));
    impostaPresentazioneEvasione({{}, [this] { return static_cast<VistaAvanzamento *>(&vista); }});
    eva.ImpostaServizi(&servizi);
    richiestaBase();
}

void EvasioneDiProva::TearDown()
{
    impostaPresentazioneEvasione({});
    if (m_dialoghiPrima || dialoghi)
        impostaDialoghi(std::move(m_dialoghiPrima));
    ggRecLock().ChiudiTutti();
    gsUltLock.clear();
    eva.RilasciaRecordset();
    if (fixture.isValid())
        fixture.close();
    fixture = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("seconda"));
}

void EvasioneDiProva::richiestaBase()
{
    eva.oiAnno = 2024;
    eva.otDataEvasione = Date::fromYmd(2024, 6, 30);
    eva.osFattDocOrd = QStringLiteral("OC");
    eva.osTipoDocEva = QStringLiteral("DDT");
    eva.obEvasManule = false;
    eva.obEvACorrisp = false;
    eva.obSoloASaldo = false;
    eva.ovDataConsDa = eva.ovDataConsA = eva.ovDataRifDa = eva.ovDataRifA = Variant::null();
    eva.ovDataDocDa = eva.ovDataDocA = Variant::null();
}

int32_t EvasioneDiProva::ordine(suite::OrderInput o)
{
    return suite::addOrder(fixture, o);
}

int32_t EvasioneDiProva::ordineSemplice(int32_t numRif, std::vector<double> quantita)
{
    suite::OrderInput o;
    o.numRif = numRif;
    o.cliente = 1;
    for (const double q : quantita)
        o.righe.push_back({.articolo = suite::articleCode(1), .qta = q, .prezzo = 2});
    return ordine(o);
}

void EvasioneDiProva::esegui(const QString &sql)
{
    suite::execSql(fixture, sql);
}

QStringList EvasioneDiProva::righe(const QString &sql)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, sql);
    QStringList out;
    const int n = rs.Recordset(a).FieldsCount();
    for (; !rs.Eof(a); rs.MoveNext(a)) {
        QStringList campi;
        for (int i = 0; i < n; ++i)
            campi << rs.Recordset(a).Valore(rs.AbsolutePosition(a), i).text();
        out << campi.join(QLatin1Char('|'));
    }
    return out;
}

void EvasioneDiProva::lockDi(const QString &utente, int32_t numRif, const QString &tipo)
{
    suite::insertRow(fixture, QStringLiteral("LockGest"),
                     {{"Tipo", tipo}, {"Anno", static_cast<int16_t>(2024)}, {"NumReg", numRif}, {"Utente", utente},
                      {"Stato", "0"}, {"Gestione", "3"}, {"Ora", Date::fromYmd(2024, 6, 1)}});
}
