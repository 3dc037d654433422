#include "apperror.h"
#include "menufixture.h"
#include "menucodec.h"
#include "menujournal.h"
#include "richiestalancio.h"
#include "rigacomando.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

Variant roundTrip(const Variant &v)
{
    QByteArray bytes;
    menucodec::writeValue(bytes, v);
    qsizetype pos = 0;
    Variant back = menucodec::readValue(bytes, pos);
    EXPECT_EQ(pos, bytes.size());
    return back;
}


TEST(MenuCodec, EveryTypeRoundTripsWithItsType)
{
    const Variant values[] = {
        Variant(), Variant::null(), Variant(""), Variant(QString::fromUtf8("§ç~$!^")), Variant(true), Variant(false),
        Variant(int16_t{-32768}), Variant(int16_t{27}), Variant(int32_t{27}), Variant(int32_t{-2147483647 - 1}),
        Variant(1.5), Variant(-0.1), Variant(Currency::fromUnits(-123456789)), Variant(Date::fromYmd(2024, 3, 15, 14, 7, 9)),
        Variant(Date::emptyMarker()), Variant(arrayOf(1, {int32_t{27}, "proc", Variant(), Variant(arrayOf(-2, {Variant::null()}))})),
        Variant(arrayOf(0, {})),
    };
    for (const Variant &v : values) {
        const Variant back = roundTrip(v);
        // the literal shows type and value exactly (text with its letter case)
        EXPECT_EQ(menuLiteral(back), menuLiteral(v));
        EXPECT_EQ(back.type(), v.type()) << menuLiteral(v).toStdString();
    }
}

TEST(MenuCodec, TextTravelsAsUtf8ByteExact)
{
    QByteArray bytes;
    menucodec::writeValue(bytes, QString::fromUtf8("§ç~$!^"));
    EXPECT_EQ(bytes, QByteArray("\x08\x00\x00\x00\x08\xC2\xA7\xC3\xA7~$!^", 13));
    EXPECT_EQ(*roundTrip(QString::fromUtf8("§ç~$!^")).stringIf(), QString::fromUtf8("§ç~$!^"));
}

TEST(MenuCodec, MessagesRoundTripThroughFrames)
{
    FrameReader reader;
    const MenuMessage m{MenuMessage::Kind::Command, 7, "EseguiComando", {"", "KEY", "FEInvio", Variant(arrayOf(1, {int32_t{0}, "", int32_t{3}}))}};
    const QByteArray frame = encodeFrame(m) + encodeFrame(MenuMessage{MenuMessage::Kind::Reply, 8, {}, {Variant()}});
    // bytes arrive in chunks
    reader.append(frame.left(3));
    EXPECT_FALSE(reader.next());
    reader.append(frame.mid(3, 10));
    EXPECT_FALSE(reader.next());
    reader.append(frame.mid(13));
    const auto a = reader.next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, MenuMessage::Kind::Command);
    EXPECT_EQ(a->id, 7u);
    EXPECT_EQ(a->op, "EseguiComando");
    ASSERT_EQ(a->args.size(), 4u);
    EXPECT_EQ(menuLiteral(a->args[3]), "Array(1: 0&, \"\", 3&)");
    const auto b = reader.next();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->id, 8u);
    EXPECT_TRUE(b->args.at(0).isEmpty());
    EXPECT_FALSE(reader.next());
}

QByteArray framed(const QByteArray &payload)
{
    QByteArray f(4, '\0');
    qToBigEndian<uint32_t>(static_cast<uint32_t>(payload.size()), f.data());
    return f + payload;
}

