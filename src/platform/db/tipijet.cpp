#include "tipijet.h"

#include <limits>

namespace {

// Rank of a numeric type in arithmetic: whole numbers, currency, floating point.
int rango(TipoJet t)
{
    switch (t) {
    case TipoJet::Logico: case TipoJet::Intero: case TipoJet::Lungo: return 1;
    case TipoJet::Valuta: return 2;
    case TipoJet::Doppio: return 3;
    default: return 0;
    }
}

TipoJet daRango(int r)
{
    return r == 3 ? TipoJet::Doppio : r == 2 ? TipoJet::Valuta : TipoJet::Lungo;
}

} // namespace

char letteraTipo(TipoJet t)
{
    switch (t) {
    case TipoJet::Ignoto: return '?';
    case TipoJet::Null: return 'N';
    case TipoJet::Logico: return 'B';
    case TipoJet::Intero: return 'I';
    case TipoJet::Lungo: return 'L';
    case TipoJet::Valuta: return 'C';
    case TipoJet::Doppio: return 'F';
    case TipoJet::Data: return 'D';
    case TipoJet::Testo: return 'T';
    }
    return '?';
}

TipoJet tipoDaLettera(char c)
{
    switch (c) {
    case 'N': return TipoJet::Null;
    case 'B': return TipoJet::Logico;
    case 'I': return TipoJet::Intero;
    case 'L': return TipoJet::Lungo;
    case 'C': return TipoJet::Valuta;
    case 'F': return TipoJet::Doppio;
    case 'D': return TipoJet::Data;
    case 'T': return TipoJet::Testo;
    default: return TipoJet::Ignoto;
    }
}

bool numerico(TipoJet t) { return rango(t) > 0; }

TipoJet tipoDaCampo(TipoCampo t)
{
    switch (t) {
    case TipoCampo::Testo: case TipoCampo::Memo: return TipoJet::Testo;
    case TipoCampo::Intero: return TipoJet::Intero;
    case TipoCampo::Lungo: return TipoJet::Lungo;
    case TipoCampo::Doppio: return TipoJet::Doppio;
    case TipoCampo::Valuta: return TipoJet::Valuta;
    case TipoCampo::Data: case TipoCampo::DataOra: return TipoJet::Data;
    case TipoCampo::Sconosciuto: break;
    }
    return TipoJet::Ignoto;
}

TipoCampo campoDaTipo(TipoJet t)
{
    switch (t) {
    case TipoJet::Testo: return TipoCampo::Testo;
    case TipoJet::Logico: case TipoJet::Intero: return TipoCampo::Intero;
    case TipoJet::Lungo: return TipoCampo::Lungo;
    case TipoJet::Valuta: return TipoCampo::Valuta;
    case TipoJet::Doppio: return TipoCampo::Doppio;
    case TipoJet::Data: return TipoCampo::DataOra;
    case TipoJet::Ignoto: case TipoJet::Null: break;
    }
    return TipoCampo::Sconosciuto;
}

TipoJet tipoDiValore(const Variant &v)
{
    switch (v.type()) {
    case Variant::Type::Null: case Variant::Type::Empty: return TipoJet::Null;
    case Variant::Type::Boolean: return TipoJet::Logico;
    case Variant::Type::Integer: return TipoJet::Intero;
    case Variant::Type::Long: return TipoJet::Lungo;
    case Variant::Type::Currency: return TipoJet::Valuta;
    case Variant::Type::Double: return TipoJet::Doppio;
    case Variant::Type::Date: return TipoJet::Data;
    case Variant::Type::String: return TipoJet::Testo;
    case Variant::Type::Array: break;
    }
    return TipoJet::Ignoto;
}

