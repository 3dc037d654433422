#include "dichintenti.h"

#include "apperror.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "parametri.h"
#include "textcompare.h"
#include "transazioni.h"
#include "utilgenerali.h"

#include <cmath>
#include <functional>
#include <vector>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPrimaFrase = QStringLiteral("Oper. non imponib.ai sensi ART.8/C DPR 633/72 e succ.mod.");
const QString kRigIni = QStringLiteral("\u00a7RigIni\u00a7");
const QString kRigFin = QStringLiteral("\u00a7RigFin\u00a7");
const QChar kSterlina(0x00a3);
const QChar kParagrafo(0x00a7);

struct Lettera {
    Variant codice, descrizione, protRicezione, dataRicAE, nrPrg, dataRicCom, nrDich, dataDich, importo, dataDa,
        dataA;
    int16_t rifComunic = 0;
};

QString sqlTesto(const QString &testo)
{
    return UtilGenerali::SqlValore(Variant(testo), 8);
}

// A whole number in plain digits, nothing for 0 or an empty value.
QString numero(const Variant &v)
{
    if (v.isBlank())
        return {};
    const long long n = std::llround(v.toDouble());
    return n == 0 ? QString() : QString::number(n);
}

// An empty date prints as nothing: an old letter without its dates must not cite a date zero.
QString data(const Variant &v)
{
    return UtilGenerali::Vuoto(v, 7) ? QString() : v.toDate().toQDate().toString(QStringLiteral("dd/MM/yyyy"));
}

QString annoDi(const Variant &v)
{
    return UtilGenerali::Vuoto(v, 7) ? QString() : QString::number(v.toDate().year());
}

bool incorniciato(const QString &testo, QChar segno)
{
    return testo.size() >= 2 && testo.front() == segno && testo.back() == segno;
}

QString tag(const QString &nome)
{
    return kParagrafo + nome + kParagrafo;
}

// The letters of the set, its fields named with `tabella` in front (empty for a set of the
// letters alone), those for which `tenuta` answers true.
std::vector<Lettera> leggiLettere(GestRecordset &recs, const QString &alias, const QString &tabella = {},
                                  const std::function<bool()> &tenuta = {})
{
    std::vector<Lettera> lettere;
    for (recs.MoveFirst(alias); !recs.Eof(alias); recs.MoveNext(alias)) {
        if (tenuta && !tenuta())
            continue;
        const auto v = [&](const char16_t *campo) {
            return recs.ValoreCampo(alias, tabella + QString::fromUtf16(campo));
        };
        Lettera l{v(u"PdcDicIntenti"), v(u"Descrizione"), v(u"ProtRicezione"), v(u"DataRicAE"), v(u"NrPrgIntenti"),
                  v(u"DataRicComIntenti"), v(u"NrDichIntenti"), v(u"DataDichIntenti"), v(u"ImportoDichIntenti"),
                  v(u"DataDAIntenti"), v(u"DataAIntenti")};
        l.rifComunic = UtilGenerali::ValoreIntero(v(u"RifComunicIntenti"));
        lettere.push_back(std::move(l));
    }
    return lettere;
}

QString modelloStandard(const Lettera &prima)
{
    if (!prima.protRicezione.text().isEmpty())
        return kPrimaFrase + kCrLf + QStringLiteral("Protocollo ricezione agenzia delle entrate: \u00a7ProtRicez\u00a7");
    return kPrimaFrase + kCrLf +
           QStringLiteral("\u00a7RigIni\u00a7Vostra dich. nr.\u00a7NrDich\u00a7 del  \u00a7DtDich\u00a7 - Nostra Reg. "
                          "\u00a7NrRic\u00a7 del \u00a7DtRic\u00a7\u00a7M-UL\u00a7") +
           kCrLf + QStringLiteral("\u00a7/M-UL\u00a7\u00a7RigFin\u00a7");
}

QString sostituisci(const QString &testo, const QString &segnaposto, const QString &valore)
{
    return UtilGenerali::Sostituisci(1, testo, tag(segnaposto), Variant(valore), 1);
}

