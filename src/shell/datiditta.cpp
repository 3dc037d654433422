#include "datiditta.h"

#include "apridbdao.h"
#include "contesto.h"
#include "contestoaiuto.h"
#include "finestraconnessione.h"
#include "leggiini.h"
#include "menuclient.h"
#include "monete.h"
#include "numparse.h"
#include "parametri.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

QString testoOPredefinito(const QString &nome, const QString &seVuoto)
{
    const Variant v = LeggiParamMenu(nome);
    return UtilGenerali::Vuoto(v) ? seVuoto : v.toString();
}

int32_t coloreOPredefinito(const QString &nome, int32_t seVuoto)
{
    const Variant v = LeggiParamMenu(nome);
    return UtilGenerali::Vuoto(v) ? seVuoto : v.toLong();
}

bool opzioneSi(const QString &nome)
{
    return textEquals(LeggiParamPers(QStringLiteral("Tutti"), nome, Variant("N")).text(), u"S");
}

// "Massimizzato" lists the terminals whose forms open maximised, or "tutti".
QString statoFinestra()
{
    QString elenco = LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("Massimizzato"), Variant("")).text();
    if (!elenco.endsWith(QLatin1Char(',')))
        elenco += QLatin1Char(',');
    const QString terminale = ggMenuClient->NomeTerminale();
    const bool massimizzato = elenco.contains(terminale + QLatin1Char(','), Qt::CaseInsensitive) ||
                              textEquals(elenco, u"tutti,");
    return massimizzato ? QStringLiteral("2") : QString();
}

} // namespace

void CaricaDatiDitta()
{
    gtDataLavoro = ggMenuClient->DataLavoro();
    gsDescAzie = LeggiParamMenu(QStringLiteral("DescAzie")).toString();
    giNumDecQtaFmt = LeggiParamMenu(QStringLiteral("Mag.NumDecQta")).toInteger();

    gsMonetaDitta = testoOPredefinito(QStringLiteral("Ditta.Moneta"), QStringLiteral("Euro"));
    gsCodLira = testoOPredefinito(QStringLiteral("Ditta.CodLira"), QStringLiteral("L."));
    gsCodEuro = testoOPredefinito(QStringLiteral("Ditta.CodEuro"), QStringLiteral("Euro"));
    gsOperCambio = testoOPredefinito(QStringLiteral("Ditta.OperCambio"), QStringLiteral("/"));
    gsCambioLiraEuro = testoOPredefinito(QStringLiteral("Ditta.CambioLiraEuro"), QStringLiteral("1936,27"));

    Variant importi, prezzi;
    LeggiMoneta(gsCodLira, &importi, &prezzi);
    giNumDecPrzLire = prezzi.toInteger();
    giNumDecImpLire = importi.toInteger();
    LeggiMoneta(gsCodEuro, &importi, &prezzi);
    giNumDecPrzEuro = prezzi.toInteger();
    giNumDecImpEuro = importi.toInteger();

    giNumDecQta = LeggiParamMenu(QStringLiteral("Mag.NumDecQta")).toInteger();
    glColErrore = kColRosso;
    glColNormale = kColSfondoFinestra;
    glColBackGotFocus = coloreOPredefinito(QStringLiteral("ColBackGotFocus"), kColAzzurroChiaro);
    glColBackLostFocus = coloreOPredefinito(QStringLiteral("ColBacklostFocus"), kColSfondoFinestra);
    glColBackForm = Variant(leadingNumber(
                                LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("ColBackForm"), Variant("0")).text()))
                        .toLong();

    gsStatoFinestra = statoFinestra();

    gsArrotIvaEuro = LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("ArrotIvaEuro"), Variant("A")).text();
    gsTastierinoVirgola =
        LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("TastierinoVirgola"), Variant("")).text();
    gsDecodHelpAbil = LeggiParamPers(QStringLiteral("Tutti"), QStringLiteral("DecodHelpAbil"), Variant("N")).text();
    gbDecodHelpPersKey = opzioneSi(QStringLiteral("DecodHelpPersKey"));

    const QString utente = LeggiParamMenu(QStringLiteral("SqlLogin")).text();
    const QString password = LeggiParamMenu(QStringLiteral("SqlPwd")).text();
    ggDbDao = ApriDbDao(gsNomeDBAzie, utente, password);

    LeggiIni(QStringLiteral("Configurazioni"), QStringLiteral("FormatData"), QStringLiteral("dd/mm/yyyy"), gsFormatData);

    if (!ggContestoAiuto)
        ggContestoAiuto = std::make_shared<ContestoAiuto>();
    ggContestoAiuto->obAbilitato = true;
    ggContestoAiuto->ogMenuClient = ggMenuClient;

    gbChiusuraDaMenu = false;
}

void InizProgramma()
{
    CaricaDatiDitta();
    gbArrUnitIntermedio = opzioneSi(QStringLiteral("ArrUnitIntermedio"));
}

void MostraVersione(bool carica, bool immagineAccesso)
{
    if (carica)
        finestraConn().Carica();
    finestraConn().MostraTitolo();
    finestraConn().ImpostaVersione(QStringLiteral("Versione ") + LeggiParamMenu(QStringLiteral("Versione")).text());
    finestraConn().ImpostaDataVersione(QStringLiteral("del ") + LeggiParamMenu(QStringLiteral("DataVersione")).text());
    finestraConn().MostraImmagini(immagineAccesso);
}
