#include "frmmsgcom.h"

#include "guard.h"
#include "modhtmlhelp.h"
#include "puntatore.h"
#include "risvid.h"
#include "schermo.h"
#include "suonoavviso.h"
#include "tastivb.h"
#include "utilgenerali.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace {

// The design, in twips.
constexpr int kLarghezzaForm = 6000, kAltezzaForm = 1700;
constexpr int kSinistraEtichetta = 120, kTopEtichetta = 180;
constexpr int kTopTesto = 120;
constexpr int kSinistraPulsante = 2242, kTopPulsante = 900;
constexpr int kLarghezzaPulsante = 1515, kAltezzaPulsante = 435;

// The message as the label shows it: the CR LF of the texts are line breaks.
QString testoVisibile(const QString &testo)
{
    QString t = testo;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

QPointer<DialogoMsgCom> &dialogoAperto()
{
    static QPointer<DialogoMsgCom> d;
    return d;
}

} // namespace

QString titoloApplicazione()
{
    return QCoreApplication::applicationName();
}

DialogoMsgCom::DialogoMsgCom(QWidget *parent)
    : QDialog(parent), LabMessaggio(new QLabel(this)), txtMessaggio(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmMsgCom"));
    setWindowTitle(QStringLiteral("Richiesta Comando"));
    setGeometry(0, 0, PixelX(kLarghezzaForm), PixelY(kAltezzaForm));
    LabMessaggio->setObjectName(QStringLiteral("LabMessaggio"));
    LabMessaggio->setTextFormat(Qt::PlainText);
    LabMessaggio->setMargin(0);
    LabMessaggio->move(PixelX(kSinistraEtichetta), PixelY(kTopEtichetta));
    txtMessaggio->setObjectName(QStringLiteral("txtMessaggio"));
    txtMessaggio->setReadOnly(true);
    txtMessaggio->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMessaggio->setGeometry(PixelX(kSinistraEtichetta), PixelY(kTopTesto), PixelX(kLarghezzaForm - 240), PixelY(900));
    txtMessaggio->hide();
    aggiungiPulsante(QStringLiteral("OK"));
    ComEsegui[0]->setGeometry(PixelX(kSinistraPulsante), PixelY(kTopPulsante), PixelX(kLarghezzaPulsante),
                              PixelY(kAltezzaPulsante));
    Form_Load();
}

void DialogoMsgCom::aggiungiPulsante(const QString &caption)
{
    const int indice = static_cast<int>(ComEsegui.size());
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QStringLiteral("ComEsegui"));
    b->setProperty("Index", indice);
    if (indice > 0)
        b->setGeometry(ComEsegui[0]->geometry());
    b->installEventFilter(this);
    connect(b, &QPushButton::clicked, this, [this, indice] { guarded("frmMsgCom::ComEsegui_Click", [&] { ComEsegui_Click(indice); }); });
    ComEsegui.push_back(b);
}

void DialogoMsgCom::Form_Load()
{
    // key preview: the F1 of every control reaches the form's handler
    installEventFilter(this);
    txtMessaggio->installEventFilter(this);
    double fattore = gdRisVidMsg;
    RisVidForm(this, false, fattore);
}