TipoJet tipoOperazione(Op op, TipoJet a, TipoJet b)
{
    if (op == Op::Concatena)
        return a == TipoJet::Null && b == TipoJet::Null ? TipoJet::Null : TipoJet::Testo;
    if (a == TipoJet::Null || b == TipoJet::Null) return TipoJet::Null;
    if (a == TipoJet::Ignoto || b == TipoJet::Ignoto) return TipoJet::Ignoto;
    const bool data = a == TipoJet::Data || b == TipoJet::Data;
    const bool testo = a == TipoJet::Testo || b == TipoJet::Testo;
    switch (op) {
    case Op::Piu:
        if (a == TipoJet::Testo && b == TipoJet::Testo) return TipoJet::Testo;
        if (data) return TipoJet::Data;
        if (testo) return TipoJet::Doppio;
        break;
    case Op::Meno:
        if (a == TipoJet::Data && b == TipoJet::Data) return TipoJet::Doppio;
        if (data) return TipoJet::Data;
        if (testo) return TipoJet::Doppio;
        break;
    case Op::Per:
        if (data || testo) return TipoJet::Doppio;
        break;
    case Op::Diviso: case Op::Potenza: return TipoJet::Doppio;
    case Op::DivisioneIntera: case Op::Modulo: return TipoJet::Lungo;
    default: return TipoJet::Ignoto;
    }
    return daRango(std::max(rango(a), rango(b)));
}

TipoJet tipoNegazione(TipoJet a)
{
    switch (a) {
    case TipoJet::Null: case TipoJet::Ignoto: case TipoJet::Valuta: case TipoJet::Doppio: return a;
    case TipoJet::Logico: case TipoJet::Intero: case TipoJet::Lungo: return TipoJet::Lungo;
    case TipoJet::Data: case TipoJet::Testo: return TipoJet::Doppio;
    }
    return TipoJet::Ignoto;
}

TipoJet tipoComune(TipoJet a, TipoJet b)
{
    if (a == b) return a;
    if (a == TipoJet::Null) return b;
    if (b == TipoJet::Null) return a;
    if (a == TipoJet::Ignoto || b == TipoJet::Ignoto) return TipoJet::Ignoto;
    if (numerico(a) && numerico(b)) {
        if (rango(a) == 1 && rango(b) == 1)
            return a == TipoJet::Lungo || b == TipoJet::Lungo ? TipoJet::Lungo : TipoJet::Intero;
        return daRango(std::max(rango(a), rango(b)));
    }
    return TipoJet::Testo;
}

Variant numeroLetteraleJet(QStringView t)
{
    const bool esponente = t.contains(QLatin1Char('e')) || t.contains(QLatin1Char('E'));
    if (!esponente && !t.contains(QLatin1Char('.'))) {
        bool ok = false;
        const qlonglong v = t.toLongLong(&ok);
        if (ok && v <= std::numeric_limits<int16_t>::max()) return Variant(static_cast<int16_t>(v));
        if (ok && v <= std::numeric_limits<int32_t>::max()) return Variant(static_cast<int32_t>(v));
    } else if (!esponente) {
        const qsizetype punto = t.indexOf(QLatin1Char('.'));
        if (t.size() - punto - 1 <= 4 && punto <= 15)
            if (const auto c = Currency::parse(t)) return Variant(*c);
    }
    return Variant(t.toDouble());
}

Variant comeTipo(const Variant &v, TipoJet t)
{
    if (v.isNull()) return v;
    switch (t) {
    case TipoJet::Ignoto: return v;
    case TipoJet::Null: return Variant::null();
    case TipoJet::Logico: return Variant(v.toBool());
    case TipoJet::Intero: return Variant(v.toInteger());
    case TipoJet::Lungo: return Variant(v.toLong());
    case TipoJet::Valuta: return Variant(v.toCurrency());
    case TipoJet::Doppio: return Variant(v.toDouble());
    case TipoJet::Data: return Variant(v.toDate());
    case TipoJet::Testo:
        // A condition's value reads as the number it is in SQL.
        if (v.type() == Variant::Type::Boolean) return Variant(QString::number(v.toBool() ? -1 : 0));
        return Variant(v.text());
    }
    return v;
}
