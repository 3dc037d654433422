#include "frminelab.h"

#include "risvid.h"
#include "schermo.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>

namespace {

QLabel *etichetta(QWidget *parent, const char *nome, const QString &testo, double punti, bool grassetto,
                  Qt::Alignment allineamento)
{
    auto *l = new QLabel(testo, parent);
    l->setObjectName(QString::fromLatin1(nome));
    QFont f = l->font();
    if (punti > 0)
        f.setPointSizeF(punti);
    f.setBold(grassetto);
    l->setFont(f);
    l->setAlignment(allineamento);
    return l;
}

} // namespace

frmInElab::frmInElab(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), PicMsgElab(new QFrame(this))
{
    setObjectName(QStringLiteral("frmInElab"));
    setWindowTitle(QStringLiteral("In Elaborazione"));
    setWindowModality(Qt::ApplicationModal);
    setGeometry(PixelRect(QRect(0, 0, 8400, 2700)));
    PicMsgElab->setObjectName(QStringLiteral("PicMsgElab"));
    PicMsgElab->setGeometry(rect());
    LabMsgElab = etichetta(PicMsgElab, "LabMsgElab", QStringLiteral("in Elaborazione"), 18, false, Qt::AlignCenter);
    LabMsgElab->setWordWrap(true);
    LabMsgElab->setGeometry(PixelRect(QRect(210, 120, 7980, 1035)));
    LabFatti = etichetta(PicMsgElab, "LabFatti", QStringLiteral("1"), 12, true, Qt::AlignRight | Qt::AlignVCenter);
    LabFatti->setGeometry(PixelRect(QRect(2400, 1260, 1500, 360)));
    LabDi = etichetta(PicMsgElab, "LabDi", QStringLiteral("di"), 0, false, Qt::AlignCenter);
    LabDi->setGeometry(PixelRect(QRect(3960, 1260, 480, 360)));
    labDaFare = etichetta(PicMsgElab, "labDaFare", QStringLiteral("999999"), 12, true, Qt::AlignLeft | Qt::AlignVCenter);
    labDaFare->setGeometry(PixelRect(QRect(4500, 1260, 1500, 360)));
    proDaFare = new QProgressBar(PicMsgElab);
    proDaFare->setObjectName(QStringLiteral("proDaFare"));
    proDaFare->setTextVisible(false);
    proDaFare->setGeometry(PixelRect(QRect(165, 1800, 8055, 375)));
    Form_Load();
}

frmInElab::~frmInElab() = default;

void frmInElab::Form_Load()
{
    double fattore = -2;
    RisVidForm(this, false, fattore);
    PicMsgElab->setGeometry(rect());
}

void frmInElab::mostra(const QString &titolo)
{
    if (!titolo.isEmpty())
        setWindowTitle(titolo);
    if (!m_inCorso)
        m_inCorso = std::make_unique<ElaborazioneInCorso>();
    const QRect utile = geometriaSchermo().disponibile;
    move(utile.left() + (utile.width() - width()) / 2, utile.top() + (utile.height() - height()) / 2);
    show();
    raise();
}

void frmInElab::impostaMassimo(int32_t massimo)
{
    labDaFare->setText(QString::number(massimo));
    proDaFare->setRange(0, std::max(massimo, 1));
}

void frmInElab::impostaValore(int32_t fatti, const QString &didascalia)
{
    LabFatti->setText(didascalia.isEmpty() ? QString::number(fatti) : didascalia);
    proDaFare->setValue(std::min(fatti, proDaFare->maximum()));
}

void frmInElab::impostaMessaggio(const QString &testo)
{
    LabMsgElab->setText(testo);
}

void frmInElab::nascondi()
{
    hide();
    m_inCorso.reset();
}

void frmInElab::ridisegna()
{
    if (isVisible())
        repaint();
}
