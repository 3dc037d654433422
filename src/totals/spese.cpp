// Stage 4: the document's expenses (fixed, percentage, by weight) filed into the breakdown, the
// expense totals and the stamp settings of a stamp expense row.
#include "sccalcpiedefat.h"

#include "calcoli.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "utilgenerali.h"
#include "utilpiede.h"

using namespace piede;

void scCalcPiedeFat::ApriSpese()
{
    // The expenses do not change during a calculation: the rows read by the expenses stage
    // serve the pension-fund stage too.
    if (!msAliasSpese.isEmpty() && rs().Aperto(msAliasSpese)) {
        if (!rs().NessunRecord(msAliasSpese))
            rs().MoveFirst(msAliasSpese);
        return;
    }
    QString sql;
    PrepSqlSpeseDoc(sql);
    msAliasSpese = rs().Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
}

QString scCalcPiedeFat::testoSpesa(const QString &psCampo) { return rs().LeggiCampo(msAliasSpese, psCampo).text(); }

double scCalcPiedeFat::numeroSpesa(const QString &psCampo)
{
    return UtilGenerali::ValoreNumerico(rs().LeggiCampo(msAliasSpese, psCampo));
}

QString scCalcPiedeFat::PreparaIvaSpesa(const QString &psConto)
{
    const bool daRipartire = uguale(testoSpesa(QStringLiteral("Spese.AddebitoIva")), QLatin1String("R"));
    const QString chiave = daRipartire ? kIvaDaRipartire : testoSpesa(osTabSpese + ".Iva");
    if (!ogIve.obEsiste(chiave)) {
        scIva &iva = ogIve.AddIva(chiave);
        if (daRipartire) {
            iva.osDescrizione = iva.osDescrLunga = QStringLiteral("Da ripartire");
        } else {
            iva.osDescrizione = testoSpesa(QStringLiteral("TabIva.DescrizioneBreve"));
            iva.osDescrLunga = testoSpesa(QStringLiteral("TabIva.Descrizione"));
            iva.osDescrMemo = testoSpesa(QStringLiteral("TabIva.DescrMemo"));
            iva.osTipoIva = testoSpesa(QStringLiteral("TabIva.TipoIva"));
            iva.odAliquota = importo(rs().LeggiCampo(msAliasSpese, QStringLiteral("TabIva.Aliquota")));
            iva.obIvaEsente = tipoEsente(iva.osTipoIva);
        }
        iva.osApplBolloEse = testoSpesa(QStringLiteral("TabIva.ApplBolloEse"));
    }
    scIva &iva = ogIve.ogIva(chiave);
    if (!iva.obCPEsiste(psConto))
        iva.AddControP(psConto, QString(), QString());
    else if (!iva.obCdcCompEsiste(psConto, QString(), QString()))
        iva.AddCdcComp(psConto, QString(), QString());
    return chiave;
}

