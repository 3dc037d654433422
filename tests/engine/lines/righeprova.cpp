#include "righeprova.h"

#include "blocchi.h"
#include "campirigadiprova.h"
#include "connessionedb.h"
#include "gestrecordset.h"
#include "rowwriter.h"
#include "utilgenerali.h"

namespace {

QString tabella(bool fattura, const char *parte)
{
    return (fattura ? QStringLiteral("Fat") : QStringLiteral("Ddt")) + QString::fromLatin1(parte);
}

} // namespace

void ProvaRighe::SetUp()
{
    DittaDiProva::SetUp();
    if (IsSkipped() || HasFailure())
        return;
    campiprova::azzera();
    c.menu().responder().setUtente(kUtente);
    giNumDecQta = 3;
    giNumDecPrzEuro = 2;
    giNumDecPrzLire = 0;
}

void ProvaRighe::TearDown()
{
    m_eva.reset();
    ggRecLock().ChiudiTutti();
    gsUltLock.clear();
    DittaDiProva::TearDown();
}

int32_t ProvaRighe::ordine(const suite::OrderInput &o)
{
    return suite::addOrder(m_q, o);
}

scEvaOrdVen &ProvaRighe::motore(int32_t numRif, bool manuale, bool fattura)
{
    m_eva = std::make_unique<scEvaOrdVen>();
    scEvaOrdVen &eva = *m_eva;
    eva.oiAnno = 2024;
    eva.obEvasManule = manuale;
    eva.osDocEvaTipo = fattura ? QStringLiteral("F") : QStringLiteral("B");
    eva.msTabTesta = tabella(fattura, "Test");
    eva.msTabDett = tabella(fattura, "Dett");
    eva.msTabLiv = tabella(fattura, "Liv");
    eva.msTabSpese = tabella(fattura, "Spese");
    eva.msTipoLockTes = fattura ? QStringLiteral("F") : QStringLiteral("D");
    eva.msGesTaglie = QStringLiteral("S");
    eva.msCarScar = QStringLiteral("S");
    eva.msComeEva = QStringLiteral("N");

    GestRecordset &recs = eva.mgRecs();
    eva.msAliasOrd = recs.Apri(
        *ggDbAzienda, gsNomeConn, QStringLiteral("Ordini"),
        QStringLiteral("Select OrdVenTest.*, Monete.*, FattDocumenti.*, PianoConti.StRifOrd, PianoConti.StRifCli"
                       " from ((OrdVenTest left join Monete on OrdVenTest.Moneta = Monete.Moneta)"
                       " left join FattDocumenti on OrdVenTest.FattDocumento = FattDocumenti.FattDocumento)"
                       " left join PianoConti on (OrdVenTest.GruppoCli = PianoConti.Gruppo"
                       " and OrdVenTest.MastroCli = PianoConti.Mastro and OrdVenTest.ContoCli = PianoConti.Conto)"
                       " where OrdVenTest.Anno = 2024 and OrdVenTest.NumRif = %1")
            .arg(numRif),
        false, dbOpenDynaset);
    eva.msOrdAperto = recs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.OrdAperto").text().compare(u"S", Qt::CaseInsensitive) == 0
                          ? QStringLiteral("S")
                          : QStringLiteral("N");

    const QString testa = eva.msTabTesta;
    GestRecordset conta;
    const QString a = conta.Apri(*ggDbAzienda, gsNomeConn, {}, QStringLiteral("Select * from ") + testa +
                                                                   QStringLiteral(" where Anno = 2024 and NumRif = 1"));
    if (conta.NessunRecord(a))
        suite::insertRow(m_q, testa, {{"Anno", 2024}, {"NumRif", 1}, {"DataRif", Date::fromYmd(2024, 5, 10)}});
    conta.Chiudi(a);
    eva.msAliasTesDoc = recs.Apri(*ggDbAzienda, gsNomeConn, QStringLiteral("TesDoc"),
                                  QStringLiteral("Select * from ") + testa + QStringLiteral(" where Anno = 2024 and NumRif = 1"),
                                  false, dbOpenDynaset);
    return eva;
}

void ProvaRighe::scelta(int32_t numRif, int32_t rigLiv, double qtaDaEva, const QString &aSaldo, const QString &livello1,
                        const QString &livello2)
{
    suite::insertRow(m_q, QStringLiteral("OrdVenEvaDett"),
                     {{"Utente", kUtente}, {"Anno", 2024}, {"NumRif", numRif}, {"RigLiv", rigLiv},
                      {"Livello1", livello1.isEmpty() ? QStringLiteral(" ") : livello1},
                      {"Livello2", livello2.isEmpty() ? QStringLiteral(" ") : livello2}, {"ASaldo", aSaldo}, {"QtaDaEva", qtaDaEva},
                      {"RigDet", static_cast<int16_t>(rigLiv)}, {"ValUnitario", 0.0}});
}

