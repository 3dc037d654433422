#pragma once
// The lookup window as the component drives it. The component itself needs no widgets: the
// window is installed by the program (InstallaFinestraAiuto of the window library) and shown
// through this interface.
#include "elencoaiuto.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

// The picture panel of article lookups.
struct ImmaginiAiuto {
    bool mostra = false;
    QString dove;          // "A" top, "B" bottom, "S" left, any other right
    QString cartella;      // folder of the pictures
    double rapporto = 0;   // height to width of the panel; 0 leaves it to the room
    bool dimReali = true;  // pictures in their real size, else fitted to the panel
    int32_t spazio = 0;    // room of the panel, in twips
};

struct RichiestaRicerca {
    ElencoAiuto *elenco = nullptr;
    std::function<void()> ricarica; // reads the rows again ("Aggiorna")
    QString titolo;
    QString testo;                 // the typed code: the first search
    ModoRicerca modo = ModoRicerca::Codice;
    QWidget *formAttiva = nullptr; // the form the window is shown over
    ImmaginiAiuto immagini;
};

class FinestraAiuto {
public:
    virtual ~FinestraAiuto();

    // Shows the rows modally and returns once the window is closed: the row chosen, or none.
    virtual std::optional<int> Scegli(const RichiestaRicerca &richiesta) = 0;

    // The window's members that the program reaches by name.
    virtual QWidget *finestra() = 0;            // caption "Aiuto"
    virtual bool Visibile() const = 0;
    virtual void ButtonComando(const QString &pulsante) = 0; // "Aggiorna" reads the rows again
    virtual void HideFrm() = 0;
    virtual void ChiudiAiuto() = 0;             // closes the window
    virtual QWidget *ofrmAttiva() const = 0;    // the form it serves while open

    double odRisVid = 1;          // screen factor of the window
    bool obLockSpostaCurs = false;
    int16_t oiSpostaCurs = 0;
};
