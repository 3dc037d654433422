#include "frmevamanu.h"

#include "colonnegriglie.h"
#include "contesto.h"
#include "dialoghi.h"
#include "frmcalcqtadadim.h"
#include "gestrecordset.h"
#include "grigliaevamanu.h"
#include "guard.h"
#include "inizmaschera.h"
#include "menuclient.h"
#include "modellogriglia.h"
#include "modhtmlhelp.h"
#include "monete.h"
#include "puntatore.h"
#include "tastiera.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int32_t kContestoAiuto = 35300;

// A handler run from the event loop: an error is shown with the standard error dialog and the
// form stays usable.
template <typename F>
void conErrori(F &&gestore)
{
    guarded("frmEvaManu", [&] {
        try {
            gestore();
        } catch (const AppError &e) {
            Clessidra(false);
            frmMsgCom::MsgErrfrm(e);
        }
    });
}

// Prices and amounts with every decimal of their currency ("133,00", not "133").
QString mascheraValuta(const Variant &decimali)
{
    return UtilGenerali::MascheraNumero(Variant(static_cast<int16_t>(0)), decimali.toInteger(), Variant(QStringLiteral("0")),
                                        true, QStringLiteral("#,##0"), false, QString(), QStringLiteral("0"));
}

QLabel *etichetta(QWidget *form, const QString &nome, int indice, const QString &testo)
{
    auto *l = new QLabel(testo, form);
    l->setObjectName(nome);
    l->setProperty("Index", indice);
    return l;
}

QPushButton *pulsante(QWidget *form, const QString &nome, const QString &testo)
{
    auto *p = new QPushButton(testo, form);
    p->setObjectName(nome);
    p->setMinimumWidth(120);
    return p;
}

} // namespace

FrmEvaManu::FrmEvaManu(QWidget *parent) : QWidget(parent), m_ctl(*this)
{
    setObjectName(QStringLiteral("frmEvaManu"));
    setWindowTitle(QStringLiteral("Selezione ordini da evadere"));
    setAttribute(Qt::WA_DeleteOnClose);
    creaControlli();
    ImpostaHelpContextID(this, kContestoAiuto);
}

FrmEvaManu::~FrmEvaManu() = default;

void FrmEvaManu::creaControlli()
{
    resize(800, 600);
    Label1[18] = etichetta(this, QStringLiteral("Label1"), 18, QStringLiteral("Ordini del cliente:"));
    lab[10] = etichetta(this, QStringLiteral("lab"), 10, {});
    Label1[20] = etichetta(this, QStringLiteral("Label1"), 20, QStringLiteral("Cambio :"));
    txt20 = new QLineEdit(this);
    txt20->setObjectName(QStringLiteral("txt"));
    txt20->setProperty("Index", 20);
    txt20->setMaximumWidth(110);
    Label1[30] = etichetta(this, QStringLiteral("Label1"), 30, QStringLiteral("Del:"));
    for (QWidget *w : {static_cast<QWidget *>(Label1[20]), static_cast<QWidget *>(txt20), static_cast<QWidget *>(Label1[30])})
        w->hide();

    auto *testa = new QHBoxLayout;
    testa->addWidget(Label1[18]);
    testa->addWidget(lab[10], 1);
    testa->addWidget(Label1[20]);
    testa->addWidget(txt20);
    testa->addWidget(Label1[30]);

    auto *colonna = new QVBoxLayout(this);
    colonna->addLayout(testa);
    const std::array<int, 3> quote{3, 5, 2};
    for (int i = 0; i < 3; ++i) {
        dbgLista[static_cast<size_t>(i)] = new GrigliaEvaManu(i, this);
        colonna->addWidget(dbgLista[static_cast<size_t>(i)], quote[static_cast<size_t>(i)]);
        auto *t = new QTimer(this);
        t->setObjectName(QStringLiteral("TimSel"));
        t->setProperty("Index", i);
        t->setInterval(1);
        TimSel[static_cast<size_t>(i)] = t;
    }

    comLivelli = pulsante(this, QStringLiteral("comLivelli"), QStringLiteral("&Nascondi Livelli"));
    ComVisualizza = pulsante(this, QStringLiteral("ComVisualizza"), QStringLiteral("&Visualizza"));
    ComAnnulla = pulsante(this, QStringLiteral("ComAnnulla"), QStringLiteral("&Annulla"));
    ComProsegui = pulsante(this, QStringLiteral("ComProsegui"), QStringLiteral("&Prosegui >>>"));
    auto *piede = new QHBoxLayout;
    piede->addWidget(comLivelli);
    piede->addStretch(1);
    piede->addWidget(ComVisualizza);
    piede->addWidget(ComAnnulla);
    piede->addWidget(ComProsegui);
    colonna->addLayout(piede);

    int tab = 0;
    for (QWidget *w : {static_cast<QWidget *>(txt20), static_cast<QWidget *>(dbgLista[0]),
                       static_cast<QWidget *>(dbgLista[1]), static_cast<QWidget *>(dbgLista[2]),
                       static_cast<QWidget *>(comLivelli), static_cast<QWidget *>(ComVisualizza),
                       static_cast<QWidget *>(ComAnnulla), static_cast<QWidget *>(ComProsegui)})
        w->setProperty("TabIndex", tab++);
}

