// Stage 1: the settings and the document header; the texts of the document's three queries.
#include "sccalcpiedefat.h"

#include "calcoli.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "parametri.h"
#include "transazioni.h"
#include "utilgenerali.h"
#include "utilpiede.h"

using namespace piede;
using UtilGenerali::SqlValore;

namespace {

QString parametroMenu(const char *nome)
{
    return ggMenuClient->LeggiParametro(QString::fromLatin1(nome), QString()).text();
}

bool parametroPersonaleS(const char *sezione, const char *nome)
{
    return LeggiParamPers(QString::fromLatin1(sezione), QString::fromLatin1(nome), Variant(QString())).text().toUpper() ==
           QLatin1String("S");
}

} // namespace

bool scCalcPiedeFat::LeggiTestata()
{
    msFase = QStringLiteral("Lettura testata");
    mbGesTaglie = eS(parametroMenu("Mag.GesTaglie"));
    m_w.lsContoVen = parametroMenu("CauCon.GruppoVen") + parametroMenu("CauCon.MastroVen") + parametroMenu("CauCon.ContoVen");
    m_w.lbGestVuotiCauz = parametroPersonaleS("Fatture", "GestVuotiCauz");
    obCassaPrevNoImpon = parametroPersonaleS("Tutti", "CassaPrevNoImpon");

    QString sql;
    PrepSqlTestaDoc(sql);
    msAliasTesta = rs().Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    if (rs().NessunRecord(msAliasTesta)) {
        AccodaErrore(0, QStringLiteral("Non è stata trovata la testata del doc. ") + QString::number(mlNumRif) + " " +
                            QString::number(miAnno));
        return false;
    }

    const QString t = osTabTesta + QLatin1Char('.');
    auto campo = [&](const QString &nome) { return rs().LeggiCampo(msAliasTesta, nome); };
    mbScoPagSuDett = eS(campo(t + "ScoPagSuDett").text());
    msRegimeMargine = campo(QStringLiteral("FattDocumenti.RegimeMargine")).text();
    m_w.lsPrezziIvati = eS(campo(QStringLiteral("PrezziIvati")).text()) ? QStringLiteral("S") : QStringLiteral("N");
    m_w.liNumDec = UtilGenerali::ValoreIntero(campo(QStringLiteral("Monete.NumDec")));
    m_w.lsMoneta = campo(t + "Moneta").text();
    m_w.lsTipoEffetto = campo(QStringLiteral("PagTipi.TipoEffetto")).text();
    odAbbuono = importo(campo(t + "Abbuono"));
    odAcconto = importo(campo(t + "Acconto"));
    osScontoPag = campo(t + "ScontoPag").text().trimmed();
    odScontoPag = osScontoPag.isEmpty() ? Currency() : CalcScontoComposto(osScontoPag, nullptr, 0.0, 6).toCurrency();
    return true;
}

void scCalcPiedeFat::PrepSqlTestaDoc(QString &psSql) const
{
    const QString &t = osTabTesta;
    const bool fattura = uguale(t, QLatin1String("FatTest"));
    QString s = QStringLiteral("SELECT") + " " + t + ".Acconto";
    if (EsisteCampo(Variant(t), Variant(QStringLiteral("ScoPagSuDett")), QString()))
        s += ", " + t + ".ScoPagSuDett";
    if (fattura)
        s += ", " + t + ".Abbuono" + ", " + t + ".Bolli";
    s += ", " + t + ".DataRif";
    if (!uguale(t, QLatin1String("OrdAcqTes")))
        s += ", " + t + ".GruppoCli" + ", " + t + ".MastroCli" + ", " + t + ".ContoCli" + ", " + t + ".PercRitAcc";
    else
        s += ", " + t + ".GruppoFor" + ", " + t + ".MastroFor" + ", " + t + ".ContoFor";
    if (fattura || uguale(t, QLatin1String("DdtTest")))
        s += ", " + t + ".Peso";
    s += ", " + t + ".Moneta" + ", " + t + ".Pagamento" + ", " + t + ".PrezziIvati" + ", " + t + ".ScontoPag";
    s += QStringLiteral(", FattDocumenti.RegimeMargine, FattDocumenti.Segno, FattDocumenti.FattDocumento") +
         ", Monete.NumDec" + ", PagTipi.TipoEffetto, PagTipi.AddBolli, Pagamenti.NumScad" + ", TabIva.TipoIva" +
         ", Stati.Cee,Stati.Iso";
    s += QStringLiteral(" FROM") + " ((((((" + t + " ";
    s += " LEFT JOIN Monete ON " + t + ".Moneta = Monete.Moneta)";
    s += " LEFT JOIN FattDocumenti ON " + t + ".FattDocumento = FattDocumenti.FattDocumento)";
    s += " LEFT JOIN Pagamenti ON " + t + ".Pagamento = Pagamenti.Pagamento)";
    s += QStringLiteral(" LEFT JOIN PagTipi ON Pagamenti.PagTipo = PagTipi.PagTipo)");
    s += " LEFT JOIN TabIva ON " + t + ".Iva = TabIva.Iva)";
    s += QStringLiteral(" LEFT JOIN PianoConti") + " ON ";
    if (uguale(osTipoGest, QLatin1String("A")))
        s += t + ".GruppoFor = PianoConti.Gruppo" + " AND " + t + ".MastroFor = PianoConti.Mastro" + " AND " + t +
             ".ContoFor = PianoConti.Conto)";
    else
        s += t + ".GruppoCli = PianoConti.Gruppo" + " AND " + t + ".MastroCli = PianoConti.Mastro" + " AND " + t +
             ".ContoCli = PianoConti.Conto)";
    s += QStringLiteral(" LEFT JOIN Stati ON PianoConti.Stato = Stati.Stato");
    s += QStringLiteral(" Where") + " " + t + ".NumRif = " + SqlValore(Variant(mlNumRif), 3) + " And " + t +
         ".Anno = " + SqlValore(Variant(miAnno), 2);
    psSql = s;
}

