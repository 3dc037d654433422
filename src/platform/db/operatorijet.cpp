#include "operatorijet.h"

#include "apperror.h"
#include "tipijet.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void errore(int32_t n) { throw AppError::standard(n); }

Variant lungo(int64_t v)
{
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) errore(ErrNum::Overflow);
    return Variant(static_cast<int32_t>(v));
}

Variant doppio(double v)
{
    if (!std::isfinite(v)) errore(ErrNum::Overflow);
    return Variant(v);
}

// Empty counts as 0, as in the run-time's arithmetic.
Variant pieno(const Variant &v)
{
    return v.isEmpty() ? Variant(static_cast<int16_t>(0)) : v;
}

Variant aritmetica(Op op, TipoJet r, const Variant &a, const Variant &b)
{
    switch (r) {
    case TipoJet::Lungo: {
        const int64_t x = a.toLong(), y = b.toLong();
        if (op == Op::Piu) return lungo(x + y);
        if (op == Op::Meno) return lungo(x - y);
        return lungo(x * y);
    }
    case TipoJet::Valuta: {
        const Currency x = a.toCurrency(), y = b.toCurrency();
        if (op == Op::Piu) return Variant(x + y);
        if (op == Op::Meno) return Variant(x - y);
        // A whole number multiplies exactly; two amounts give four decimals, halves to even.
        if (tipoDiValore(b) != TipoJet::Valuta) return Variant(x * static_cast<int64_t>(b.toLong()));
        if (tipoDiValore(a) != TipoJet::Valuta) return Variant(y * static_cast<int64_t>(a.toLong()));
        return Variant(x * y);
    }
    default: {
        const double x = a.toDouble(), y = b.toDouble();
        if (op == Op::Piu) return doppio(x + y);
        if (op == Op::Meno) return doppio(x - y);
        return doppio(x * y);
    }
    }
}

} // namespace

QString testoJet(const Variant &v)
{
    if (v.type() == Variant::Type::Boolean) return QString::number(v.toBool() ? -1 : 0);
    return v.text();
}

Variant operaJet(Op op, const Variant &a0, const Variant &b0)
{
    if (op == Op::Concatena) {
        if (a0.isNull() && b0.isNull()) return Variant::null();
        return Variant(testoJet(a0) + testoJet(b0));
    }
    if (a0.isNull() || b0.isNull()) return Variant::null();
    const Variant a = pieno(a0), b = pieno(b0);
    const TipoJet ta = tipoDiValore(a), tb = tipoDiValore(b);
    const TipoJet r = tipoOperazione(op, ta, tb);
    switch (op) {
    case Op::Piu: case Op::Meno:
        if (r == TipoJet::Testo) return Variant(a.text() + b.text());
        if (r == TipoJet::Data)
            return Variant(Date::fromSerial(op == Op::Piu ? a.toDouble() + b.toDouble() : a.toDouble() - b.toDouble()));
        if (ta == TipoJet::Data && tb == TipoJet::Data) return doppio(a.toDouble() - b.toDouble());
        return aritmetica(op, r, a, b);
    case Op::Per: return aritmetica(op, r, a, b);
    case Op::Diviso: {
        const double x = a.toDouble(), y = b.toDouble();
        if (y == 0.0) errore(ErrNum::DivByZero);
        return doppio(x / y);
    }
    case Op::DivisioneIntera: case Op::Modulo: {
        // The operands are rounded to whole numbers first (halves to even).
        const int32_t x = a.toLong(), y = b.toLong();
        if (y == 0) errore(ErrNum::DivByZero);
        if (op == Op::Modulo) return Variant(y == -1 ? 0 : x % y);
        if (x == std::numeric_limits<int32_t>::min() && y == -1) errore(ErrNum::Overflow);
        return Variant(static_cast<int32_t>(x / y));
    }
    case Op::Potenza: {
        const double x = a.toDouble(), y = b.toDouble();
        if ((x == 0.0 && y < 0.0) || (x < 0.0 && y != std::trunc(y))) errore(ErrNum::InvalidCall);
        return doppio(std::pow(x, y));
    }
    default: break;
    }
    errore(ErrNum::InvalidCall);
}

Variant negaJet(const Variant &a0)
{
    if (a0.isNull()) return a0;
    const Variant a = pieno(a0);
    switch (tipoNegazione(tipoDiValore(a))) {
    case TipoJet::Lungo: return lungo(-static_cast<int64_t>(a.toLong()));
    case TipoJet::Valuta: return Variant(-a.toCurrency());
    default: return doppio(-a.toDouble());
    }
}
