#pragma once
// The program's dialogs answered without a user, for the tests that run the real program under
// the stand-in menu server: with the environment variable EVASORD_GIORNALE_DIALOGHI naming a
// file, every dialog is written to it (one JSON object a line: "tipo" msgCom, MsgBox or
// InputBox, "titolo", "testo", "pulsanti", "risposta") and answered from the comma-separated
// answers of EVASORD_RISPOSTE_DIALOGHI in order (button numbers, message-box answers, or
// texts for input boxes), then by default with the first button or the proposed text. The
// answer "attesa:<ms>" keeps a modal window open that long, then gives the default; a message
// dialog asked meanwhile answers 0, as the real one does while it is on the screen.
#include "dialoghi.h"

#include <QString>
#include <QStringList>
#include <memory>

inline constexpr char kGiornaleDialoghiEnv[] = "EVASORD_GIORNALE_DIALOGHI";
inline constexpr char kRisposteDialoghiEnv[] = "EVASORD_RISPOSTE_DIALOGHI";

class DialoghiGiornale final : public Dialoghi {
public:
    DialoghiGiornale(QString giornale, QStringList risposte);

    int msgCom(const RichiestaMsgCom &richiesta) override;
    int MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg icona, const QString &titolo) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &titolo, const QString &predefinito) override;

private:
    std::optional<QString> prossima();
    void scrivi(const QString &tipo, const QString &titolo, const QString &testo, const QStringList &pulsanti,
                const QString &risposta);

    QString m_giornale;
    QStringList m_risposte;
    bool m_attesa = false;
};

// The dialogs the program shows: the journal's when the environment asks for it, else the
// windows on the screen.
std::unique_ptr<Dialoghi> dialoghiDelProgramma();