// The text expanded once per letter; with pbPrimo the letters' amounts are added up.
QString SostituisciCampiDich(const QString &psTesto, const std::vector<Lettera> &lettere, bool pbPrimo,
                             double &pdTotale)
{
    const size_t n = lettere.size();
    const bool piu = n != 1;
    QString risultato;
    for (size_t k = 1; k <= n; ++k) {
        const Lettera &l = lettere[k - 1];
        QString t = psTesto;
        t = EstraiSezioneTag(t, QStringLiteral("M1"), k == 1 && piu);
        t = EstraiSezioneTag(t, QStringLiteral("MUL"), k == n && piu);
        t = EstraiSezioneTag(t, QStringLiteral("M2"), k > 1 && piu);
        t = EstraiSezioneTag(t, QStringLiteral("M-UL"), k < n && piu);
        for (int16_t r = 1; r <= 3; ++r)
            t = EstraiSezioneTag(t, QStringLiteral("Rif") + QString::number(r), l.rifComunic == r);
        t = sostituisci(t, QStringLiteral("Codice"), numero(l.codice));
        t = sostituisci(t, QStringLiteral("Descr"), l.descrizione.text());
        t = sostituisci(t, QStringLiteral("ProtRicez"), l.protRicezione.text());
        t = sostituisci(t, QStringLiteral("AnnoRicAgEn"), annoDi(l.dataRicAE));
        t = sostituisci(t, QStringLiteral("DtRicAgEn"), data(l.dataRicAE));
        t = sostituisci(t, QStringLiteral("NrRic"), numero(l.nrPrg));
        t = sostituisci(t, QStringLiteral("DtRic"), data(l.dataRicCom));
        t = sostituisci(t, QStringLiteral("NrDich"), numero(l.nrDich));
        t = sostituisci(t, QStringLiteral("DtDich"), data(l.dataDich));
        t = sostituisci(t, QStringLiteral("Importo"),
                        UtilGenerali::MascheraNumero(l.importo, giNumDecPrzEuro, {}, false, QStringLiteral("#,##0"),
                                                     false, {}, QStringLiteral("^")));
        t = sostituisci(t, QStringLiteral("DataDa"), data(l.dataDa));
        t = sostituisci(t, QStringLiteral("DataA"), data(l.dataA));
        risultato += t;
        if (pbPrimo)
            pdTotale += l.importo.isBlank() ? 0.0 : l.importo.toDouble();
    }
    return risultato;
}

QString componiNota(const std::vector<Lettera> &lettere, const QString &psDicIntenti, const QString &psParamTesto,
                    const QString &psTestoDef, double &pdImporto)
{
    QString modello;
    const bool modelloDelConto = incorniciato(psDicIntenti, kParagrafo);
    if (modelloDelConto) {
        modello = psDicIntenti.mid(1, psDicIntenti.size() - 2);
    } else {
        modello = LeggiParamPers(QStringLiteral("Fatture"), psParamTesto, Variant(QString())).text();
        if (modello.isEmpty())
            modello = psTestoDef;
        if (modello.isEmpty())
            modello = modelloStandard(lettere.front());
        const QString inserto =
            incorniciato(psDicIntenti, kSterlina) ? psDicIntenti.mid(1, psDicIntenti.size() - 2) : QString();
        const qsizetype a = modello.indexOf(kSterlina);
        const qsizetype b = a < 0 ? -1 : modello.indexOf(kSterlina, a + 1);
        if (b >= 0)
            modello = inserto.isEmpty() ? QString(modello).remove(kSterlina)
                                        : modello.left(a) + inserto + modello.mid(b + 1);
    }
    const size_t n = lettere.size();
    modello = EstraiSezioneTag(modello, QStringLiteral("M0"), n == 1);
    modello = EstraiSezioneTag(modello, QStringLiteral("Mn"), n > 1);

    if (modello.indexOf(kRigIni, 0, Qt::CaseInsensitive) < 0)
        return SostituisciCampiDich(modello, lettere, true, pdImporto);
    QString risultato;
    QString testo = modello;
    bool primo = true;
    for (qsizetype p; (p = testo.indexOf(kRigIni, 0, Qt::CaseInsensitive)) >= 0; primo = false) {
        const qsizetype inizio = p + kRigIni.size();
        const qsizetype q = testo.indexOf(kRigFin, inizio, Qt::CaseInsensitive);
        if (q < 0) {
            risultato += SostituisciCampiDich(testo, lettere, primo, pdImporto);
            testo.clear();
        } else {
            risultato += testo.left(p) + SostituisciCampiDich(testo.mid(inizio, q - inizio), lettere, primo, pdImporto);
            testo = testo.mid(q + kRigFin.size());
        }
    }
    return risultato + testo;
}

