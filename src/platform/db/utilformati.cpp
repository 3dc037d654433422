// UtilGenerali: display forms of account codes, dates and numbers.
#include "utilgenerali.h"

#include "decimal.h"

#include <QDateTime>

namespace {

// A number written by a pattern's parts: grouping, digits always shown after the decimal
// point, digits shown only when not zero.
QString numero(double v, bool gruppi, int fisse, int facoltative)
{
    const int decimali = fisse + facoltative;
    const double arrotondato = roundDecimals(v, decimali);
    std::string d = DecimalNumber::fromDouble(arrotondato).toString(); // "-1234.5"
    QString s = QString::fromStdString(d);
    bool negativo = s.startsWith(QLatin1Char('-'));
    if (negativo) s.remove(0, 1);
    QString intera = s.section(QLatin1Char('.'), 0, 0);
    QString fraz = s.contains(QLatin1Char('.')) ? s.section(QLatin1Char('.'), 1) : QString();
    while (fraz.size() < fisse) fraz.append(QLatin1Char('0'));
    while (fraz.size() > fisse && fraz.endsWith(QLatin1Char('0'))) fraz.chop(1);
    if (gruppi)
        for (qsizetype i = intera.size() - 3; i > 0; i -= 3) intera.insert(i, QLatin1Char('.'));
    if (negativo && (intera != QLatin1String("0") || !fraz.isEmpty())) intera.prepend(QLatin1Char('-'));
    return fraz.isEmpty() ? intera : intera + QLatin1Char(',') + fraz;
}

bool eData(const QString &f)
{
    const QString l = f.toLower();
    return l.contains(QLatin1String("dd")) || l.contains(QLatin1String("yy")) || l.contains(QLatin1String("hh"));
}

QString formatoQt(const QString &vb)
{
    QString f = vb.toLower();
    f.replace(QLatin1String("mm"), QLatin1String("MM"));  // month (VB writes minutes as "nn")
    f.replace(QLatin1String("nn"), QLatin1String("mm"));
    f.replace(QLatin1String("hh"), QLatin1String("HH"));
    return f;
}

} // namespace

namespace UtilGenerali {

QString FormattaValore(const Variant &valore, const QString &formato)
{
    if (valore.isBlank())
        return {};
    const QString f = formato.trimmed();
    if (f.compare(QLatin1String("conto"), Qt::CaseInsensitive) == 0) {
        const QString c = valore.text().trimmed();
        if (c.contains(QLatin1Char('-')) || c.size() <= 4) return c;
        return c.left(2) + QLatin1Char('-') + c.mid(2, 2) + QLatin1Char('-') + c.mid(4);
    }
    if (eData(f) && !f.contains(QLatin1Char('#')) && !f.contains(QLatin1Char('0'))) {
        try {
            return valore.toDate().toQDateTime().toString(formatoQt(f));
        } catch (const AppError &) {
            return valore.text();
        }
    }
    if (f.contains(QLatin1Char('#')) || f.contains(QLatin1Char('0'))) {
        if (!valore.isNumeric()) return valore.text();
        const qsizetype punto = f.indexOf(QLatin1Char('.'));
        const QString decimali = punto < 0 ? QString() : f.mid(punto + 1);
        return numero(valore.toDouble(), f.contains(QLatin1Char(',')), static_cast<int>(decimali.count(QLatin1Char('0'))),
                      static_cast<int>(decimali.count(QLatin1Char('^')) + decimali.count(QLatin1Char('#'))));
    }
    return valore.text();
}

QString CodiceConto(const Variant &valore, const QString &)
{
    QString c = valore.text().trimmed();
    c.remove(QLatin1Char('-'));
    return c;
}

QString MascheraNumero(const Variant &valore, int16_t decimali, const Variant &, bool soloMaschera, const QString &modello,
                       bool, const QString &, const QString &riempimento)
{
    const QChar r = riempimento.isEmpty() ? QLatin1Char('0') : riempimento.at(0);
    const QString maschera = decimali > 0 ? modello + QLatin1Char('.') + QString(decimali, r) : modello;
    if (soloMaschera)
        return maschera;
    return FormattaValore(valore.isBlank() ? Variant(0.0) : valore, maschera);
}

} // namespace UtilGenerali
