#include "contesto.h"
#include "stampaqt.h"
#include "suoni.h"
#include "suonoavviso.h"
#include "suonowav.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

uint32_t u32(const QByteArray &b, int at) { return qFromLittleEndian<uint32_t>(b.constData() + at); }
uint16_t u16(const QByteArray &b, int at) { return qFromLittleEndian<uint16_t>(b.constData() + at); }

TEST(CreaSuonoWav, HeaderAndSamples)
{
    const QByteArray w = CreaSuonoWav(800, 100);
    ASSERT_EQ(w.size(), 44 + 1102); // 1102.5 samples: halves to the even one
    EXPECT_EQ(w.left(4), "RIFF");
    EXPECT_EQ(u32(w, 4), 1102u + 36);
    EXPECT_EQ(w.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(w, 16), 16u);
    EXPECT_EQ(u16(w, 20), 1);
    EXPECT_EQ(u16(w, 22), 1);
    EXPECT_EQ(u32(w, 24), 11025u);
    EXPECT_EQ(u32(w, 28), 11025u);
    EXPECT_EQ(u16(w, 32), 1);
    EXPECT_EQ(u16(w, 34), 8);
    EXPECT_EQ(w.mid(36, 4), "data");
    EXPECT_EQ(u32(w, 40), 1102u);
    EXPECT_EQ(static_cast<uint8_t>(w[44]), 128);
    // A quarter period of 800 Hz is 3.4 samples: sample 3 is near the top, never above 255.
    EXPECT_GT(static_cast<uint8_t>(w[44 + 3]), 250);
    EXPECT_EQ(CreaSuonoWav(1000, 20).size(), 44 + 220);
}

TEST(CreaSuonoWav, FlatLineAndInvertedPhase)
{
    const QByteArray piatto = CreaSuonoWav(0, 10);
    for (int i = 44; i < piatto.size(); ++i)
        ASSERT_EQ(static_cast<uint8_t>(piatto[i]), 128);
    const QByteArray su = CreaSuonoWav(500, 10);
    const QByteArray giu = CreaSuonoWav(-500, 10);
    EXPECT_GT(static_cast<uint8_t>(su[44 + 2]), 128);
    EXPECT_LT(static_cast<uint8_t>(giu[44 + 2]), 128);
}

TEST(CreaSuonoWav, DurationIsClamped)
{
    EXPECT_EQ(CreaSuonoWav(800, -100).size(), 44); // no samples, sizes stay valid
    EXPECT_EQ(u32(CreaSuonoWav(800, -100), 40), 0u);
    EXPECT_EQ(CreaSuonoWav(800, 0).size(), 44);
    EXPECT_EQ(CreaSuonoWav(800, 2'000'000'000).size(), 44 + 110250); // 10 s at the most
}

class SuoniRegistrati : public Suoni {
public:
    QStringList *log;
    explicit SuoniRegistrati(QStringList *l) : log(l) {}
    void BeepPredefinito() override { *log << "predefinito"; }
    void Beep(int32_t f, int32_t d) override { *log << QStringLiteral("beep %1 %2").arg(f).arg(d); }
    void SuonaImmagine(const QByteArray &w) override
    {
        *log << QStringLiteral("immagine %1").arg(u32(w, 40));
    }
    void SuonaFile(const QString &f) override { *log << "file " + f; }
};

TEST(SuonoAvviso, AsTheSettingAsks)
{
    QStringList log;
    auto prima = impostaSuoni(std::make_unique<SuoniRegistrati>(&log));
    struct Caso {
        const char *impostazione;
        const char *atteso;
    };
    const Caso casi[] = {
        {"", "predefinito"},
        {"1000", "beep 1000 20"},
        {"1000;150", "beep 1000 150"},
        {"1000;99999", "beep 1000 10000"},
        {"-800;100", "immagine 1102"},
        {"0;20", "immagine 220"},
        {"-800", "immagine 220"},
        {"/usr/share/sounds/avviso.wav", "file /usr/share/sounds/avviso.wav"},
        {"avviso.wav;100", "file avviso.wav"},
        {"D:\\Suoni\\avviso.wav", "file /srv/suoni/Suoni/avviso.wav"},
    };
    qputenv("SUITE_DRIVE_D", "/srv/suoni");
    for (const auto &k : casi) {
        SCOPED_TRACE(k.impostazione);
        gsBeepCome = k.impostazione;
        log.clear();
        SuonoAvviso();
        EXPECT_EQ(log, QStringList{k.atteso});
    }
    qunsetenv("SUITE_DRIVE_D");
    gsBeepCome = "1000;lungo";
    EXPECT_THROW(SuonoAvviso(), AppError);
    gsBeepCome.clear();
    impostaSuoni(std::move(prima));
}

} // namespace
