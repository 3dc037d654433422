#pragma once
// A value as the run-time's Variant holds it: Empty, Null, Boolean (True is -1), 16-bit and
// 32-bit integers, double, currency, date, text, or an array with its lower bound.
// Conversions raise the run-time's errors: overflow (6), type mismatch (13), invalid use of
// Null (94).
#include "currency.h"
#include "vbdate.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class Variant;

struct VariantArray {
    int32_t lowerBound = 0;
    std::vector<Variant> items;
};

class Variant {
public:
    enum class Type : uint8_t { Empty, Null, Boolean, Integer, Long, Double, Currency, Date, String, Array };

    Variant() = default; // Empty
    static Variant null();
    Variant(bool b);
    Variant(int16_t i);
    Variant(int32_t l);
    Variant(double d);
    Variant(::Currency c);
    Variant(::Date d);
    Variant(QString s);
    Variant(const char *utf8);
    Variant(VariantArray a);
    // Other integer widths would narrow silently: say which type is meant.
    Variant(int64_t) = delete;
    Variant(uint32_t) = delete;
    Variant(float) = delete;

    Type type() const;
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isText() const { return type() == Type::String; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isNumber() const; // Boolean, integers, double, currency
    // Empty, Null or "" (the common "nothing was given" test).
    bool isBlank() const;
    // Whether the value reads as a number (a number, or text that parses as one).
    bool isNumeric() const;

    // The run-time's conversions (CBool, CInt, CLng, CDbl, CCur, CDate, CStr).
    bool toBool() const;
    int16_t toInteger() const;   // halves to even; overflow (6)
    int32_t toLong() const;      // halves to even; overflow (6)
    double toDouble() const;
    ::Currency toCurrency() const;
    ::Date toDate() const;
    QString toString() const;    // Null raises 94; numbers with "," decimals as the workstation shows them
    const VariantArray &toArray() const; // type mismatch unless an array

    // Text of the value with Null and Empty as "" (the "&" operator's view of a value).
    QString text() const;

    // Direct access without conversion (nullptr when the type differs).
    const QString *stringIf() const { return std::get_if<QString>(&m_v); }

    // Comparison as the run-time does it, text ignoring letter case; nullopt with a Null.
    // Numbers and dates compare as numbers; a number against a text that reads as a number
    // compares as numbers, otherwise the number is smaller; Empty is 0 or "".
    static std::optional<int> compare(const Variant &a, const Variant &b);
    // Same type and same value (text ignoring case); Null equals Null. For tests and lookups.
    bool sameAs(const Variant &o) const;

    // a & b: concatenation, Null and Empty count as "".
    friend Variant operator&(const Variant &a, const Variant &b);

    QString typeName() const;

private:
    struct NullTag { bool operator==(const NullTag &) const = default; };
    using Storage = std::variant<std::monostate, NullTag, bool, int16_t, int32_t, double, ::Currency, ::Date,
                                 QString, std::shared_ptr<const VariantArray>>;
    Storage m_v;
};
