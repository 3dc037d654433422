#pragma once
// The dialogs of a run without a user: each one is written to standard error, one line
//   [msgCom] <text> {<button>|<button>} => <answer>
// and answered by a fixed policy: a lock question ("Riprova"/"Esci") with "Esci", every other
// question with its default button, an input box with its proposed text.
#include "dialoghi.h"

#include <QStringList>

class DialoghiRun final : public Dialoghi {
public:
    int msgCom(const RichiestaMsgCom &richiesta) override;
    int MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg icona, const QString &titolo) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &titolo, const QString &predefinito) override;

    // Whether a message with exactly this text was shown.
    bool mostrato(const QString &testo) const { return m_testi.contains(testo); }
    // Whether a lock question was answered "Esci".
    bool uscitoDaBlocco() const { return m_esci; }

private:
    QStringList m_testi;
    bool m_esci = false;
};

// One line of the journal on standard error.
void giornale(const QString &tipo, const QString &testo);
