#include "chiusuradocumenti.h"

#include "avanzamentoelab.h"
#include "blocchi.h"
#include "bollofe.h"
#include "contesto.h"
#include "menuclient.h"
#include "sccalcpiedefat.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <memory>

namespace {

const QString kAliasTesChiusura = QStringLiteral("TesChiusura");

bool inFattura(const scEvaOrdVen &eva)
{
    return textEquals(eva.osDocEvaTipo, u"F");
}

QString nomeDocumento(int16_t anno, int32_t numRif)
{
    return QStringLiteral("Doc. n.rif ") + QString::number(numRif) + QStringLiteral(" anno ") + QString::number(anno);
}

// The document's lock is held by another user: it is left to them.
void inUso(scEvaOrdVen &eva, int16_t anno, int32_t numRif, const QString &utente)
{
    eva.AccodaErroreEva(3260, nomeDocumento(anno, numRif) + QStringLiteral(" in uso da ") + utente +
                                  QStringLiteral(": totali non scritti"));
}

// The lock of a document under closing, released on every way out unless the document is
// finished (its row is then deleted) or left for the recovery (the row stays as it is).
class LockChiusura {
public:
    ~LockChiusura() { ggRecLock().Chiudi(m_chiave); }

    // The document's lock found again, ours, and put at stage "2"; a lock row gone missing is
    // taken anew. False, with an error line, when it is another user's or cannot be had.
    bool prendi(scEvaOrdVen &eva, int16_t anno, int32_t numRif)
    {
        QString utente, gestione = QStringLiteral("3"), varie, statoLock;
        int16_t esito = BloccaRecord(QStringLiteral("2"), eva.msTipoLockTes, eva.oiAnno, numRif, true, false, m_chiave,
                                     QStringLiteral("La fattura"), utente, gestione, varie, true, QString(), 0, 0, 0,
                                     statoLock)
                            .toInteger();
        if (esito == EsitoBlocco::Preso) {
            if (!textEquals(utente, ggMenuClient->NomeUtente())) {
                inUso(eva, anno, numRif, utente);
                return false;
            }
            gestione = QStringLiteral("M");
            esito = BloccaRecord(QStringLiteral("2"), QString(), 0, 0, false, false, m_chiave,
                                 QStringLiteral("Il movimento"), utente, gestione, varie, false, QString(), 0, 0, 0,
                                 statoLock)
                        .toInteger();
        } else if (esito == EsitoBlocco::Assente) {
            esito = BloccaRecord(QStringLiteral("2"), eva.msTipoLockTes, eva.oiAnno, numRif, true, false, m_chiave,
                                 QStringLiteral("La fattura"), utente, gestione, varie, false, QString(), 0, 0, 0,
                                 statoLock)
                        .toInteger();
            if (esito == EsitoBlocco::InUso) {
                inUso(eva, anno, numRif, utente);
                return false;
            }
        }
        if (esito != EsitoBlocco::Preso) {
            const ErroreBlocco &e = UltimoErroreBlocco();
            eva.AccodaErroreEva(e.numero, nomeDocumento(anno, numRif) +
                                              QStringLiteral(" errore nel loccaggio della testata doc.: ") +
                                              e.descrizione);
            return false;
        }
        return true;
    }

