// The target header of the current order, stage by stage: search, creation, lock, fields,
// notes, letter-of-intent note, storing, registration, charges of a new invoice, exit.
#include "evadoordtest.h"

#include "blocchi.h"
#include "cambioordine.h"
#include "contesto.h"
#include "dichintenti.h"
#include "menuclient.h"
#include "scevaordven.h"
#include "spesebanca.h"
#include "testataincorso.h"
#include "textcompare.h"
#include "transazionecomune.h"
#include "utilgenerali.h"

#include <utility>

namespace {

// Searches made again when a found header is closed or changed by another user while the
// order waits for its lock; after them the order takes a new header.
constexpr int kRicerche = 10;

// The document charges' own operations, unless a test installs others.
AddebitiFattura &addebiti()
{
    static AddebitiFattura a{
        [](const QString &tab, int16_t anno, int32_t numRif, const QString &s1, const QString &s2, const QString &c1,
           const QString &c2, const QString &p1, const QString &p2, const QString &m1, const QString &m2,
           const QString &iva, int32_t &errore, QString &testo) {
            return AggiungiSpeseBanca(tab, anno, numRif, s1, s2, c1, c2, p1, p2, m1, m2, iva, errore, testo);
        },
        [](const QString &tab, int16_t anno, int32_t numRif, const QString &s1, const QString &s2, const QString &c1,
           const QString &c2, const QString &p1, const QString &p2, const QString &m1, const QString &m2,
           const QString &iva, int32_t &errore, QString &testo) {
            return AggiungiBolliDoc(tab, anno, numRif, s1, s2, c1, c2, p1, p2, m1, m2, iva, errore, testo);
        }};
    return a;
}

bool inFattura(const scEvaOrdVen &eva)
{
    return textEquals(eva.osDocEvaTipo, u"F");
}

QString criterioDocDaElab(const scEvaOrdVen &eva, int32_t numRif)
{
    return QStringLiteral("Utente = ") + UtilGenerali::SqlValore(Variant(ggMenuClient->NomeUtente()), 8) +
           QStringLiteral(" AND Programma = ") + UtilGenerali::SqlValore(Variant(gsProgramma + gsProgrammaPar), 8) +
           QStringLiteral(" AND Anno = ") + UtilGenerali::SqlValore(Variant(eva.oiAnno), 2) +
           QStringLiteral(" AND NumReg = ") + UtilGenerali::SqlValore(Variant(numRif), 3);
}

// The letter-of-intent note of an invoice, written again for every order it receives.
void notaDichIntenti(scEvaOrdVen &eva)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &ord = eva.msAliasOrd;
    const Variant codice = rs.ValoreCampo(ord, u"OrdVenTest.PdcDicIntenti").isNull()
                               ? Variant(int16_t{0})
                               : rs.LeggiCampo(ord, u"OrdVenTest.PdcDicIntenti");
    double importo = 0;
    ErroreDichIntenti errore;
    const QString nota = TestoDichIntenti(
        rs.LeggiCampo(ord, u"OrdVenTest.GruppoCli").text(), rs.LeggiCampo(ord, u"OrdVenTest.MastroCli").text(),
        rs.LeggiCampo(ord, u"OrdVenTest.ContoCli").text(), rs.LeggiCampo(ord, u"PianoConti.DicIntenti").text(),
        QStringLiteral("DichIntentiTab"), QString(), importo, codice, &errore);
    // An invoice without its letter's citation must not pass unnoticed; the run goes on.
    if (errore.numero != 0)
        eva.AccodaErroreEva(errore.numero, errore.descrizione);
    rs.ScriviCampo(eva.msAliasTesDoc, u"ElePdcDicIntenti", Variant(nota));
}

// The document's row of DocDaElab, once per document and run.
void registra(scEvaOrdVen &eva, const TestataInCorso &t)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &alias = eva.msAliasDocDaElab;
    rs.AddNew(alias);
    rs.ScriviCampo(alias, u"Utente", Variant(ggMenuClient->NomeUtente()));
    rs.ScriviCampo(alias, u"Programma", Variant(gsProgramma + gsProgrammaPar));
    rs.ScriviCampo(alias, u"Anno", Variant(eva.oiAnno));
    rs.ScriviCampo(alias, u"NumReg", Variant(t.numRif));
    rs.ScriviCampo(alias, u"DataOraEvas", UtilGenerali::ConvertiTipo(Variant(Date::now()), 7));
    rs.ScriviCampo(alias, u"Comando", Variant(QStringLiteral("C")));
    rs.Update(alias);
}

// A charge service's failure is reported and the run goes on: the header, its registration and
// the other charge stay.
void addebito(scEvaOrdVen &eva, const ServizioAddebito &servizio, bool conIva, const TestataInCorso &t)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &tes = eva.msAliasTesDoc;
    const auto campo = [&](QStringView nome) { return rs.LeggiCampo(tes, nome).text(); };
    int32_t errore = 0;
    QString testo;
    try {
        if (!servizio)
            throw AppError(91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"),
                           QStringLiteral("scEvaOrdVen"));
        const QString conto = campo(u"GruppoCli") + QLatin1Char('-') + campo(u"MastroCli") + QLatin1Char('-') +
                              campo(u"ContoCli");
        servizio(eva.msTabSpese, eva.oiAnno, t.numRif, QString(), t.segno, QString(), conto, QString(),
                 campo(u"Pagamento"), QString(), campo(u"OrdVenTest.Moneta"), conIva ? campo(u"Iva") : QString(),
                 errore, testo);
    } catch (const AppError &e) {
        errore = e.number();
        testo = e.description();
    }
    if (errore > 0)
        eva.AccodaErroreEva(errore, testo);
}

