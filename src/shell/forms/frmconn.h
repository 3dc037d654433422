#pragma once
// The connection window: the program's name and version, shown while the company database
// opens ("Connessione al database"; "Connessione primaria al database" while connecting).
#include "finestraconnessione.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;

class frmConn : public QWidget {
    Q_OBJECT
public:
    explicit frmConn(QWidget *parent = nullptr);

    QLabel *labTitolo;
    QLabel *labVersione;
    QLabel *LabDataVer;
    QLabel *imgLogo;
    QLabel *imgAccess;
    QLabel *imgOracle;
    QLineEdit *txtNomeDb;

    // Centres the window on the screen.
    void Form_Load();
};

// The shell's connection window on the screen: one default instance, loaded into the forms
// collection on first use and released when unloaded.
class FinestraConnessioneQt final : public FinestraConnessione {
public:
    void Carica() override;
    void Mostra() override;
    void ImpostaCaption(const QString &caption) override;
    void Ridisegna() override;
    void MostraTitolo() override;
    void ImpostaVersione(const QString &caption) override;
    void ImpostaDataVersione(const QString &caption) override;
    void MostraImmagini(bool accesso) override;
    void Scarica() override;

    frmConn *form() const { return m_form; }

private:
    frmConn &istanza();
    QPointer<frmConn> m_form;
};