ModelloGriglia &FrmEvaManu::griglia(int i) const { return dbgLista.at(static_cast<size_t>(i))->modello(); }

// ---------------------------------------------------------------- grids

void FrmEvaManu::collegaGriglie()
{
    for (int i = 0; i < 3; ++i) {
        GrigliaEvaManu *g = dbgLista[static_cast<size_t>(i)];
        griglia(i).ImpostaRegola([this, i](int riga, const QString &campo, QString &testo) {
            return regolaCella(i, riga, campo, testo);
        });
        griglia(i).ImpostaRigaSalvata([this, i](int riga) { rigaSalvata(i, riga); });
        if (i == 1) {
            // a price typed on a level summary row would reach no level row: the run reads those
            griglia(i).ImpostaCellaBloccata([this](int riga, const QString &campo) {
                return textEquals(campo, u"ValUnitario") &&
                       textEquals(griglia(1).Valore(riga, QStringLiteral("Livello1")).text(), u"*liv");
            });
        }
        connect(g, &QAbstractItemView::clicked, this, [this, i] { dbgLista_Click(i); });
        connect(g, &GrigliaEvaManu::rigaLasciata, this, [this, i](int) { SalvaRiga(i); });
        connect(g, &GrigliaEvaManu::tastoRilasciato, this, [this, i](int tasto) {
            guarded("dbgLista_KeyUp", [&] { dbgLista_KeyUp(i, tasto); });
        });
        connect(g, &QAbstractItemView::doubleClicked, this, [this, i] { conErrori([&] { dbgLista_DblClick(i); }); });
        connect(TimSel[static_cast<size_t>(i)], &QTimer::timeout, this, [this, i] { TimSel_Timer(i); });
    }
    connect(comLivelli, &QPushButton::clicked, this, [this] {
        conErrori([&] {
            SalvaRiga(1);
            m_ctl.comLivelli_Click();
        });
    });
    connect(ComAnnulla, &QPushButton::clicked, this, [this] { close(); });
    connect(ComProsegui, &QPushButton::clicked, this, [this] { conErrori([&] { m_ctl.ComProsegui_Click(); }); });
}

void FrmEvaManu::rilega(int indice, const QString &sql)
{
    ModelloGriglia &m = griglia(indice);
    GestRecordset &rs = m_ctl.mgRecManu();
    QString &alias = m_ctl.msAliasGriglia[static_cast<size_t>(indice)];
    m.Imposta(nullptr);
    if (!UtilGenerali::Vuoto(Variant(alias)))
        rs.Chiudi(alias);
    alias.clear();
    alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenDynaset);
    m.Imposta(&rs.Recordset(alias));
    m.ImpostaModificabile(true);
}

