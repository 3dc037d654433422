#include "frmevasord.h"

#include "apriaiuto.h"
#include "chiusura.h"
#include "coloracampi.h"
#include "contesto.h"
#include "decodcampo.h"
#include "decodcodice.h"
#include "dialoghi.h"
#include "eventifuoco.h"
#include "fuoco.h"
#include "guard.h"
#include "inizmaschera.h"
#include "menuclient.h"
#include "menucomandi.h"
#include "modhtmlhelp.h"
#include "parametri.h"
#include "puntatore.h"
#include "scevaordven.h"
#include "tastiera.h"
#include "utilgenerali.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

constexpr int32_t kContestoAiuto = 35300;

// Positions in pixels of the 800 x 600 design (15 twips a pixel).
constexpr int kAltezza = 21;
constexpr int kXEtichetta = 12;
constexpr int kXCampo = 156;
constexpr int kLarghezzaPulsanteAiuto = 22;
constexpr int kXFineDescrizione = 646;

// Widths of the design in twips, a quarter wider: the text of today's fonts is wider than the
// design's.
constexpr int px(int twips) { return (twips + 6) / 12; }

// The rows of the design, top to bottom.
constexpr int riga(int n) { return 20 + (n - 1) * 26 + (n > 1 ? 12 : 0); }

// A handler run from the event loop: an error is shown with the standard error dialog and the
// dialog stays usable.
template <typename F>
void conErrori(const char *dove, F &&gestore)
{
    guarded(dove, [&] {
        try {
            gestore();
        } catch (const AppError &e) {
            Clessidra(false);
            frmMsgCom::MsgErrfrm(e);
        }
    });
}

} // namespace

frmEvasOrd::frmEvasOrd(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmEvasOrd"));
    setWindowTitle(QStringLiteral("Evasione Ordini"));
    setAttribute(Qt::WA_DeleteOnClose);
    creaControlli();
    ImpostaHelpContextID(this, kContestoAiuto);
}

frmEvasOrd::~frmEvasOrd() = default;

