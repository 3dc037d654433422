#pragma once
// The fulfilment engine: one object carries one fulfilment request in its public criteria and
// the working state of the run it drives. The request dialog creates it at its first OK and
// keeps it while it stays open; the manual picking form works with the same object.
//
// The methods of document assembly, line conversion and manual grouping live in their own
// libraries as functions taking the engine; they share the working state below, which is
// therefore public.
#include "avanzamentoelab.h"
#include "gestrecordset.h"
#include "paginaordini.h"
#include "variant.h"
#include "vbdate.h"
#include "vettorechiavi.h"

#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class ServiziEvasione;

// The fulfilment types a request may name (the lookup filter of the dialog's field): delivery-
// note and invoice types with sign '+' that are not internal (an Interno left Null is not).
QString FiltroTipoEvasione();

class scEvaOrdVen {
public:
    scEvaOrdVen();
    ~scEvaOrdVen();
    scEvaOrdVen(const scEvaOrdVen &) = delete;
    scEvaOrdVen &operator=(const scEvaOrdVen &) = delete;

    // ------------------------------------------------------------------ request criteria
    int16_t oiAnno = 0;            // year of the run's documents (year of otDataEvasione)
    bool obEvasManule = false;     // manual picking run
    Date otDataEvasione;           // fulfilment date
    QString osFattDocOrd;          // order document type
    QString osTipoDocEva;          // target document type
    QString osDoveDesLunga;        // DoveStampoDesLung of the target type
    bool obEvACorrisp = false;     // cash-sale run
    QString osMoneta;              // currency of the orders, empty = any
    QString osCliDa, osCliA;       // customer account range
    QString osArticoloDa, osArticoloA;
    Variant ovDataConsDa, ovDataConsA; // dates or Null
    Variant ovDataRifDa, ovDataRifA;
    int32_t olNumRifDa = 0, olNumRifA = 0;
    Variant ovDataDocDa, ovDataDocA;
    int32_t olNumDocDa = 0, olNumDocA = 0;
    QString osPrefDoc;             // prefix of the new documents
    int16_t oiPerIvaMese = 0, oiPerIvaAnno = 0; // VAT period of the new documents
    QString osInDesc;              // the order description must begin with it
    bool obSoloASaldo = false;     // balance-only run
    // Exchange rate per currency code (Valore the rate, Data its date); created on first use.
    VettoreChiavi &ogCambi();
    void setOgCambi(std::shared_ptr<VettoreChiavi> cambi) { m_cambi = std::move(cambi); }
    QString osRegimeMargine;       // "S"/"N" of the order type
    int16_t oiSplitPay = 0;        // 0 not an invoice type, 1 invoice, 2 invoice with split payment
    int32_t miNumErrori = 0;       // errors of the current run (counts past 32,767 too)
    QString msErrori;              // error list of the current run
    QString osDocEvaTipo;          // Tipo of the target type: "F" invoice, else delivery note

    // ------------------------------------------------------------------ run control
    QString PrepSqlWhere();
    QString PrepSqlSelOrd(bool pbJoinSel = false, int16_t piAnnoOrd = 0, int32_t plNumRifOrd = 0);
    // Its two parts: the columns, and FROM with WHERE.
    QString CampiSelOrd();
    QString DaSelOrd(bool pbJoinSel, int16_t piAnnoOrd, int32_t plNumRifOrd);
    QString PrepSqlOrder();
    QString PrepSqlDett(int16_t piSegna = 0, bool pbRipri = false);
    QString PrepSqlRilettOrdDett(const QString &psROrdDet);
    QString PrepSqlRilettOrdDettLiv(const QString &psROrdDet);
    // True when the run went through to its end (every order converted, the documents closed);
    // false when it was refused, stopped by an error or is already running.
    bool LanciaEvasioneOrdVen(bool pbDaOrdAperto = false);
    void FineEvasione(bool &pbEsci);
    bool LeggiComuniOK(bool pbRipri = false, const Variant &pvTerminaleMenu = {});
    void RileggiDocEOrd(int16_t piAnnoOrd, int32_t plNumRifOrd, int16_t piAnnoDoc, int32_t plNumRifDoc,
                        QString &psErrori, const QString &psUtente, int16_t piAnnoRegMov = 0,
                        int32_t plNumRegMov = 0);
    Variant LegDaOrdTes(const QString &psCosa);
    bool LetCtrFatDocOrdErr(QString &psErrore);
    void LeggiValTestOrd(bool &pbEsci);
    void PostEvasioneDett(int16_t piRigheCreate, bool &pbEsci);
    // The expenses, state and release of PostEvasioneDett, inside its transaction.
    void PostEvasioneDettInTransazione(int16_t piRigheCreate, bool &pbEsci);
    void EvadeOrdine(bool &pbEsci);
    // The current order, which has nothing to deliver, closed with no document or movement: its
    // lines (EvadeDettSoloASaldo), its state from its lines, its lock released.
    void ChiudiOrdineSenzaConsegne(bool &pbEsci);

