#include "frmconn.h"

#include "forms.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

frmConn::frmConn(QWidget *parent)
    : QWidget(parent), labTitolo(new QLabel(QStringLiteral("Evasione ordini di vendita"), this)),
      labVersione(new QLabel(this)), LabDataVer(new QLabel(this)), imgLogo(new QLabel(this)),
      imgAccess(new QLabel(this)), imgOracle(new QLabel(this)), txtNomeDb(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmConn"));
    setWindowTitle(QStringLiteral("Connessione al database"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
    QFont titolo = labTitolo->font();
    titolo.setPointSizeF(titolo.pointSizeF() * 1.5);
    titolo.setBold(true);
    labTitolo->setFont(titolo);
    imgLogo->setText(QStringLiteral("EvasOrd"));
    imgAccess->setText(QStringLiteral("SQLite"));
    imgOracle->setText(QStringLiteral("ODBC"));
    txtNomeDb->setReadOnly(true);
    for (QWidget *w : {static_cast<QWidget *>(labTitolo), static_cast<QWidget *>(labVersione),
                       static_cast<QWidget *>(LabDataVer), static_cast<QWidget *>(imgLogo),
                       static_cast<QWidget *>(imgAccess), static_cast<QWidget *>(imgOracle),
                       static_cast<QWidget *>(txtNomeDb)})
        w->setVisible(false);

    auto *griglia = new QGridLayout(this);
    griglia->addWidget(imgLogo, 0, 0, 3, 1);
    griglia->addWidget(labTitolo, 0, 1);
    griglia->addWidget(labVersione, 1, 1);
    griglia->addWidget(LabDataVer, 2, 1);
    griglia->addWidget(imgAccess, 3, 0);
    griglia->addWidget(imgOracle, 3, 0);
    griglia->addWidget(txtNomeDb, 3, 1);
    Form_Load();
}

void frmConn::Form_Load()
{
    adjustSize();
    if (const QScreen *schermo = QGuiApplication::primaryScreen()) {
        const QRect area = schermo->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

frmConn &FinestraConnessioneQt::istanza()
{
    if (!m_form)
        m_form = static_cast<frmConn *>(Forms::Carica(std::make_unique<frmConn>()));
    return *m_form;
}

void FinestraConnessioneQt::Carica()
{
    istanza();
}

void FinestraConnessioneQt::Mostra()
{
    istanza().show();
}

void FinestraConnessioneQt::ImpostaCaption(const QString &caption)
{
    istanza().setWindowTitle(caption);
}

void FinestraConnessioneQt::Ridisegna()
{
    istanza().repaint();
}

void FinestraConnessioneQt::MostraTitolo()
{
    istanza().labTitolo->setVisible(true);
}

void FinestraConnessioneQt::ImpostaVersione(const QString &caption)
{
    istanza().labVersione->setText(caption);
    istanza().labVersione->setVisible(true);
}

void FinestraConnessioneQt::ImpostaDataVersione(const QString &caption)
{
    istanza().LabDataVer->setText(caption);
    istanza().LabDataVer->setVisible(true);
}

void FinestraConnessioneQt::MostraImmagini(bool accesso)
{
    istanza().imgLogo->setVisible(true);
    istanza().imgAccess->setVisible(accesso);
}

void FinestraConnessioneQt::Scarica()
{
    if (m_form)
        Forms::Scarica(m_form);
}