void frmEvasOrd::creaControlli()
{
    resize(660, riga(16) + 44);
    const auto etichetta = [this](int indice, const QString &testo, int x, int y, int larghezza) {
        auto *l = new QLabel(testo, this);
        l->setObjectName(QStringLiteral("Label1"));
        l->setProperty("Index", indice);
        l->setGeometry(x, y + 2, larghezza, kAltezza - 2);
        Label1[indice] = l;
        return l;
    };
    const auto campo = [this](int indice, int x, int y, int larghezzaTwips) {
        auto *t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("txt"));
        t->setProperty("Index", indice);
        t->setGeometry(x, y, px(larghezzaTwips), kAltezza);
        txt[indice] = t;
        return t;
    };
    // A code field with its "..." button and its description label.
    const auto codice = [&](int indice, const QString &testo, int y, int larghezzaTwips) {
        etichetta(indice, testo, kXEtichetta, y, kXCampo - kXEtichetta - 4);
        QLineEdit *t = campo(indice, kXCampo, y, larghezzaTwips);
        auto *b = new QPushButton(QStringLiteral("..."), this);
        b->setObjectName(QStringLiteral("ComHlp"));
        b->setProperty("Index", indice);
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(t->geometry().right() + 2, y, kLarghezzaPulsanteAiuto, kAltezza);
        ComHlp[indice] = b;
        auto *d = new QLabel(this);
        d->setObjectName(QStringLiteral("lab"));
        d->setProperty("Index", indice);
        d->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int x = b->geometry().right() + 6;
        d->setGeometry(x, y, kXFineDescrizione - x, kAltezza);
        lab[indice] = d;
        connect(b, &QPushButton::clicked, this, [this, indice] { conErrori("ComHlp_Click", [&] { ComHlp_Click(indice); }); });
    };
    // "dal:" field, "al:" field.
    const auto intervallo = [&](int da, int a, const QString &testo, int x, int y, int larghezzaEtichetta,
                                int larghezzaTwips) {
        etichetta(da, testo, x, y, larghezzaEtichetta);
        const QLineEdit *t = campo(da, x + larghezzaEtichetta, y, larghezzaTwips);
        etichetta(a, QStringLiteral("al:"), t->geometry().right() + 6, y, 20);
        campo(a, t->geometry().right() + 28, y, larghezzaTwips);
    };

    etichetta(10, QStringLiteral("Data di evasione:"), kXEtichetta, riga(1), kXCampo - kXEtichetta - 4);
    campo(10, kXCampo, riga(1), 1215);
    Frame1 = new QGroupBox(QStringLiteral("Tipo evasione:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(360, riga(1) - 14, 230, 44);
    const QStringList opzioni{QStringLiteral("Automatica"), QStringLiteral("Manuale")};
    for (int i = 0; i < 2; ++i) {
        auto *o = new QRadioButton(opzioni[i], Frame1);
        o->setObjectName(QStringLiteral("OptTipoEva"));
        o->setProperty("Index", i);
        o->setGeometry(12 + i * 110, 18, 100, 20);
        OptTipoEva[static_cast<size_t>(i)] = o;
    }
    OptTipoEva[1]->setChecked(true);

    codice(20, QStringLiteral("Tipo Documento Ord.:"), riga(2), 435);
    codice(30, QStringLiteral("Doc di evasione:"), riga(3), 435);
    CheCorrispettivo = new QCheckBox(QStringLiteral("Evasione con corrispettivo"), this);
    CheCorrispettivo->setObjectName(QStringLiteral("CheCorrispettivo"));
    CheCorrispettivo->setGeometry(kXEtichetta, riga(4), 260, kAltezza);
    codice(190, QStringLiteral("Moneta:"), riga(5), 495);
    codice(40, QStringLiteral("Cliente  da:"), riga(6), 1095);
    codice(50, QStringLiteral("a:"), riga(7), 1095);
    codice(200, QStringLiteral("Articolo da:"), riga(8), 1095);
    codice(210, QStringLiteral("a:"), riga(9), 1095);
    intervallo(220, 230, QStringLiteral("Data consegna dal:"), kXEtichetta, riga(10), kXCampo - kXEtichetta, 1215);
    intervallo(60, 70, QStringLiteral("Riferimento:  data dal:"), kXEtichetta, riga(11), kXCampo - kXEtichetta, 1215);
    intervallo(80, 90, QStringLiteral("Numero dal:"), 398, riga(11), 76, 915);
    intervallo(100, 110, QStringLiteral("Documento:  data dal:"), kXEtichetta, riga(12), kXCampo - kXEtichetta, 1215);
    intervallo(130, 150, QStringLiteral("Numero dal:"), 398, riga(12), 76, 915);
    etichetta(240, QStringLiteral("In descrizione:"), kXEtichetta, riga(13), kXCampo - kXEtichetta - 4);
    campo(240, kXCampo, riga(13), 3435);

    etichetta(160, QStringLiteral("Prefisso fatture: "), kXEtichetta, riga(14), kXCampo - kXEtichetta - 4);
    campo(160, kXCampo, riga(14), 375);
    auto *elenco = new QLabel(this);
    elenco->setObjectName(QStringLiteral("lab"));
    elenco->setProperty("Index", 160);
    elenco->setGeometry(txt[160]->geometry().right() + 8, riga(14) + 2, kXFineDescrizione - txt[160]->geometry().right() - 8,
                        kAltezza - 2);
    lab[160] = elenco;
    etichetta(170, QStringLiteral("Periodo Iva: mese:"), kXEtichetta, riga(15), kXCampo - kXEtichetta - 4);
    campo(170, kXCampo, riga(15), 375);
    etichetta(180, QStringLiteral("Anno:"), txt[170]->geometry().right() + 12, riga(15), 40);
    campo(180, txt[170]->geometry().right() + 52, riga(15), 675);

    ComOk = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("&Ok"), this);
    ComOk->setObjectName(QStringLiteral("ComOk"));
    ComOk->setGeometry(210, riga(16), 100, 32);
    ComAnnulla = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("&Annulla"), this);
    ComAnnulla->setObjectName(QStringLiteral("ComAnnulla"));
    ComAnnulla->setGeometry(350, riga(16), 100, 32);

    // The tab order of the design; the "..." buttons and the labels take no part in it.
    const std::vector<QWidget *> ordine{
        txt[10],  OptTipoEva[0], OptTipoEva[1], txt[20],  txt[30],  CheCorrispettivo, txt[190], txt[40],
        txt[50],  txt[200],      txt[210],      txt[220], txt[230], txt[60],          txt[70],  txt[80],
        txt[90],  txt[100],      txt[110],      txt[130], txt[150], txt[160],         txt[170], txt[180],
        ComOk,    ComAnnulla,    txt[240]};
    for (size_t i = 0; i < ordine.size(); ++i) {
        ordine[i]->setProperty("TabIndex", static_cast<int>(i));
        if (i > 0)
            setTabOrder(ordine[i - 1], ordine[i]);
    }

    for (auto &[indice, t] : txt) {
        const int i = indice;
        SuGotFocus(t, [this, i] { conErrori("txt_GotFocus", [&] { txt_GotFocus(i); }); });
        SuLostFocus(t, [this, i] { conErrori("txt_LostFocus", [&] { txt_LostFocus(i); }); });
        t->installEventFilter(this);
    }
    connect(CheCorrispettivo, &QCheckBox::clicked, this, [this] { conErrori("CheCorrispettivo_Click", [&] { CheCorrispettivo_Click(); }); });
    connect(ComOk, &QPushButton::clicked, this, [this] { ComOk_Click(); });
    connect(ComAnnulla, &QPushButton::clicked, this, [this] { close(); });
}

