#pragma once
// The picking form "Selezione ordini da evadere" without its window: the members the form's
// procedures share, its life from load to unload, the order selection cut into groups of
// orders that can go into the same documents, the per-user staging rows of the group and the
// hand-over of a picked group to the run. The window (VistaEvaManu) shows what this decides;
// every message goes through the dialog seam.
#include "campiaggiuntivi.h"
#include "evasionemanuale.h"
#include "gestrecordset.h"
#include "qtadadimensione.h"
#include "regolecelle.h"
#include "sqlprelievo.h"
#include "vbdate.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class VistaEvaManu;
class Variant;

// "S" without regard to case: the flags of the staging rows and of the parameters.
bool eSi(const Variant &valore);

class ControlloEvaManu : public FormEvasioneManuale {
public:
    explicit ControlloEvaManu(VistaEvaManu &vista);
    ~ControlloEvaManu() override;
    ControlloEvaManu(const ControlloEvaManu &) = delete;
    ControlloEvaManu &operator=(const ControlloEvaManu &) = delete;

    // ------------------------------------------------------------------ life of the form
    // Form_Load: parameters, column lists, masks; oiLoadOk 1 at the end. Errors reach the caller.
    void Form_Load();
    // Form_Unload: with oiLoadOk 1, the group released and every record set closed; ignores errors.
    void Form_Unload() noexcept;
    // -1 while loading, 1 once loaded (0 before).
    int16_t oiLoadOk() const { return miLoadOk; }

    // Starts the manual fulfilment of the request held by ogEvaOrd.
    void EvasioneManuale() override;
    // Stages the next group and lays out the grids; false when the form was closed instead
    // (no group left, or a failure that was shown).
    bool EstraeOrdiniCoerenti();
    // Releases the order locks this session took on the user's staged orders and deletes the
    // user's staging rows; false (after its message) when the staging rows could not be deleted.
    bool CancellaAppo();
    // comLivelli: level rows <-> summary rows in the line grid.
    void comLivelli_Click();
    // "&Prosegui >>>": checks, rate, balance-only flag, the run, the next group.
    void ComProsegui_Click();
    // The checks of the hand-over on the user's staged lines (summary rows aside): a refusal
    // text, whether any line has work for the run, whether the run only closes lines.
    struct EsitoControlli {
        QString rifiuto;
        bool lavoro = false;
        bool soloASaldo = true;
    };
    EsitoControlli ControllaRigheDaEvadere();
    // The caption of comLivelli for mbMostraLivelli.
    QString DidascaliaLivelli() const;

    // ------------------------------------------------------------------ quantity from dimensions
    // What the dimension dialog needs for a line of the line grid (its order line's unit and
    // dimensions); nothing when the feature is off, the line is not found or its unit is in no
    // list. A failure is shown with the error dialog.
    std::optional<DatiQtaDaDim> DatiQtaDaDimRiga(int16_t anno, int32_t numRif, int32_t rigDet);
    // Called back by the dialog: the quantity goes into the line grid's current row as if typed.
    void AggQtaDaDim(double pdQta);

    // ------------------------------------------------------------------ session and locks
    // One picking session per user: the session's own LockGest row (type "V"), taken when the
    // manual fulfilment starts; a second session of the same user is refused while it may be
    // open. A row left by a session whose program is over is taken over, with the order locks
    // it took while picking (not those of a run it was handing a group to: the recovery's).
    bool PrendiSessione();
    // The number of a user's session row (the first tried).
    static int32_t NumeroSessione(const QString &utente);
    void RilasciaSessione() noexcept;
    // The session row's stage while a group is handed over to the run ("1") and after ("0");
    // false when the row is no longer this session's.
    bool SegnaSessioneInEvasione(bool inEvasione);
    // The number of the session row once taken (0 before): the parent of its order locks.
    int32_t NumeroSessioneAperta() const { return miNumeroSessione; }
    bool SessioneAperta() const { return !msChiaveSessione.isEmpty(); }
    // The order locks taken by this session, each held through its key in ggRecLock(): only
    // these count as the form's own (a lock of the same user taken elsewhere does not).
    void RegistraBloccoOrdine(int16_t anno, int32_t numRif, const QString &chiave);
    bool BloccoDellaSessione(int16_t anno, int32_t numRif) const;
    // Deletes the lock row this session took on the order, when it is still that row; no-op
    // when the session holds no lock of the order.
    void RilasciaBloccoOrdine(int16_t anno, int32_t numRif) noexcept;

