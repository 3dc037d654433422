#pragma once
// The platform's sounds, behind a seam: the program plays through the installed player, tests
// install one that records what was asked. Without anything installed the system player is
// used (an external WAV player found on the machine; no sound at all when there is none).
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

class Suoni {
public:
    virtual ~Suoni() = default;
    // The platform's default beep.
    virtual void BeepPredefinito() = 0;
    // A tone of the given frequency (hertz) and duration (milliseconds); returns when played.
    virtual void Beep(int32_t frequenza, int32_t durataMs) = 0;
    // A WAV image held in memory; returns when played.
    virtual void SuonaImmagine(const QByteArray &wav) = 0;
    // A WAV file, played in the background.
    virtual void SuonaFile(const QString &file) = 0;
};

Suoni &suoni();
// Installs a player; returns the previous one (an empty pointer goes back to the system player).
std::unique_ptr<Suoni> impostaSuoni(std::unique_ptr<Suoni> s);
