#include "frmcalcqtadadim.h"

#include "dialoghi.h"
#include "inizmaschera.h"
#include "utilgenerali.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

QLabel *etichetta(QWidget *form, const QString &nome, int indice, const QString &testo, QRect r)
{
    auto *l = new QLabel(testo, form);
    l->setObjectName(nome);
    l->setProperty("Index", indice);
    l->setGeometry(r);
    return l;
}

QString testoNumero(double v) { return Variant(v).toString(); }

} // namespace

frmCalcQtaDaDim::frmCalcQtaDaDim(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCalcQtaDaDim"));
    setWindowTitle(QStringLiteral("Calcola quantità da dimensione"));
    setModal(true);
    resize(320, 200);
    const int xl = 12, xv = 150, w = 150, h = 20;
    Label1[10] = etichetta(this, QStringLiteral("Label1"), 10, QStringLiteral("Lunghezza: "), {xl, 12, 130, h});
    lab[10] = etichetta(this, QStringLiteral("lab"), 10, {}, {xv, 12, w, h});
    Label1[20] = etichetta(this, QStringLiteral("Label1"), 20, QStringLiteral("Larghezza: "), {xl, 36, 130, h});
    lab[20] = etichetta(this, QStringLiteral("lab"), 20, {}, {xv, 36, w, h});
    Label1[30] = etichetta(this, QStringLiteral("Label1"), 30, QStringLiteral("Altezza: "), {xl, 60, 130, h});
    lab[30] = etichetta(this, QStringLiteral("lab"), 30, {}, {xv, 60, w, h});
    Label1[40] = etichetta(this, QStringLiteral("Label1"), 40, QStringLiteral("Numero pezzi:"), {xl, 92, 130, h});
    txt40 = new QLineEdit(this);
    txt40->setObjectName(QStringLiteral("txt"));
    txt40->setProperty("Index", 40);
    txt40->setGeometry(xv, 90, 100, 24);
    // whole pieces only: a separator typed here would multiply the quantity
    txt40->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txt40));
    Label1[50] = etichetta(this, QStringLiteral("Label1"), 50, QStringLiteral("Quantità calcolata: "), {xl, 124, 130, h});
    lab[50] = etichetta(this, QStringLiteral("lab"), 50, {}, {xv, 124, w, h});
    for (const int i : {20, 30}) {
        Label1[i]->hide();
        lab[i]->hide();
    }
    ComOk = new QPushButton(QStringLiteral("&Ok"), this);
    ComOk->setObjectName(QStringLiteral("ComOk"));
    ComOk->setGeometry(60, 158, 90, 28);
    ComOk->setDefault(true);
    ComAnnulla = new QPushButton(QStringLiteral("&Annulla"), this);
    ComAnnulla->setObjectName(QStringLiteral("ComAnnulla"));
    ComAnnulla->setGeometry(170, 158, 90, 28);
    connect(txt40, &QLineEdit::textChanged, this, [this] { txt_Change(); });
    connect(ComOk, &QPushButton::clicked, this, [this] { ComOk_Click(); });
    connect(ComAnnulla, &QPushButton::clicked, this, [this] { ComAnnulla_Click(); });
}

void frmCalcQtaDaDim::showEvent(QShowEvent *e)
{
    if (!m_caricata)
        Form_Load();
    QDialog::showEvent(e);
}

void frmCalcQtaDaDim::Form_Load()
{
    m_caricata = true;
    InizMaschera(this, 0, 0, 0, 0, 0, 0, 0, -1, -1, QString());
    Label1[20]->setVisible(mDati.mostraLarghezza());
    lab[20]->setVisible(mDati.mostraLarghezza());
    Label1[30]->setVisible(mDati.mostraAltezza());
    lab[30]->setVisible(mDati.mostraAltezza());
    lab[10]->setText(testoNumero(mDati.lunghezza));
    lab[20]->setText(testoNumero(mDati.larghezza));
    lab[30]->setText(testoNumero(mDati.altezza));
    AdattaRisVid(this, 0, 0, 0, 0, 0, 0, 0, -1);
    txt40->setFocus();
}

void frmCalcQtaDaDim::txt_Change()
{
    lab[50]->setText(DatiQtaDaDim::TestoQuantita(mDati.Quantita(DatiQtaDaDim::Pezzi(txt40->text()))));
}

void frmCalcQtaDaDim::ComOk_Click()
{
    if (UtilGenerali::Vuoto(Variant(lab[50]->text()), 8, 1, false)) {
        frmMsgCom::msgCom(QStringLiteral("Quantità calcolata = 0"), QStringLiteral("&Ok"));
        return;
    }
    const double q = DatiQtaDaDim::QuantitaDaTesto(lab[50]->text());
    if (ofrmChiama)
        ofrmChiama(q);
    accept();
}

void frmCalcQtaDaDim::ComAnnulla_Click() { reject(); }