    // Appends one line to the run's error list: "Errore n°" number " : " text " in " msFase
    // " di Evasione Ordini"; after 30 lines one line of dots, later errors only counted.
    void AccodaErroreEva(int32_t plNumero, const QString &psTesto);
    // Appends a line already written (another component's error line) under the same limit.
    void AccodaRigaErrore(const QString &psRiga);

    // The services of document assembly and line conversion this engine calls: its own when
    // given, else the program's.
    ServiziEvasione &servizi();
    void ImpostaServizi(ServiziEvasione *servizi) { m_servizi = servizi; }

    // ------------------------------------------------------------------ working state
    // Shared by the methods of run control, document assembly, line conversion and manual
    // grouping; each member is filled where the comment says.
    GestRecordset &mgRecs();       // the engine's record sets, until the end of the run
    void RilasciaRecordset() { m_recs.reset(); }
    QString msAliasOrd;            // order cursor (run driver)
    QString msAliasTesDoc;         // current target header (EvadoOrdTest)
    QString msAliasDocDaElab;      // the run's DocDaElab rows (run driver)
    QString msAliasLockOrd;        // lock of the current order (LeggiValTestOrd)
    QString msAliasLockMov;        // lock of the cash-sale movement
    QString msRidMovTes;           // header of the cash-sale movement (CreaTestMovMag)
    QString msGesTaglie = QStringLiteral("N"); // "S" when levels are handled (LeggiComuniOK)
    QString msRagOrd;              // grouping rule of the current order, "N" when empty
    QString msOrdAperto = QStringLiteral("N"); // "S" for an open order
    bool mbDaOrdAperto = false;    // the run's pbDaOrdAperto
    AvanzamentoElab &mgAvanzElab(); // the run's progress display
    int32_t mlContaAvanz = 0;      // progress counter
    int32_t mlOrdiniSelezionati = 0; // orders the run selected (run driver)
    int32_t mlRighePagina = 500;   // orders the run reads at a time
    QString msFase;                // stage text, ends every error line
    QString msTabTesta, msTabDett, msTabLiv, msTabSpese; // the target kind's four tables
    QString msTipoLockTes;         // lock type of the target headers: "F" or "D"
    QString msFattAccomp, msPrezzoDDT, msFattDocEvasione; // of the target type
    QString msComeEva;             // "Fat.ComeEva"
    std::array<QString, 5> msDescLibTest, msRigaDaEva; // "Fat.DescLibTest"k / "Fat.RigaDaEva"k, k = 1..4
    QString msCarScar, msCausaleDiBa, msScaricoComp; // stock causal of the order type
    QString msCausaleCorr, msDestCorr; // cash-sale causal and its Dest
    QString msGruppoCliCorr, msMastroCliCorr, msContoCliCorr; // cash-sale customer
    int16_t miAnnoMov = 0;         // key of the cash-sale movement
    int32_t mlNumRegMov = 0;
    QString msDicIntentiVerif;     // "DicIntentiVerif"
    bool mbRigDescrEva = false;    // "RigDescrEva" given
    std::array<QString, 4> msRigDescrEva; // its parts 1..3
    double mdDivPezziConf = 1.0;   // "DivPezziConf"
    bool mbStDesLunDaDoc = false;  // "StDesLunDaDoc" is "S"
    // Dimension settings, re-read for every order.
    bool mbQtaDaDimen = false;
    QString msQtaDaDimUML, msQtaDaDimUMQ, msQtaDaDimUMC;
    QString msNotaDimUML, msNotaDimUMQ, msNotaDimUMC;
    double mdQtaDimenRapp = 1000.0;
    // The highest RigDet and RigLiv of each document the run holds locked, by year and NumRif,
    // as read once and then raised by the lines the run wrote to it (ultimerighe.h).
    struct UltimeRighe {
        QString tabella;
        int32_t rigDet = 0, rigLiv = 0;
        uint64_t annullamenti = 0; // the connection's rollbacks when they were taken
    };
    std::map<std::pair<int16_t, int32_t>, UltimeRighe> mUltimeRighe;
    // The sign and default notes of a target document type (FattDocumenti), read once a run:
    // the run's types do not change under it.
    struct NoteTipoDocumento {
        QString codice;
        std::vector<Variant> valori;
        bool letto = false;
    } mNoteTipoDocumento;
    // The order whose every line a record set of the line conversion holds, as the run has
    // written them since (under its lock), with the connection's rollbacks when they were read;
    // the set stays open for the order's state (LasciaRigheOrdine closes it).
    struct RigheOrdineTenute {
        QString alias; // empty when no set holds them
        int16_t anno = 0;
        int32_t numRif = 0;
        uint64_t annullamenti = 0;
    } mRigheOrdineTenute;
    // The order whose check read every expense of it and found none (an automatic run): locked
    // by the run, it has none to transfer.
    struct OrdineSenzaSpese {
        int16_t anno = 0;
        int32_t numRif = 0;
        bool senza = false;
    } mOrdineSenzaSpese;
    // The statement whose rows the checks of the current order left open for the next check
    // (RigheDaControllare); empty when the next check must read them.
    QString msRigheControllo;
    // Break fields (grouping fields of a new and an old order) of manual grouping.
    QVector<Variant> mvCampiRotNew, mvCampiRotOld;

private:
    // The keys of the selected orders, in the run's order.
    std::vector<ChiaveOrdine> ChiaviOrdini();
    // Lock phase of the run driver: every selected order locked (automatic mode) and its state
    // checked; after a stop the locks taken are released (SbloccaOrdini, the first plFinoA
    // orders).
    void BloccaOrdini(const std::vector<ChiaveOrdine> &pOrdini, bool &pbEsci);
    void SbloccaOrdini(QString &psChiave, const std::vector<ChiaveOrdine> &pOrdini, size_t plFinoA);
    // The orders converted one by one, read page by page, until the end or a stop.
    void ConvertiOrdini(const std::vector<ChiaveOrdine> &pOrdini, bool &pbEsci);
    // The statements that mark the current order's lines (mode 1) or level rows (mode 2).
    QString SqlSegnaDett(int16_t piSegna, bool pbLivelliNeiTermini, const Variant &pvAnno, const Variant &pvNumRif,
                         const QString &psChiaveOrdine, const QString &psTermini);
    static QString livelliDelloStaging();
    // OrdVenTest.Stato of the order as the database has it now.
    static QString StatoOrdineAttuale(int16_t piAnno, int32_t plNumRif);
    // Whether an article line of the current order is left open.
    bool RigheArticoloAperte();
    // The order's lines held by the line conversion closed.
    void LasciaRigheOrdine();

    bool m_runInCorso = false;
    // The current order is only closed (balance-only run, or a picked order with nothing to
    // deliver): set by EvadeOrdine, read by PostEvasioneDett.
    bool mbOrdineSoloASaldo = false;
    std::unique_ptr<GestRecordset> m_recs;
    std::unique_ptr<AvanzamentoElab> m_avanz;
    std::shared_ptr<VettoreChiavi> m_cambi;
    ServiziEvasione *m_servizi = nullptr;
};