void DialogoMsgCom::prepara(const RichiestaMsgCom &r)
{
    setWindowTitle(r.pvTitolo.isEmpty() ? titoloApplicazione() : r.pvTitolo.text());
    if (!r.pvWidthCom.isEmpty())
        ComEsegui[0]->resize(PixelX(r.pvWidthCom.toLong()), ComEsegui[0]->height());

    ComEsegui[0]->setText(r.psCom1);
    if (!r.pvCom2.isEmpty()) {
        aggiungiPulsante(r.pvCom2.text());
        if (!r.pvCom3.isEmpty())
            aggiungiPulsante(r.pvCom3.text());
    }
    const int n = static_cast<int>(ComEsegui.size());
    if (r.pvCom3.isEmpty()) {
        ComEsegui[0]->setDefault(true);
        if (n == 2)
            m_annulla = 1;
    }
    if (n == 3)
        setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) & ~Qt::WindowCloseButtonHint);

    if (!r.pvFontSize.isEmpty()) {
        QFont f = LabMessaggio->font();
        f.setPointSizeF(r.pvFontSize.toDouble());
        LabMessaggio->setFont(f);
        txtMessaggio->setFont(f);
    }
    const QString testo = testoVisibile(r.psLabel);
    const QFontMetrics fm(LabMessaggio->font());

    MisureMsgCom m;
    m.larghezzaSchermo = ScreenWidth();
    m.altezzaUtile = PosizioneSopraBarra();
    m.larghezzaPulsante = TwipsX(ComEsegui[0]->width());
    m.altezzaPulsante = TwipsY(ComEsegui[0]->height());
    m.topEtichetta = TwipsY(LabMessaggio->y());
    m.topTesto = TwipsY(txtMessaggio->y());
    m.piLargForm = r.piLargForm;
    m.piLatiForm = r.piLatiForm;
    m.pulsanti = n;
    m.sempreTesto = r.pbSempreTxt;
    m.misuraMessaggio = [&](int larghezza) {
        const int flags = Qt::TextExpandTabs | (larghezza > 0 ? Qt::TextWordWrap : 0);
        const QRect b = fm.boundingRect(QRect(0, 0, larghezza > 0 ? PixelX(larghezza) : 1 << 20, 1 << 20), flags, testo);
        return QSize(TwipsX(b.width() + 1), TwipsY(b.height()));
    };
    m_layout = calcolaLayoutMsgCom(m);

    if (m_layout.casellaTesto) {
        LabMessaggio->hide();
        txtMessaggio->setGeometry(PixelRect(m_layout.testo));
        txtMessaggio->setPlainText(testo);
        txtMessaggio->show();
    } else {
        LabMessaggio->setWordWrap(m_layout.aCapo);
        LabMessaggio->setText(testo);
        LabMessaggio->setGeometry(PixelRect(m_layout.etichetta));
        LabMessaggio->show();
    }
    for (int i = 0; i < n; ++i) {
        const QPoint p = m_layout.pulsanti[static_cast<size_t>(i)];
        ComEsegui[static_cast<size_t>(i)]->move(PixelX(p.x()), PixelY(p.y()));
        ComEsegui[static_cast<size_t>(i)]->show();
    }
    // the client area; the window system adds its borders around it
    setFixedSize(PixelX(m_layout.larghezzaInterna), PixelY(m_layout.altezzaInterna));
    const QRect utile = geometriaSchermo().disponibile;
    move(utile.left() + (utile.width() - width()) / 2, utile.top() + std::max(0, (utile.height() - height()) / 2));

    m_iniziale = r.piComDefault >= 1 && r.piComDefault <= n ? r.piComDefault - 1 : 0;
    if (m_iniziale > 0)
        QWidget::setTabOrder(ComEsegui[static_cast<size_t>(m_iniziale)], ComEsegui[0]);
}

int DialogoMsgCom::mostra()
{
    const int16_t puntatore = MousePointer();
    if (puntatore != kPuntatorePredefinito)
        ImpostaMousePointer(kPuntatorePredefinito);
    QPointer<DialogoMsgCom> self(this);
    exec();
    if (puntatore != kPuntatorePredefinito)
        ImpostaMousePointer(puntatore);
    if (!self)
        return 0;
    return UtilGenerali::ValoreNonNullo(Variant(txtComRit), true, true).toInteger();
}

void DialogoMsgCom::ComEsegui_Click(int Index)
{
    txtComRit = QString::number(Index + 1);
    hide();
}

void DialogoMsgCom::reject()
{
    if (m_annulla >= 0)
        ComEsegui_Click(m_annulla);
}

void DialogoMsgCom::closeEvent(QCloseEvent *e)
{
    const int n = static_cast<int>(ComEsegui.size());
    if (n == 3) {
        e->ignore();
        return;
    }
    // the close box is the Esc button, or the only button there is
    ComEsegui_Click(m_annulla >= 0 ? m_annulla : n - 1);
    e->accept();
}

void DialogoMsgCom::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    ComEsegui[static_cast<size_t>(m_iniziale)]->setFocus(Qt::OtherFocusReason);
}

