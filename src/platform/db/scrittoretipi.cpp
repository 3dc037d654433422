// The writer: the Jet type of each expression of the statement, worked out once per node.
#include "errori.h"
#include "scrittoresql.h"


namespace scrittura {

namespace {

// How deep the writer may recurse: the reader limits nesting, and chains of one operator that
// the reader builds without nesting must not exhaust the stack either (the engines refuse
// expressions much shallower than this anyway).
constexpr int kMaxProfondita = 600;

} // namespace

Profondita::Profondita(Scrittore &s) : m_s(s)
{
    if (++m_s.m_profondita > kMaxProfondita) {
        --m_s.m_profondita;
        throw erroreSintassi(QStringLiteral("espressione troppo complessa"));
    }
}

bool eConfronto(Op o)
{
    switch (o) {
    case Op::Uguale: case Op::Diverso: case Op::Minore: case Op::Maggiore: case Op::MinoreUguale:
    case Op::MaggioreUguale: case Op::Like:
        return true;
    default:
        return false;
    }
}

int Scrittore::argomento(int f, int i) const
{
    int a = n(f).a;
    while (a >= 0 && i-- > 0) a = n(a).seguente;
    return a;
}

int Scrittore::contaArgomenti(int f) const
{
    int k = 0;
    for (int a = n(f).a; a >= 0; a = n(a).seguente) ++k;
    return k;
}

// The function of the dialect the node calls, its arguments counted; 3085 for a name the
// library does not run.
const FirmaJet &Scrittore::firma(int f)
{
    if (const FirmaJet *nota = m_firme[static_cast<size_t>(f)]) return *nota;
    const QStringView nomeF = m_a.nome(n(f).tok);
    const FirmaJet *fj = m_a.token[static_cast<size_t>(n(f).tok)].tipo == Tk::Nome && m_a.testo(n(f).tok) == nomeF
                             ? funzioneJet(nomeF)
                             : nullptr;
    if (!fj) throw erroreDb(ErrDb::FunzioneSconosciuta, nomeF.toString());
    const int k = n(f).extra == 1 ? 1 : contaArgomenti(f);
    if (k < fj->minimo || k > fj->massimo || (n(f).extra == 1 && fj->id != FnJet::Count))
        throw erroreSintassi(QStringLiteral("numero di argomenti errato per %1").arg(QLatin1String(fj->nome)));
    m_firme[static_cast<size_t>(f)] = fj;
    return *fj;
}

TipoJet Scrittore::tipoNumero(int tok) const
{
    return tipoDiValore(numeroLetteraleJet(m_a.testo(tok)));
}

TipoJet Scrittore::tipo(int e)
{
    int8_t &m = m_tipi[static_cast<size_t>(e)];
    if (m == 0) m = static_cast<int8_t>(static_cast<int>(calcolaTipo(e)) + 1);
    return static_cast<TipoJet>(m - 1);
}

TipoJet Scrittore::calcolaTipo(int e)
{
    const Profondita p(*this);
    const Nodo &x = n(e);
    switch (x.tipo) {
    case Nd::Null: return TipoJet::Null;
    case Nd::Vero: case Nd::Falso: return TipoJet::Logico;
    case Nd::Numero: return tipoNumero(x.tok);
    case Nd::Testo: return TipoJet::Testo;
    case Nd::Data: return TipoJet::Data;
    case Nd::Colonna: {
        const Risolta r = risolvi(e);
        if (const ColonnaCatalogo *c = r.col()) return tipoDaCampo(c->tipo);
        if (r.voce >= 0) return tipo(n(r.voce).a);
        return TipoJet::Ignoto;
    }
    case Nd::Unario:
        if (x.op == Op::Not) return TipoJet::Logico;
        return x.op == Op::Meno ? tipoNegazione(tipo(x.a)) : tipo(x.a);
    case Nd::Binario:
        if (eConfronto(x.op) || x.op == Op::And || x.op == Op::Or || x.op == Op::Xor) return TipoJet::Logico;
        return tipoOperazione(x.op, tipo(x.a), tipo(x.b));
    case Nd::ENull: case Nd::Tra: case Nd::InLista: case Nd::InSelect: case Nd::Esiste: return TipoJet::Logico;
    case Nd::SottoSelect: {
        const int v = m_a.select[static_cast<size_t>(x.s)].voci;
        return v >= 0 && n(n(v).a).tipo != Nd::Stella ? tipo(n(v).a) : TipoJet::Ignoto;
    }
    case Nd::Funzione: {
        const FirmaJet &f = firma(e);
        std::vector<TipoJet> argomenti;
        for (int a = x.a; a >= 0; a = n(a).seguente) argomenti.push_back(tipo(a));
        return tipoFunzioneJet(f.id, argomenti);
    }
    default: return TipoJet::Ignoto;
    }
}

// How SQLite holds the date the expression gives.
FormaData Scrittore::formaData(int e)
{
    const Nodo &x = n(e);
    switch (x.tipo) {
    case Nd::Colonna: {
        const Risolta r = risolvi(e);
        if (const ColonnaCatalogo *c = r.col())
            return c->tipo == TipoCampo::Data ? FormaData::SoloData : c->tipo == TipoCampo::DataOra ? FormaData::DataOra
                                                                                                  : FormaData::Ignota;
        if (r.voce >= 0) {
            const Profondita p(*this);
            return formaData(n(r.voce).a);
        }
        return FormaData::Ignota;
    }
    case Nd::Funzione: {
        const FnJet f = firma(e).id;
        if (f == FnJet::Date) return FormaData::SoloData;
        if (f == FnJet::Now) return FormaData::DataOra;
        if (f == FnJet::Min || f == FnJet::Max) {
            const Profondita p(*this);
            return formaData(x.a);
        }
        return FormaData::Ignota;
    }
    default: return FormaData::Ignota;
    }
}

bool Scrittore::ePredicato(int e)
{
    const Nodo &x = n(e);
    switch (x.tipo) {
    case Nd::Binario: return eConfronto(x.op) || x.op == Op::And || x.op == Op::Or || x.op == Op::Xor;
    case Nd::Unario: return x.op == Op::Not;
    case Nd::ENull: case Nd::Tra: case Nd::InLista: case Nd::InSelect: case Nd::Esiste: case Nd::Vero: case Nd::Falso:
        return true;
    case Nd::Funzione: {
        const FnJet f = firma(e).id;
        if (f == FnJet::IsNull) return true;
        if (f == FnJet::IIf) {
            const Profondita p(*this);
            return ePredicato(argomento(e, 1)) && ePredicato(argomento(e, 2));
        }
        return false;
    }
    default: return false;
    }
}

// A column or a literal: cheap to write twice.
bool Scrittore::semplice(int e) const
{
    switch (n(e).tipo) {
    case Nd::Colonna: case Nd::Numero: case Nd::Testo: case Nd::Data: case Nd::Null: case Nd::Vero: case Nd::Falso:
        return true;
    default: return false;
    }
}

// Whether a comparison of the two operands compares texts (Jet ignores letter case there).
bool Scrittore::testuale(int a, int b)
{
    const TipoJet ta = tipo(a), tb = tipo(b);
    if (numerico(ta) || numerico(tb) || ta == TipoJet::Data || tb == TipoJet::Data) return false;
    return ta == TipoJet::Testo || tb == TipoJet::Testo;
}

} // namespace scrittura