TEST(MenuCodec, MalformedFramesAreRejected)
{
    const QByteArray header = QByteArray("\x01\x00\x00\x00\x01\x00\x00\x00\x00", 9); // call, id 1, op ""
    struct { const char *what; QByteArray frame; } cases[] = {
        {"zero length", QByteArray(4, '\0')},
        {"over the limit", QByteArray("\x7F\xFF\xFF\xFF", 4)},
        {"unknown kind", framed(QByteArray("\x09\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00", 13))},
        {"unknown tag", framed(header + QByteArray("\x00\x00\x00\x01\x63", 5))},
        {"truncated long", framed(header + QByteArray("\x00\x00\x00\x01\x04\x00\x01", 7))},
        {"string longer than the frame", framed(header + QByteArray("\x00\x00\x00\x01\x08\x00\x00\x10\x00" "ab", 11))},
        {"invalid UTF-8", framed(header + QByteArray("\x00\x00\x00\x01\x08\x00\x00\x00\x02\xC3\x28", 11))},
        {"boolean 2", framed(header + QByteArray("\x00\x00\x00\x01\x02\x02", 6))},
        {"array count beyond the bytes", framed(header + QByteArray("\x00\x00\x00\x01\x09\x00\x00\x00\x00\xFF\xFF\xFF\xFF", 13))},
        {"date out of range", framed(header + QByteArray("\x00\x00\x00\x01\x07\x7F\xF0\x00\x00\x00\x00\x00\x00", 13))},
        {"bytes after the arguments", framed(header + QByteArray("\x00\x00\x00\x00\x00", 5))},
        {"too many arguments", framed(header + QByteArray("\x00\x00\x10\x00", 4))},
    };
    for (const auto &c : cases) {
        FrameReader r;
        r.append(c.frame);
        EXPECT_THROW(r.next(), AppError) << c.what;
    }
    // nesting beyond the limit
    QByteArray deep = header + QByteArray("\x00\x00\x00\x01", 4);
    for (int i = 0; i < 40; ++i)
        deep += QByteArray("\x09\x00\x00\x00\x00\x00\x00\x00\x01", 9);
    deep += QByteArray(1, '\0');
    FrameReader r;
    r.append(framed(deep));
    EXPECT_THROW(r.next(), AppError);
}

// A command whose parameter is an array of `n` Empty items.
QByteArray arrayFrame(uint32_t n)
{
    QByteArray p = QByteArray("\x04\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x09\x00\x00\x00\x00", 18);
    p.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
    p.append(QByteArray(static_cast<qsizetype>(n), '\0'));
    return framed(p);
}

TEST(MenuCodec, AMessageHoldsABoundedNumberOfValues)
{
    FrameReader ok;
    ok.append(arrayFrame(menucodec::MaxValues - 1)); // the array and its items
    const auto m = ok.next();
    ASSERT_TRUE(m);
    EXPECT_EQ(m->args.front().toArray().items.size(), menucodec::MaxValues - 1);
    EXPECT_FALSE(ok.incomplete());

    // a frame full of Empty items is refused before it is built (16 M of them fit the frame)
    for (const uint32_t n : {menucodec::MaxValues, menucodec::MaxFrameBytes - 64}) {
        FrameReader r;
        r.append(arrayFrame(n));
        EXPECT_THROW(r.next(), AppError) << n;
    }
    // nested arrays count every item at every depth: 300 arrays of 300 items
    QByteArray p = QByteArray("\x04\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x09\x00\x00\x00\x00\x00\x00\x01\x2C", 22);
    for (int i = 0; i < 300; ++i)
        p += QByteArray("\x09\x00\x00\x00\x00\x00\x00\x01\x2C", 9) + QByteArray(300, '\0');
    FrameReader r;
    r.append(framed(p));
    EXPECT_THROW(r.next(), AppError);
}

TEST(RichiestaLancio, TravelsAsAnArrayOfFive)
{
    const RichiestaLancio l{"/F frmEvasOrd /H \"/home/x/help.chm\"", "VENDITE", "K1", "p", "2"};
    const RichiestaLancio back = RichiestaLancio::fromVariant(roundTrip(l.toVariant()));
    EXPECT_EQ(back.osParam, l.osParam);
    EXPECT_EQ(back.osChiLancia, "VENDITE");
    EXPECT_EQ(back.osKeySecLancia, "K1");
    EXPECT_EQ(back.osParamLancia, "p");
    EXPECT_EQ(back.osTipoForm, "2");
    try {
        RichiestaLancio::fromVariant("x");
        FAIL();
    } catch (const AppError &e) {
        EXPECT_EQ(e.number(), ErrNum::TypeMismatch);
    }
}

TEST(RigaComando, SwitchesAsArgvAndAsOneText)
{
    const Switches s = {{u'M', "menu1"}, {u'P', "EVAORD sede2"}, {u'F', "frmEvasOrd"}, {u'I', "/etc/suite/suite.ini"}, {u'X', ""}};
    const QStringList argv = argomentiSwitch(s);
    EXPECT_EQ(argv, (QStringList{"/M", "menu1", "/P", "EVAORD sede2", "/F", "frmEvasOrd", "/I", "/etc/suite/suite.ini", "/X", ""}));
    const QString text = R"(/M menu1 /P "EVAORD sede2" /F frmEvasOrd /I "/etc/suite/suite.ini" /X "")";
    EXPECT_EQ(rigaComando(argv), text);
    EXPECT_EQ(testoSwitch(s), text);
    // a value that looks like a switch stays a value; quotes inside are doubled
    EXPECT_EQ(rigaComando({"/H", "/h", "/F", "a\"b"}), R"(/H "/h" /F "a""b")");
}

} // namespace
