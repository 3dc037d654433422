#include "menucodec.h"

#include "apperror.h"

#include <QStringDecoder>
#include <QtEndian>
#include <cstring>

namespace menucodec {

namespace {

enum Tag : uint8_t { TEmpty = 0, TNull, TBoolean, TInteger, TLong, TDouble, TCurrency, TDate, TString, TArray };

template <typename T>
void put(QByteArray &out, T v)
{
    const T be = qToBigEndian(v);
    out.append(reinterpret_cast<const char *>(&be), sizeof be);
}

void putDouble(QByteArray &out, double d)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof bits);
    put<uint64_t>(out, bits);
}

void putText(QByteArray &out, const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    put<uint32_t>(out, static_cast<uint32_t>(utf8.size()));
    out.append(utf8);
}

class Reader {
public:
    Reader(QByteArrayView d, qsizetype &pos) : m_d(d), m_pos(pos) {}

    template <typename T>
    T get()
    {
        need(sizeof(T));
        T be;
        std::memcpy(&be, m_d.data() + m_pos, sizeof be);
        m_pos += static_cast<qsizetype>(sizeof be);
        return qFromBigEndian(be);
    }

    double getDouble()
    {
        const uint64_t bits = get<uint64_t>();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }

    QString getText()
    {
        const uint32_t n = get<uint32_t>();
        need(n);
        QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = dec(m_d.sliced(m_pos, n));
        if (dec.hasError())
            malformed("testo non UTF-8");
        m_pos += n;
        return s;
    }

    qsizetype remaining() const { return m_d.size() - m_pos; }

    // One more value read; raises past the bound of a message.
    void countValue()
    {
        if (++m_values > MaxValues)
            malformed("troppi valori in un messaggio");
    }

    void need(size_t n) const
    {
        if (static_cast<size_t>(remaining()) < n)
            malformed("dati troncati");
    }

private:
    QByteArrayView m_d;
    qsizetype &m_pos;
    uint32_t m_values = 0;
};

Variant readAt(Reader &r, int depth)
{
    if (depth > MaxNesting)
        malformed("vettori annidati troppo in profondità");
    r.countValue();
    switch (r.get<uint8_t>()) {
    case TEmpty: return Variant();
    case TNull: return Variant::null();
    case TBoolean: {
        const uint8_t b = r.get<uint8_t>();
        if (b > 1)
            malformed("valore booleano non valido");
        return Variant(b == 1);
    }
    case TInteger: return Variant(r.get<int16_t>());
    case TLong: return Variant(r.get<int32_t>());
    case TDouble: return Variant(r.getDouble());
    case TCurrency: return Variant(Currency::fromUnits(r.get<int64_t>()));
    case TDate: {
        const double serial = r.getDouble();
        try {
            return Variant(Date::fromSerial(serial));
        } catch (const AppError &) {
            malformed("data fuori intervallo");
        }
    }
    case TString: return Variant(r.getText());
    case TArray: {
        VariantArray a;
        a.lowerBound = r.get<int32_t>();
        const uint32_t n = r.get<uint32_t>();
        // every item takes at least its tag byte and counts as a value: the room reserved is
        // what the frame can really hold
        r.need(n);
        if (n > MaxValues)
            malformed("troppi valori in un messaggio");
        a.items.reserve(n);
        for (uint32_t i = 0; i < n; ++i)
            a.items.push_back(readAt(r, depth + 1));
        return Variant(std::move(a));
    }
    default: malformed("tipo di valore sconosciuto");
    }
}

} // namespace

void malformed(const char *why)
{
    throw AppError(ErrNum::InvalidCall, QStringLiteral("Messaggio del menu non valido: ") + QString::fromUtf8(why),
                   QStringLiteral("MenuClient"));
}

