#pragma once
// Screen fitting of the program's forms. Every form is designed for an 800 x 600 screen and is
// scaled, when loaded, by one factor: its size and font, and the position, size and font of its
// controls. The factor comes from the ini section "Risoluzione Video" or from the screen, and
// is reduced when the form would run off the screen or under a taskbar at the bottom.
//
// A form takes part through its properties (Q_PROPERTY or dynamic): "odRisVidVal" (double)
// receives the factor used; "osRisVidKey" names its own ini key, else the key is gsProgramma &
// "-" & "osKeySec". Controls are its child widgets; containers (group boxes, plain frames and
// widgets, tab pages) are walked into. A control placed by a layout keeps the place the layout
// gives it. Control arrays follow controlli.h (objectName + "Index").
#include <QString>
#include <cstdint>
#include <vector>

class QWidget;

// The factors read at start-up ("Risoluzione Video"): -1 no fitting, -2 from the settings (per
// form), 0 from the screen; gdRisVidPers is read only when gdRisVidGen is -2.
extern double gdRisVidGen;
extern double gdRisVidPers;
extern double gdRisVidSta;
extern double gdRisVidHelp;
extern double gdRisVidMsg;

// Flag bits of an exception: what the fitting leaves unchanged.
namespace RisVidTieni {
inline constexpr int16_t Posizione = 1;
inline constexpr int16_t Dimensione = 2;
inline constexpr int16_t Carattere = 4;
} // namespace RisVidTieni

// A control (or every element of an array, index -1) and what of it is left unchanged.
struct EccezioneRisVid {
    QString nome;
    int16_t indice = -1;
    int16_t flags = 0;
};
using EccezioniRisVid = std::vector<EccezioneRisVid>;

// Fits the form. `fattore` -2 takes it from the settings; on return it holds the factor used,
// which is also the result (1 when fitting is switched off). With `soloCalcolo` the factor is
// only computed. Errors are passed over.
double RisVidForm(QWidget *form, bool soloCalcolo, double &fattore, const EccezioniRisVid &eccezioni = {});

// Scales the form and its controls by the factor (nothing unless it is above 0 and not 1).
void RidimensionaControlli(QWidget *form, double fattore, const EccezioniRisVid &eccezioni = {});
