#include "controllidocumento.h"

#include "contesto.h"
#include "gestrecordset.h"
#include "parametri.h"
#include "textcompare.h"
#include "utilgenerali.h"

QString LeggiElePrefDdt()
{
    return LeggiParamMenu(QStringLiteral("Fat.ElePrefDdt")).text();
}

QString LeggiEleRegIvaVen()
{
    return LeggiParamMenu(QStringLiteral("Ditta.EleRegIvaVen")).text();
}

bool CodiceInElenco(const QString &elenco, QString &codice, bool vuotoAmmesso)
{
    codice = codice.trimmed();
    if (codice.isEmpty())
        return vuotoAmmesso;
    if (codice.size() > 1)
        return false;
    return elenco.contains(codice, Qt::CaseInsensitive);
}

bool PrefDdtValido(QString &prefisso, bool vuotoAmmesso)
{
    return CodiceInElenco(LeggiElePrefDdt(), prefisso, vuotoAmmesso);
}

bool RegIvaVenValido(QString &registro, bool vuotoAmmesso)
{
    return CodiceInElenco(LeggiEleRegIvaVen(), registro, vuotoAmmesso);
}

bool LeggiLibroIva(int16_t anno, const QString &tipoReg, const QString &prefisso)
{
    const QString sql = QStringLiteral("Select * from LibriIva") + QStringLiteral(" Where Anno = ")
                        + UtilGenerali::SqlValore(Variant(anno), 2) + QStringLiteral(" And TipoReg = ")
                        + UtilGenerali::SqlValore(Variant(tipoReg), 8) + QStringLiteral(" And Pref = ")
                        + UtilGenerali::SqlValore(Variant(prefisso), 8);
    GestRecordset rs;
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    const bool margine = !rs.NessunRecord(alias) && textEquals(rs.LeggiCampo(alias, u"RegimeMargine").text(), u"S");
    rs.Chiudi(alias);
    return margine;
}

Variant ControllaDataEsercizio(const Variant &data, int16_t &anno, QString &messaggio)
{
    anno = 0;
    try {
        const int16_t corrente = LeggiParamMenu(QStringLiteral("Mag.AnnoCorr")).toInteger();
        const Date inizio = LeggiParamMenu(QStringLiteral("Mag.DataInizio")).toDate();
        const Date fine = LeggiParamMenu(QStringLiteral("Mag.DataFine")).toDate();
        const Date d = data.toDate().dateOnly(); // by the day: the whole last day is inside
        if (d >= inizio && d <= fine) {
            anno = corrente;
            messaggio.clear();
            return Variant(int16_t(0));
        }
        if (d < inizio) {
            if (d < inizio.addMonths(-12)) {
                messaggio = QStringLiteral("La data di stampa è precedente all' esercizio");
                return Variant(int16_t(4));
            }
            anno = static_cast<int16_t>(corrente - 1);
            return Variant(int16_t(0));
        }
        if (d > fine.addMonths(12)) {
            messaggio = QStringLiteral("La data di stampa è successiva all' esercizio");
            return Variant(int16_t(5));
        }
        anno = static_cast<int16_t>(corrente + 1);
        return Variant(int16_t(0));
    } catch (const AppError &) {
        anno = 0;
        return Variant(int16_t(3));
    }
}

QString FormattaNumDoc(const QString &prefisso, const Variant &numero, int16_t qualsiasiPrefisso)
{
    const QString p = prefisso.toUpper();
    QString parte;
    if (qualsiasiPrefisso != -1) {
        if (textCompare(p, u"A") >= 0 && textCompare(p, u"Z") <= 0)
            parte = QLatin1Char('/') + p;
    } else {
        const QString t = p.trimmed();
        if (!t.isEmpty() && t != QLatin1String("."))
            parte = QLatin1Char('/') + p;
    }
    const QString n = numero.isNumeric() ? UtilGenerali::FormattaValore(numero, QStringLiteral("0")) : numero.text();
    return n + parte;
}