void writeValue(QByteArray &out, const Variant &v)
{
    switch (v.type()) {
    case Variant::Type::Empty: put<uint8_t>(out, TEmpty); break;
    case Variant::Type::Null: put<uint8_t>(out, TNull); break;
    case Variant::Type::Boolean:
        put<uint8_t>(out, TBoolean);
        put<uint8_t>(out, v.toBool() ? 1 : 0);
        break;
    case Variant::Type::Integer:
        put<uint8_t>(out, TInteger);
        put<int16_t>(out, v.toInteger());
        break;
    case Variant::Type::Long:
        put<uint8_t>(out, TLong);
        put<int32_t>(out, v.toLong());
        break;
    case Variant::Type::Double:
        put<uint8_t>(out, TDouble);
        putDouble(out, v.toDouble());
        break;
    case Variant::Type::Currency:
        put<uint8_t>(out, TCurrency);
        put<int64_t>(out, v.toCurrency().units());
        break;
    case Variant::Type::Date:
        put<uint8_t>(out, TDate);
        putDouble(out, v.toDate().serial());
        break;
    case Variant::Type::String:
        put<uint8_t>(out, TString);
        putText(out, *v.stringIf());
        break;
    case Variant::Type::Array: {
        const VariantArray &a = v.toArray();
        put<uint8_t>(out, TArray);
        put<int32_t>(out, a.lowerBound);
        put<uint32_t>(out, static_cast<uint32_t>(a.items.size()));
        for (const Variant &item : a.items)
            writeValue(out, item);
        break;
    }
    }
}

Variant readValue(QByteArrayView data, qsizetype &pos)
{
    Reader r(data, pos);
    return readAt(r, 0);
}

} // namespace menucodec

using namespace menucodec;

QByteArray encodeFrame(const MenuMessage &m)
{
    QByteArray payload;
    put<uint8_t>(payload, static_cast<uint8_t>(m.kind));
    put<uint32_t>(payload, m.id);
    putText(payload, m.op);
    put<uint32_t>(payload, static_cast<uint32_t>(m.args.size()));
    for (const Variant &a : m.args)
        writeValue(payload, a);
    if (static_cast<uint64_t>(payload.size()) > MaxFrameBytes)
        throw AppError(ErrNum::InvalidCall, QStringLiteral("Messaggio per il menu troppo lungo"), QStringLiteral("MenuClient"));
    QByteArray frame;
    frame.reserve(payload.size() + 4);
    put<uint32_t>(frame, static_cast<uint32_t>(payload.size()));
    frame.append(payload);
    return frame;
}

MenuMessage decodePayload(QByteArrayView payload)
{
    qsizetype pos = 0;
    Reader r(payload, pos);
    MenuMessage m;
    const uint8_t kind = r.get<uint8_t>();
    if (kind < static_cast<uint8_t>(MenuMessage::Kind::Call) || kind > static_cast<uint8_t>(MenuMessage::Kind::CommandReply))
        malformed("tipo di messaggio sconosciuto");
    m.kind = static_cast<MenuMessage::Kind>(kind);
    m.id = r.get<uint32_t>();
    m.op = r.getText();
    const uint32_t n = r.get<uint32_t>();
    if (n > MaxArguments)
        malformed("troppi argomenti");
    m.args.reserve(n);
    for (uint32_t i = 0; i < n; ++i)
        m.args.push_back(readAt(r, 0));
    if (r.remaining() != 0)
        malformed("dati in eccesso");
    return m;
}

std::optional<MenuMessage> FrameReader::next()
{
    if (m_buffer.size() < 4)
        return std::nullopt;
    uint32_t len = 0;
    std::memcpy(&len, m_buffer.constData(), 4);
    len = qFromBigEndian(len);
    if (len == 0 || len > MaxFrameBytes)
        malformed("lunghezza del messaggio non valida");
    if (static_cast<uint64_t>(m_buffer.size()) < 4u + len)
        return std::nullopt;
    MenuMessage m = decodePayload(QByteArrayView(m_buffer).sliced(4, len));
    m_lastFrameBytes = 4 + static_cast<qsizetype>(len);
    m_buffer.remove(0, m_lastFrameBytes);
    return m;
}
