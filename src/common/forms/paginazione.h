#pragma once
// Forms that page through records: their paging objects (commands, lines, lists), the toolbars
// whose buttons perform the paging, and the navigation keys that press those buttons. No form of
// this program pages through records; the form services take part only when a form says so.
//
// A paging form implements FormPaginata. A toolbar is a widget whose actions are its buttons,
// each named (objectName) by its key; pressing a button calls the form's ButtonComando(key).
#include "variant.h"

#include <QString>
#include <cstdint>

class QAction;
class QWidget;

class OggettoPaginazione {
public:
    virtual ~OggettoPaginazione();
    virtual void ovLeggiPar(const QString &nome, const Variant &valore) = 0;
    // The key of the button bound to the key code ("" when none).
    virtual QString TastoPremuto(int16_t codiceTasto) = 0;
    // The current position and the total, as texts.
    virtual void RecCorrSuTot(QString &corrente, QString &totale) = 0;
    virtual Variant VarDati(int16_t indice) = 0;

    int16_t oiAbilRW = 1;  // 1 read and write, 0 read only
    int16_t oiFlagOpe = 0; // operation state: 0 none, 1 and 2 the form's own
};

class FormPaginata {
public:
    virtual ~FormPaginata();
    virtual OggettoPaginazione *ogComPag() { return nullptr; }
    virtual OggettoPaginazione *ogLinPag() { return nullptr; }
    virtual OggettoPaginazione *ogLisPag() { return nullptr; }
    virtual OggettoPaginazione *ogComlin() { return nullptr; }
    virtual QWidget *tolComPag() { return nullptr; }
    virtual QWidget *tolLinPag() { return nullptr; }
    virtual QWidget *tolComlin() { return nullptr; }
    virtual void ButtonComando(const QString &pulsante) = 0;
};

// The form's paging interface; 438 when the form has none.
FormPaginata &formPaginata(QWidget *form);
// The button of the toolbar by key (letter case ignored); 35601 when the toolbar has none.
QAction *Pulsante(QWidget *barra, const QString &chiave);

// The navigation keys of paging forms: with the form's flags -1 (4 commands, 6 lines, 8 lists)
// Alt with PgUp, PgDn, Home and End, the arrows, F10 and the keys bound by the paging objects
// press the buttons of its toolbars; `pulsante` and `pulsante2` name buttons to press (normally
// empty); `nuovaRicerca` starts a new search after F10 has saved. With every flag 0 nothing
// changes. The result is 0.
Variant GestTastiNavig(int16_t &KeyCode, int16_t Shift, QWidget *form, int16_t conComPag, int16_t, int16_t conLinPag,
                       int16_t, int16_t conLisPag, int16_t, const Variant &, QString &pulsante, QString &pulsante2,
                       int16_t nuovaRicerca);
