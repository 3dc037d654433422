#include "frminpcambi.h"

#include "dialoghi.h"
#include "inizmaschera.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "vettorechiavi.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>

namespace {

constexpr int kAltezzaMinimaGriglia = 8; // 120 twips
constexpr int kSpazio = 8;               // 120 twips

QTableWidgetItem *cella(const QString &testo, bool modificabile)
{
    auto *c = new QTableWidgetItem(testo);
    if (!modificabile)
        c->setFlags(c->flags() & ~Qt::ItemIsEditable);
    return c;
}

} // namespace

void GrigliaCambi::ConfermaModifica()
{
    QWidget *editor = QApplication::focusWidget();
    if (state() != QAbstractItemView::EditingState || !editor || !isAncestorOf(editor))
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

QString GrigliaCambi::Cambio(const QString &moneta) const
{
    for (int r = 0; r < rowCount(); ++r) {
        const QTableWidgetItem *codice = item(r, FrmInpCambi::ColMoneta);
        if (codice && textEquals(codice->text(), moneta)) {
            const QTableWidgetItem *cambio = item(r, FrmInpCambi::ColCambio);
            return cambio ? cambio->text() : QString();
        }
    }
    return {};
}

FrmInpCambi::FrmInpCambi(QWidget *parent)
    : QWidget(parent, Qt::Dialog), dbgCambi(new GrigliaCambi(0, 4, this)),
      CheAggTutti(new QCheckBox(QStringLiteral("Aggiorna tutti i cambi"), this)),
      ComChiudi(new QPushButton(QStringLiteral("&Chiudi"), this))
{
    setObjectName(QStringLiteral("FrmInpCambi"));
    setWindowTitle(QStringLiteral("Cambi"));
    resize(440, 230);
    dbgCambi->setObjectName(QStringLiteral("dbgCambi"));
    dbgCambi->setGeometry(0, 0, 440, 180);
    dbgCambi->setHorizontalHeaderLabels(
        {QStringLiteral("Cod. Moneta"), QStringLiteral("Moneta"), QStringLiteral("Data"), QStringLiteral("Cambio")});
    dbgCambi->verticalHeader()->hide();
    dbgCambi->setSelectionMode(QAbstractItemView::SingleSelection);
    dbgCambi->setEditTriggers(QAbstractItemView::AllEditTriggers);
    CheAggTutti->setObjectName(QStringLiteral("CheAggTutti"));
    CheAggTutti->setGeometry(8, 196, 170, 22);
    ComChiudi->setObjectName(QStringLiteral("ComChiudi"));
    ComChiudi->setGeometry(180, 192, 90, 28);
    dbgCambi->setProperty("TabIndex", 0);
    CheAggTutti->setProperty("TabIndex", 1);
    ComChiudi->setProperty("TabIndex", 2);
    connect(ComChiudi, &QPushButton::clicked, this, [this] { ComChiudi_Click(); });
}

void FrmInpCambi::Form_Load()
{
    InizMaschera(this, 0, 0, 0, 0, 0, 0, 0, -1, -1, QString());
    m_margineChiudi = height() - ComChiudi->y();
    m_margineAggTutti = height() - CheAggTutti->y();

    dbgCambi->setRowCount(0);
    if (ogCambi) {
        for (const ElementoVettore &e : ogCambi->Elementi()) {
            const int r = dbgCambi->rowCount();
            dbgCambi->insertRow(r);
            dbgCambi->setItem(r, ColMoneta, cella(e.Chiave, false));
            dbgCambi->setItem(r, ColDescrizione, cella(e.Testo, false));
            dbgCambi->setItem(r, ColData, cella(UtilGenerali::FormattaValore(e.Data, QStringLiteral("dd/mm/yyyy")), false));
            dbgCambi->setItem(r, ColCambio, cella(Variant(e.Valore).toString(), true));
        }
    }

    const QFontMetrics fm(font());
    const int bordo = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 6;
    dbgCambi->setColumnWidth(ColMoneta, fm.horizontalAdvance(QStringLiteral("Cod. Moneta  ")) + bordo);
    dbgCambi->setColumnWidth(ColDescrizione, fm.horizontalAdvance(QString(20, QLatin1Char('M'))) + bordo);
    dbgCambi->setColumnWidth(ColData, fm.horizontalAdvance(QStringLiteral("31/12/2000   ")) + bordo);
    dbgCambi->setColumnWidth(ColCambio, fm.horizontalAdvance(QString(12, QLatin1Char('0'))) + bordo);
    // the window as wide as the four columns
    int larghezza = 2 * dbgCambi->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int c = ColMoneta; c <= ColCambio; ++c)
        larghezza += dbgCambi->columnWidth(c);
    resize(std::max(larghezza, width()), height());
    m_caricata = true;
    Form_Resize();
    if (dbgCambi->rowCount() > 0)
        dbgCambi->setCurrentCell(0, ColCambio);

    AdattaRisVid(this, 0, 0, 0, 0, 0, 0, 0, -1);
}

void FrmInpCambi::ComChiudi_Click()
{
    dbgCambi->ConfermaModifica();
    if (ogCambi) {
        std::vector<std::pair<QString, double>> cambi;
        for (const ElementoVettore &e : ogCambi->Elementi()) {
            const double cambio = UtilGenerali::ValoreNumerico(Variant(dbgCambi->Cambio(e.Chiave)), true);
            // a rate of zero or below would turn every amount of the order into nonsense
            if (!(cambio > 0)) {
                frmMsgCom::msgCom(QStringLiteral("Si prega di inserire tutti i cambi"), QStringLiteral("&Ok"));
                return;
            }
            cambi.emplace_back(e.Chiave, cambio);
        }
        for (const auto &[moneta, cambio] : cambi)
            ogCambi->setValore(moneta, true, cambio);
    }
    m_confermato = true;
    hide();
}

void FrmInpCambi::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    if (m_caricata)
        Form_Resize();
}

void FrmInpCambi::Form_Resize()
{
    const int h = height();
    const int w = width();
    dbgCambi->setGeometry(0, 0, w, std::max(h - m_margineChiudi - kSpazio, kAltezzaMinimaGriglia));
    CheAggTutti->move(CheAggTutti->x(), std::max(h - m_margineAggTutti, 1));
    ComChiudi->move(std::max((w - ComChiudi->width()) / 2, CheAggTutti->x() + CheAggTutti->width()),
                    std::max(h - m_margineChiudi, 1));
}
