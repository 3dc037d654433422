#pragma once
// The exchange-rate form "Cambi": one row per currency of the request that needs a rate (code,
// description, date of the rate found, rate), only the rate editable. "&Chiudi" accepts the
// rates when every one is above zero and copies them into the rate vector it was given; closing
// the window any other way copies nothing and leaves the request unconfirmed.
#include <QString>
#include <QTableWidget>
#include <QWidget>

class QCheckBox;
class QPushButton;
class VettoreChiavi;

// The unbound grid of the rates.
class GrigliaCambi : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;
    // A cell edit still in progress is stored, as if the cell had been left.
    void ConfermaModifica();
    // The text of the rate column in the row of the currency (letter case ignored), "" when none.
    QString Cambio(const QString &moneta) const;
};

class FrmInpCambi : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double odRisVidVal MEMBER odRisVidVal)
    Q_PROPERTY(QString osKeySec MEMBER osKeySec)
public:
    explicit FrmInpCambi(QWidget *parent = nullptr);

    QString osKeySec;
    VettoreChiavi *ogCambi = nullptr; // the rates to edit, set before the load
    double odRisVidVal = 1;

    GrigliaCambi *dbgCambi;
    QCheckBox *CheAggTutti;
    QPushButton *ComChiudi;

    void Form_Load();
    void ComChiudi_Click();
    // Whether "&Chiudi" accepted the rates and copied them.
    bool Confermato() const { return m_confermato; }

    enum Colonna { ColMoneta = 0, ColDescrizione = 1, ColData = 2, ColCambio = 3 };

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void Form_Resize();

    int m_margineChiudi = 0;
    int m_margineAggTutti = 0;
    bool m_caricata = false;
    bool m_confermato = false;
};
