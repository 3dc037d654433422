// The writer: the functions of the dialect. On SQLite they are calls of the library's engine
// functions, which evaluate them as the criteria do; on PostgreSQL expressions of its own.
#include "errori.h"
#include "letterali.h"
#include "scrittoresql.h"

namespace scrittura {

namespace {

constexpr int kConfronto = 4;

} // namespace

// A text literal argument (DateAdd's interval, Format's pattern): the engines need it fixed.
QString Scrittore::letteraleArgomento(int e, const char *funzione)
{
    if (n(e).tipo != Nd::Testo)
        throw erroreSintassi(QStringLiteral("%1 vuole un testo fisso come argomento").arg(QLatin1String(funzione)));
    return valoreTesto(m_a.testo(n(e).tok));
}

void Scrittore::funzione(int e, bool logico)
{
    const Nodo &x = n(e);
    const FirmaJet &f = firma(e);
    const auto arg = [&](int i) { return argomento(e, i); };
    if (aggregata(f.id)) {
        aggregato(e, f);
        return;
    }
    switch (f.id) {
    case FnJet::IIf: {
        const TipoJet t = tipo(e);
        w("CASE WHEN ");
        condizione(arg(0));
        w(" THEN ");
        if (logico) condizione(arg(1));
        else valoreCome(arg(1), t);
        w(" ELSE ");
        if (logico) condizione(arg(2));
        else valoreCome(arg(2), t);
        w(" END");
        return;
    }
    case FnJet::IsNull:
        if (!logico) {
            valore(e);
            return;
        }
        valore(arg(0), kConfronto + 1);
        w(" IS NULL");
        return;
    case FnJet::Nz: {
        const TipoJet t = tipo(e);
        w("COALESCE(");
        valoreCome(arg(0), t);
        w(", ");
        if (x.a >= 0 && n(x.a).seguente >= 0) valoreCome(arg(1), t);
        else if (t == TipoJet::Testo) w("''");
        else if (t == TipoJet::Data) w("NULL");
        else w("0");
        w(")");
        return;
    }
    case FnJet::Date:
        w(sqlite() ? "date('now','localtime')" : "CURRENT_DATE");
        return;
    case FnJet::Now:
        w(sqlite() ? "datetime('now','localtime')" : "LOCALTIMESTAMP(0)");
        return;
    case FnJet::Format: {
        const QString modello = contaArgomenti(e) > 1 ? letteraleArgomento(arg(1), "Format") : QString();
        const std::optional<FormatoJet> fj = leggiFormatoJet(modello);
        if (!fj) throw erroreSintassi(QStringLiteral("formato non gestito in Format: %1").arg(modello));
        if (!sqlite()) {
            formatoPg(arg(0), *fj);
            return;
        }
        break;
    }
    case FnJet::DateAdd: case FnJet::DateDiff:
        if (!intervalloJet(letteraleArgomento(arg(0), f.nome)))
            throw erroreSintassi(QStringLiteral("intervallo non valido in %1").arg(QLatin1String(f.nome)));
        break;
    default: break;
    }
    // A Null literal where a value is needed fails as Jet fails.
    switch (f.id) {
    case FnJet::CStr: case FnJet::CLng: case FnJet::CInt: case FnJet::CDbl: case FnJet::CCur: case FnJet::Val:
        if (tipo(arg(0)) == TipoJet::Null) throw AppError::standard(ErrNum::InvalidNull);
        break;
    default: break;
    }
    if (sqlite()) funzioneSqlite(e, f);
    else funzionePg(e, f);
}

void Scrittore::funzioneSqlite(int e, const FirmaJet &f)
{
    if (f.id == FnJet::Len && tipo(n(e).a) == TipoJet::Testo) {
        // SQLite's own length counts characters as Len does.
        w("length(");
        valore(n(e).a);
        w(")");
        return;
    }
    w("jet_fn(");
    w(QString::number(static_cast<int>(f.id)));
    w(", '");
    for (int a = n(e).a; a >= 0; a = n(a).seguente) {
        const char t[] = {letteraTipo(tipo(a)), 0};
        w(t);
    }
    const char r[] = {letteraTipo(tipo(e)), '\'', 0};
    w(r);
    for (int a = n(e).a; a >= 0; a = n(a).seguente) {
        w(", ");
        valore(a);
    }
    w(")");
}

void Scrittore::aggregato(int e, const FirmaJet &f)
{
    const Nodo &x = n(e);
    const TipoJet ta = x.a >= 0 ? tipo(x.a) : TipoJet::Ignoto;
    const auto argomentoAggregato = [&](TipoJet come) {
        w("(");
        if (x.neg) w("DISTINCT ");
        if (come == ta) valore(x.a);
        else valoreCome(x.a, come);
        w(")");
    };
    switch (f.id) {
    case FnJet::Count:
        if (x.extra == 1) {
            w("count(*)");
            return;
        }
        w("count");
        argomentoAggregato(ta);
        return;
    case FnJet::Sum: w("sum"); argomentoAggregato(ta); return;
    case FnJet::Min: w("min"); argomentoAggregato(ta); return;
    case FnJet::Max: w("max"); argomentoAggregato(ta); return;
    case FnJet::Avg:
        if (ta == TipoJet::Valuta) {
            // An average of amounts is an amount: four decimals.
            w(sqlite() ? "CAST(round(avg" : "round(avg");
            argomentoAggregato(ta);
            w(sqlite() ? ") AS INTEGER)" : ", 4)");
            return;
        }
        if (!sqlite() && ta != TipoJet::Ignoto) w("CAST(");
        w("avg");
        argomentoAggregato(ta);
        if (!sqlite() && ta != TipoJet::Ignoto) w(" AS double precision)");
        return;
    default: break;
    }
}

// ------------------------------------------------------------------ PostgreSQL

// A count, a length or a position: Jet refuses one below its least (5).
void Scrittore::nonNegativoPg(int e, int minimo)
{
    if (n(e).tipo == Nd::Numero) {
        if (m_a.testo(n(e).tok).toDouble() < minimo - 0.5) throw AppError::standard(ErrNum::InvalidCall);
        valoreCome(e, TipoJet::Lungo);
        return;
    }
    usaDueVolte(e, TipoJet::Lungo, [&](auto v) {
        w("CASE WHEN CAST(CASE WHEN ");
        v();
        w(QStringLiteral(" < %1 THEN 'Jet:5' END AS integer) IS NULL THEN ").arg(minimo));
        v();
        w(" END");
    });
}

void Scrittore::funzionePg(int e, const FirmaJet &f)
{
    const auto arg = [&](int i) { return argomento(e, i); };
    const auto testoArg = [&](int i) {
        if (tipo(arg(i)) == TipoJet::Testo) valore(arg(i));
        else valoreCome(arg(i), TipoJet::Testo);
    };
    const auto chiamata = [&](const char *nome, int i, const char *dopo = ")") {
        w(nome);
        testoArg(i);
        w(dopo);
    };
    const TipoJet t0 = n(e).a >= 0 ? tipo(arg(0)) : TipoJet::Ignoto;
    switch (f.id) {
    case FnJet::Len: chiamata("length(", 0); return;
    case FnJet::UCase: chiamata("upper(", 0); return;
    case FnJet::LCase: chiamata("lower(", 0); return;
    case FnJet::Trim: chiamata("btrim(", 0, ", ' ')"); return;
    case FnJet::LTrim: chiamata("ltrim(", 0, ", ' ')"); return;
    case FnJet::RTrim: chiamata("rtrim(", 0, ", ' ')"); return;
    case FnJet::Left: case FnJet::Right:
        w(f.id == FnJet::Left ? "left(" : "right(");
        testoArg(0);
        w(", ");
        nonNegativoPg(arg(1));
        w(")");
        return;
    case FnJet::Mid:
        w("substr(");
        testoArg(0);
        w(", ");
        nonNegativoPg(arg(1), 1);
        if (contaArgomenti(e) == 3) {
            w(", ");
            nonNegativoPg(arg(2));
        }
        w(")");
        return;
    case FnJet::Space:
        w("repeat(' ', ");
        nonNegativoPg(arg(0));
        w(")");
        return;
    case FnJet::InStr: {
        const int k = contaArgomenti(e);
        bool esatto = false;
        if (k == 4) {
            if (n(arg(3)).tipo != Nd::Numero) throw erroreSintassi(QStringLiteral("InStr vuole un confronto fisso"));
            esatto = m_a.testo(n(arg(3)).tok).toInt() == 0;
        }
        const char *piega = esatto ? "(" : "lower(";
        if (k == 2) {
            w("strpos(");
            w(piega);
            testoArg(0);
            w("), ");
            w(piega);
            testoArg(1);
            w("))");
            return;
        }
        const QString i = QString::number(++m_let);
        w("(SELECT CASE WHEN CAST(CASE WHEN jet_is" + i + " < 1 THEN 'Jet:5' END AS integer) IS NULL THEN CASE WHEN jet_ip" +
          i + " = 0 THEN 0 ELSE jet_ip" + i + " + jet_is" + i + " - 1 END END FROM (SELECT ");
        valoreCome(arg(0), TipoJet::Lungo);
        w(" AS jet_is" + i + ") AS jet_il" + i + ", LATERAL (SELECT strpos(");
        w(piega);
        w("substr(");
        testoArg(1);
        w(", jet_is" + i + ")), ");
        w(piega);
        testoArg(2);
        w(")) AS jet_ip" + i + ") AS jet_ik" + i + ")");
        return;
    }
    case FnJet::Val:
        // The blanks taken out, the longest number at the start read, "." as the decimal point.
        w("COALESCE(CAST(translate(substring(translate(");
        nonNulloPg([&] { testoArg(0); }, semplice(arg(0)) && t0 == TipoJet::Testo, "text");
        w(", ' ' || chr(9) || chr(10) || chr(13), '') FROM '^[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eEdD][+-]?[0-9]+)?'), "
          "'dD', 'ee') AS double precision), 0)");
        return;
    case FnJet::CStr:
        nonNulloPg([&] { testoArg(0); }, semplice(arg(0)) && t0 == TipoJet::Testo, "text");
        return;
    case FnJet::CLng: case FnJet::CInt: case FnJet::CDbl: case FnJet::CCur: {
        const TipoJet r = tipo(e);
        const char *tipoPg = r == TipoJet::Lungo ? "integer" : r == TipoJet::Intero ? "smallint"
                                                            : r == TipoJet::Doppio ? "double precision" : "numeric";
        nonNulloPg([&] { valoreCome(arg(0), r); }, semplice(arg(0)) && t0 == r, tipoPg);
        return;
    }
    case FnJet::Int: case FnJet::Fix: {
        const TipoJet r = tipo(e);
        if (r == TipoJet::Intero || r == TipoJet::Lungo || r == TipoJet::Null || r == TipoJet::Ignoto) {
            if (r == TipoJet::Ignoto) w(f.id == FnJet::Int ? "floor(" : "trunc(");
            valore(arg(0));
            if (r == TipoJet::Ignoto) w(")");
            return;
        }
        if (r == TipoJet::Data) {
            w("date_trunc('day', ");
            valoreCome(arg(0), TipoJet::Data);
            w(")");
            return;
        }
        w(f.id == FnJet::Int ? "floor(" : "trunc(");
        valoreCome(arg(0), r);
        w(")");
        return;
    }
    case FnJet::Abs:
        w("abs(");
        valoreCome(arg(0), tipo(e));
        w(")");
        return;
    case FnJet::Sgn:
        w("CAST(sign(");
        if (numerico(t0)) valore(arg(0));
        else valoreCome(arg(0), TipoJet::Doppio);
        w(") AS smallint)");
        return;
    case FnJet::Round: {
        const TipoJet r = tipo(e);
        if (r == TipoJet::Intero || r == TipoJet::Lungo || r == TipoJet::Null) {
            valoreCome(arg(0), r);
            return;
        }
        if (r == TipoJet::Doppio || r == TipoJet::Ignoto) w("CAST(");
        arrotondaPariPg(
            [&] {
                w("CAST(");
                valore(arg(0));
                w(" AS numeric)");
            },
            [&] {
                if (contaArgomenti(e) == 2) nonNegativoPg(arg(1));
                else w("0");
            });
        if (r == TipoJet::Doppio || r == TipoJet::Ignoto) w(" AS double precision)");
        return;
    }
    case FnJet::Year: case FnJet::Month: case FnJet::Day: case FnJet::Hour: case FnJet::Minute: case FnJet::Second:
    case FnJet::Weekday: {
        const char *campo = f.id == FnJet::Year ? "YEAR" : f.id == FnJet::Month ? "MONTH" : f.id == FnJet::Day ? "DAY"
                          : f.id == FnJet::Hour ? "HOUR" : f.id == FnJet::Minute ? "MINUTE" : f.id == FnJet::Second ? "SECOND"
                                                                                                                  : "DOW";
        w("CAST(floor(EXTRACT(");
        w(campo);
        w(" FROM ");
        valoreCome(arg(0), TipoJet::Data);
        w(f.id == FnJet::Weekday ? ")) + 1 AS smallint)" : ")) AS smallint)");
        return;
    }
    case FnJet::DateSerial:
        // Two-digit years as the run-time reads them; months and days beyond their range carry.
        w("(CAST(make_date(");
        usaDueVolte(arg(0), TipoJet::Intero, [&](auto v) {
            w("CASE WHEN ");
            v();
            w(" BETWEEN 0 AND 29 THEN ");
            v();
            w(" + 2000 WHEN ");
            v();
            w(" BETWEEN 30 AND 99 THEN ");
            v();
            w(" + 1900 ELSE ");
            v();
            w(" END");
        });
        w(", 1, 1) AS timestamp) + make_interval(months => ");
        valoreCome(arg(1), TipoJet::Lungo);
        w(" - 1) + make_interval(days => ");
        valoreCome(arg(2), TipoJet::Lungo);
        w(" - 1))");
        return;
    case FnJet::DateAdd: case FnJet::DateDiff: datePg(e, f); return;
    default: break;
    }
    throw erroreDb(ErrDb::FunzioneSconosciuta, QLatin1String(f.nome));
}

void Scrittore::datePg(int e, const FirmaJet &f)
{
    const IntervalloJet i = *intervalloJet(letteraleArgomento(argomento(e, 0), f.nome));
    if (f.id == FnJet::DateAdd) {
        const char *unita = "days => ";
        const char *fattore = "";
        switch (i) {
        case IntervalloJet::Anno: unita = "years => "; break;
        case IntervalloJet::Trimestre: unita = "months => "; fattore = "3 * "; break;
        case IntervalloJet::Mese: unita = "months => "; break;
        case IntervalloJet::Settimana: unita = "weeks => "; break;
        case IntervalloJet::Ora: unita = "hours => "; break;
        case IntervalloJet::Minuto: unita = "mins => "; break;
        case IntervalloJet::Secondo: unita = "secs => "; break;
        default: break;
        }
        w("(CAST(");
        valoreCome(argomento(e, 2), TipoJet::Data);
        w(" AS timestamp) + make_interval(");
        w(unita);
        w(fattore);
        valoreCome(argomento(e, 1), TipoJet::Lungo);
        w("))");
        return;
    }
    const int a = argomento(e, 1), b = argomento(e, 2);
    usaDueVolte(a, TipoJet::Data, [&](auto va) {
        usaDueVolte(b, TipoJet::Data, [&](auto vb) {
            const auto parte = [&](const char *campo, auto v) {
                w("EXTRACT(");
                w(campo);
                w(" FROM ");
                v();
                w(")");
            };
            const auto giorno = [&](auto v) {
                w("CAST(");
                v();
                w(" AS date)");
            };
            switch (i) {
            case IntervalloJet::Anno:
                w("CAST(");
                parte("YEAR", vb);
                w(" - ");
                parte("YEAR", va);
                w(" AS integer)");
                return;
            case IntervalloJet::Trimestre: case IntervalloJet::Mese: {
                const bool trimestre = i == IntervalloJet::Trimestre;
                w("CAST((");
                parte("YEAR", vb);
                w(" - ");
                parte("YEAR", va);
                w(trimestre ? ") * 4 + floor((" : ") * 12 + (");
                parte("MONTH", vb);
                w(trimestre ? " - 1) / 3) - floor((" : ") - (");
                parte("MONTH", va);
                w(trimestre ? " - 1) / 3) AS integer)" : ") AS integer)");
                return;
            }
            case IntervalloJet::Settimana:
                // Sundays passed: the Sunday that starts each date's week.
                w("(((");
                giorno(vb);
                w(" - CAST(");
                parte("DOW", vb);
                w(" AS integer)) - (");
                giorno(va);
                w(" - CAST(");
                parte("DOW", va);
                w(" AS integer))) / 7)");
                return;
            case IntervalloJet::Ora: case IntervalloJet::Minuto: case IntervalloJet::Secondo: {
                const char *divisore = i == IntervalloJet::Ora ? "3600" : i == IntervalloJet::Minuto ? "60" : "1";
                const auto epoca = [&](auto v) {
                    w("floor(EXTRACT(EPOCH FROM CAST(");
                    v();
                    w(" AS timestamp)) / ");
                    w(divisore);
                    w(")");
                };
                w("CAST(");
                epoca(vb);
                w(" - ");
                epoca(va);
                w(" AS integer)");
                return;
            }
            default:
                w("((");
                giorno(vb);
                w(" - ");
                giorno(va);
                w(i == IntervalloJet::GiornoSettimana ? ") / 7)" : "))");
                return;
            }
        });
    });
}

// Format on PostgreSQL, piece by piece as the C++ writer of the pattern does it.
void Scrittore::formatoPg(int e, const FormatoJet &f)
{
    switch (f.genere) {
    case FormatoJet::Genere::Generale: testoPg(e); return;
    case FormatoJet::Genere::Maiuscolo: case FormatoJet::Genere::Minuscolo:
        w(f.genere == FormatoJet::Genere::Maiuscolo ? "upper(" : "lower(");
        testoPg(e);
        w(")");
        return;
    case FormatoJet::Genere::Numero: numeroFormatoPg(e, f); return;
    case FormatoJet::Genere::Data: dataFormatoPg(e, f); return;
    }
}

void Scrittore::numeroFormatoPg(int e, const FormatoJet &f)
{
    const int decimali = f.fisse + f.facoltative;
    const QString k = QString::number(++m_let);
    const QString v = QStringLiteral("jet_f") + k;
    const QString intera = QStringLiteral("CAST(trunc(abs(%1)) AS text)").arg(v);
    QString cifre = intera;
    if (f.cifreIntere == 0) cifre = QStringLiteral("CASE WHEN trunc(abs(%1)) = 0 THEN '' ELSE %2 END").arg(v, intera);
    else if (f.cifreIntere > 1)
        cifre = QStringLiteral("CASE WHEN length(%1) < %2 THEN lpad(%1, %2, '0') ELSE %1 END").arg(intera).arg(f.cifreIntere);
    if (f.gruppi) cifre = QStringLiteral("regexp_replace(%1, '(\\d)(?=(\\d{3})+$)', '\\1.', 'g')").arg(cifre);
    QString testo = letteraleTesto(f.prima) + QStringLiteral(" || CASE WHEN %1 < 0 THEN '-' ELSE '' END || ").arg(v) + cifre;
    if (f.virgola) {
        const QString fraz = QStringLiteral("rtrim(substr(CAST(abs(%1) - trunc(abs(%1)) AS text), 3), '0')").arg(v);
        testo += QStringLiteral(" || ',' || CASE WHEN length(%1) < %2 THEN rpad(%1, %2, '0') ELSE %1 END").arg(fraz).arg(f.fisse);
    }
    testo += QStringLiteral(" || ") + letteraleTesto(f.dopo);
    w("(SELECT " + testo + " FROM (SELECT round(");
    switch (tipo(e)) {
    case TipoJet::Valuta: valore(e); break;
    case TipoJet::Intero: case TipoJet::Lungo: case TipoJet::Logico:
        w("CAST(");
        valore(e);
        w(" AS numeric)");
        break;
    default:
        w("CAST(");
        valoreCome(e, TipoJet::Doppio);
        w(" AS numeric)");
        break;
    }
    if (f.percento) w(" * 100");
    w(QStringLiteral(", %1) AS %2) AS %2_l)").arg(decimali).arg(v));
}

void Scrittore::dataFormatoPg(int e, const FormatoJet &f)
{
    using Pezzo = FormatoJet::Pezzo;
    usaDueVolte(e, TipoJet::Data, [&](auto v) {
        QString modello; // pieces to_char writes, gathered
        bool primo = true;
        const auto separa = [&] {
            if (!primo) w(" || ");
            primo = false;
        };
        const auto chiudi = [&] {
            if (modello.isEmpty()) return;
            separa();
            w("to_char(");
            v();
            w(", ");
            w(letteraleTesto(modello));
            w(")");
            modello.clear();
        };
        const auto nomi = [&](bool mesi, bool breve) {
            QStringList elenco;
            for (int i = 1; i <= (mesi ? 12 : 7); ++i) elenco << letteraleTesto(mesi ? nomeMese(i, breve) : nomeGiorno(i, breve));
            separa();
            w("(ARRAY[" + elenco.join(QStringLiteral(", ")) + "])[");
            w(mesi ? "CAST(EXTRACT(MONTH FROM " : "CAST(EXTRACT(DOW FROM ");
            v();
            w(mesi ? ") AS integer)]" : ") AS integer) + 1]");
        };
        for (const FormatoJet::Parte &p : f.parti) {
            const char *codice = nullptr;
            switch (p.pezzo) {
            case Pezzo::Testo: {
                QString t = p.testo;
                t.replace(QLatin1Char('"'), QStringLiteral("\\\""));
                modello += QLatin1Char('"') + t + QLatin1Char('"');
                continue;
            }
            case Pezzo::Giorno: codice = "FMDD"; break;
            case Pezzo::Giorno2: codice = "DD"; break;
            case Pezzo::Mese: codice = "FMMM"; break;
            case Pezzo::Mese2: codice = "MM"; break;
            case Pezzo::Anno2: codice = "YY"; break;
            case Pezzo::Anno4: codice = "YYYY"; break;
            case Pezzo::Ora: codice = "FMHH24"; break;
            case Pezzo::Ora2: codice = "HH24"; break;
            case Pezzo::Minuto: codice = "FMMI"; break;
            case Pezzo::Minuto2: codice = "MI"; break;
            case Pezzo::Secondo: codice = "FMSS"; break;
            case Pezzo::Secondo2: codice = "SS"; break;
            case Pezzo::GiornoBreve: case Pezzo::GiornoNome: case Pezzo::MeseBreve: case Pezzo::MeseNome:
                chiudi();
                nomi(p.pezzo == Pezzo::MeseBreve || p.pezzo == Pezzo::MeseNome,
                     p.pezzo == Pezzo::GiornoBreve || p.pezzo == Pezzo::MeseBreve);
                continue;
            }
            // "FM" holds for the one field that follows it only.
            modello += QLatin1String(codice);
        }
        chiudi();
        if (primo) w("''");
    });
}

} // namespace scrittura