void FrmEvaManu::Imposta_Griglia_Testa()
{
    if (m_chiusa)
        return;
    std::array<int16_t, kCampiTesta> posizioni{};
    const std::vector<CampoAggTesta> &agg = m_ctl.mCampiAgg.testa;
    rilega(0, SqlGrigliaTesta(ListaTesta(m_ctl.mCampiAgg.ordColTesta, agg, posizioni), ControlloEvaManu::Utente()));
    m_ctl.miPosColTesta.assign(posizioni.begin(), posizioni.end());
    LayoutTesta(griglia(0), posizioni, agg, fattore());
    if (griglia(0).rowCount() > 0)
        return;
    // no order left: the manual fulfilment is over
    ControlloEvaManu::Messaggio(QStringLiteral("Fine elaborazione"));
    Chiudi();
}

void FrmEvaManu::Imposta_Griglia_Corpo()
{
    if (m_chiusa)
        return;
    const bool livelli = m_ctl.msGesTaglie == QLatin1String("S");
    Variant decPrezzi;
    LeggiMoneta(m_ctl.msMonetaOrdine, &decPrezzi);
    OpzioniCorpo o;
    o.livelli = livelli;
    o.prezzoModificabile = m_ctl.mbOrdAperto && !gbDisabTermPrz;
    o.prezzoNascosto = gbDisabTermVisPrz;
    o.mascheraQta = m_ctl.msMascheraQta;
    o.mascheraPrezzo = mascheraValuta(decPrezzi);
    const std::vector<CampoAggCorpo> &agg = m_ctl.mCampiAgg.corpo;
    const bool filtroLivelli =
        ggMenuClient->LeggiParametro(QStringLiteral("Mag.GesTaglie"), QString()).text().toUpper() == QLatin1String("S");
    rilega(1, SqlGrigliaCorpo(ListaCorpo(livelli, m_ctl.mCampiAgg.ordColCorpo, agg), ControlloEvaManu::Utente(), filtroLivelli,
                              m_ctl.mbMostraLivelli));
    LayoutCorpo(griglia(1), o, agg, fattore());
    m_ctl.mbGrigliaRicaricata = true;
}

void FrmEvaManu::Imposta_Griglia_Spese()
{
    if (m_chiusa)
        return;
    Variant decImporti;
    LeggiMoneta(m_ctl.msMonetaOrdine, nullptr, &decImporti);
    const QString maschera = mascheraValuta(decImporti);
    rilega(2, SqlGrigliaSpese(ControlloEvaManu::Utente()));
    LayoutSpese(griglia(2), maschera, fattore());
    m_ctl.mbGrigliaRicaricata = true;
}

bool FrmEvaManu::SalvaRiga(int indice)
{
    GrigliaEvaManu *g = dbgLista[static_cast<size_t>(indice)];
    g->ChiudiEditor();
    bool fatto = true;
    guarded("dbgLista_AfterUpdate", [&] {
        try {
            griglia(indice).SalvaRiga();
        } catch (const AppError &e) {
            Clessidra(false);
            frmMsgCom::MsgErrfrm(e);
            fatto = false;
        }
    });
    return fatto;
}

// ---------------------------------------------------------------- clicks and keys

void FrmEvaManu::dbgLista_Click(int Index)
{
    m_ctl.mbGrigliaRicaricata = false;
    TimSel[static_cast<size_t>(Index)]->start();
}

