#pragma once
// Wire form of the link with the menu server: typed values and length-prefixed messages.
//
// A frame is a 32-bit big-endian payload length followed by the payload:
//   kind (u8), id (u32), op (u32 length + UTF-8), argument count (u32), arguments.
// A value is a tag byte and its body, big-endian:
//   0 Empty, 1 Null, 2 Boolean (u8 0/1), 3 Integer (i16), 4 Long (i32), 5 Double (IEEE 64),
//   6 Currency (i64 ten-thousandths), 7 Date (serial day as IEEE 64), 8 String (u32 length +
//   UTF-8), 9 Array (i32 lower bound, u32 count, items).
// Anything else, a truncated body, invalid UTF-8, a date out of range or more values than a
// message may hold makes the whole stream unusable: the reader raises and the peer drops the
// link.
#include "variant.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace menucodec {

inline constexpr uint32_t MaxFrameBytes = 16u * 1024u * 1024u;
inline constexpr int MaxNesting = 32;
inline constexpr uint32_t MaxArguments = 64;
// Values of one message, array items at every depth included: far more than any call or
// command carries, and a bound on what a message can cost once decoded.
inline constexpr uint32_t MaxValues = 65536;

void writeValue(QByteArray &out, const Variant &v);
// Reads the value that starts at `pos` and moves `pos` past it.
Variant readValue(QByteArrayView data, qsizetype &pos);

// The error raised for a frame that cannot be read.
[[noreturn]] void malformed(const char *why);

} // namespace menucodec

struct MenuMessage {
    enum class Kind : uint8_t {
        Call = 1,         // program -> server: op = call name, args = its arguments
        Reply = 2,        // server -> program: args = [result]
        Fault = 3,        // server -> program: args = [Long number, String description]
        Command = 4,      // server -> program: op = "EseguiComando", args = [idMenu, keySec, com, param]
        CommandReply = 5, // program -> server: args = [answer]
    };

    Kind kind = Kind::Call;
    uint32_t id = 0;
    QString op;
    std::vector<Variant> args;
};

QByteArray encodeFrame(const MenuMessage &m);

// Collects the bytes of a stream and cuts them into messages.
class FrameReader {
public:
    void append(const QByteArray &bytes) { m_buffer.append(bytes); }
    // The next complete message, nullopt until one is complete; raises on a malformed frame.
    std::optional<MenuMessage> next();
    // Bytes held that do not make a whole message yet.
    bool incomplete() const { return !m_buffer.isEmpty(); }
    // The size on the wire of the message next() gave last.
    qsizetype lastFrameBytes() const { return m_lastFrameBytes; }

private:
    QByteArray m_buffer;
    qsizetype m_lastFrameBytes = 0;
};

// Decodes one payload (the bytes after the length); raises when malformed.
MenuMessage decodePayload(QByteArrayView payload);
