#include "frmerraggmov.h"

#include "risvid.h"
#include "schermo.h"

#include <QLabel>
#include <QPushButton>

namespace {

// The design, in twips.
constexpr int kLarghezzaForm = 9225, kAltezzaForm = 6495;
constexpr int kAltezzaRiga = 285;
constexpr int kLarghezzaDidascalia = 1800;

struct Voce {
    int indice; // of the value label
    const char *didascalia;
    int sinistra, alto, larghezza; // of the value label
};

// Rows from top to bottom, left column first.
constexpr Voce kVoci[] = {
    {10, "Movimento Numero:", 1980, 180, 1935}, {20, "Del:", 5760, 180, 1800},
    {30, "Causale:", 1980, 540, 5655},          {40, "Unità da: ", 1980, 900, 1935},
    {50, "Unità a: ", 5760, 900, 1800},         {60, "Listino:", 1980, 1320, 1935},
    {70, "Moneta:", 5760, 1320, 855},           {80, "Cambio:", 7680, 1320, 1395},
    {90, "Articolo", 1980, 1800, 5655},         {100, "Quantità", 1980, 2220, 1935},
    {110, "Prezzo", 5820, 2220, 1740},          {120, "Importo", 5820, 2640, 1740},
    {130, "Qta agg magaz.", 1980, 3180, 1935},  {140, "Prezzo In Lire", 5820, 3180, 1740},
    {150, "Prezzo in Euro", 5820, 3600, 1740},
};

QLabel *etichetta(QWidget *parent, const QString &nome, const QString &testo, const QRect &twips,
                  Qt::Alignment allineamento, double punti = 0)
{
    auto *l = new QLabel(testo, parent);
    l->setObjectName(nome);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(allineamento);
    if (punti > 0) {
        QFont f = l->font();
        f.setPointSizeF(punti);
        l->setFont(f);
    }
    l->setGeometry(PixelRect(twips));
    return l;
}

} // namespace

frmErrAggMov::frmErrAggMov(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmErrAggMov"));
    setWindowTitle(QStringLiteral("Errore"));
    setModal(true);
    resize(PixelX(kLarghezzaForm), PixelY(kAltezzaForm));
    int i = 0;
    for (const Voce &v : kVoci) {
        // The caption right-aligned just before its value (the rate's shorter, beside the currency).
        const int larghezza = v.indice == 80 ? 900 : kLarghezzaDidascalia;
        QLabel *d = etichetta(this, QStringLiteral("Label1"), QString::fromUtf8(v.didascalia),
                              QRect(v.sinistra - larghezza - 60, v.alto, larghezza, kAltezzaRiga),
                              Qt::AlignRight | Qt::AlignVCenter);
        d->setProperty("Index", i++);
        Label1.push_back(d);
        QLabel *l = etichetta(this, QStringLiteral("lab"), QString(),
                              QRect(v.sinistra, v.alto, v.larghezza, kAltezzaRiga), Qt::AlignLeft | Qt::AlignVCenter);
        l->setProperty("Index", v.indice);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        m_lab.push_back(l);
    }
    labErrore = etichetta(this, QStringLiteral("labErrore"), QStringLiteral("Errore durante il disaggiornamento"),
                          QRect(1980, 4260, 5955, 375), Qt::AlignCenter, 13.5);
    LabMsgErr = etichetta(this, QStringLiteral("LabMsgErr"), QString(), QRect(120, 4740, 8955, 945),
                          Qt::AlignLeft | Qt::AlignTop, 12);
    LabMsgErr->setWordWrap(true);
    comPresegui = new QPushButton(QStringLiteral("Prosegui"), this);
    comPresegui->setObjectName(QStringLiteral("comPresegui"));
    comPresegui->setGeometry(PixelRect(QRect(3840, 5880, 1455, 495)));
    comPresegui->setDefault(true);
    connect(comPresegui, &QPushButton::clicked, this, &frmErrAggMov::comPresegui_Click);
    Form_Load();
}

void frmErrAggMov::Form_Load()
{
    double fattore = -2;
    RisVidForm(this, false, fattore);
}

QLabel *frmErrAggMov::lab(int indice) const
{
    for (QLabel *l : m_lab)
        if (l->property("Index").toInt() == indice)
            return l;
    return nullptr;
}

void frmErrAggMov::riempi(const ContenutoErrAggMov &contenuto)
{
    setWindowTitle(contenuto.titolo);
    labErrore->setText(contenuto.titolo);
    for (QLabel *l : m_lab) {
        const auto v = contenuto.valori.find(l->property("Index").toInt());
        l->setText(v == contenuto.valori.end() ? QString() : v->second);
    }
    QString testo = contenuto.messaggio;
    testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    LabMsgErr->setText(testo);
}

void frmErrAggMov::comPresegui_Click()
{
    close();
}