void FrmEvaManu::TimSel_Timer(int Index)
{
    // a grid laid out again between the click and this tick waits one tick more
    if (m_ctl.mbGrigliaRicaricata) {
        m_ctl.mbGrigliaRicaricata = false;
        return;
    }
    TimSel[static_cast<size_t>(Index)]->stop();
    GrigliaEvaManu *g = dbgLista[static_cast<size_t>(Index)];
    const QModelIndex corrente = g->currentIndex();
    if (!corrente.isValid())
        return;
    const QString campo = griglia(Index).colonna(corrente.column()).campo;
    guarded("TimSel_Timer", [&] {
        try {
            SalvaRiga(Index);
            // the click does what saving the row does; the grid then shows the row as stored
            if (m_ctl.ClicFlag(static_cast<GrigliaManuale>(Index), chiave(Index, corrente.row()), campo))
                rimetti(Index);
        } catch (const AppError &) {
            // a flag that cannot be switched stays as it was
        }
    });
}

ChiaveRigaManuale FrmEvaManu::chiave(int indice, int riga) const
{
    const ModelloGriglia &m = griglia(indice);
    ChiaveRigaManuale k{.anno = m.Valore(riga, QStringLiteral("Anno")).toInteger(),
                        .numRif = m.Valore(riga, QStringLiteral("NumRif")).toLong()};
    if (indice == 1) {
        k.riga = m.Valore(riga, QStringLiteral("RigLiv")).toLong();
        k.livello1 = m.Valore(riga, QStringLiteral("Livello1")).text();
        k.livello2 = m.Valore(riga, QStringLiteral("Livello2")).text();
    } else if (indice == 2) {
        k.riga = m.Valore(riga, QStringLiteral("Riga")).toLong();
    }
    return k;
}

bool FrmEvaManu::regolaCella(int indice, int riga, const QString &campo, QString &testo)
{
    const EsitoCella e =
        m_ctl.ControllaCella(static_cast<GrigliaManuale>(indice), chiave(indice, riga), campo, Variant(testo));
    if (e.rifiutato)
        return false;
    testo = e.valore.isBlank() ? QString() : e.valore.toString();
    if (indice == 1 && textEquals(campo, u"QtaDaEva"))
        testo = Variant(ControlloEvaManu::ArrotondaQtaDaEva(Variant(testo))).toString();
    if (!e.campoCollegato.isEmpty())
        griglia(indice).ImpostaTesto(riga, e.campoCollegato, e.valoreCollegato);
    return true;
}

void FrmEvaManu::rigaSalvata(int indice, int riga)
{
    const ChiaveRigaManuale k = chiave(indice, riga);
    bool daRileggere = false;
    if (indice == 0)
        daRileggere = m_ctl.TestataSalvata(k.anno, k.numRif);
    else if (indice == 1)
        daRileggere = m_ctl.RigaSalvata(k);
    // the grid is laid out anew once the save that called us is over
    if (daRileggere)
        QMetaObject::invokeMethod(this, [this, indice] { conErrori([&] { rimetti(indice); }); }, Qt::QueuedConnection);
}

void FrmEvaManu::rimetti(int indice)
{
    if (m_chiusa)
        return;
    GrigliaEvaManu *g = dbgLista[static_cast<size_t>(indice)];
    const QModelIndex prima = g->currentIndex();
    if (indice == 0)
        Imposta_Griglia_Testa();
    else if (indice == 1)
        Imposta_Griglia_Corpo();
    else
        Imposta_Griglia_Spese();
    if (!m_chiusa && prima.isValid() && prima.row() < griglia(indice).rowCount())
        g->setCurrentIndex(griglia(indice).index(prima.row(), prima.column()));
}

