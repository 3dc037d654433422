#pragma once
// What a run shows besides its messages: the hourglass and the progress window. The program
// installs the real ones (the shell's progress notice frmInElab and the screen pointer);
// without them the hourglass does nothing and the progress stays in the display's own
// headless view, where tests read it.
#include <functional>

class VistaAvanzamento;

struct PresentazioneEvasione {
    std::function<void(bool acceso)> clessidra;
    std::function<VistaAvanzamento *()> finestraAvanzamento;
};

// Installs what the run shows; returns what was installed before (tests restore it).
PresentazioneEvasione impostaPresentazioneEvasione(PresentazioneEvasione presentazione);

void ClessidraEvasione(bool acceso);
// The progress window of the run; nullptr when none is installed.
VistaAvanzamento *FinestraAvanzamentoEvasione();