    // ------------------------------------------------------------------ helpers of the form
    // The current user, asked of the menu server at each use.
    static QString Utente();
    // The user as an SQL literal, for the statements on the staging tables.
    static QString UtenteSql();
    // The common message dialog with the single button "&Ok" (width 80, margin 600).
    static void Messaggio(const QString &testo);
    // "Errore N° <n>: <text> in EvasioneManuale" and, for a private procedure, " (<name>)".
    static void MessaggioErrore(int32_t numero, const QString &testo, const QString &procedura = {});
    VistaEvaManu &vista() { return m_vista; }
    // The form's record sets (created on first use).
    GestRecordset &mgRecManu();

    // ------------------------------------------------------------------ picking and cells
    // A header row the grid has saved (dbgLista_AfterUpdate 0): with "Sel." "S" the order is
    // picked, otherwise released; then the line and expense grids are laid out anew. True when
    // the order's marks went back to "N" (the header grid shows the row anew).
    bool TestataSalvata(int16_t anno, int32_t numRif);
    // A line row the grid has saved (dbgLista_AfterUpdate 1): its level rows follow a summary
    // row while the levels are hidden, and its fee line follows it. True when the fee line was
    // written (the line grid shows it anew).
    bool RigaSalvata(const ChiaveRigaManuale &riga);
    // The check of a typed value before the grid stores it (dbgLista_BeforeColUpdate): the
    // message is shown here; the form stores `valore` (and the sibling flag) unless refused.
    EsitoCella ControllaCella(GrigliaManuale griglia, const ChiaveRigaManuale &riga, const QString &campo,
                              const Variant &testo);
    // A typed quantity to fulfil once accepted (dbgLista_AfterColEdit): rounded to the
    // company's quantity decimals.
    static double ArrotondaQtaDaEva(const Variant &testo);
    // A click on a flag cell: the flag switched in the staging row, which is then handled as a
    // saved row (an order picked or released, a line's follow-ups). True when a flag changed.
    bool ClicFlag(GrigliaManuale griglia, const ChiaveRigaManuale &riga, const QString &campo);

    // Picking an order: its lock taken ("Riprova"/"Esci" while another holds it) and its rows
    // staged anew in one transaction. On every way out but success its marks go back to "N"
    // and nothing of it stays staged or locked.
    enum class EsitoPrelievo { Prelevato, Rinuncia, Fallito };
    EsitoPrelievo PrelevaOrdine(const OrdineDaPrelevare &ordine);
    // Releasing it: the user's staged rows of the order deleted, this session's lock freed.
    // Errors of the deletions reach the caller.
    void RilasciaOrdine(int16_t anno, int32_t numRif);
    // The lock loop of a pick: the order locked by this session (now or before), given up, or
    // failed (told to the user).
    EsitoPrelievo BloccaOrdineDelGruppo(int16_t anno, int32_t numRif);
    // The order as the picking stages it, with the group's settings and the request's ranges.
    OrdineDaPrelevare OrdineDelGruppo(int16_t anno, int32_t numRif, bool evadeTutto, const Variant &dataCons) const;

    // ------------------------------------------------------------------ shared members
    double odRisVidVal = 1;
    QString msAliasOrdini;       // the order selection, open from EvasioneManuale to unload
    QString msAliasEvaTest;      // additions to OrdVenEvaTest during a group extraction
    QString msGesTaglie = QStringLiteral("N"); // "S" when the company handles levels
    QString msPartitaEnse;       // personal "Ddt"/"PartitaEnse"
    bool mbCambioRichiesto = false; // the group's currency needs a rate
    QString msMonetaGruppo;      // that currency, else empty
    Date mtDataCambio;           // date of the rate proposed for the group
    bool mbOrdAperto = false;    // the group's first order is an open order
    bool mbMostraLivelli = true; // line grid: level rows (true) or "*liv" summary rows
    bool mbProseguiInCorso = false; // a hand-over runs
    bool mbQtaDaDimen = false;   // quantity from dimensions enabled
    QString msUMLineari, msUMQuadre, msUMCubiche; // ";" + list + ";"
    double mdQtaDimenRapp = 1000; // divisor of the dimension units
    QString msMascheraQta;       // display mask of quantities
    std::array<QString, 3> msAliasGriglia; // record sets of the three grids
    std::vector<int16_t> miPosColTesta; // header grid positions of the standard fields (4: Selez)
    bool mbGrigliaRicaricata = false;
    QString msMonetaOrdine;
    // The seventeen staging fields the line grid's columns are addressed by.
    QStringList msCampiDett;
    // The user's extra columns and column order lists of the order and line grids.
    CampiAggiuntivi mCampiAgg;

private:
    VistaEvaManu &m_vista;
    int16_t miLoadOk = 0;
    bool mbScaricata = false;
    bool mbAperta = false; // on screen with the request (SegnaAperta)
    QString msChiaveSessione;
    int32_t miNumeroSessione = 0;
    std::map<std::pair<int16_t, int32_t>, QString> mBlocchiOrdini;
    std::unique_ptr<GestRecordset> m_recManu;
};
