#include "conversionediprova.h"

#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "rowwriter.h"
#include "utilgenerali.h"

namespace {

QString L(int32_t n) { return UtilGenerali::SqlValore(Variant(n), 3); }
QString T(const QString &s) { return UtilGenerali::SqlValore(Variant(s), 8); }

// The order's lines as the converter's cursor reads them (levels handled), one row per level;
// the levels in a fixed order so that the tests know which row comes when.
QString cursoreRighe(bool manuale, int32_t numRif)
{
    QString sql = QStringLiteral("Select OrdVenDett.*, OrdVenLiv.*, Articoli.ArtMag, Articoli.PezziPerConf, TabIva.*");
    if (manuale) {
        sql += QStringLiteral(",OrdVenEvaDett.* from (((OrdVenEvaDett left join OrdVenDett"
                              " on OrdVenEvaDett.Anno = OrdVenDett.Anno and OrdVenEvaDett.NumRif = OrdVenDett.NumRif"
                              " and OrdVenEvaDett.RigLiv = OrdVenDett.RigLiv) left join OrdVenLiv"
                              " on OrdVenEvaDett.Anno = OrdVenLiv.Anno and OrdVenEvaDett.NumRif = OrdVenLiv.NumRif"
                              " and OrdVenEvaDett.RigLiv = OrdVenLiv.RigLiv and OrdVenEvaDett.Livello1 = OrdVenLiv.Livello1"
                              " and OrdVenEvaDett.Livello2 = OrdVenLiv.Livello2) ");
    } else {
        sql += QStringLiteral(" from ((OrdVenDett left join OrdVenLiv on OrdVenDett.Anno = OrdVenLiv.Anno"
                              " and OrdVenDett.NumRif = OrdVenLiv.NumRif and OrdVenDett.RigLiv = OrdVenLiv.RigLiv) ");
    }
    sql += QStringLiteral(" left join Articoli on OrdVenDett.Articolo = Articoli.Articolo) left join TabIva"
                          " on OrdVenDett.Iva = TabIva.Iva Where OrdVenDett.Anno = 2024 AND OrdVenDett.NumRif = ") +
           L(numRif);
    if (manuale)
        sql += QStringLiteral(" AND OrdVenEvaDett.Utente = ") + T(kUtenteProva) +
               QStringLiteral(" and (OrdVenEvaDett.ASaldo = 'S' OR OrdVenEvaDett.QtaDaEva <>0 ) ");
    else
        sql += QStringLiteral(" AND (OrdVenDett.StatoRiga<>'E' OR OrdVenDett.StatoRiga is NULL)");
    return sql + QStringLiteral(" Order by OrdVenDett.RigDet, OrdVenLiv.Livello1, OrdVenLiv.Livello2");
}

} // namespace

void ConversioneDiProva::SetUp()
{
    DittaDiProva::SetUp();
    if (IsSkipped() || HasFailure())
        return;
    gsMonetaDitta = suite::fx::kEuro;
    gsOperCambio = QStringLiteral("/");
    gsCambioLiraEuro = suite::fx::kCambioLiraEuro;
    giNumDecPrzLire = giNumDecImpLire = 0;
    giNumDecPrzEuro = giNumDecImpEuro = 2;
    gsArrotIvaEuro = QStringLiteral("A");

    eva.oiAnno = 2024;
    eva.msGesTaglie = QStringLiteral("S");
    conv.ordXmlGen = QStringLiteral("SSN");
}

void ConversioneDiProva::TearDown()
{
    eva.RilasciaRecordset();
    DittaDiProva::TearDown();
}

void ConversioneDiProva::documento(bool fattura, double cambio, int32_t numRifDoc)
{
    const QString pre = fattura ? QStringLiteral("Fat") : QStringLiteral("Ddt");
    eva.osDocEvaTipo = fattura ? QStringLiteral("F") : QStringLiteral("B");
    eva.osTipoDocEva = fattura ? suite::fx::kInvoiceType : suite::fx::kDdtType;
    eva.msTabTesta = pre + QStringLiteral("Test");
    eva.msTabDett = pre + QStringLiteral("Dett");
    eva.msTabLiv = pre + QStringLiteral("Liv");
    m_numRifDoc = numRifDoc;
    suite::insertRow(m_q, eva.msTabTesta,
                     {{"Anno", int16_t(2024)}, {"NumRif", numRifDoc}, {"Moneta", suite::fx::kEuro}, {"Cambio", cambio}});
}

