#pragma once
// The fulfilment dialog frmEvasOrd, the program's main window: the user states one fulfilment
// request (dates, document types, ranges, currency, prefix and VAT period, automatic or manual,
// cash sale); leaving a field checks or decodes it, F2-F5 open the lookups, and OK validates
// the request and hands it to the engine: the automatic run at once, or the manual picking.
//
// The controls keep the arrays the rest of the program addresses by name and index: the text
// boxes "txt", their "..." buttons "ComHlp" and description labels "lab" of the same index,
// the captions "Label1" (each with the index of the field it names).
#include "formprogramma.h"
#include "tasti.h"
#include "variant.h"

#include <QString>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class scEvaOrdVen;

class frmEvasOrd : public QWidget, public FormProgramma, public TastiForm {
    Q_OBJECT
    Q_PROPERTY(double odRisVidVal MEMBER odRisVidVal)
    Q_PROPERTY(QString osRisVidKey MEMBER osRisVidKey)
    Q_PROPERTY(QString osKeySec MEMBER osKeySec)
    Q_PROPERTY(int oiAbilRW MEMBER oiAbilRW)
public:
    explicit frmEvasOrd(QWidget *parent = nullptr);
    ~frmEvasOrd() override;

    double odRisVidVal = 1;
    QString osRisVidKey;
    int oiAbilRW = 1;

    std::map<int, QLineEdit *> txt;
    std::map<int, QPushButton *> ComHlp;
    std::map<int, QLabel *> lab;
    std::map<int, QLabel *> Label1;
    QGroupBox *Frame1;
    std::array<QRadioButton *, 2> OptTipoEva{};
    QCheckBox *CheCorrispettivo;
    QPushButton *ComOk;
    QPushButton *ComAnnulla;

    // FormProgramma
    int16_t oiLoadOk() const override { return miLoadOk; }
    void Form_Load() override;
    void PassaA() override;
    // TastiForm
    void Form_KeyDown(int16_t &KeyCode, int16_t Shift) override;
    void Form_KeyPress(int16_t &KeyAscii) override;

    // The lookup windows of the fields (F2 to F5 without Shift); called by name by the "..."
    // buttons.
    Q_INVOKABLE void txt_KeyUp(int Index, int KeyCode, int Shift);
    // The check of a field that has been left.
    void txt_LostFocus(int Index);
    void ComOk_Click();

    // The lookup filters of the two document types: order types; delivery-note and invoice types
    // with sign '+' that are not internal (an Interno left Null is not internal).
    static QString FiltroTipoOrdine();
    static QString FiltroTipoEvasione();

    // The engine of the requests, once the first OK has created it.
    const std::shared_ptr<scEvaOrdVen> &motore() const { return mgEvaOrd; }

protected:
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void creaControlli();
    void txt_GotFocus(int Index);
    void ComHlp_Click(int Index);
    void CheCorrispettivo_Click();

    // txt_LostFocus by field
    void controllaTipoOrdine();
    void controllaTipoEvasione();
    void controllaPrefisso();
    void controllaRegimeMargine();
    void copiaInA(int da, int a);
    void controllaNumero(int Index);
    void decodifica(const QString &tipo, int Index, Variant *campi = nullptr, const QString &filtro = {});

    // ComOk_Click: the checks in order, the copy into the engine and the hand-over
    void richiestaOk();
    bool controllaRichiesta();
    void copiaNelMotore();
    void consegnaRichiesta();
    // The rates of the currencies of the request that need one; false when the user closed the
    // window without confirming them.
    bool ChiediCambiMonete();
    scEvaOrdVen &motoreCreato();
    // The index of the field that has the focus, when a field has it.
    std::optional<int> campoInModifica() const;

    int16_t miLoadOk = 0;
    std::shared_ptr<scEvaOrdVen> mgEvaOrd;
    QString msCausaleRientro;
    QString msRegMargOrd = QStringLiteral("N");
    QString msRegMargEva = QStringLiteral("N");
    QString msTipoEva;
    bool mbFattura = false;
    int16_t miSplitPay = 0;
    bool m_okInCorso = false;
};
