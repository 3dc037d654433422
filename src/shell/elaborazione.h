#pragma once
// A run in progress: while one is held, no command of the menu server may end the program
// (the run writes documents that must not be left half done). The run holds one for its
// whole length; the progress notice holds one while it is on the screen.
class ElaborazioneInCorso {
public:
    ElaborazioneInCorso();
    ~ElaborazioneInCorso();
    ElaborazioneInCorso(const ElaborazioneInCorso &) = delete;
    ElaborazioneInCorso &operator=(const ElaborazioneInCorso &) = delete;
};

bool ElaborazioneAttiva();
