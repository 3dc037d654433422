#pragma once
// The hidden main form, loaded first at start-up and kept to the end: it carries the close
// timer, which retries the program end until it succeeds, and the timer that gives a form the
// focus once the window events have settled. It is shown only while the program ends
// ("Chiusura in corso") or when a message needs a window of the program behind it.
#include <QWidget>

class QLabel;
class QTimer;

inline constexpr char kCaptionPrincipale[] = "Form Principale del programma";

class frmPrincipale : public QWidget {
    Q_OBJECT
public:
    explicit frmPrincipale(QWidget *parent = nullptr);

    int16_t oiChiudi = 0;      // close flag handed to TentaChiusura by the close timer
    int16_t oiFlagVarie = 0;   // 1: at the next tick of TimVarie, focus to osNomeForm
    QString osNomeForm;
    bool obRiprova = false;
    int16_t oiTmpAttesa = 0;   // milliseconds between close attempts

    QLabel *lblChiusura;
    QTimer *TimVarie;
    QTimer *timChiudi;

    void Form_Load();

private:
    void timChiudi_Timer();
    void timVarie_Timer();
};

// The main form of the running program (nullptr before start-up and after the end).
frmPrincipale *formPrincipale();
// Loads a new main form into the forms collection (first, at start-up) and into
// ggFrmPrincipale.
frmPrincipale *CaricaFormPrincipale();
