#pragma once
// A run in progress: while one is held, no command of the menu server may end the program
// (the run writes documents that must not be left half done). The run holds one for its
// whole length; the progress notice holds one while it is on the screen.
#include <functional>

class ElaborazioneInCorso {
public:
    ElaborazioneInCorso();
    ~ElaborazioneInCorso();
    ElaborazioneInCorso(const ElaborazioneInCorso &) = delete;
    ElaborazioneInCorso &operator=(const ElaborazioneInCorso &) = delete;
};

bool ElaborazioneAttiva();

// A close refused because of the run is not forgotten: `richiesta` runs, from the event loop,
// once the last run in progress has ended (whoever held it). A later call replaces an earlier
// one still waiting.
void RinviaAFineElaborazione(std::function<void()> richiesta);
