#pragma once
// The posting error form "Errore": the stage of the posting that failed, the movement header
// and the row on which it failed, and the error text, with "Prosegui" to go on.
#include "vistaposting.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;

class frmErrAggMov : public QDialog {
    Q_OBJECT
public:
    explicit frmErrAggMov(QWidget *parent = nullptr);

    QLabel *labErrore;
    QLabel *LabMsgErr;
    QPushButton *comPresegui;
    std::vector<QLabel *> Label1; // the fixed captions
    // The value label of an index of the array (10 to 150 in steps of 10).
    QLabel *lab(int indice) const;

    // Writes the content into the form: caption and headline, error text, values.
    void riempi(const ContenutoErrAggMov &contenuto);
    void comPresegui_Click();

private:
    void Form_Load();
    std::vector<QLabel *> m_lab;
};
