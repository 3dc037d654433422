#pragma once
// A scripted answerer for the dialog seam: every dialog is recorded, and answered from the
// queue of answers the test prepared (a dialog with no answer left fails the test).
#include "dialoghi.h"

#include <QStringList>
#include <deque>
#include <vector>

class DialoghiDiProva : public Dialoghi {
public:
    struct Mostrato {
        enum Tipo { MsgCom, MsgBox, InputBox } tipo;
        QString testo;     // message, or prompt
        QStringList pulsanti; // msgCom captions
        QString titolo;
        RichiestaMsgCom richiesta; // msgCom only
        PulsantiMsg pulsantiMsgBox = PulsantiMsg::Ok;
        IconaMsg icona = IconaMsg::Nessuna;
        QString predefinito{}; // InputBox only
    };

    // Answers, used in order whatever the kind of dialog: a button number (msgCom), a
    // RispostaMsg (MsgBox), a text or nullopt for cancel (InputBox).
    void rispondi(int risposta) { m_numeri.push_back(risposta); }
    void rispondiTesto(std::optional<QString> testo) { m_testi.push_back(std::move(testo)); }

    const std::vector<Mostrato> &mostrati() const { return m_mostrati; }
    QStringList testi() const;

    int msgCom(const RichiestaMsgCom &richiesta) override;
    int MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg icona, const QString &titolo) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &titolo, const QString &predefinito) override;

private:
    int prossimoNumero(const QString &testo, int predefinito);
    std::vector<Mostrato> m_mostrati;
    std::deque<int> m_numeri;
    std::deque<std::optional<QString>> m_testi;
};

// Installs a DialoghiDiProva for the scope and gives it back; the previous seam comes back after.
class DialoghiInstallati {
public:
    DialoghiInstallati();
    ~DialoghiInstallati();
    DialoghiDiProva &operator*() { return *m_prova; }
    DialoghiDiProva *operator->() { return m_prova; }

private:
    DialoghiDiProva *m_prova; // owned by the seam while installed
    std::unique_ptr<Dialoghi> m_precedenti;
};