void ProvaRighe::sql(const QString &testo, const QVariantList &valori)
{
    suite::execSql(m_q, testo, valori);
}

namespace {

StatoOrdine stato(const QString &sql)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, sql);
    StatoOrdine s{rs.ValoreCampo(a, u"QtaEvasa"), rs.LeggiCampo(a, u"StatoRiga").text(),
                  rs.LeggiCampo(a, u"FlagStato").text()};
    rs.Chiudi(a);
    return s;
}

} // namespace

StatoOrdine ProvaRighe::rigaOrdine(int32_t numRif, int32_t rigLiv)
{
    return stato(QStringLiteral("Select * from OrdVenDett where Anno = 2024 and NumRif = %1 and RigLiv = %2")
                     .arg(numRif)
                     .arg(rigLiv));
}

StatoOrdine ProvaRighe::livelloOrdine(int32_t numRif, int32_t rigLiv, const QString &l1, const QString &l2)
{
    return stato(QStringLiteral("Select * from OrdVenLiv where Anno = 2024 and NumRif = %1 and RigLiv = %2"
                                " and Livello1 = %3 and Livello2 = %4")
                     .arg(numRif)
                     .arg(rigLiv)
                     .arg(UtilGenerali::SqlValore(Variant(l1), 8), UtilGenerali::SqlValore(Variant(l2), 8)));
}

std::vector<RigaDocumento> ProvaRighe::righeDocumento(bool fattura)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select * from ") + tabella(fattura, "Dett") +
                                  QStringLiteral(" where Anno = 2024 and NumRif = 1 order by RigDet"));
    std::vector<RigaDocumento> out;
    for (; !rs.Eof(a); rs.MoveNext(a)) {
        RigaDocumento r;
        r.rigDet = rs.LeggiCampo(a, u"RigDet").toLong();
        r.rigLiv = rs.LeggiCampo(a, u"RigLiv").toLong();
        r.tipoRiga = rs.LeggiCampo(a, u"TipoRiga").text();
        r.articolo = rs.LeggiCampo(a, u"Articolo").text();
        r.notaSopra = rs.LeggiCampo(a, u"NotaSopra").text();
        r.notaSopraStamp = rs.LeggiCampo(a, u"NotaSopraStamp").text();
        r.formatoRiga = rs.LeggiCampo(a, u"FormatoRiga").text();
        r.riepilogativa = rs.LeggiCampo(a, u"Riepilogativa").text();
        r.descPers1 = rs.LeggiCampo(a, u"DescPers1").text();
        r.flScontoPag = rs.LeggiCampo(a, u"FlScontoPag").text();
        r.qta = rs.ValoreCampo(a, u"Qta");
        r.qtaProv = rs.ValoreCampo(a, u"QtaProv");
        r.valTotale = rs.ValoreCampo(a, u"ValTotale");
        r.valEuro = rs.ValoreCampo(a, u"ValEuro");
        r.rigaRifProv = rs.LeggiCampo(a, u"RigaRifProv").toLong();
        out.push_back(r);
    }
    rs.Chiudi(a);
    return out;
}

std::vector<LivelloDocumento> ProvaRighe::livelliDocumento(bool fattura)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select * from ") + tabella(fattura, "Liv") +
                                  QStringLiteral(" where Anno = 2024 and NumRif = 1 order by RigLiv, Livello1, Livello2"));
    std::vector<LivelloDocumento> out;
    for (; !rs.Eof(a); rs.MoveNext(a))
        out.push_back({rs.LeggiCampo(a, u"RigLiv").toLong(), rs.LeggiCampo(a, u"RigLivOrig").toLong(),
                       rs.LeggiCampo(a, u"Livello1").text(), rs.LeggiCampo(a, u"Livello2").text(),
                       rs.LeggiCampo(a, u"Qta").toDouble(), rs.LeggiCampo(a, u"QtaProv").toDouble()});
    rs.Chiudi(a);
    return out;
}

double ProvaRighe::impegnato(const QString &articolo, const QString &l1, const QString &l2)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select QtaImpCli from ArticoliProg where Anno = 2024 and Magazzino = '01'"
                                             " and Articolo = %1 and Livello1 = %2 and Livello2 = %3")
                                  .arg(UtilGenerali::SqlValore(Variant(articolo), 8), UtilGenerali::SqlValore(Variant(l1), 8),
                                       UtilGenerali::SqlValore(Variant(l2), 8)));
    const double q = rs.NessunRecord(a) ? -999 : rs.LeggiCampo(a, u"QtaImpCli").toDouble();
    rs.Chiudi(a);
    return q;
}

QString ProvaRighe::statoBlocco(int32_t numRif)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select Stato from LockGest where Tipo = 'O' and Anno = 2024 and NumReg = %1")
                                  .arg(numRif));
    const QString s = rs.NessunRecord(a) ? QStringLiteral("(nessuno)") : rs.LeggiCampo(a, u"Stato").text();
    rs.Chiudi(a);
    return s;
}
