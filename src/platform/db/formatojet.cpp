#include "formatojet.h"

#include "decimal.h"
#include "operatorijet.h"

#include <array>

namespace {

using Pezzo = FormatoJet::Pezzo;

// Characters that stand for themselves in a pattern.
bool letterale(QChar c)
{
    static const QStringView segni = u" /-.:,+$()€%";
    return segni.contains(c);
}

// Reads a quoted text or an escaped character at i; false when there is none.
bool testoFisso(QStringView f, qsizetype &i, QString &out)
{
    if (f[i] == QLatin1Char('"')) {
        const qsizetype fine = f.indexOf(QLatin1Char('"'), i + 1);
        if (fine < 0) return false;
        out += f.mid(i + 1, fine - i - 1);
        i = fine + 1;
        return true;
    }
    if (f[i] == QLatin1Char('\\') && i + 1 < f.size()) {
        out += f[i + 1];
        i += 2;
        return true;
    }
    return false;
}

void aggiungiTesto(FormatoJet &f, const QString &t)
{
    if (t.isEmpty()) return;
    if (!f.parti.empty() && f.parti.back().pezzo == Pezzo::Testo) f.parti.back().testo += t;
    else f.parti.push_back({Pezzo::Testo, t});
}

std::optional<FormatoJet> leggiData(QStringView p)
{
    FormatoJet f;
    f.genere = FormatoJet::Genere::Data;
    bool dopoOra = false;
    for (qsizetype i = 0; i < p.size();) {
        QString fisso;
        if (testoFisso(p, i, fisso)) {
            aggiungiTesto(f, fisso);
            continue;
        }
        const QChar c = p[i].toLower();
        qsizetype j = i;
        while (j < p.size() && p[j].toLower() == c) ++j;
        const qsizetype n = j - i;
        std::optional<Pezzo> pezzo;
        switch (c.unicode()) {
        case 'd':
            if (n <= 4) pezzo = std::array{Pezzo::Giorno, Pezzo::Giorno2, Pezzo::GiornoBreve, Pezzo::GiornoNome}[n - 1];
            break;
        case 'm':
            if (dopoOra && n <= 2) pezzo = n == 1 ? Pezzo::Minuto : Pezzo::Minuto2;
            else if (n <= 4) pezzo = std::array{Pezzo::Mese, Pezzo::Mese2, Pezzo::MeseBreve, Pezzo::MeseNome}[n - 1];
            break;
        case 'y':
            if (n == 2) pezzo = Pezzo::Anno2;
            if (n == 4) pezzo = Pezzo::Anno4;
            break;
        case 'h':
            if (n <= 2) pezzo = n == 1 ? Pezzo::Ora : Pezzo::Ora2;
            break;
        case 'n':
            if (n <= 2) pezzo = n == 1 ? Pezzo::Minuto : Pezzo::Minuto2;
            break;
        case 's':
            if (n <= 2) pezzo = n == 1 ? Pezzo::Secondo : Pezzo::Secondo2;
            break;
        default:
            if (!letterale(p[i])) return std::nullopt;
            aggiungiTesto(f, p.mid(i, n).toString());
            i = j;
            continue;
        }
        if (!pezzo) return std::nullopt;
        f.parti.push_back({*pezzo, {}});
        dopoOra = *pezzo == Pezzo::Ora || *pezzo == Pezzo::Ora2;
        i = j;
    }
    return f;
}

std::optional<FormatoJet> leggiNumero(QStringView p)
{
    FormatoJet f;
    f.genere = FormatoJet::Genere::Numero;
    enum { Prima, Cifre, Dopo } dove = Prima;
    bool decimali = false;
    for (qsizetype i = 0; i < p.size();) {
        QString fisso;
        if (testoFisso(p, i, fisso)) {
            if (dove == Cifre) dove = Dopo;
            (dove == Prima ? f.prima : f.dopo) += fisso;
            continue;
        }
        const QChar c = p[i];
        const bool cifra = c == QLatin1Char('0') || c == QLatin1Char('#');
        if (cifra || c == QLatin1Char('.') || (c == QLatin1Char(',') && dove != Dopo && !decimali)) {
            if (dove == Dopo) return std::nullopt; // one run of digits only
            dove = Cifre;
            if (c == QLatin1Char('.')) {
                if (decimali) return std::nullopt;
                decimali = f.virgola = true;
            } else if (c == QLatin1Char(',')) {
                // Grouping only between digit places (a trailing comma would scale by 1000).
                if (i + 1 >= p.size() || (p[i + 1] != QLatin1Char('#') && p[i + 1] != QLatin1Char('0'))) return std::nullopt;
                f.gruppi = true;
            } else if (decimali) {
                (c == QLatin1Char('0') ? f.fisse : f.facoltative) += 1;
            } else if (c == QLatin1Char('0')) {
                ++f.cifreIntere;
            }
            ++i;
            continue;
        }
        if (!letterale(c)) return std::nullopt;
        if (c == QLatin1Char('%')) f.percento = true;
        if (dove == Cifre) dove = Dopo;
        (dove == Prima ? f.prima : f.dopo) += c;
        ++i;
    }
    if (dove == Prima) return std::nullopt;
    return f;
}

bool haLettereData(QStringView p)
{
    for (qsizetype i = 0; i < p.size(); ++i) {
        QString ignora;
        if (testoFisso(p, i, ignora)) {
            --i;
            continue;
        }
        switch (p[i].toLower().unicode()) {
        case 'd': case 'm': case 'y': case 'h': case 'n': case 's': return true;
        default: break;
        }
    }
    return false;
}

QString cifre(UInt128 n)
{
    if (n == 0) return QStringLiteral("0");
    QString s;
    while (n > 0) {
        s.prepend(QChar(static_cast<char16_t>('0' + static_cast<int>(n % 10))));
        n /= 10;
    }
    return s;
}

// The number as an exact decimal: currency and whole numbers as they are, a double as the
// run-time shows it (15 digits).
std::optional<DecimalNumber> decimale(const Variant &v)
{
    switch (v.type()) {
    case Variant::Type::Currency: return v.toCurrency().toDecimal();
    case Variant::Type::Integer: case Variant::Type::Long: case Variant::Type::Boolean:
        return DecimalNumber{static_cast<Int128>(v.toLong()), 0};
    case Variant::Type::String:
        if (!v.isNumeric()) return std::nullopt;
        return DecimalNumber::fromDouble(v.toDouble());
    default: return DecimalNumber::fromDouble(v.toDouble());
    }
}

QString numero(const FormatoJet &f, const Variant &v)
{
    std::optional<DecimalNumber> d = decimale(v);
    if (!d) return v.text();
    if (f.percento) d->exponent += 2;
    const int n = f.fisse + f.facoltative;
    // value x 10^n, rounded halves away from zero as the run-time's Format does
    const int e = d->exponent + n;
    Int128 u;
    if (e >= 0) {
        if (e > 30) return testoJet(v);
        u = d->mantissa * pow10Int(e);
    } else {
        u = -e > 36 ? 0 : divideRounded(d->mantissa, pow10Int(-e), RoundMode::HalfAway);
    }
    const bool negativo = u < 0;
    const UInt128 a = static_cast<UInt128>(negativo ? -u : u);
    const UInt128 scala = static_cast<UInt128>(pow10Int(n));
    QString intera = cifre(a / scala);
    QString fraz = n > 0 ? cifre(a % scala) : QString();
    while (fraz.size() < n) fraz.prepend(QLatin1Char('0'));
    while (fraz.size() > f.fisse && fraz.endsWith(QLatin1Char('0'))) fraz.chop(1);
    if (intera == QLatin1String("0") && f.cifreIntere == 0) intera.clear();
    while (intera.size() < f.cifreIntere) intera.prepend(QLatin1Char('0'));
    if (f.gruppi)
        for (qsizetype i = intera.size() - 3; i > 0; i -= 3) intera.insert(i, QLatin1Char('.'));
    QString s = f.prima;
    if (negativo) s += QLatin1Char('-');
    s += intera;
    if (f.virgola) s += QLatin1Char(',') + fraz;
    return s + f.dopo;
}

QString due(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString data(const FormatoJet &f, const Variant &v)
{
    const QDateTime dt = v.toDate().toQDateTime();
    const QDate g = dt.date();
    const QTime t = dt.time();
    QString s;
    for (const FormatoJet::Parte &p : f.parti) {
        switch (p.pezzo) {
        case Pezzo::Testo: s += p.testo; break;
        case Pezzo::Giorno: s += QString::number(g.day()); break;
        case Pezzo::Giorno2: s += due(g.day()); break;
        case Pezzo::GiornoBreve: s += nomeGiorno(g.dayOfWeek() % 7 + 1, true); break;
        case Pezzo::GiornoNome: s += nomeGiorno(g.dayOfWeek() % 7 + 1, false); break;
        case Pezzo::Mese: s += QString::number(g.month()); break;
        case Pezzo::Mese2: s += due(g.month()); break;
        case Pezzo::MeseBreve: s += nomeMese(g.month(), true); break;
        case Pezzo::MeseNome: s += nomeMese(g.month(), false); break;
        case Pezzo::Anno2: s += due(g.year() % 100); break;
        case Pezzo::Anno4: s += QStringLiteral("%1").arg(g.year(), 4, 10, QLatin1Char('0')); break;
        case Pezzo::Ora: s += QString::number(t.hour()); break;
        case Pezzo::Ora2: s += due(t.hour()); break;
        case Pezzo::Minuto: s += QString::number(t.minute()); break;
        case Pezzo::Minuto2: s += due(t.minute()); break;
        case Pezzo::Secondo: s += QString::number(t.second()); break;
        case Pezzo::Secondo2: s += due(t.second()); break;
        }
    }
    return s;
}

} // namespace

QString nomeMese(int mese, bool breve)
{
    static const char *const nomi[] = {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio",
                                       "agosto", "settembre", "ottobre", "novembre", "dicembre"};
    const QString n = QString::fromLatin1(nomi[(mese - 1) % 12]);
    return breve ? n.left(3) : n;
}

QString nomeGiorno(int giorno, bool breve)
{
    static const char *const nomi[] = {"domenica", "lunedì", "martedì", "mercoledì", "giovedì", "venerdì", "sabato"};
    const QString n = QString::fromUtf8(nomi[(giorno - 1) % 7]);
    return breve ? n.left(3) : n;
}

std::optional<FormatoJet> leggiFormatoJet(QStringView formato)
{
    struct Nominato { const char *nome, *modello; };
    static const Nominato nominati[] = {
        {"Fixed", "0.00"}, {"Standard", "#,##0.00"}, {"Percent", "0.00%"}, {"Short Date", "dd/mm/yyyy"},
        {"Medium Date", "dd-mmm-yy"}, {"Long Date", "dddd d mmmm yyyy"}, {"Short Time", "hh:nn"},
        {"Long Time", "hh:nn:ss"},
    };
    for (const Nominato &n : nominati)
        if (formato.compare(QLatin1String(n.nome), Qt::CaseInsensitive) == 0)
            return leggiFormatoJet(QString::fromLatin1(n.modello));
    FormatoJet f;
    if (formato.isEmpty() || formato.compare(QLatin1String("General Number"), Qt::CaseInsensitive) == 0) return f;
    if (formato == QLatin1String(">")) {
        f.genere = FormatoJet::Genere::Maiuscolo;
        return f;
    }
    if (formato == QLatin1String("<")) {
        f.genere = FormatoJet::Genere::Minuscolo;
        return f;
    }
    if (haLettereData(formato)) return leggiData(formato);
    return leggiNumero(formato);
}

QString applicaFormatoJet(const FormatoJet &f, const Variant &v)
{
    switch (f.genere) {
    case FormatoJet::Genere::Generale: return testoJet(v);
    case FormatoJet::Genere::Maiuscolo: return testoJet(v).toUpper();
    case FormatoJet::Genere::Minuscolo: return testoJet(v).toLower();
    case FormatoJet::Genere::Numero: return numero(f, v);
    case FormatoJet::Genere::Data: return data(f, v);
    }
    return testoJet(v);
}
