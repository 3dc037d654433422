// Stage 6: the withholding tax, by a nested calculation of the rows subject to it, and the
// pension-fund contribution of the document's pension-fund expense rows.
#include "sccalcpiedefat.h"

#include "calcoli.h"
#include "confrontaarrotondati.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "utilgenerali.h"
#include "utilpiede.h"

using namespace piede;

void scCalcPiedeFat::CalcRitAcc(double pdPercRitAcc, int16_t piNumDec)
{
    scCalcPiedeFat nidificato;
    nidificato.osTabTesta = osTabTesta;
    nidificato.osTabDett = osTabDett;
    nidificato.osTabLiv = osTabLiv;
    nidificato.osTabSpese = osTabSpese;
    nidificato.obErrNoDett = obErrNoDett;
    nidificato.CalcPiedeFat(miAnno, mlNumRif, true, -1);
    if (nidificato.oiNumErrori >= 1) {
        const QString nonAggiornati = QStringLiteral("Totali ritenuta d'acconto non aggiornati");
        // The nested errors join this calculation's list, so that one check covers them.
        for (const QString &riga : nidificato.osErrori.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            AccodaRiga(riga);
        AccodaErrore(0, nonAggiornati);
        frmMsgCom::msgCom(nidificato.osErrori + nonAggiornati, QStringLiteral("&Ok"), {}, {}, {}, 80, false, 600, {}, 1);
        return;
    }
    odTotImpRitAcc = nidificato.odTotEsente + nidificato.odTotImponibile;
    odTotImpRitAccEff = odTotImpRitAcc;
    const Variant ritenuta = CalcRitenuta(odTotImpRitAccEff, pdPercRitAcc, piNumDec);
    odRitAcc = arrotonda(ritenuta.toDouble(), piNumDec);
}

void scCalcPiedeFat::CalcolaRitenuta()
{
    msFase = QStringLiteral("Calcola ritenuta d'acconto");
    const int16_t dec = m_w.liNumDec;
    const bool conRitenuta = ConfrontaArrotondati(Variant(m_w.ldPercRitAcc), Variant(0.0), -8) == 1;
    if (conRitenuta) {
        CalcRitAcc(m_w.ldPercRitAcc, dec);
    } else {
        odRitAcc = odTotImpRitAcc = odTotImpRitAccEff = Currency();
    }
    ouPercCassaPrev = ouTotCassaPrev = Currency();
    if (UtilGenerali::Vuoto(Variant(osTabSpese), 8, 1, false))
        return;

    ApriSpese();
    GestRecordset &g = rs();
    const QString &a = msAliasSpese;
    const QString s = osTabSpese + QLatin1Char('.');
    const Currency zero;
    bool cassa = false;
    for (; !g.Eof(a); g.MoveNext(a)) {
        if (!eS(testoSpesa(s + "CassaPrev")))
            continue;
        cassa = true;
        const QString conto = testoSpesa(QStringLiteral("spese.gruppo")) + testoSpesa(QStringLiteral("spese.Mastro")) +
                              testoSpesa(QStringLiteral("spese.conto"));
        const QString rifStampa = testoSpesa(QStringLiteral("Spese.RifStampa"));
        const Currency massimo = arrotonda(numeroSpesa(s + "ImportoMax"), dec);
        const Currency minimo = arrotonda(numeroSpesa(s + "ImportoMin"), dec);
        if (!conRitenuta)
            CalcRitAcc(m_w.ldPercRitAcc, dec); // the base of the contribution

        Currency contributo;
        if (uguale(testoSpesa(QStringLiteral("Spese.TipoAddebito")), QLatin1String("I")) && !obCassaPrevNoImpon) {
            if (fissoAddebitato(m_w.luTotMerceNetta, minimo, massimo))
                contributo = arrotonda(numeroSpesa(s + "Importo"), dec);
            ouPercCassaPrev = importo(g.LeggiCampo(a, QStringLiteral("Spese.Percentuale")));
        } else {
            ouPercCassaPrev = importo(g.LeggiCampo(a, s + "Percentuale"));
            contributo = prodotto(DecimalNumber::fromDouble(numeroSpesa(s + "Percentuale")), odTotImpRitAcc.toDecimal(), 2, dec);
            if (massimo > zero && contributo > massimo)
                contributo = massimo;
            if (minimo > zero && contributo < minimo)
                contributo = minimo;
            ogSpesePerc.setImporto(QString::number(UtilGenerali::ValoreLong(g.LeggiCampo(a, s + "Riga"))), true,
                                   obCassaPrevNoImpon ? Currency() : contributo);
        }
        ouTotCassaPrev += contributo;
        osCassaPrevGruppo = testoSpesa(s + "Gruppo");
        osCassaPrevMastro = testoSpesa(s + "Mastro");
        osCassaPrevConto = testoSpesa(s + "Conto");
        if (obCassaPrevNoImpon)
            continue;

        scIva &iva = ogIve.ogIva(PreparaIvaSpesa(conto));
        iva.odSValSpese += contributo;
        iva.ogCP(conto, true, QString(), QString()).odSValSpese += contributo;
        iva.ogCP(conto, false, QString(), QString()).odSValSpese += contributo;
        sommaSpesa(ogSpese, rifStampa, contributo);
        odTotSpese += contributo;
    }
    if (cassa) {
        if (eS(m_w.lsPrezziIvati))
            CalcIvSpese(dec);
        CalcIva(m_w.lsPrezziIvati, dec);
    }
    g.Chiudi(a);
    msAliasSpese.clear();
}