const QString kCampiPianoConti =
    QStringLiteral("PianoConti.DicIntenti, PianoConti.NrPrgIntenti,PianoConti.DataRicComIntenti,"
                   "PianoConti.NrDichIntenti,PianoConti.DataDichIntenti,PianoConti.ImportoDichIntenti");

QString dovePianoConti(const QString &psGruppo, const QString &psMastro, const QString &psConto)
{
    return QStringLiteral(" Where PianoConti.Gruppo = ") + sqlTesto(psGruppo) +
           QStringLiteral(" And PianoConti.Mastro = ") + sqlTesto(psMastro) +
           QStringLiteral(" And PianoConti.Conto = ") + sqlTesto(psConto);
}

// The single letter kept on the account row of the set, its fields named with `tabella` in
// front: for a database without letters of its own.
QString dalContoLetto(GestRecordset &recs, const QString &alias, const QString &tabella, double &pdImporto)
{
    const auto v = [&](const char16_t *campo) { return recs.ValoreCampo(alias, tabella + QString::fromUtf16(campo)); };
    const QString dicIntenti = v(u"DicIntenti").text();
    if (!dicIntenti.isEmpty())
        return ggMenuClient->LeggiParametro(QStringLiteral("Fat.MessDichIntenti"), QString()).text() +
               QLatin1Char(' ') + dicIntenti + QLatin1Char(' ') +
               LeggiParamPers(QStringLiteral("Fatture"), QStringLiteral("DichIntentiDopo"), Variant(QString())).text();
    if (UtilGenerali::ValoreNumerico(v(u"NrPrgIntenti")) > 0) {
        QString t = LeggiParamPers(QStringLiteral("Fatture"), QStringLiteral("DichIntentiTesto"), Variant(QString())).text();
        t = sostituisci(t, QStringLiteral("NrRic"), numero(v(u"NrPrgIntenti")));
        t = sostituisci(t, QStringLiteral("DtRic"), data(v(u"DataRicComIntenti")));
        t = sostituisci(t, QStringLiteral("NrDich"), numero(v(u"NrDichIntenti")));
        t = sostituisci(t, QStringLiteral("DtDich"), data(v(u"DataDichIntenti")));
        pdImporto = UtilGenerali::ValoreNumerico(v(u"ImportoDichIntenti"));
        return t;
    }
    return QStringLiteral("NO");
}

// The single letter kept on the account row, for a database without letters of its own.
QString dalPianoConti(GestRecordset &recs, const QString &psGruppo, const QString &psMastro, const QString &psConto,
                      double &pdImporto)
{
    const QString sql = QStringLiteral("Select ") + kCampiPianoConti + QStringLiteral(" from PianoConti") +
                        dovePianoConti(psGruppo, psMastro, psConto);
    const QString alias = recs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
    if (recs.NessunRecord(alias))
        return QStringLiteral("NO");
    return dalContoLetto(recs, alias, QString(), pdImporto);
}

// The account row with every letter of the account in the letters' order (one row with Null
// letter fields when it has none); no row without the account row.
QString sqlContoELettere(const QString &psGruppo, const QString &psMastro, const QString &psConto)
{
    return QStringLiteral("Select ") + kCampiPianoConti + QStringLiteral(", PdcDicIntenti.*") +
           QStringLiteral(" from PianoConti Left Join PdcDicIntenti On PianoConti.Gruppo = PdcDicIntenti.Gruppo") +
           QStringLiteral(" And PianoConti.Mastro = PdcDicIntenti.Mastro And PianoConti.Conto = PdcDicIntenti.Conto") +
           dovePianoConti(psGruppo, psMastro, psConto) + QStringLiteral(" order by PdcDicIntenti.PdcDicIntenti");
}

// The note from the account row and its letters read together: the letters cited when the
// account has one (the one named, any state; else those in force), else the account's own.
QString dalContoELettere(GestRecordset &recs, const QString &alias, int16_t codice, const QString &psDicIntenti,
                         const QString &psParamTesto, const QString &psTestoDef, double &pdImporto)
{
    const QString tabella = QStringLiteral("PdcDicIntenti.");
    const auto lettera = [&] {
        const Variant v = recs.ValoreCampo(alias, u"PdcDicIntenti.PdcDicIntenti");
        return !v.isNull() && (codice == 0 || v.toInteger() == codice);
    };
    if (leggiLettere(recs, alias, tabella, lettera).empty()) {
        recs.MoveFirst(alias);
        return dalContoLetto(recs, alias, QStringLiteral("PianoConti."), pdImporto);
    }
    const std::vector<Lettera> lettere = leggiLettere(recs, alias, tabella, [&] {
        return lettera() &&
               (codice != 0 || textEquals(recs.ValoreCampo(alias, u"PdcDicIntenti.Attivo").text(), u"S"));
    });
    return lettere.empty() ? QStringLiteral("NO")
                           : componiNota(lettere, psDicIntenti, psParamTesto, psTestoDef, pdImporto);
}

} // namespace

