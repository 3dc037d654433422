#include "risvid.h"

#include "contesto.h"
#include "leggiini.h"
#include "schermo.h"
#include "utilgenerali.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <cmath>

double gdRisVidGen = 0;
double gdRisVidPers = 0;
double gdRisVidSta = 0;
double gdRisVidHelp = 0;
double gdRisVidMsg = 0;

namespace {

const char kOdRisVidVal[] = "odRisVidVal";

QString proprietaTesto(const QWidget *w, const char *nome)
{
    const QVariant v = w->property(nome);
    return v.isValid() ? v.toString() : QString();
}

// The factor of the form's own ini key (gdRisVidGen -2).
double fattoreDaChiave(const QWidget *form)
{
    QString chiave = proprietaTesto(form, "osRisVidKey");
    if (chiave.isEmpty())
        chiave = gsProgramma + u'-' + proprietaTesto(form, "osKeySec");
    if (UtilGenerali::Vuoto(Variant(chiave)))
        return gdRisVidPers;
    QString valore;
    LeggiIni(QStringLiteral("Risoluzione Video"), chiave, QStringLiteral("-2"), valore);
    const double f = UtilGenerali::ValoreNumerico(Variant(valore));
    return f == -2 ? gdRisVidPers : f;
}

bool eContenitore(const QWidget *w)
{
    const QMetaObject *m = w->metaObject();
    return m == &QWidget::staticMetaObject || m == &QFrame::staticMetaObject || qobject_cast<const QGroupBox *>(w) ||
           qobject_cast<const QTabWidget *>(w) || qobject_cast<const QStackedWidget *>(w) ||
           qobject_cast<const QScrollArea *>(w);
}

// The controls inside a container, in their order, containers walked into.
void raccogliControlli(QWidget *contenitore, QList<QWidget *> &out)
{
    QList<QWidget *> figli;
    if (auto *tab = qobject_cast<QTabWidget *>(contenitore)) {
        for (int i = 0; i < tab->count(); ++i)
            figli << tab->widget(i);
    } else if (auto *pila = qobject_cast<QStackedWidget *>(contenitore)) {
        for (int i = 0; i < pila->count(); ++i)
            figli << pila->widget(i);
    } else if (auto *area = qobject_cast<QScrollArea *>(contenitore)) {
        if (area->widget())
            figli << area->widget();
    } else {
        figli = contenitore->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    }
    for (QWidget *w : figli) {
        if (w->isWindow())
            continue;
        out << w;
        if (eContenitore(w))
            raccogliControlli(w, out);
    }
}

bool inLayout(const QLayout *layout, const QWidget *w)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == w)
            return true;
        if (item->layout() && inLayout(item->layout(), w))
            return true;
    }
    return false;
}

bool gestitoDaLayout(const QWidget *w)
{
    const QWidget *p = w->parentWidget();
    return p && p->layout() && inLayout(p->layout(), w);
}

bool eImmagineFissa(const QWidget *w)
{
    const auto *l = qobject_cast<const QLabel *>(w);
    return l && !l->pixmap().isNull() && !l->hasScaledContents();
}

bool eLinea(const QWidget *w)
{
    const auto *f = qobject_cast<const QFrame *>(w);
    return f && (f->frameShape() == QFrame::HLine || f->frameShape() == QFrame::VLine);
}

// The kinds of control whose font follows the form.
bool carattereScalato(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w) ||
           qobject_cast<const QTextEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
           qobject_cast<const QLabel *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QGroupBox *>(w) ||
           qobject_cast<const QStatusBar *>(w) || eLinea(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QTabWidget *>(w);
}

QFont scalato(QFont f, double fattore)
{
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * fattore);
    else if (f.pixelSize() > 0)
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pixelSize() * fattore))));
    return f;
}

int16_t flagsDi(const QWidget *w, const EccezioniRisVid &eccezioni)
{
    const QVariant indice = w->property("Index");
    for (const EccezioneRisVid &e : eccezioni) {
        if (e.nome.compare(w->objectName(), Qt::CaseInsensitive) != 0)
            continue;
        if (e.indice == -1 || !indice.isValid() || indice.toInt() == e.indice)
            return e.flags;
    }
    return 0;
}

