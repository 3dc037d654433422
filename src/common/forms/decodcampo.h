#pragma once
// The decode of the code fields of a form when they are left: the description goes into the
// description control ("** INESISTENTE **" for a code that does not exist) and, when the
// user's settings ask for it ("DecodHelpAbil" other than "N"), a code that does not decode
// opens the lookup window by itself; the code chosen there is decoded again.
//
// Arguments follow the order the forms pass them; "option" values only go on to the help
// component. A field list is an array of field names that comes back holding their values
// (nullptr: none).
#include "variant.h"

#include <QString>
#include <optional>

class QObject;
class QWidget;

// The decode with the automatic lookup. The result is the outcome of the last decode (-1
// decoded), or the Boolean False when a lookup window was opened and closed without a choice;
// the code field then has back the text it had. `aiutoAperto` becomes True (-1) when a lookup
// window was opened.
Variant DecodCampo(const QString &tipo, QWidget *codice, QWidget *descrizione, const std::optional<Variant> &opzione,
                   int16_t opzione5, int16_t opzione6, const QString &opzione7, Variant *listaCampi,
                   const QString &filtro, const QString &prefissoCampi, int16_t opzioneAiuto,
                   const std::optional<Variant> &filtroAiuto, int16_t tasto, int16_t aiutoAmmesso,
                   const QString &testoDurante, int16_t &aiutoAperto, int16_t eventiPrima = 0,
                   QObject *nessuno = nullptr, int16_t senzaEventi = 0);

// A code field is left. An empty field, or `silenzioso` / `opzione5` True, decodes without any
// lookup; otherwise DecodCampo with the lookup allowed. Article lookups hide inactive
// articles when the user asked it.
Variant CodiceLostFocus(const QString &tipo, QWidget *codice, QWidget *descrizione,
                        const std::optional<Variant> &opzione, int16_t opzione5, int16_t opzione6,
                        const QString &opzione7, Variant *listaCampi, const QString &filtro, int16_t silenzioso = 0,
                        int16_t senzaEventi = 0);

// An account field is left: shown with its separators ("14-01-0001") and decoded, the lookup
// (of accounts of the kind: 3 customers) allowed when asked.
Variant ContoLostFocus(QWidget *casella, QWidget *descrizione, int16_t opzione, int16_t tipoConto,
                       Variant *listaCampi, int16_t aiutoAmmesso, const Variant &nessuno = {});

// An account field gets the focus: shown as it is typed ("14010001"), all of it selected.
void ContoGotFocus(QWidget *casella);

// Whether the message dialog (the top-level window named "frmMsgCom") is on the screen.
bool MsgComVisibile();