QString EstraiSezioneTag(const QString &psTesto, const QString &psTag, bool pbTieni)
{
    const QString apri = tag(psTag);
    const QString chiudi = tag(QLatin1Char('/') + psTag);
    QString testo = psTesto;
    qsizetype da = 0;
    for (;;) {
        const qsizetype a = testo.indexOf(apri, da, Qt::CaseInsensitive);
        if (a < 0)
            break;
        const qsizetype inizio = a + apri.size();
        const qsizetype b = testo.indexOf(chiudi, inizio, Qt::CaseInsensitive);
        if (b < 0)
            break;
        const QString contenuto = pbTieni ? testo.mid(inizio, b - inizio) : QString();
        testo = testo.left(a) + contenuto + testo.mid(b + chiudi.size());
        // A kept block may hold another block of the same tag: look again from its start.
        da = a;
    }
    return testo;
}

QString TestoDichIntenti(const QString &psGruppo, const QString &psMastro, const QString &psConto,
                         const QString &psDicIntenti, const QString &psParamTesto, const QString &psTestoDef,
                         double &pdImporto, const Variant &pvCodice, ErroreDichIntenti *errore)
{
    pdImporto = 0;
    GestRecordset recs;
    try {
        const int16_t codice = pvCodice.isBlank() ? int16_t{0} : pvCodice.toInteger();
        QString sql = QStringLiteral("Select * from PdcDicIntenti") + QStringLiteral(" Where Gruppo = ") +
                      sqlTesto(psGruppo) + QStringLiteral(" And Mastro = ") + sqlTesto(psMastro) +
                      QStringLiteral(" And Conto = ") + sqlTesto(psConto);
        if (codice != 0)
            sql += QStringLiteral(" And PdcDicIntenti = ") + UtilGenerali::SqlValore(Variant(codice), 2);
        QString alias;
        bool dallaTabella = false;
        QString risultato;
        if (EsisteTabella(Variant(QStringLiteral("PdcDicIntenti")))) {
            alias = recs.Apri(*ggDbAzienda, gsNomeConn, alias, sqlContoELettere(psGruppo, psMastro, psConto), false,
                              dbOpenSnapshot);
            // Letters in force need their state: without it they are read as before, and fail.
            if (!recs.NessunRecord(alias) &&
                (codice != 0 || recs.Recordset(alias).EsisteCampo(u"PdcDicIntenti.Attivo"))) {
                risultato = dalContoELettere(recs, alias, codice, psDicIntenti, psParamTesto, psTestoDef, pdImporto);
                recs.ChiudiTutti();
                return risultato;
            }
            // No account row: its letters alone.
            alias = recs.Apri(*ggDbAzienda, gsNomeConn, alias, sql, false, dbOpenSnapshot);
            dallaTabella = !recs.NessunRecord(alias);
        }
        if (dallaTabella) {
            if (codice == 0)
                sql += QStringLiteral(" And Attivo = 'S'");
            sql += QStringLiteral(" order by PdcDicIntenti");
            alias = recs.Apri(*ggDbAzienda, gsNomeConn, alias, sql, false, dbOpenSnapshot);
            const std::vector<Lettera> lettere = leggiLettere(recs, alias);
            risultato = lettere.empty() ? QStringLiteral("NO")
                                        : componiNota(lettere, psDicIntenti, psParamTesto, psTestoDef, pdImporto);
        } else {
            risultato = dalPianoConti(recs, psGruppo, psMastro, psConto, pdImporto);
        }
        recs.ChiudiTutti();
        return risultato;
    } catch (const AppError &e) {
        recs.ChiudiTutti();
        if (errore) {
            *errore = {UtilGenerali::NumeroErrore(e), e.description()};
        } else {
            try {
                frmMsgCom::MsgErrfrm(e);
            } catch (const AppError &) {
                // Nothing more can be told.
            }
        }
        return {};
    }
}