// The lock of a header that is not used after all: ours is deleted, another's only let go.
void lasciaTestata(TestataInCorso &t)
{
    if (t.lockScritto)
        SbloccaRecord(t.chiaveLock, true);
    ggRecLock().Chiudi(t.chiaveLock);
    t.chiaveLock.clear();
    t.lockPreso = false;
    t.lockScritto = false;
}

// Every way out but ten failed creations. A stopped order leaves nothing of its own behind on a
// document the run has not registered: the recovery of interrupted runs starts from DocDaElab
// and would never find a header or a lock left otherwise. A registered document keeps its lock
// at stage "1" and its DocDaElab row for that recovery.
void uscita(scEvaOrdVen &eva, TestataInCorso &t, bool esci) noexcept
{
    GestRecordset &rs = eva.mgRecs();
    try {
        if (rs.Aperto(eva.msAliasTesDoc) && rs.Recordset(eva.msAliasTesDoc).InModifica())
            rs.CancelUpdate(eva.msAliasTesDoc);
    } catch (const AppError &) {
    }
    bool rilasciato = false;
    if (esci) {
        bool registrata = t.registrata;
        try {
            if (!registrata && t.numRif != 0)
                registrata = DocumentoRegistrato(eva, t.numRif);
            if (!registrata && t.creata)
                CancellaTestata(eva, t.numRif);
        } catch (const AppError &) {
        }
        if (!registrata && t.lockScritto) {
            rilasciato = true;
            try {
                SbloccaRecord(t.chiaveLock, true);
            } catch (const AppError &e) {
                // The lock stays: the order's error line is followed by the release's.
                eva.AccodaErroreEva(e.number(), e.description());
            }
        }
    }
    try {
        if (t.lockPreso && !rilasciato) {
            QString utente, gestione = QStringLiteral("M"), varie, statoLock;
            BloccaRecord(QStringLiteral("1"), QString(), 0, 0, false, true, t.chiaveLock, QStringLiteral("Il movimento"),
                         utente, gestione, varie, false, QString(), 0, 0, 0, statoLock);
        }
        if (!t.chiaveLock.isEmpty())
            ggRecLock().Chiudi(t.chiaveLock);
    } catch (const AppError &) {
    }
}

} // namespace

AddebitiFattura ImpostaAddebitiFattura(AddebitiFattura nuovi)
{
    std::swap(addebiti(), nuovi);
    return nuovi;
}

bool DocumentoRegistrato(scEvaOrdVen &eva, int32_t numRif)
{
    GestRecordset &rs = eva.mgRecs();
    const QString &alias = eva.msAliasDocDaElab;
    if (alias.isEmpty() || !rs.Aperto(alias) || rs.NessunRecord(alias))
        return false;
    rs.FindFirst(alias, criterioDocDaElab(eva, numRif));
    return !rs.NoMatch(alias);
}

void EvadoOrdTest(scEvaOrdVen &eva, bool &pbEsci)
{
    TestataInCorso t;
    bool esci = false;
    try {
        eva.msFase = QStringLiteral("Evasione Ordini: Evasione di un singolo Ordine");
        t.cambioOrdine = CambioOrdine(eva);
        for (int ricerca = 1;; ++ricerca) {
            CercaTestata(eva, t, ricerca > kRicerche);
            if (t.nuova && !CreaTestata(eva, t, esci)) {
                // Ten failed attempts: no header, no lock.
                pbEsci = true;
                return;
            }
            BloccaTestata(eva, t, esci);
            // A header whose lock the run already held (its own document, the lock row left at
            // the previous order) was found under that lock: nobody else can have changed it.
            const bool giaNostra = t.lockPreso && !t.lockScritto;
            if (esci || t.nuova || giaNostra || TestataAncoraValida(eva, t))
                break;
            lasciaTestata(t);
        }
        if (!esci) {
            GestRecordset &rs = eva.mgRecs();
            rs.Edit(eva.msAliasTesDoc);
            ScriviCampiTestata(eva, t);
            ScriviNoteTestata(eva, t);
            if (inFattura(eva))
                notaDichIntenti(eva);
            // A header not yet registered by the run is stored together with its registration:
            // a header changed for an order and not registered would be found by no recovery.
            const bool daRegistrare = !DocumentoRegistrato(eva, t.numRif);
            TransazioneComune memorizzazione(daRegistrare);
            rs.Update(eva.msAliasTesDoc);
            if (daRegistrare)
                registra(eva, t);
            memorizzazione.conferma();
            t.registrata = true;
            if (inFattura(eva) && t.nuova) {
                addebito(eva, addebiti().AggiungiSpeseBanca, true, t);
                addebito(eva, addebiti().AggiungiBolliDoc, false, t);
            }
        }
    } catch (const AppError &e) {
        eva.AccodaErroreEva(e.number(), e.description());
        esci = true;
    }
    uscita(eva, t, esci);
    if (esci)
        pbEsci = true;
}
