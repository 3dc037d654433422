#include "jetlessico.h"

#include "errori.h"

namespace {

inline bool nomeIniziale(char16_t c)
{
    if (c < 128) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    return QChar(c).isLetter();
}

inline bool nomeInterno(char16_t c)
{
    if (c < 128) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || (c >= '0' && c <= '9') || c == '$';
    return QChar(c).isLetter();
}

bool cifra(char16_t c) { return c >= '0' && c <= '9'; }

// Jet refuses these in names; ";" and control characters could carry a second statement.
bool caratterePermessoNelNome(char16_t c)
{
    if (c < 0x20 || c == 0x7f) return false;
    switch (c) {
    case '[': case ';': case '`': case '!': return false;
    default: return true;
    }
}

// ASCII comparison ignoring case against a lower-case keyword.
bool uguale(const char16_t *p, int n, const char *kw)
{
    for (int i = 0; i < n; ++i) {
        char16_t c = p[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
        if (c != static_cast<unsigned char>(kw[i])) return false;
    }
    return kw[n] == '\0';
}

Kw parolaChiave(const char16_t *p, int n)
{
    struct Voce { const char *testo; Kw kw; };
    static const Voce due[] = {{"as", Kw::As}, {"by", Kw::By}, {"on", Kw::On}, {"or", Kw::Or}, {"is", Kw::Is}, {"in", Kw::In}};
    static const Voce tre[] = {{"top", Kw::Top}, {"all", Kw::All}, {"asc", Kw::Asc}, {"set", Kw::Set}, {"and", Kw::And},
                               {"xor", Kw::Xor}, {"not", Kw::Not}, {"mod", Kw::Mod}};
    static const Voce quattro[] = {{"from", Kw::From}, {"desc", Kw::Desc}, {"into", Kw::Into}, {"join", Kw::Join},
                                   {"left", Kw::Left}, {"null", Kw::Null}, {"like", Kw::Like}, {"true", Kw::True},
                                   {"date", Kw::Date}};
    static const Voce cinque[] = {{"where", Kw::Where}, {"group", Kw::Group}, {"order", Kw::Order}, {"union", Kw::Union},
                                  {"right", Kw::Right}, {"inner", Kw::Inner}, {"outer", Kw::Outer}, {"false", Kw::False}};
    static const Voce sei[] = {{"select", Kw::Select}, {"having", Kw::Having}, {"insert", Kw::Insert}, {"values", Kw::Values},
                               {"update", Kw::Update}, {"delete", Kw::Delete}, {"exists", Kw::Exists}, {"escape", Kw::Escape}};
    static const Voce sette[] = {{"percent", Kw::Percent}, {"between", Kw::Between}};
    static const Voce otto[] = {{"distinct", Kw::Distinct}};
    static const Voce nove[] = {{"timestamp", Kw::Timestamp}};
    static const Voce undici[] = {{"distinctrow", Kw::DistinctRow}};
    const auto cerca = [&](const auto &tab) {
        for (const Voce &v : tab)
            if (uguale(p, n, v.testo)) return v.kw;
        return Kw::Nessuna;
    };
    switch (n) {
    case 2: return cerca(due);
    case 3: return cerca(tre);
    case 4: return cerca(quattro);
    case 5: return cerca(cinque);
    case 6: return cerca(sei);
    case 7: return cerca(sette);
    case 8: return cerca(otto);
    case 9: return cerca(nove);
    case 11: return cerca(undici);
    default: return Kw::Nessuna;
    }
}

[[noreturn]] void erroreLessicale(const char *cosa, int posizione)
{
    throw erroreSintassi(QStringLiteral("%1 alla posizione %2").arg(QLatin1String(cosa)).arg(posizione + 1));
}

} // namespace

std::vector<Token> tokenizza(QStringView sql)
{
    std::vector<Token> out;
    out.reserve(static_cast<size_t>(sql.size() / 4 + 8));
    const char16_t *s = sql.utf16();
    const int n = static_cast<int>(sql.size());
    int i = 0;
    while (i < n) {
        const char16_t c = s[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        Token t;
        t.inizio = i;
        if (nomeIniziale(c)) {
            int j = i + 1;
            while (j < n && nomeInterno(s[j])) ++j;
            t.tipo = Tk::Nome;
            t.parola = parolaChiave(s + i, j - i);
            i = j;
        } else if (cifra(c) || (c == '.' && i + 1 < n && cifra(s[i + 1]))) {
            int j = i;
            while (j < n && cifra(s[j])) ++j;
            if (j < n && s[j] == '.') {
                ++j;
                while (j < n && cifra(s[j])) ++j;
            }
            if (j < n && (s[j] == 'e' || s[j] == 'E')) {
                int k = j + 1;
                if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
                if (k < n && cifra(s[k])) {
                    j = k;
                    while (j < n && cifra(s[j])) ++j;
                }
            }
            t.tipo = Tk::Numero;
            i = j;
        } else if (c == '\'' || c == '"') {
            int j = i + 1;
            for (;;) {
                if (j >= n) erroreLessicale("testo non chiuso", i);
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) { j += 2; continue; }
                    break;
                }
                if (s[j] == 0) erroreLessicale("carattere nullo", i);
                ++j;
            }
            t.tipo = Tk::Testo;
            i = j + 1;
        } else if (c == '[') {
            // A bracketed name goes to the engine quoted: what it may hold is checked here, so
            // that no text can end the quoting or the statement.
            int j = i + 1;
            while (j < n && s[j] != ']') {
                if (!caratterePermessoNelNome(s[j])) erroreLessicale("carattere non ammesso in un nome tra parentesi quadre", j);
                ++j;
            }
            if (j >= n) erroreLessicale("nome tra parentesi quadre non chiuso", i);
            if (j == i + 1) erroreLessicale("nome tra parentesi quadre vuoto", i);
            t.tipo = Tk::Nome;
            i = j + 1;
        } else if (c == '#') {
            int j = i + 1;
            while (j < n && s[j] != '#') ++j;
            if (j >= n) erroreLessicale("data non chiusa", i);
            t.tipo = Tk::DataLett;
            i = j + 1;
        } else {
            switch (c) {
            case '(': t.tipo = Tk::ParAperta; ++i; break;
            case ')': t.tipo = Tk::ParChiusa; ++i; break;
            case ',': t.tipo = Tk::Virgola; ++i; break;
            case '.': t.tipo = Tk::Punto; ++i; break;
            case ';': t.tipo = Tk::PuntoVirgola; ++i; break;
            case '*': t.tipo = Tk::Stella; ++i; break;
            case '<':
                t.tipo = Tk::Op;
                if (i + 1 < n && s[i + 1] == '>') { t.op = OpTk::Diverso; i += 2; }
                else if (i + 1 < n && s[i + 1] == '=') { t.op = OpTk::MinoreUguale; i += 2; }
                else { t.op = OpTk::Minore; ++i; }
                break;
            case '>':
                t.tipo = Tk::Op;
                if (i + 1 < n && s[i + 1] == '=') { t.op = OpTk::MaggioreUguale; i += 2; }
                else { t.op = OpTk::Maggiore; ++i; }
                break;
            case '!':
                if (i + 1 < n && s[i + 1] == '=') { t.tipo = Tk::Op; t.op = OpTk::Diverso; i += 2; }
                else erroreLessicale("carattere non valido", i);
                break;
            case '=': t.tipo = Tk::Op; t.op = OpTk::Uguale; ++i; break;
            case '+': t.tipo = Tk::Op; t.op = OpTk::Piu; ++i; break;
            case '-': t.tipo = Tk::Op; t.op = OpTk::Meno; ++i; break;
            case '/': t.tipo = Tk::Op; t.op = OpTk::Diviso; ++i; break;
            case '\\': t.tipo = Tk::Op; t.op = OpTk::DivisioneIntera; ++i; break;
            case '^': t.tipo = Tk::Op; t.op = OpTk::Potenza; ++i; break;
            case '&': t.tipo = Tk::Op; t.op = OpTk::Concatena; ++i; break;
            default:
                erroreLessicale("carattere non valido", i);
            }
        }
        t.lunghezza = i - t.inizio;
        out.push_back(t);
    }
    Token fine;
    fine.inizio = n;
    out.push_back(fine);
    return out;
}

QString valoreTesto(QStringView token)
{
    const QChar q = token.front();
    QStringView interno = token.mid(1, token.size() - 2);
    QString v;
    v.reserve(interno.size());
    for (qsizetype i = 0; i < interno.size(); ++i) {
        v.append(interno[i]);
        if (interno[i] == q) ++i; // doubled quote
    }
    return v;
}
