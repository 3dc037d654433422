// Stamp duty: the company's stamp settings (stage 2), the preparations at the end of the
// totals, and the stamp on exempt amounts and on payment instalments (stage 8).
#include "sccalcpiedefat.h"

#include "contesto.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "scadutil.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "utilpiede.h"

using namespace piede;

void scCalcPiedeFat::LeggiBolli()
{
    msFase = QStringLiteral("Lettura bolli");
    const QString &moneta = m_w.lsMoneta;
    if (!textEquals(moneta, gsCodLira) && !textEquals(moneta, gsCodEuro))
        return;
    GestRecordset &g = rs();
    // The first row of the settings; rows in key order, the same on every engine.
    m_w.lsAliasBolli = g.Apri(*ggDbAzienda, gsNomeConn, QString(),
                              QStringLiteral("Select TaBolli.* , Tabiva.*") +
                                  " FROM TaBolli left join Tabiva on TaBolli.CodEseBollo = TabIva.Iva" +
                                  " Order By TaBolli.CodEseBollo",
                              false, dbOpenSnapshot);
    const QString &a = m_w.lsAliasBolli;
    if (g.NessunRecord(a))
        return;
    auto testo = [&](const QString &c) { return g.LeggiCampo(a, c).text(); };
    auto valore = [&](const QString &c) { return importo(g.LeggiCampo(a, c)); };
    m_w.lbTabBolli = true;
    m_w.lsCodEseBollo = m_w.lsCodBolloTabella = testo(QStringLiteral("TaBolli.CodEseBollo"));
    osGruppoBol = testo(QStringLiteral("TaBolli.GruppoBol"));
    osMastroBol = testo(QStringLiteral("TaBolli.MastroBol"));
    osContoBol = testo(QStringLiteral("TaBolli.ContoBol"));
    m_w.lsContoBol = osGruppoBol + osMastroBol + osContoBol;
    m_w.luPercBolloTratte = valore(QStringLiteral("TaBolli.PercBolloTratte"));
    const bool lire = textEquals(moneta, gsCodLira);
    const QString suffisso = lire ? QStringLiteral("Lire") : QString();
    m_w.luMaxNoBollo = valore(QStringLiteral("TaBolli.MaxNoBollo") + suffisso);
    m_w.luBolloEsente = valore(QStringLiteral("TaBolli.BolloEsente") + suffisso);
    m_w.luArrotondBollo = valore(QStringLiteral("TaBolli.Arrotond") + suffisso);
    const Currency limite = Currency::fromUnits(99999999999999LL * Currency::Scale);
    for (int i = 1; i <= 5; ++i) {
        const QString n = QString::number(i);
        const Currency sca = valore(QStringLiteral("TaBolli.Sca") + n + "BolRB" + suffisso);
        m_w.luScaRB[static_cast<size_t>(i)] = std::min(sca, limite);
        m_w.luBolloRB[static_cast<size_t>(i)] = valore(QStringLiteral("TaBolli.Bollo") + n + "RB" + suffisso);
    }
}

void scCalcPiedeFat::LeggiIvaBollo(QString &psTipo, QString &psBreve, QString &psLunga, QString &psMemo,
                                   Currency &puAliquota, QString &psApplBolloEse)
{
    // The row of the stamp code in force. The settings' query joins the row of the settings'
    // code; a stamp expense row may have put another code in its place (or given one where
    // the settings were not read), whose own row is read then.
    GestRecordset &g = rs();
    const bool tabella = !m_w.lsAliasBolli.isEmpty() && g.Aperto(m_w.lsAliasBolli) &&
                         textEquals(m_w.lsCodEseBollo, m_w.lsCodBolloTabella);
    const QString a = tabella ? m_w.lsAliasBolli
                              : g.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                       QStringLiteral("Select * From TabIva Where TabIva.Iva = ") +
                                           UtilGenerali::SqlValore(Variant(m_w.lsCodEseBollo), 8),
                                       false, dbOpenSnapshot);
    psTipo = g.LeggiCampo(a, u"TabIva.TipoIva").text();
    psBreve = g.LeggiCampo(a, u"TabIva.DescrizioneBreve").text();
    psLunga = g.LeggiCampo(a, u"TabIva.Descrizione").text();
    psMemo = g.LeggiCampo(a, u"TabIva.DescrMemo").text();
    puAliquota = importo(g.LeggiCampo(a, u"TabIva.Aliquota"));
    psApplBolloEse = g.LeggiCampo(a, u"TabIva.ApplBolloEse").text();
    if (!tabella)
        g.Chiudi(a);
}