void FrmEvaManu::dbgLista_KeyUp(int Index, int KeyCode)
{
    if (KeyCode == Qt::Key_F10) {
        SalvaRiga(Index);
        const int prossima = Index + 1 > 2 ? 0 : Index + 1;
        GrigliaEvaManu *g = dbgLista[static_cast<size_t>(prossima)];
        g->setFocus();
        if (prossima == 0)
            g->VaiAColonna(m_ctl.miPosColTesta[4]);
        else if (prossima == 1)
            g->VaiAColonna(griglia(1).Colonna(QStringLiteral("QtaDaEva")));
        else
            g->VaiAColonna(6);
        return;
    }
    if (KeyCode == Qt::Key_F9 && Index == 1) {
        GrigliaEvaManu *g = dbgLista[1];
        const int riga = g->RigaCorrente();
        if (riga < 0)
            return;
        ModelloGriglia &m = griglia(1);
        // the open quantity from the values, not from the texts shown with their separators
        const double aperta = UtilGenerali::ValoreNumerico(m.Valore(riga, QStringLiteral("Qta")), true) -
                              UtilGenerali::ValoreNumerico(m.Valore(riga, QStringLiteral("QtaEvasa")), true);
        m.setData(m.index(riga, m.Colonna(QStringLiteral("QtaDaEva"))), Variant(aperta).toString(), Qt::EditRole);
        SalvaRiga(1);
        g->setFocus();
    }
}

void FrmEvaManu::Form_KeyDown(int16_t &KeyCode, int16_t Shift)
{
    if ((KeyCode == Tasto::Invio || KeyCode == Tasto::Esc) && cellaInModifica())
        return;
    if (GestTastiCtrl(KeyCode, Shift, this).toLong() > 0)
        return;
    if (KeyCode == Tasto::F10)
        KeyCode = 0;
    QString pulsante, pulsante2;
    GestTastiNavig(KeyCode, Shift, this, 0, 0, 0, 0, 0, 0, Variant(), pulsante, pulsante2, -1);
}

void FrmEvaManu::Form_KeyPress(int16_t &KeyAscii)
{
    if ((KeyAscii == Tasto::Invio || KeyAscii == Tasto::Esc) && cellaInModifica())
        return;
    KeyAscii = FiltraTasto(KeyAscii, this).toInteger();
}

bool FrmEvaManu::cellaInModifica() const
{
    // Enter and Esc in a cell being edited belong to the cell: they take or drop the value
    QWidget *fuoco = QApplication::focusWidget();
    for (GrigliaEvaManu *g : dbgLista)
        if (fuoco && fuoco != g && g->isAncestorOf(fuoco))
            return true;
    return false;
}

// ---------------------------------------------------------------- dimensions

void FrmEvaManu::dbgLista_DblClick(int Index)
{
    // only a line of the line grid: the quantity goes to the line the user double-clicked
    if (Index != 1)
        return;
    const int riga = dbgLista[1]->RigaCorrente();
    if (riga < 0)
        return;
    const ModelloGriglia &m = griglia(1);
    const std::optional<DatiQtaDaDim> dati =
        m_ctl.DatiQtaDaDimRiga(m.Valore(riga, QStringLiteral("Anno")).toInteger(), m.Valore(riga, QStringLiteral("NumRif")).toLong(),
                               m.Valore(riga, QStringLiteral("RigDet")).toLong());
    if (!dati)
        return;
    frmCalcQtaDaDim dialogo(this);
    dialogo.osKeySec = m_ctl.osKeySec;
    dialogo.ofrmChiama = [this](double q) { m_ctl.AggQtaDaDim(q); };
    dialogo.mDati = *dati;
    m_rigaDimensioni = riga;
    dialogo.exec();
    m_rigaDimensioni = -1;
}

void FrmEvaManu::ImpostaQtaDaEvaRigaCorrente(double pdQta)
{
    const int riga = m_rigaDimensioni >= 0 ? m_rigaDimensioni : dbgLista[1]->RigaCorrente();
    ModelloGriglia &m = griglia(1);
    const int c = m.Colonna(QStringLiteral("QtaDaEva"));
    if (riga < 0 || c < 0)
        return;
    // as if the user had typed it: the cell rules apply; the row is saved when it is left
    m.setData(m.index(riga, c), Variant(pdQta).toString(), Qt::EditRole);
}

// ---------------------------------------------------------------- life of the form

void FrmEvaManu::Form_Load()
{
    m_ctl.Form_Load();
    InizMaschera(this, 0, 0, 0, 0, 0, 0, 0, -1, -1, QString());
    AdattaRisVid(this, 0, 0, 0, 0, 0, 0, 0, -1);
    collegaGriglie();
}

