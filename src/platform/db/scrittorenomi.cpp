// The writer: the tables of each SELECT, what each column name stands for, names as the engine
// reads them, and the columns of a SELECT's result as the record sets name them.
#include "errori.h"
#include "nomisql.h"
#include "scrittoresql.h"

namespace scrittura {

bool nomeE(QStringView nome, const char *f) { return nome.compare(QLatin1String(f), Qt::CaseInsensitive) == 0; }

const std::vector<Fonte> &Scrittore::fonti(int si)
{
    const size_t k = static_cast<size_t>(si);
    if (!m_fontiPronte[k]) {
        m_fontiPronte[k] = true;
        for (int t = m_a.select[k].da; t >= 0; t = n(t).seguente)
            raccogli(t, m_fonti[k]);
    }
    return m_fonti[k];
}

void Scrittore::raccogli(int t, std::vector<Fonte> &out)
{
    const Profondita p(*this);
    const Nodo &x = n(t);
    if (x.tipo == Nd::Unione) {
        raccogli(x.a, out);
        raccogli(x.b, out);
    } else if (x.tipo == Nd::Tabella) {
        Fonte f;
        f.tabella = m_a.nome(x.tok);
        f.esposto = x.tok2 >= 0 ? m_a.nome(x.tok2) : f.tabella;
        f.cat = m_c.tabella(f.tabella);
        f.espostoTesto = f.esposto.toString();
        out.push_back(std::move(f));
    } else if (x.tipo == Nd::Derivata) {
        Fonte f;
        f.esposto = m_a.nome(x.tok2);
        f.espostoTesto = f.esposto.toString();
        f.derivata = x.s;
        out.push_back(std::move(f));
    }
}

// A column's source, worked out once per node.
Risolta Scrittore::risolvi(int c, int si)
{
    std::optional<Risolta> &r = m_risolte[static_cast<size_t>(c)];
    if (!r) r = cerca(c, si);
    return *r;
}

// The item of a derived table's SELECT that gives a column of this name: by its alias, or by
// the name of the column it is; -1 when none.
int Scrittore::voceDerivata(int si, QStringView nomeCercato)
{
    for (int v = m_a.select[static_cast<size_t>(si)].voci; v >= 0; v = n(v).seguente) {
        const Nodo &voce = n(v);
        if (voce.tok2 >= 0) {
            if (stessoNome(alias(voce.tok2), nomeCercato)) return v;
        } else if (n(voce.a).tipo == Nd::Colonna && stessoNome(m_a.nome(n(voce.a).tok), nomeCercato)) {
            return v;
        }
    }
    return -1;
}

Risolta Scrittore::cerca(int c, int si)
{
    const Nodo &x = n(c);
    const QStringView nomeCol = m_a.nome(x.tok);
    const QStringView qual = x.tok2 >= 0 ? m_a.nome(x.tok2) : QStringView();
    const auto inFonte = [&](const Fonte &f) -> std::optional<Risolta> {
        if (f.cat) {
            const int i = f.cat->indice(nomeCol);
            if (i >= 0) return Risolta{&f, i, -1};
            return std::nullopt;
        }
        if (f.derivata >= 0) {
            const int v = voceDerivata(f.derivata, nomeCol);
            if (v >= 0) return Risolta{&f, -1, v};
        }
        return std::nullopt;
    };
    for (int s = si; s >= 0; s = m_a.select[static_cast<size_t>(s)].padre) {
        for (const Fonte &f : fonti(s)) {
            if (!qual.isEmpty()) {
                if (!stessoNome(f.esposto, qual)) continue;
                if (auto r = inFonte(f)) return *r;
                return {&f, -1, -1};
            }
            if (auto r = inFonte(f)) return *r;
        }
    }
    return {};
}

const ColonnaCatalogo *Scrittore::colonnaNota(int e)
{
    return n(e).tipo == Nd::Colonna ? risolvi(e).col() : nullptr;
}

QStringView Scrittore::alias(int tok) const
{
    QStringView a = m_a.nome(tok);
    if (m_a.token[static_cast<size_t>(tok)].tipo == Tk::Testo) a = a.mid(1, a.size() - 2);
    return a;
}

void Scrittore::nome(QStringView testo)
{
    if (!nomeDaQuotare(testo)) {
        w(testo);
        return;
    }
    // An alias given as a text may hold anything: what cannot be a name is refused.
    for (const QChar c : testo)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            throw erroreSintassi(QStringLiteral("carattere non ammesso in un nome"));
    w(nomeSql(testo, m_m));
}

void Scrittore::nomeQualificato(QStringView qual, QStringView nomeCol)
{
    if (!qual.isEmpty()) {
        if (!m_qualDa.isEmpty() && stessoNome(qual, m_qualDa)) nome(m_qualA);
        else nome(qual);
        w(".");
    }
    if (!nomeCol.isEmpty()) nome(nomeCol);
}

// The columns a table or a derived table gives to "*" or "T.*".
void Scrittore::colonneDi(const Fonte &f, Traduzione &t)
{
    const Profondita p(*this);
    if (f.cat) {
        VoceRisultato v;
        v.colonna.qualificatore = f.espostoTesto;
        v.colonna.fonte = f.espostoTesto;
        v.tutte = f.cat;
        t.voci.push_back(std::move(v));
        return;
    }
    if (f.derivata < 0) {
        t.colonneNote = false;
        return;
    }
    // A derived table's columns are read, never written.
    Traduzione interna;
    colonneRisultato(f.derivata, interna);
    if (!interna.colonneNote) t.colonneNote = false;
    for (ColonnaRisultato &c : ::colonneRisultato(interna)) {
        c.qualificatore = f.espostoTesto;
        c.fonte.clear();
        c.tabellaBase.clear();
        c.colonnaBase.clear();
        VoceRisultato v;
        v.colonna = std::move(c);
        t.voci.push_back(std::move(v));
    }
}

// The items of a SELECT's result, in order, as the record sets name their fields.
void Scrittore::colonneRisultato(int si, Traduzione &t)
{
    t.colonneNote = true;
    const SelectAlbero &s = m_a.select[static_cast<size_t>(si)];
    for (int v = s.voci; v >= 0; v = n(v).seguente) {
        const Nodo &voce = n(v);
        const Nodo &e = n(voce.a);
        if (e.tipo == Nd::Stella) {
            if (e.tok2 < 0) {
                for (const Fonte &f : fonti(si)) colonneDi(f, t);
            } else {
                const QStringView q = m_a.nome(e.tok2);
                const Fonte *trovata = nullptr;
                for (const Fonte &f : fonti(si))
                    if (stessoNome(f.esposto, q)) trovata = &f;
                if (trovata) colonneDi(*trovata, t);
                else t.colonneNote = false;
            }
            continue;
        }
        ColonnaRisultato r;
        if (voce.tok2 >= 0) r.nome = alias(voce.tok2).toString();
        if (e.tipo == Nd::Colonna) {
            const Risolta ris = risolvi(voce.a);
            if (const ColonnaCatalogo *c = ris.col()) {
                if (voce.tok2 < 0) {
                    r.qualificatore = ris.fonte->espostoTesto;
                    r.nome = c->nome;
                }
                r.fonte = ris.fonte->espostoTesto;
                r.tabellaBase = ris.fonte->cat->nome();
                r.colonnaBase = c->nome;
                r.tipo = c->tipo;
                r.nonNullo = c->nonNullo;
            } else {
                if (voce.tok2 < 0) {
                    r.nome = m_a.nome(e.tok).toString();
                    if (ris.fonte) r.qualificatore = ris.fonte->espostoTesto;
                    else if (e.tok2 >= 0) r.qualificatore = m_a.nome(e.tok2).toString();
                }
                r.tipo = campoDaTipo(tipo(voce.a));
            }
        } else {
            r.tipo = campoDaTipo(tipo(voce.a));
            if (r.tipo == TipoCampo::DataOra && formaData(voce.a) == FormaData::SoloData) r.tipo = TipoCampo::Data;
        }
        VoceRisultato vr;
        vr.colonna = std::move(r);
        t.voci.push_back(std::move(vr));
    }
    if (s.unione >= 0) {
        // The rows of a UNION belong to no table: readable, not writable; their types are the
        // types common to every member.
        std::vector<ColonnaRisultato> piane = ::colonneRisultato(t);
        const std::vector<TipoJet> tipi = tipiUnione(si);
        t.voci.clear();
        for (size_t i = 0; i < piane.size(); ++i) {
            ColonnaRisultato &c = piane[i];
            c.fonte.clear();
            c.tabellaBase.clear();
            c.colonnaBase.clear();
            if (i < tipi.size()) c.tipo = campoDaTipo(tipi[i]);
            VoceRisultato vr;
            vr.colonna = std::move(c);
            t.voci.push_back(std::move(vr));
        }
    }
}

} // namespace scrittura
