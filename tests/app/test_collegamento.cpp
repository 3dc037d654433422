// The menu link lost or corrupt while the real program runs: the user is told and the program
// ends, as when the server is missing at start-up.
#include "menucodec.h"
#include "programmadiprova.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const QString kPerso = QStringLiteral("Il collegamento con il menu principale si è interrotto\r\nIl programma viene chiuso");

QByteArray be32(uint32_t v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

QByteArray testo(const QByteArray &utf8)
{
    return QByteArray(1, '\x08') + be32(static_cast<uint32_t>(utf8.size())) + utf8;
}

QByteArray conLunghezza(const QByteArray &payload)
{
    return be32(static_cast<uint32_t>(payload.size())) + payload;
}

// A message of `kind` for "esiste" whose parameter is written as given.
QByteArray messaggio(char kind, const QByteArray &param)
{
    return conLunghezza(QByteArray(1, kind) + be32(99) + be32(13) + "EseguiComando" + be32(4) + testo("") + testo("") +
                        testo("esiste") + param);
}

QByteArray data(uint64_t bits)
{
    QByteArray b(1, '\x07');
    QByteArray d(8, '\0');
    qToBigEndian(bits, d.data());
    return b + d;
}

struct Guasto {
    const char *nome;
    QByteArray byte;
};

class CollegamentoGuasto : public ::testing::TestWithParam<Guasto> {};

TEST_P(CollegamentoGuasto, TellsTheUserAndEnds)
{
    ProgrammaDiProva p(EVASORD_PROG);
    p.avvia();
    ASSERT_TRUE(p.attendiAvvio());
    p.menu().sendRaw(GetParam().byte);
    EXPECT_EQ(p.attendiFine(), 0);
    EXPECT_EQ(p.testiDialoghi(), QStringList{kPerso});
}

const Guasto kGuasti[] = {
    {"LunghezzaZero", be32(0)},
    {"LunghezzaMassima", be32(0xFFFFFFFFu)},
    {"TipoDiMessaggioSconosciuto", messaggio('\x09', QByteArray(1, '\0'))},
    {"TipoDiValoreSconosciuto", messaggio('\x04', QByteArray(1, '\x63'))},
    {"TestoNonUtf8", messaggio('\x04', testo("\xC3\x28"))},
    {"DataNaN", messaggio('\x04', data(0x7FF8000000000000ull))},
    {"DataEnorme", messaggio('\x04', data(0x7E37E43C8800759Cull))}, // 1e300
    {"ChiamataDalServer", messaggio('\x01', QByteArray(1, '\0'))},
    {"VettoreEnorme", messaggio('\x04', QByteArray("\x09", 1) + be32(0) + be32(menucodec::MaxValues) +
                                            QByteArray(static_cast<qsizetype>(menucodec::MaxValues), '\0'))},
};

INSTANTIATE_TEST_SUITE_P(Collegamento, CollegamentoGuasto, ::testing::ValuesIn(kGuasti),
                         [](const ::testing::TestParamInfo<Guasto> &i) { return std::string(i.param.nome); });

TEST(Collegamento, AServerThatGoesIsNoticedAndTheProgramEnds)
{
    ProgrammaDiProva p(EVASORD_PROG);
    p.avvia();
    ASSERT_TRUE(p.attendiAvvio());
    p.menu().dropConnection();
    EXPECT_EQ(p.attendiFine(), 0);
    EXPECT_EQ(p.testiDialoghi(), QStringList{kPerso});
}

TEST(Collegamento, AMessageThatNeverArrivesWholeDoesNotSwallowTheRest)
{
    ProgrammaDiProva p(EVASORD_PROG);
    p.ambiente("SUITE_MENU_TIMEOUT_MS", "1500");
    p.avvia();
    ASSERT_TRUE(p.attendiAvvio());
    p.menu().sendRaw(be32(1000) + QByteArray("\x04\x00\x00", 3));
    p.menu().sendCommand("fine"); // taken into the message begun: never seen as "fine"
    EXPECT_EQ(p.attendiFine(), 0);
    EXPECT_EQ(p.testiDialoghi(), QStringList{kPerso});
}

TEST(Collegamento, LostUnderAnOpenDialogTheProgramEndsOnceItCloses)
{
    ProgrammaDiProva p(EVASORD_PROG);
    p.risposteDialoghi({"attesa:2000"});
    p.avvia();
    ASSERT_TRUE(p.attendiAvvio());
    VariantArray avviso;
    avviso.items = {0, 0, int32_t{0}, int32_t{2}};
    p.menu().sendCommand("FEAttesa", {}, Variant(avviso));
    MenuServerControl::waitFor([] { return false; }, 500); // the notice is on the screen
    p.menu().dropConnection();
    EXPECT_EQ(p.attendiFine(), 0);
    EXPECT_EQ(p.testiDialoghi(), (QStringList{kPerso, "Ci sono 2 fatture in attesa"}));
}

TEST(Collegamento, LostAtTheLastStartUpQuestion)
{
    ProgrammaDiProva p(EVASORD_PROG);
    // the second "NomeTerminale" is the first question of the price restrictions
    p.primaDellAvvio([](MenuServerControl &m) { m.dropOnCall("NomeTerminale", 2); });
    p.avvia();
    EXPECT_EQ(p.attendiFine(), 0);
    EXPECT_EQ(p.testiDialoghi(), QStringList{kPerso});
}

} // namespace