bool DialogoMsgCom::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return QDialog::eventFilter(o, e);
    bool gestito = false;
    guarded("frmMsgCom::Form_KeyDown", [&] {
        const auto *k = static_cast<QKeyEvent *>(e);
        int16_t codice = KeyCodeVb(*k);
        gestito = GestioneF1(codice, ShiftVb(k->modifiers()), this, -1);
    });
    return gestito || QDialog::eventFilter(o, e);
}

DialogoMsgCom *DialoghiQt::aperto()
{
    return dialogoAperto();
}

int DialoghiQt::msgCom(const RichiestaMsgCom &richiesta)
{
    if (dialogoAperto() && dialogoAperto()->isVisible())
        return 0;
    auto dialogo = std::make_unique<DialogoMsgCom>();
    dialogoAperto() = dialogo.get();
    dialogo->prepara(richiesta);
    if (richiesta.pbSuona)
        SuonoAvviso();
    const int risultato = dialogo->mostra();
    dialogoAperto() = nullptr;
    return risultato;
}

int DialoghiQt::MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg icona, const QString &titolo)
{
    QMessageBox box;
    box.setWindowTitle(titolo.isEmpty() ? titoloApplicazione() : titolo);
    box.setText(testoVisibile(testo));
    box.setTextFormat(Qt::PlainText);
    switch (icona) {
    case IconaMsg::Errore: box.setIcon(QMessageBox::Critical); break;
    case IconaMsg::Domanda: box.setIcon(QMessageBox::Question); break;
    case IconaMsg::Esclamazione: box.setIcon(QMessageBox::Warning); break;
    case IconaMsg::Informazione: box.setIcon(QMessageBox::Information); break;
    case IconaMsg::Nessuna: break;
    }
    struct Pulsante {
        QString testo;
        int risposta;
        QMessageBox::ButtonRole ruolo;
    };
    std::vector<Pulsante> elenco;
    const Pulsante ok{QStringLiteral("OK"), RispostaMsg::Ok, QMessageBox::AcceptRole};
    const Pulsante annulla{QStringLiteral("Annulla"), RispostaMsg::Annulla, QMessageBox::RejectRole};
    const Pulsante si{QStringLiteral("&Sì"), RispostaMsg::Si, QMessageBox::YesRole};
    const Pulsante no{QStringLiteral("&No"), RispostaMsg::No, QMessageBox::NoRole};
    const Pulsante riprova{QStringLiteral("&Riprova"), RispostaMsg::Riprova, QMessageBox::AcceptRole};
    switch (pulsanti) {
    case PulsantiMsg::Ok: elenco = {ok}; break;
    case PulsantiMsg::OkAnnulla: elenco = {ok, annulla}; break;
    case PulsantiMsg::SiNo: elenco = {si, no}; break;
    case PulsantiMsg::SiNoAnnulla: elenco = {si, no, annulla}; break;
    case PulsantiMsg::RiprovaAnnulla: elenco = {riprova, annulla}; break;
    }
    std::vector<std::pair<QAbstractButton *, int>> risposte;
    for (const Pulsante &p : elenco)
        risposte.emplace_back(box.addButton(p.testo, p.ruolo), p.risposta);
    box.setDefaultButton(static_cast<QPushButton *>(risposte.front().first));
    // Esc and the close box: Cancel when there is one, else the only button; a Yes/No
    // question without Cancel cannot be closed without an answer.
    if (pulsanti != PulsantiMsg::SiNo)
        box.setEscapeButton(risposte.back().first);
    const int16_t puntatore = MousePointer();
    if (puntatore != kPuntatorePredefinito)
        ImpostaMousePointer(kPuntatorePredefinito);
    box.exec();
    if (puntatore != kPuntatorePredefinito)
        ImpostaMousePointer(puntatore);
    for (const auto &[b, risposta] : risposte)
        if (box.clickedButton() == b)
            return risposta;
    return pulsanti == PulsantiMsg::SiNo ? RispostaMsg::No : risposte.back().second;
}

std::optional<QString> DialoghiQt::InputBox(const QString &prompt, const QString &titolo, const QString &predefinito)
{
    bool ok = false;
    const QString testo = QInputDialog::getText(nullptr, titolo.isEmpty() ? titoloApplicazione() : titolo,
                                                testoVisibile(prompt), QLineEdit::Normal, predefinito, &ok);
    if (!ok)
        return std::nullopt;
    return testo;
}
