#pragma once
// The message dialog on the screen ("Richiesta Comando"): the message, one to three buttons,
// the number of the button pressed. Laid out by the rules of layoutmsgcom.h after the dialog
// has been fitted to the screen with the message factor (gdRisVidMsg). Enter presses the
// default button, Esc the cancel button; the close box acts as Esc (as the single button when
// there is one; with three buttons there is no close box). F1 opens the help.
#include "dialoghi.h"
#include "layoutmsgcom.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class DialogoMsgCom : public QDialog {
    Q_OBJECT
public:
    explicit DialogoMsgCom(QWidget *parent = nullptr);

    QLabel *LabMessaggio;
    QPlainTextEdit *txtMessaggio;
    std::vector<QPushButton *> ComEsegui;
    QString txtComRit; // the number of the button pressed, as text

    // Lays the dialog out for the request (the window is not shown).
    void prepara(const RichiestaMsgCom &richiesta);
    // Shows it modally; the number of the button pressed.
    int mostra();
    // The layout computed by prepara, in twips.
    const LayoutMsgCom &layout() const { return m_layout; }

    void ComEsegui_Click(int Index);

protected:
    void reject() override;
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void Form_Load();
    void aggiungiPulsante(const QString &caption);

    LayoutMsgCom m_layout;
    int m_annulla = -1;     // the Esc button's index
    int m_iniziale = 0;     // the button that has the focus when the dialog opens
};

// The program's dialogs on the screen: the message dialog (one at a time: a request while it
// is open answers 0), the platform's message box and input box.
class DialoghiQt final : public Dialoghi {
public:
    int msgCom(const RichiestaMsgCom &richiesta) override;
    int MsgBox(const QString &testo, PulsantiMsg pulsanti, IconaMsg icona, const QString &titolo) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &titolo, const QString &predefinito) override;

    // The open message dialog, for tests (nullptr when none).
    static DialogoMsgCom *aperto();
};

// The application's title, which the dialogs show when they are given none.
QString titoloApplicazione();