void FrmEvaManu::MostraCliente(const QString &testo) { lab[10]->setText(testo); }

void FrmEvaManu::MostraCambio(bool visibile, const QString &didascalia, const QString &cambio, const QString &dataCambio)
{
    Label1[20]->setText(didascalia);
    txt20->setText(cambio);
    Label1[30]->setText(dataCambio);
    Label1[20]->setVisible(visibile);
    txt20->setVisible(visibile);
    Label1[30]->setVisible(visibile);
}

QString FrmEvaManu::TestoCambio() const { return txt20->text(); }

void FrmEvaManu::PreparaCampoCambio()
{
    txt20->setFocus();
    txt20->selectAll();
}

void FrmEvaManu::MostraPulsLiv(bool visibile, const QString &didascalia)
{
    comLivelli->setText(didascalia);
    comLivelli->setVisible(visibile);
}

void FrmEvaManu::AbilitaPulsanti(bool abilitati)
{
    ComAnnulla->setEnabled(abilitati);
    ComProsegui->setEnabled(abilitati);
}

void FrmEvaManu::SalvaModifichePendenti()
{
    for (int i = 0; i < 3; ++i)
        SalvaRiga(i);
}

void FrmEvaManu::ElaboraEventi() { QApplication::processEvents(); }

void FrmEvaManu::AdattaAlloSchermo()
{
    // Wide enough for the whole line grid ("Dt. Cons" and "Descrizione" are its last columns),
    // never beyond the screen, the window's frame included.
    const QScreen *schermo = screen();
    if (!schermo)
        return;
    const QRect disponibile = schermo->availableGeometry();
    const QMargins margini = layout() ? layout()->contentsMargins() : QMargins();
    const int serve = dbgLista[1]->LarghezzaIntera() + margini.left() + margini.right();
    constexpr int kBordoFinestra = 16, kTitoloFinestra = 40;
    const int larghezza = std::min(std::max(width(), serve), disponibile.width() - kBordoFinestra);
    const int altezza = std::min(height(), disponibile.height() - kTitoloFinestra);
    resize(larghezza, altezza);
    const QRect finestra(pos(), QSize(larghezza + kBordoFinestra, altezza + kTitoloFinestra));
    if (!disponibile.contains(finestra))
        move(disponibile.left() + (disponibile.width() - finestra.width()) / 2,
             disponibile.top() + (disponibile.height() - finestra.height()) / 2);
}

void FrmEvaManu::Mostra()
{
    AdattaAlloSchermo();
    show();
    raise();
    activateWindow();
    FuocoSulPrimoOrdine();
}

void FrmEvaManu::FuocoSulPrimoOrdine()
{
    if (m_chiusa)
        return;
    dbgLista[0]->setFocus();
    if (griglia(0).rowCount() > 0 && m_ctl.miPosColTesta.size() > 4) {
        dbgLista[0]->setCurrentIndex(griglia(0).index(0, m_ctl.miPosColTesta[4]));
        dbgLista[0]->scrollToTop();
    }
}

void FrmEvaManu::Chiudi()
{
    if (m_chiusa)
        return;
    m_chiusuraDaCodice = true;
    close();
}

void FrmEvaManu::closeEvent(QCloseEvent *e)
{
    // the user cannot close the form under a hand-over; the hand-over itself closes it after
    // the last group
    if (m_ctl.mbProseguiInCorso && !m_chiusuraDaCodice) {
        e->ignore();
        return;
    }
    m_chiusa = true;
    // the grids let go of their record sets before the unload closes them; pending edits go
    for (int i = 0; i < 3; ++i) {
        TimSel[static_cast<size_t>(i)]->stop();
        griglia(i).AnnullaRiga();
        griglia(i).Imposta(nullptr);
    }
    m_ctl.Form_Unload();
    e->accept();
}