int scala(int valore, double fattore)
{
    return static_cast<int>(std::lround(valore * fattore));
}

} // namespace

double RisVidForm(QWidget *form, bool soloCalcolo, double &fattore, const EccezioniRisVid &eccezioni)
{
    if (!form)
        return 1;
    form->setProperty(kOdRisVidVal, 1.0);
    try {
        if (fattore == -2) {
            if (gdRisVidGen == -1) {
                fattore = 1;
                return 1;
            }
            fattore = gdRisVidGen != -2 ? gdRisVidGen : fattoreDaChiave(form);
        }
    } catch (...) {
        // an unreadable setting leaves the factor as it stood
        if (fattore == -2)
            fattore = 0;
    }
    if (fattore == -1) {
        fattore = 1;
        return 1;
    }
    int peso = 0;
    if (fattore == -2)
        fattore = 0;
    if (fattore == 0) {
        int16_t larghezza = 0, altezza = 0;
        fattore = LeggiRisSchermo(larghezza, altezza);
        peso = 2;
    }
    if (fattore <= 0)
        fattore = 1;

    if (fattore != 1 && !soloCalcolo) {
        const GeometriaSchermo g = geometriaSchermo();
        double limite = ScreenHeight();
        int16_t bordo = BordoBarra::Nessuno, sempre = 0;
        int32_t top = 0, left = 0, right = 0, bottom = 0;
        if (!LeggiBarraApp(bordo, sempre, top, left, right, bottom) && bordo == BordoBarra::Basso) {
            limite = static_cast<double>(std::lround(top * g.twipsPerPixelX));
            ++peso;
        }
        const QRect r = form->frameGeometry();
        const double basso = (r.top() + r.height()) * g.twipsPerPixelY;
        const double destra = (r.left() + r.width()) * g.twipsPerPixelX;
        if (peso > 0 && basso > 0 && basso * fattore > limite)
            fattore = limite / basso;
        if (peso >= 2 && destra > 0 && static_cast<float>(destra * fattore) > ScreenWidth())
            fattore = ScreenWidth() / destra;
    }
    form->setProperty(kOdRisVidVal, fattore);
    if (!soloCalcolo)
        RidimensionaControlli(form, fattore, eccezioni);
    return fattore;
}

void RidimensionaControlli(QWidget *form, double fattore, const EccezioniRisVid &eccezioni)
{
    if (!form || fattore == 1 || !(fattore > 0))
        return;
    QList<QWidget *> controlli;
    raccogliControlli(form, controlli);
    // Every control's font as it stands, before the form's own font changes under it.
    std::vector<QFont> caratteri;
    caratteri.reserve(static_cast<size_t>(controlli.size()));
    for (const QWidget *w : controlli)
        caratteri.push_back(w->font());

    form->resize(scala(form->width(), fattore), scala(form->height(), fattore));
    form->setFont(scalato(form->font(), fattore));

    for (qsizetype i = 0; i < controlli.size(); ++i) {
        QWidget *w = controlli[i];
        const QFont &prima = caratteri[static_cast<size_t>(i)];
        if (eImmagineFissa(w)) {
            w->setFont(prima);
            continue;
        }
        const int16_t flags = flagsDi(w, eccezioni);
        if (!gestitoDaLayout(w)) {
            const QRect g = w->geometry();
            const QPoint pos = (flags & RisVidTieni::Posizione) ? g.topLeft()
                                                                 : QPoint(scala(g.x(), fattore), scala(g.y(), fattore));
            const QSize dim = (flags & RisVidTieni::Dimensione)
                                  ? g.size()
                                  : QSize(scala(g.width(), fattore), scala(g.height(), fattore));
            w->setGeometry(QRect(pos, dim));
        }
        // Each control gets its font of its own, so that a container kept as it was does not
        // hold back the controls inside it.
        w->setFont(!(flags & RisVidTieni::Carattere) && carattereScalato(w) ? scalato(prima, fattore) : prima);
    }
}