void scCalcPiedeFat::PreparaBolli()
{
    odTotBolli = Currency();
    odTotBolliScad = 0.0;
    mdSpeseScad.assign(2, 0.0);
    obBolliEsenti = true;
    if (m_w.pbCalcRitAcc || !m_w.lbTabBolli)
        return;
    QString tipo;
    if (ogIve.obEsiste(m_w.lsCodEseBollo)) {
        tipo = ogIve.ogIva(m_w.lsCodEseBollo).osTipoIva;
    } else {
        QString breve, lunga, memo, appl;
        Currency aliquota;
        LeggiIvaBollo(tipo, breve, lunga, memo, aliquota, appl);
    }
    obBolliEsenti = tipoEsente(tipo);
}

void scCalcPiedeFat::BolliDaScadenze(Currency luImportoScad)
{
    GestRecordset &g = rs();
    const QString t = osTabTesta + QLatin1Char('.');
    auto testo = [&](const char *c) { return g.LeggiCampo(msAliasTesta, t + QLatin1String(c)).text(); };
    std::vector<Date> scadenze;
    std::vector<double> importi, bolli;
    int16_t numScad = 0, numErrori = 0, modo = kScadCalcolaSpese;
    QString errori;
    Date decorrenza;
    CalcoloScadenze(g.LeggiCampo(msAliasTesta, t + "DataRif").toDate(), (luImportoScad - odTotIva).toDouble(),
                    odTotIva.toDouble(), testo("Pagamento"), testo("GruppoCli"), testo("MastroCli"), testo("ContoCli"),
                    m_w.liNumDec, scadenze, importi, numScad, numErrori, errori, modo, m_w.luPercBolloTratte, bolli,
                    m_w.luArrotondBollo, m_w.lsSoggScoPagBollo, m_w.ldImportoMinBollo, m_w.ldImportoMaxBollo,
                    decorrenza);
    if (numErrori > 0) {
        // The document would miss its instalment stamps: the schedule's errors are this
        // calculation's too.
        for (const QString &riga : errori.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            AccodaRiga(riga);
        return;
    }
    if (numScad <= 0)
        return;
    odTotBolliScad = 0.0;
    mdSpeseScad.assign(bolli.size(), 0.0);
    for (size_t i = 1; i < bolli.size(); ++i) {
        odTotBolliScad += bolli[i];
        mdSpeseScad[i] = bolli[i];
    }
    const Currency s = Currency::fromDouble(odTotBolliScad);
    odTotBolli += s;
    if (obBolliEsenti)
        odTotEsente += s;
    odTotFattura += s;
}

void scCalcPiedeFat::CalcolaBolli()
{
    msFase = QStringLiteral("Calcolo Bolli");
    GestRecordset &g = rs();
    auto testata = [&](const QString &c) { return g.LeggiCampo(msAliasTesta, c).text(); };
    const QString bolli = m_w.lbNoAddBolli ? testata(osTabTesta + ".Bolli") : m_w.pvAddBolli.text();
    const QString segno = testata(QStringLiteral("FattDocumenti.Segno"));
    auto aggiungi = [&](Currency v) {
        odTotBolli += v;
        odTotFattura += v;
        if (obBolliEsenti)
            odTotEsente += v;
    };

    // The stamp on exempt amounts strictly above the threshold.
    const Currency zero;
    if (eS(bolli) && odTotEsenteAppBol > zero && odTotEsenteAppBol > m_w.luMaxNoBollo &&
        !eS(ggMenuClient->LeggiParametro(QStringLiteral("Fat.Onlus"), QString()).text())) {
        if (segno == QLatin1String("-"))
            m_w.luBolloEsente = -m_w.luBolloEsente;
        aggiungi(m_w.luBolloEsente);
    }

    // The stamps on the payment instalments.
    if (eS(bolli) && segno == QLatin1String("+") && eS(testata(QStringLiteral("PagTipi.AddBolli")))) {
        Currency importoScad = odTotFattura - odAbbuono - odAcconto - odTotOmaggi - odRitAcc;
        if (obCassaPrevNoImpon)
            importoScad -= ouTotCassaPrev;
        int16_t numScad = UtilGenerali::ValoreIntero(g.LeggiCampo(msAliasTesta, QStringLiteral("Pagamenti.NumScad")));
        if (numScad == 0)
            numScad = 1;
        const QString &effetto = m_w.lsTipoEffetto;
        if (effetto == QLatin1String("3") && m_w.lbSpesaBolloTratte) {
            BolliDaScadenze(importoScad);
        } else if (effetto == QLatin1String("3")) {
            Currency rata = Currency::fromDouble(m_w.luPercBolloTratte.toDouble() * (importoScad.toDouble() / numScad) / 1000.0);
            // Up to a multiple of the step; without a step, up to the currency's decimals.
            const double passo = m_w.luArrotondBollo.toDouble();
            rata = passo > 0 ? Currency::fromDouble(UtilGenerali::ArrotondaValore(Variant(rata), QStringLiteral("S"), passo))
                             : Currency::fromDouble(UtilGenerali::ArrotondaValore(Variant(rata), QStringLiteral("S"), 1.0,
                                                                                   -m_w.liNumDec));
            if (rata < m_w.luBolloRB[2])
                rata = m_w.luBolloRB[2];
            aggiungi(rata * numScad);
        } else if (effetto == QLatin1String("1")) {
            // The first bracket whose limit covers one instalment with its own stamp,
            // compared exactly and without overflow (the last limit is near the currency's
            // top): limit x n >= amount + n x stamp.
            const auto copre = [&](size_t i) {
                const Int128 n = numScad;
                return static_cast<Int128>(m_w.luScaRB[i].units()) * n >=
                       static_cast<Int128>(importoScad.units()) + static_cast<Int128>(m_w.luBolloRB[i].units()) * n;
            };
            Currency rata = m_w.luBolloRB[5];
            for (size_t i = 1; i <= 5; ++i)
                if (copre(i)) {
                    rata = m_w.luBolloRB[i];
                    break;
                }
            aggiungi(rata * numScad);
        }
    }

    // The stamp duty booked under its code and account.
    if (odTotBolli.isZero())
        return;
    const QString &codice = m_w.lsCodEseBollo, &conto = m_w.lsContoBol;
    if (!ogIve.obEsiste(codice)) {
        scIva &nuova = ogIve.AddIva(codice);
        LeggiIvaBollo(nuova.osTipoIva, nuova.osDescrizione, nuova.osDescrLunga, nuova.osDescrMemo, nuova.odAliquota,
                      nuova.osApplBolloEse);
        nuova.obIvaEsente = obBolliEsenti;
    }
    scIva &iva = ogIve.ogIva(codice);
    if (!iva.obCPEsiste(conto))
        iva.AddControP(conto, QString(), QString());
    else if (!iva.obCdcCompEsiste(conto, QString(), QString()))
        iva.AddCdcComp(conto, QString(), QString());
    for (ImportiIva *x : {static_cast<ImportiIva *>(&iva), &iva.ogCP(conto, true, QString(), QString()),
                          &iva.ogCP(conto, false, QString(), QString())}) {
        x->odSVal += odTotBolli;
        x->odImpon += odTotBolli;
    }
    iva.obIvaBolli = true;
}
