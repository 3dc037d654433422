#pragma once
// Every question, notice and error message of the program goes through this seam: the
// program installs the real dialogs at start-up, tests install a scripted answerer.
#include "apperror.h"
#include "variant.h"

#include <QString>
#include <memory>
#include <optional>

// The arguments of the message dialog, in its own order and with its defaults.
struct RichiestaMsgCom {
    QString psLabel;
    QString psCom1;
    Variant pvCom2;        // Empty: absent
    Variant pvCom3;        // taken only when pvCom2 is given
    Variant pvTitolo;      // Empty: the application's title
    int16_t piLargForm = 80;
    bool pbSuona = false;
    int16_t piLatiForm = 600;
    Variant pvFontSize;
    int16_t piComDefault = 1;
    Variant pvWidthCom;
    bool pbSempreTxt = false;
};

// The platform's standard message box: buttons, icon, answers as the run-time numbers them.
enum class PulsantiMsg { Ok, OkAnnulla, SiNo, SiNoAnnulla, RiprovaAnnulla };
enum class IconaMsg { Nessuna, Errore, Domanda, Esclamazione, Informazione };
namespace RispostaMsg {
inline constexpr int Ok = 1, Annulla = 2, Interrompi = 3, Riprova = 4, Ignora = 5, Si = 6, No = 7;
}

class Dialoghi {
public:
    virtual ~Dialoghi() = default;
    // The message dialog: the number of the button pressed (1 to 3), 0 when the dialog is
    // already on the screen.
    virtual int msgCom(const RichiestaMsgCom &richiesta) = 0;
    // The standard message box; the answer is one of RispostaMsg.
    virtual int MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg icona, const QString &titolo) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> InputBox(const QString &prompt, const QString &titolo, const QString &predefinito) = 0;
};

// The installed dialogs. Until something is installed, every call raises: a program or a
// test that shows a message without an answerer is a fault, not a silent default.
Dialoghi &dialoghi();
// Installs the dialogs; returns the previous ones (tests restore them).
std::unique_ptr<Dialoghi> impostaDialoghi(std::unique_ptr<Dialoghi> d);

// The message dialog as the program calls it.
namespace frmMsgCom {
int msgCom(const QString &psLabel, const QString &psCom1, const Variant &pvCom2 = {}, const Variant &pvCom3 = {},
           const Variant &pvTitolo = {}, int16_t piLargForm = 80, bool pbSuona = false, int16_t piLatiForm = 600,
           const Variant &pvFontSize = {}, int16_t piComDefault = 1, const Variant &pvWidthCom = {},
           bool pbSempreTxt = false);
// "Errore(" number "): " description, with the texts before and after, under a single "&Ok".
int MsgErrfrm(const Variant &pvError, const Variant &pverr, const QString &psMsgAggPri = {},
              const QString &psMsgAggDop = {}, const Variant &pvTitolo = {});
// The same for a caught error: its description (with " - " and its source when it has one)
// and its number as the database library numbers it.
int MsgErrfrm(const AppError &errore, const QString &psMsgAggPri = {}, const QString &psMsgAggDop = {},
              const Variant &pvTitolo = {});
} // namespace frmMsgCom

// An error's description as the standard texts show it: description, then " - " and the
// source when there is one.
QString descrizioneConOrigine(const AppError &errore);
