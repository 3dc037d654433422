// EvasOrd: the sales-order fulfilment program, started by the suite's menu server.
#include "avvio.h"
#include "contesto.h"
#include "dialoghigiornale.h"
#include "formprogramma.h"
#include "forms.h"
#include "frmconn.h"
#include "frmevamanu.h"
#include "frmevasord.h"
#include "frminelab.h"
#include "presentazione.h"
#include "puntatore.h"
#include "servizievasioneprogramma.h"
#include "tastiscritti.h"
#include "vistepostingqt.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("EvasOrd"));
    // the program ends through its own end, not when its last window closes
    QApplication::setQuitOnLastWindowClosed(false);

    impostaDialoghi(dialoghiDelProgramma());
    impostaFinestraConnessione(std::make_unique<FinestraConnessioneQt>());
    impostaVistePosting(std::make_unique<VistePostingQt>());
    // a run converts orders through the real document and line services
    ServiziEvasioneProgramma servizi;
    ImpostaServiziEvasione(&servizi);
    RegistraFormProgramma(QStringLiteral("frmEvasOrd"), [] { return std::make_unique<frmEvasOrd>(); });
    // "Manuale" in the dialog opens the picking form; a closed form is made anew at the next request.
    // It is one of the program's loaded forms: the program's end unloads it, which gives back
    // its picks and its session.
    ImpostaFrmEvaManu([]() -> FormEvasioneManuale & {
        static QPointer<FrmEvaManu> form;
        if (!form) {
            auto nuova = std::make_unique<FrmEvaManu>();
            nuova->Form_Load(); // its errors reach the dialog that asked for the form
            form = static_cast<FrmEvaManu *>(Forms::Carica(std::move(nuova)));
        }
        return form->controllo();
    });
    // a run shows the hourglass and the progress notice
    std::unique_ptr<frmInElab> avanzamento;
    impostaPresentazioneEvasione({[](bool acceso) { Clessidra(acceso); }, [&avanzamento]() -> VistaAvanzamento * {
                                      if (!avanzamento)
                                          avanzamento = std::make_unique<frmInElab>();
                                      return avanzamento.get();
                                  }});

    Main();
    AvviaTastiScritti();
    const int codice = QApplication::exec();
    // the program's objects go while the application still exists
    impostaPresentazioneEvasione({});
    azzeraContesto();
    ImpostaServiziEvasione(nullptr);
    return codice;
}
