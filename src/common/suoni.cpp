#include "suoni.h"

#include "suonowav.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// Plays through ALSA's player when the machine has it; silent otherwise.
class SuoniDiSistema final : public Suoni {
public:
    void BeepPredefinito() override { Beep(880, 150); }

    void Beep(int32_t frequenza, int32_t durataMs) override
    {
        if (frequenza <= 0 || durataMs <= 0)
            return;
        SuonaImmagine(CreaSuonoWav(static_cast<float>(frequenza), durataMs));
    }

    void SuonaImmagine(const QByteArray &wav) override
    {
        const QString player = lettore();
        if (player.isEmpty())
            return;
        QTemporaryFile f;
        if (!f.open() || f.write(wav) != wav.size())
            return;
        f.flush();
        QProcess p;
        p.start(player, {QStringLiteral("-q"), f.fileName()});
        p.waitForFinished(kDurataMassimaSuonoMs + 5000);
    }

    void SuonaFile(const QString &file) override
    {
        const QString player = lettore();
        if (!player.isEmpty())
            QProcess::startDetached(player, {QStringLiteral("-q"), file});
    }

private:
    static QString lettore()
    {
        return QStandardPaths::findExecutable(QStringLiteral("aplay"));
    }
};

std::unique_ptr<Suoni> &installato()
{
    static std::unique_ptr<Suoni> s;
    return s;
}

} // namespace

Suoni &suoni()
{
    if (!installato())
        installato() = std::make_unique<SuoniDiSistema>();
    return *installato();
}

std::unique_ptr<Suoni> impostaSuoni(std::unique_ptr<Suoni> s)
{
    std::swap(installato(), s);
    return s;
}