void ConversioneDiProva::apri(int32_t numRifOrdine)
{
    GestRecordset &rs = eva.mgRecs();
    eva.msAliasOrd = rs.Apri(
        *ggDbAzienda, gsNomeConn, QStringLiteral("ordine"),
        QStringLiteral("Select OrdVenTest.*, Monete.*, FattDocumenti2.DoveStampoDesLung as Doc2DoveDesLung"
                       " from ((OrdVenTest left join FattDocumenti on OrdVenTest.FattDocumento = FattDocumenti.FattDocumento)"
                       " left join Monete on OrdVenTest.Moneta = Monete.Moneta)"
                       " left join FattDocumenti as FattDocumenti2 on FattDocumenti.FattDocEvasione = FattDocumenti2.FattDocumento"
                       " Where OrdVenTest.Anno = 2024 and OrdVenTest.NumRif = ") +
            L(numRifOrdine),
        false, dbOpenDynaset);
    eva.msAliasTesDoc = rs.Apri(*ggDbAzienda, gsNomeConn, QStringLiteral("testata"),
                                QStringLiteral("Select * from ") + eva.msTabTesta +
                                    QStringLiteral(" Where Anno = 2024 And NumRif = ") + L(m_numRifDoc),
                                false, dbOpenDynaset);
    conv.aliasCursore = rs.Apri(*ggDbAzienda, gsNomeConn, QStringLiteral("cursore"),
                             cursoreRighe(eva.obEvasManule, numRifOrdine), false, dbOpenDynaset);
    conv.aliasDettDoc = rs.Apri(*ggDbAzienda, gsNomeConn, QStringLiteral("dettdoc"),
                             QStringLiteral("Select * from ") + eva.msTabDett + QStringLiteral(" Where 0=1"), false,
                             dbOpenDynaset);
    conv.aliasLivDoc = rs.Apri(*ggDbAzienda, gsNomeConn, QStringLiteral("livdoc"),
                            QStringLiteral("Select * from ") + eva.msTabLiv + QStringLiteral(" Where 0=1"), false,
                            dbOpenDynaset);
    conv.numRifDoc = m_numRifDoc;
    conv.numDec = rs.LeggiCampo(eva.msAliasOrd, u"Monete.NumDec").toInteger();
    conv.numDecGest = rs.LeggiCampo(eva.msAliasOrd, u"Monete.NumDecGest").toInteger();
    conv.raee.Svuota();
    rs.MoveFirst(conv.aliasCursore);
}

RigaInConversione ConversioneDiProva::rigaCorrente()
{
    GestRecordset &rs = eva.mgRecs();
    const QString &cur = conv.aliasCursore;
    RigaInConversione r;
    const double qta = UtilGenerali::ValoreNumerico(rs.ValoreCampo(cur, u"OrdVenDett.Qta"));
    const double residuo = qta - UtilGenerali::ValoreNumerico(rs.ValoreCampo(cur, u"OrdVenDett.QtaEvasa"));
    const Variant daEva = rs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva");
    r.qtaOrdinata = qta;
    r.qtaDaEvadere = eva.obEvasManule ? UtilGenerali::ValoreNumerico(daEva) : residuo;
    r.qtaProv = UtilGenerali::ValoreNumerico(UtilGenerali::Minimo({Variant(residuo), daEva}));
    return r;
}

RigaInConversione ConversioneDiProva::scriviRiga(int32_t rigDet, int32_t rigLiv)
{
    RigaInConversione r = rigaCorrente();
    r.rigDet = rigDet;
    r.rigLiv = rigLiv;
    ScriviRigaDocumento(eva, conv, r);
    return r;
}

void ConversioneDiProva::avanti()
{
    eva.mgRecs().MoveNext(conv.aliasCursore);
}

Variant ConversioneDiProva::campoRiga(int32_t rigLiv, const QString &campo)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                              QStringLiteral("Select * from ") + eva.msTabDett +
                                  QStringLiteral(" Where Anno = 2024 And NumRif = ") + L(m_numRifDoc) +
                                  QStringLiteral(" And RigLiv = ") + L(rigLiv),
                              false, dbOpenSnapshot);
    EXPECT_FALSE(rs.NessunRecord(a)) << "no line " << rigLiv;
    return rs.ValoreCampo(a, campo);
}

Variant ConversioneDiProva::campoLivello(int32_t rigLiv, const QString &livello1, const QString &livello2,
                                         const QString &campo)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                              QStringLiteral("Select * from ") + eva.msTabLiv +
                                  QStringLiteral(" Where Anno = 2024 And NumRif = ") + L(m_numRifDoc) +
                                  QStringLiteral(" And RigLiv = ") + L(rigLiv) + QStringLiteral(" And Livello1 = ") +
                                  T(livello1) + QStringLiteral(" And Livello2 = ") + T(livello2),
                              false, dbOpenSnapshot);
    EXPECT_FALSE(rs.NessunRecord(a)) << "no level row " << livello1.toStdString() << "/" << livello2.toStdString();
    return rs.ValoreCampo(a, campo);
}

int ConversioneDiProva::contaRighe(const QString &tabella)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                              QStringLiteral("Select * from ") + tabella +
                                  QStringLiteral(" Where Anno = 2024 And NumRif = ") + L(m_numRifDoc),
                              false, dbOpenSnapshot);
    return rs.RecordCount(a);
}

void ConversioneDiProva::esegui(const QString &sql)
{
    ggDbAzienda->Esegui(gsNomeConn, sql);
}