namespace {

// ", T.f1, T.f2 ..." for the fields named.
QString campi(const QString &tabella, std::initializer_list<const char *> nomi)
{
    QString s;
    for (const char *n : nomi)
        s += QLatin1Char(',') + tabella + QLatin1Char('.') + QLatin1String(n);
    return s;
}

} // namespace

// The lines query names the fields that the lines stage reads rather than every field of its
// three tables (the full rows were most of a footer's time), with the row's key for reading
// it in pages.
void scCalcPiedeFat::PrepSqlDettDoc(SqlDettagli &pqSql, bool pbGestVuotiCauz) const
{
    const QString &d = osTabDett, &l = osTabLiv;
    const bool g = pbGestVuotiCauz;
    const QString conto = d + ".gruppoven & " + d + ".MastroVen & " + d + ".contoVen";
    const QString cauzione = g ? QStringLiteral(",Articoli.Cauzione as ArtCauzione") : QStringLiteral(",'N' as ArtCauzione");
    const QString articoli = g ? QStringLiteral(") LEFT JOIN Articoli ON ") + d + ".Articolo = Articoli.Articolo" : QString();
    const QString where = QStringLiteral(" Where") + " " + d + ".NumRif = " + SqlValore(Variant(mlNumRif), 3) + " And " + d +
                          ".Anno = " + SqlValore(Variant(miAnno), 2);
    const QString riga = campi(d, {"TipoRiga", "SoggRitAcc", "Omaggio", "CentroDiCosto", "CompGiornMens", "DataCompDa",
                                   "DataCompA", "Iva", "BeneUsato", "FlScontoPag", "ScontoTot", "ValTotale", "ValUnitario",
                                   "Qta", "RigDet", "RigLiv"})
                             .mid(1);
    const QString iva = campi(QStringLiteral("TabIva"),
                              {"Aliquota", "TipoIva", "DescrizioneBreve", "Descrizione", "DescrMemo", "ApplBolloEse"});
    const bool livelli = mbGesTaglie && !UtilGenerali::Vuoto(Variant(l), 8, 1, false);
    QString s;
    if (livelli) {
        pqSql.campi = riga + "," + conto + " AS Conto" + campi(l, {"Livello1", "Livello2", "ValTotale", "ValUnitario", "Qta"}) +
                      iva + cauzione;
        s = QStringLiteral(" FROM ") + (g ? "(" : "") + "(" + d + "  " + " LEFT JOIN TabIva ON " + d + ".Iva = TabIva.Iva)";
        s += " LEFT JOIN " + l + " ON " + d + ".RigLiv = " + l + ".RigLiv" + " AND " + d + ".NumRif = " + l + ".NumRif" +
             " AND " + d + ".Anno = " + l + ".Anno";
        s += articoli + where;
        s += " and (" + d + ".TipoRiga = " + SqlValore(Variant(QStringLiteral("M")), 8) + " or " + d +
             ".TipoRiga = " + SqlValore(Variant(QStringLiteral("A")), 8) + ")";
    } else {
        pqSql.campi = riga + "," + conto + " AS Conto" + iva + cauzione;
        s = QStringLiteral(" FROM ") + (g ? "(" : "") + d + " LEFT JOIN TabIva ON " + d + ".Iva = TabIva.Iva";
        s += articoli + where;
    }
    pqSql.daWhere = s;
    pqSql.conto = conto;
    // Level rows of one line come in key order, the same on every engine.
    pqSql.ordineRiga = d + ".RigDet," + d + ".RigLiv" + (livelli ? "," + l + ".Livello1," + l + ".Livello2" : QString());
    pqSql.livelli = livelli;
}

// The expenses query names the fields that the expenses and pension-fund stages read, as the
// lines query does.
void scCalcPiedeFat::PrepSqlSpeseDoc(QString &psSql) const
{
    const QString &s = osTabSpese;
    psSql = QStringLiteral("SELECT") + " " +
            campi(s, {"Riga", "Spesa", "Iva", "Importo", "Percentuale", "ImportoMax", "ImportoMin", "SoggRitAcc", "CassaPrev",
                      "TipoAddebito", "Gruppo", "Mastro", "Conto"})
                .mid(1) +
            campi(QStringLiteral("TabIva"),
                  {"Aliquota", "TipoIva", "DescrizioneBreve", "Descrizione", "DescrMemo", "ApplBolloEse"}) +
            campi(QStringLiteral("Spese"), {"Gruppo", "Mastro", "Conto", "AddebitoIva", "RifStampa", "TipoAddebito",
                                            "SoggScontoPagam", "ImportoLire", "ImportoMin", "ImportoMax", "Percentuale"}) +
            " FROM" + " (" + s + " LEFT JOIN TabIva ON " + s + ".Iva = TabIva.Iva)" + " LEFT JOIN Spese ON " + s +
            ".Spesa = Spese.Spesa" + " Where" + " " + s + ".Anno = " + SqlValore(Variant(miAnno), 2) + " And " + s +
            ".NumRif = " + SqlValore(Variant(mlNumRif), 3) + " Order BY" + " " + s + ".Iva" +
            " ,spese.gruppo & spese.Mastro & spese.conto" +
            // tied rows in row order, so that "the last row" is the same on every engine
            " ," + s + ".Riga";
}