    void rilascia() { SbloccaRecord(m_chiave, true); }

private:
    QString m_chiave;
};

QString sqlTestata(const scEvaOrdVen &eva, int16_t anno, int32_t numRif)
{
    const QString &t = eva.msTabTesta;
    QString sql = QStringLiteral("Select ") + t + QStringLiteral(".*");
    if (inFattura(eva))
        sql += QStringLiteral(" From ") + t;
    else
        sql += QStringLiteral(",Pianoconti.Bolli") + QStringLiteral(" From ") + t + QStringLiteral(" Left Join Pianoconti") +
               QStringLiteral(" On ") + t + QStringLiteral(".GruppoCli = Pianoconti.Gruppo") + QStringLiteral(" And ") +
               t + QStringLiteral(".MastroCli = Pianoconti.Mastro") + QStringLiteral(" And ") + t +
               QStringLiteral(".ContoCli = Pianoconti.Conto");
    return sql + QStringLiteral(" where anno = ") + UtilGenerali::SqlValore(Variant(anno), 2) +
           QStringLiteral(" AND NumRif = ") + UtilGenerali::SqlValore(Variant(numRif), 3);
}

// The footer's error lines join the run's list after one line naming the document.
void elencaErroriPiede(scEvaOrdVen &eva, int16_t anno, int32_t numRif, const scCalcPiedeFat &calc)
{
    eva.AccodaErroreEva(0, nomeDocumento(anno, numRif) + QStringLiteral(": errori nel calcolo del piede, totali non scritti"));
    for (const QString &riga : calc.osErrori.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        if (!riga.startsWith(QStringLiteral("..")))
            eva.AccodaRigaErrore(riga);
}

// One document: true when it is finished (totals written, lock deleted); false when it is left
// registered for the recovery.
bool chiudiDocumento(scEvaOrdVen &eva, std::unique_ptr<scCalcPiedeFat> &calc, int16_t anno, int32_t numRif)
{
    LockChiusura lock;
    if (!lock.prendi(eva, anno, numRif))
        return false;
    GestRecordset &rs = eva.mgRecs();
    struct Chiusura {
        GestRecordset &rs;
        ~Chiusura() { rs.Chiudi(kAliasTesChiusura); }
    } chiusura{rs};
    rs.Apri(*ggDbAzienda, gsNomeConn, kAliasTesChiusura, sqlTestata(eva, anno, numRif), false, dbOpenDynaset);
    if (!calc)
        calc = std::make_unique<scCalcPiedeFat>();
    calc->osTabTesta = eva.msTabTesta;
    calc->osTabDett = eva.msTabDett;
    calc->osTabLiv = eva.msTabLiv;
    calc->osTabSpese = eva.msTabSpese;
    if (inFattura(eva))
        calc->CalcPiedeFat(anno, numRif, false, -1);
    else
        calc->CalcPiedeFat(anno, numRif, false, -1, rs.LeggiCampo(kAliasTesChiusura, u"Pianoconti.Bolli"));
    if (calc->oiNumErrori > 0) {
        elencaErroriPiede(eva, anno, numRif, *calc);
        return false;
    }
    if (inFattura(eva) && textEquals(rs.LeggiCampo(kAliasTesChiusura, u"Bolli").text(), u"S")) {
        const ErroreAddebito e = AggiornaBolloFe(anno, numRif, QStringLiteral("S"), calc->odTotBolli.toDouble());
        if (e) {
            eva.AccodaErroreEva(e.numero, nomeDocumento(anno, numRif) +
                                              QStringLiteral(": bollo della fattura elettronica non scritto, ") +
                                              e.descrizione);
            return false;
        }
    }
    rs.Edit(kAliasTesChiusura);
    rs.ScriviCampo(kAliasTesChiusura, u"TotMerce", Variant(calc->odTotMerce));
    rs.ScriviCampo(kAliasTesChiusura, u"TotSpese", Variant(calc->odTotSpese));
    rs.ScriviCampo(kAliasTesChiusura, u"TotIva", Variant(calc->odTotIva));
    rs.ScriviCampo(kAliasTesChiusura, u"TotDocum", Variant(calc->odTotFattura));
    rs.ScriviCampo(kAliasTesChiusura, u"TotImpon", Variant(calc->odTotImponibile));
    rs.ScriviCampo(kAliasTesChiusura, u"ImponRitAcc", Variant(calc->odTotImpRitAcc));
    rs.Update(kAliasTesChiusura);
    try {
        lock.rilascia();
    } catch (const AppError &e) {
        // Still locked: left registered, the recovery closes it again.
        eva.AccodaErroreEva(e.number(), nomeDocumento(anno, numRif) + QStringLiteral(": blocco del documento non rilasciato, ") +
                                            e.description());
        return false;
    }
    return true;
}

} // namespace

void ChiudiFatBolle(scEvaOrdVen &eva, QString &psAliasDocDaElab, bool &pbEsci, AvanzamentoElab &avanzamento)
{
    eva.msFase = QStringLiteral("Chiusura delle fatture/bolle");
    GestRecordset &rs = eva.mgRecs();
    const QString &alias = psAliasDocDaElab;
    // The one footer calculator of the closing, made for its first document.
    std::unique_ptr<scCalcPiedeFat> calc;
    bool lasciati = false;
    if (!rs.NessunRecord(alias))
        rs.MoveFirst(alias);
    while (!pbEsci && !rs.Eof(alias)) {
        ++eva.mlContaAvanz;
        avanzamento.Avanza(Variant(eva.mlContaAvanz), Variant(), true);
        const int16_t anno = rs.LeggiCampo(alias, u"Anno").toInteger();
        const int32_t numRif = rs.LeggiCampo(alias, u"NumReg").toLong();
        // A document left registered is passed over: the walk goes on with the next row.
        if (chiudiDocumento(eva, calc, anno, numRif))
            rs.Delete(alias);
        else
            lasciati = true;
        rs.MoveNext(alias);
    }
    rs.Chiudi(alias);
    // Not a normal end: the run's saved criteria stay for the recovery of what is left.
    if (lasciati)
        pbEsci = true;
}