void frmEvasOrd::Form_Load()
{
    ImpostaHelpContextID(this, kContestoAiuto);
    miLoadOk = -1;
    try {
        mbFattura = false;
        msRegMargOrd = msRegMargEva = QStringLiteral("N");
        miSplitPay = 0;
        InizMaschera(this, 0, 0, 0, 0, 0, 0, -1, 0, -1, QString());
        txt[10]->setText(UtilGenerali::FormattaValore(Variant(gtDataLavoro), QStringLiteral("dd/mm/yyyy")));
        txt[20]->setText(LeggiParamMenu(QStringLiteral("Fat.DocOrd")).text());
        txt_LostFocus(20);
        AdattaRisVid(this, 0, 0, 0, 0, 0, 0, 0, -1);
        miLoadOk = 1;
    } catch (const AppError &e) {
        SegnalaErrore(e, windowTitle() + QStringLiteral("\r\n"), QString());
        gbChiusuraDaMenu = true;
        miLoadOk = -1;
    }
}

void frmEvasOrd::PassaA()
{
    ggMenuClient->AggiungiPassaA(windowTitle(), objectName(), osKeySec);
}

void frmEvasOrd::Form_KeyDown(int16_t &KeyCode, int16_t Shift)
{
    if (GestTastiCtrl(KeyCode, Shift, this, 0, 0, 0, -1, 0, 0, Variant(), 0, -1).toInteger() <= 0) {
        QString pulsante, pulsante2;
        GestTastiNavig(KeyCode, Shift, this, 0, 0, 0, -1, 0, 0, Variant(), pulsante, pulsante2, -1);
    }
}

void frmEvasOrd::Form_KeyPress(int16_t &KeyAscii)
{
    KeyAscii = FiltraTasto(KeyAscii, this, 0, 0, 0, 0, 0, 0, -1).toInteger();
}

void frmEvasOrd::txt_GotFocus(int Index)
{
    SelezionaTesto();
    if (Index == 40 || Index == 50)
        ContoGotFocus(txt[Index]);
    ColoraCampoAttivo(txt[Index], 0);
}

void frmEvasOrd::txt_KeyUp(int Index, int KeyCode, int Shift)
{
    if (KeyCode < 113 || KeyCode > 116 || Shift != 0)
        return;
    const auto tasto = static_cast<int16_t>(KeyCode);
    int16_t scelto = 0;
    switch (Index) {
    case 20:
        ApriAiuto(QStringLiteral("FattDocumento"), txt[20], lab[20], tasto, std::nullopt, scelto, QString(), 0,
                  FiltroTipoOrdine());
        break;
    case 30:
        ApriAiuto(QStringLiteral("FattDocumento"), txt[30], lab[30], tasto, std::nullopt, scelto, QString(), 0,
                  FiltroTipoEvasione());
        break;
    case 40:
    case 50:
        ApriAiuto(QStringLiteral("Conto"), txt[Index], lab[Index], tasto, Variant(QStringLiteral("3")), scelto, QString(),
                  0, QString());
        break;
    case 190:
        ApriAiuto(QStringLiteral("Moneta"), txt[190], lab[190], tasto, std::nullopt, scelto, QString(), 0, QString());
        break;
    case 200:
    case 210:
        ApriAiuto(QStringLiteral("Articolo"), txt[Index], lab[Index], tasto, std::nullopt, scelto, QString(), 0, QString());
        break;
    default:
        break;
    }
}

void frmEvasOrd::ComHlp_Click(int Index)
{
    txt[Index]->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    EseguiKeyUpAppo(this, static_cast<int16_t>(Index), 113, 0);
}

void frmEvasOrd::CheCorrispettivo_Click()
{
    // the state derived from the fulfilment type is renewed when its field is next left
    if (CheCorrispettivo->isChecked())
        txt[30]->clear();
}

void frmEvasOrd::closeEvent(QCloseEvent *e)
{
    // a request being handled (its run lets events through) keeps the dialog that started it
    if (m_okInCorso) {
        e->ignore();
        return;
    }
    guarded("frmEvasOrd::Form_Unload", [&] {
        if (miLoadOk == 1)
            RitornaAlChiamante(this, true);
    });
    e->accept();
}

bool frmEvasOrd::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::KeyRelease && o->objectName() == QLatin1String("txt")) {
        const auto *k = static_cast<QKeyEvent *>(e);
        if (!k->isAutoRepeat()) {
            const int indice = o->property("Index").toInt();
            conErrori("txt_KeyUp", [&] { txt_KeyUp(indice, KeyCodeVb(*k), ShiftVb(k->modifiers())); });
        }
    }
    return QWidget::eventFilter(o, e);
}

QString frmEvasOrd::FiltroTipoOrdine()
{
    return QStringLiteral("tipo=") + UtilGenerali::SqlValore(Variant(QStringLiteral("O")), 8);
}

QString frmEvasOrd::FiltroTipoEvasione()
{
    return ::FiltroTipoEvasione();
}

std::optional<int> frmEvasOrd::campoInModifica() const
{
    for (const auto &[indice, t] : txt)
        if (t->hasFocus())
            return indice;
    return std::nullopt;
}
