#pragma once
// The dialog "Calcola quantità da dimensione": the dimensions of an order line (length; width
// for area units; height for volume units), the number of pieces typed, the quantity these
// pieces make, and "&Ok" that hands the quantity back to the picking form.
#include "qtadadimensione.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <map>

class QLabel;
class QLineEdit;
class QPushButton;

class frmCalcQtaDaDim : public QDialog {
    Q_OBJECT
    Q_PROPERTY(double odRisVidVal MEMBER odRisVidVal)
    Q_PROPERTY(QString osKeySec MEMBER osKeySec)
public:
    explicit frmCalcQtaDaDim(QWidget *parent = nullptr);

    // Set by the caller before the dialog is shown.
    QString osKeySec;
    std::function<void(double)> ofrmChiama; // the calling form's AggQtaDaDim
    DatiQtaDaDim mDati; // the line's unit and dimensions, the divisor and the unit lists
    double odRisVidVal = 1;

    std::map<int, QLabel *> Label1;
    std::map<int, QLabel *> lab;
    QLineEdit *txt40;
    QPushButton *ComOk;
    QPushButton *ComAnnulla;

    void Form_Load();
    void txt_Change();
    void ComOk_Click();
    void ComAnnulla_Click();

protected:
    void showEvent(QShowEvent *e) override;

private:
    bool m_caricata = false;
};
