#pragma once
// The program's window as start-up opens it by name. The fulfilment request it holds comes
// with the fulfilment dialog; this window carries what the shell needs of it: its keys, its
// load state, its place in the menu's switch list, and its close, which returns to the
// calling program or to the menu and ends the program.
#include "formprogramma.h"

#include <QWidget>

class QLabel;
class QPushButton;

class frmEvasOrd : public QWidget, public FormProgramma {
    Q_OBJECT
    Q_PROPERTY(double odRisVidVal MEMBER odRisVidVal)
    Q_PROPERTY(QString osRisVidKey MEMBER osRisVidKey)
    Q_PROPERTY(QString osKeySec MEMBER osKeySec)
public:
    explicit frmEvasOrd(QWidget *parent = nullptr);

    double odRisVidVal = 1;
    QString osRisVidKey;

    QLabel *labDitta;
    QPushButton *ComAnnulla;

    int16_t oiLoadOk() const override { return miLoadOk; }
    void Form_Load() override;
    void PassaA() override;

protected:
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    int16_t miLoadOk = 0;
};
