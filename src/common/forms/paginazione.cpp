#include "paginazione.h"

#include "caselletesto.h"
#include "controlli.h"
#include "forms.h"
#include "tasti.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

OggettoPaginazione::~OggettoPaginazione() = default;
FormPaginata::~FormPaginata() = default;

FormPaginata &formPaginata(QWidget *form)
{
    auto *f = dynamic_cast<FormPaginata *>(form);
    if (!f)
        throw erroreMetodoNonSupportato(NomeForm(form) + QStringLiteral(".ogComPag"));
    return *f;
}

QAction *Pulsante(QWidget *barra, const QString &chiave)
{
    if (barra) {
        for (QAction *a : barra->actions()) {
            if (textEquals(a->objectName(), chiave))
                return a;
        }
    }
    throw AppError(35601, QStringLiteral("Elemento non trovato"), chiave);
}

namespace {

bool attivoEVisibile(QAction *a)
{
    return a->isEnabled() && a->isVisible();
}

OggettoPaginazione &oggetto(OggettoPaginazione *o, const char *nome)
{
    if (!o)
        throw AppError(91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"),
                       QString::fromLatin1(nome));
    return *o;
}

QString tastoAlt(int16_t codice)
{
    switch (codice) {
    case Tasto::PagSu: return QStringLiteral("Precedente");
    case Tasto::PagGiu: return QStringLiteral("Successivo");
    case Tasto::Inizio: return QStringLiteral("Inizio");
    case Tasto::Fine: return QStringLiteral("Fine");
    default: return {};
    }
}

void comandi(int16_t &KeyCode, int16_t Shift, FormPaginata &f, QString &pulsante, QString &pulsante2, int16_t nuovaRicerca)
{
    OggettoPaginazione &pag = oggetto(f.ogComPag(), "ogComPag");
    if (Shift == kShiftAlt && pulsante.isEmpty())
        pulsante = tastoAlt(KeyCode);
    if (!pulsante.isEmpty()) {
        QAction *a = Pulsante(f.tolComPag(), pulsante);
        if (a->isEnabled())
            f.ButtonComando(a->objectName());
    }
    if (Shift == kShiftAlt && pulsante.isEmpty() && pulsante2.isEmpty())
        pulsante2 = pag.TastoPremuto(KeyCode);
    if (!pulsante2.isEmpty()) {
        QAction *a = Pulsante(f.tolComPag(), pulsante2);
        if (attivoEVisibile(a))
            f.ButtonComando(a->objectName());
        return;
    }
    if (Shift != 0 || KeyCode != Tasto::F10)
        return;
    if (pag.oiFlagOpe == 0) {
        f.ButtonComando(QStringLiteral("Ricerca"));
    } else {
        const int16_t prima = pag.oiFlagOpe;
        QAction *salva = Pulsante(f.tolComPag(), QStringLiteral("Salva"));
        if (attivoEVisibile(salva)) {
            f.ButtonComando(salva->objectName());
            QCoreApplication::processEvents();
        }
        if ((prima == 1 || (prima == 2 && pag.oiFlagOpe == 1)) && UtilGenerali::Vuoto(pag.VarDati(-1), 8, 1, false)
            && nuovaRicerca != 0)
            f.ButtonComando(QStringLiteral("Ricerca"));
    }
    KeyCode = 0;
}

// True when the procedure ends here.
bool elenchi(int16_t KeyCode, int16_t Shift, FormPaginata &f, QString &pulsante, QString &pulsante2)
{
    if (Shift == 0 && pulsante.isEmpty()) {
        if (KeyCode == Tasto::Su)
            pulsante = QStringLiteral("Precedente");
        else if (KeyCode == Tasto::Giu)
            pulsante = QStringLiteral("Successiva");
    }
    if (!pulsante.isEmpty()) {
        f.ButtonComando(pulsante);
        return true;
    }
    if (Shift == kShiftAlt && pulsante2.isEmpty())
        pulsante2 = oggetto(f.ogLisPag(), "ogLisPag").TastoPremuto(KeyCode);
    if (!pulsante2.isEmpty()) {
        QAction *a = Pulsante(f.tolComlin(), pulsante2);
        if (attivoEVisibile(a))
            f.ButtonComando(a->objectName());
    }
    return false;
}

void righe(int16_t KeyCode, int16_t Shift, FormPaginata &f, QString &pulsante, QString &pulsante2)
{
    bool multiRiga = false;
    if (const QWidget *attivo = QApplication::focusWidget())
        multiRiga = eMultiRiga(attivo) && TestoCasella(attivo).size() != SelLength(attivo);
    if (Shift == 0 && pulsante.isEmpty() && !multiRiga) {
        switch (KeyCode) {
        case Tasto::PagSu: pulsante = QStringLiteral("PageUp"); break;
        case Tasto::PagGiu: pulsante = QStringLiteral("PageDown"); break;
        case Tasto::Su: pulsante = QStringLiteral("Precedente"); break;
        case Tasto::Giu: pulsante = QStringLiteral("Successiva"); break;
        default: break;
        }
    }
    if (!pulsante.isEmpty()) {
        f.ButtonComando(pulsante);
        return;
    }
    if (Shift == kShiftAlt && pulsante2.isEmpty()) {
        pulsante2 = oggetto(f.ogLinPag(), "ogLinPag").TastoPremuto(KeyCode);
        if (!pulsante2.isEmpty()) {
            QAction *a = Pulsante(f.tolLinPag(), pulsante2);
            if (attivoEVisibile(a))
                f.ButtonComando(a->objectName());
        }
    }
}

} // namespace

Variant GestTastiNavig(int16_t &KeyCode, int16_t Shift, QWidget *form, int16_t conComPag, int16_t, int16_t conLinPag,
                       int16_t, int16_t conLisPag, int16_t, const Variant &, QString &pulsante, QString &pulsante2,
                       int16_t nuovaRicerca)
{
    if (conComPag != -1 && conLisPag != -1 && conLinPag != -1)
        return Variant(int16_t(0));
    FormPaginata &f = formPaginata(form);
    if (conComPag == -1)
        comandi(KeyCode, Shift, f, pulsante, pulsante2, nuovaRicerca);
    if (conLisPag == -1 && elenchi(KeyCode, Shift, f, pulsante, pulsante2))
        return Variant(int16_t(0));
    if (conLinPag == -1)
        righe(KeyCode, Shift, f, pulsante, pulsante2);
    return Variant(int16_t(0));
}
