#pragma once
// The progress notice "In Elaborazione" of long runs, filled by the database library's
// progress driver (AvanzamentoElab): the message, the count done "di" the count to do, and the
// bar. It is application-modal while shown, and is only repainted, never by running the
// event loop: nothing of the user or of the menu server can run in the middle of a run.
#include "avanzamentoelab.h"
#include "elaborazione.h"

#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QProgressBar;

class frmInElab : public QWidget, public VistaAvanzamento {
    Q_OBJECT
public:
    explicit frmInElab(QWidget *parent = nullptr);
    ~frmInElab() override;

    QFrame *PicMsgElab;
    QLabel *LabMsgElab;
    QLabel *LabFatti;
    QLabel *LabDi;
    QLabel *labDaFare;
    QProgressBar *proDaFare;

    void mostra(const QString &titolo) override;
    void impostaMassimo(int32_t massimo) override;
    void impostaValore(int32_t fatti, const QString &didascalia) override;
    void impostaMessaggio(const QString &testo) override;
    void nascondi() override;
    void ridisegna() override;

private:
    void Form_Load();
    std::unique_ptr<ElaborazioneInCorso> m_inCorso;
};