void scCalcPiedeFat::LeggiSpese()
{
    msFase = QStringLiteral("Lettura Spese");
    m_w.lbSpesaBolloTratte = false;
    const int16_t dec = m_w.liNumDec;
    if (!UtilGenerali::Vuoto(Variant(osTabSpese), 8, 1, false)) {
        ApriSpese();
        GestRecordset &g = rs();
        const QString &a = msAliasSpese;
        const QString s = osTabSpese + QLatin1Char('.');
        const Currency zero;

        for (; !g.Eof(a); g.MoveNext(a)) {
            if (eS(testoSpesa(s + "CassaPrev")))
                continue;
            if (!eS(testoSpesa(s + "SoggRitAcc")) && m_w.pbCalcRitAcc)
                continue;
            const QString gruppo = testoSpesa(QStringLiteral("spese.gruppo")), mastro = testoSpesa(QStringLiteral("spese.Mastro")),
                          contoSpesa = testoSpesa(QStringLiteral("spese.conto"));
            const QString conto = gruppo + mastro + contoSpesa;

            if (uguale(testoSpesa(s + "TipoAddebito"), QLatin1String("T"))) {
                // A stamp row: its data take the place of the stamp settings for bills.
                if (uguale(m_w.lsTipoEffetto, QLatin1String("3"))) {
                    m_w.lbTabBolli = m_w.lbSpesaBolloTratte = true;
                    m_w.lsCodEseBollo = testoSpesa(s + "Iva");
                    m_w.lsContoBol = conto;
                    osGruppoBol = gruppo;
                    osMastroBol = mastro;
                    osContoBol = contoSpesa;
                    m_w.luPercBolloTratte = importo(g.LeggiCampo(a, s + "Percentuale"));
                    m_w.luArrotondBollo = importo(g.LeggiCampo(a, QStringLiteral("spese.ImportoLire")));
                    // The "subject to the payment discount" flag is the stamp's rounding mode:
                    // "N" (and an empty flag, which is not "S" either) rounds to the nearest step.
                    const QString modo = testoSpesa(QStringLiteral("spese.SoggScontoPagam")).trimmed();
                    m_w.lsSoggScoPagBollo =
                        modo.isEmpty() || uguale(modo, QLatin1String("N")) ? QStringLiteral("5") : modo;
                    m_w.ldImportoMinBollo = numeroSpesa(QStringLiteral("spese.ImportoMin"));
                    m_w.ldImportoMaxBollo = numeroSpesa(QStringLiteral("spese.ImportoMax"));
                }
                continue;
            }

            const QString rifStampa = testoSpesa(QStringLiteral("Spese.RifStampa"));
            const QString tipo = testoSpesa(QStringLiteral("Spese.TipoAddebito"));
            const Currency massimo = arrotonda(numeroSpesa(s + "ImportoMax"), dec);
            const Currency minimo = arrotonda(numeroSpesa(s + "ImportoMin"), dec);
            Currency spesa;
            const bool perc = uguale(tipo, QLatin1String("P")), peso = uguale(tipo, QLatin1String("S"));
            if (perc || peso) {
                if (perc)
                    spesa = prodotto(DecimalNumber::fromDouble(numeroSpesa(s + "Percentuale")), m_w.luTotMerceNetta.toDecimal(),
                                     2, dec);
                else
                    spesa = prodotto(
                        DecimalNumber::fromDouble(UtilGenerali::ValoreNumerico(g.LeggiCampo(msAliasTesta, osTabTesta + ".Peso"))),
                        DecimalNumber::fromDouble(numeroSpesa(s + "Importo")), 0, dec);
                if (massimo > zero && spesa > massimo)
                    spesa = massimo;
                if (minimo > zero && spesa < minimo)
                    spesa = minimo;
                ogSpesePerc.setImporto(QString::number(UtilGenerali::ValoreLong(g.LeggiCampo(a, s + "Riga"))), true, spesa);
            } else if (fissoAddebitato(m_w.luTotMerceNetta, minimo, massimo)) {
                spesa = arrotonda(numeroSpesa(s + "Importo"), dec);
            }

            const QString chiave = PreparaIvaSpesa(conto);
            const bool soggetta = !odScontoPag.isZero() && eS(testoSpesa(QStringLiteral("Spese.SoggScontoPagam")));
            if (soggetta && mbScoPagSuDett)
                spesa = ApplicaSconto(Variant(spesa), Variant(odScontoPag), dec, true).toCurrency();
            scIva &iva = ogIve.ogIva(chiave);
            Currency ImportiIva::*secchio =
                soggetta && !mbScoPagSuDett ? &ImportiIva::odSValSpesePerSco : &ImportiIva::odSValSpese;
            iva.*secchio += spesa;
            iva.ogCP(conto, true, QString(), QString()).*secchio += spesa;
            iva.ogCP(conto, false, QString(), QString()).*secchio += spesa;

            sommaSpesa(ogSpese, rifStampa, spesa);
            odTotSpese += spesa;
        }
    }

    if (eS(m_w.lsPrezziIvati))
        CalcIvSpese(dec);
    if (!ogIve.obEsiste(kIvaDaRipartire))
        CalcScontoPagam(m_w.lsPrezziIvati, dec);
    CalcIva(m_w.lsPrezziIvati, dec);
}
