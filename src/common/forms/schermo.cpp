#include "schermo.h"

#include "utilgenerali.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {

std::optional<GeometriaSchermo> &geometriaDiProva()
{
    static std::optional<GeometriaSchermo> g;
    return g;
}

constexpr double kTwipsPerPollice = 1440.0;

} // namespace

GeometriaSchermo geometriaSchermo()
{
    if (geometriaDiProva())
        return *geometriaDiProva();
    GeometriaSchermo g;
    const QScreen *s = QGuiApplication::instance() ? QGuiApplication::primaryScreen() : nullptr;
    if (!s) {
        g.schermo = g.disponibile = QRect(0, 0, 800, 600);
        return g;
    }
    g.schermo = s->geometry();
    g.disponibile = s->availableGeometry();
    if (s->logicalDotsPerInchX() > 0)
        g.twipsPerPixelX = kTwipsPerPollice / s->logicalDotsPerInchX();
    if (s->logicalDotsPerInchY() > 0)
        g.twipsPerPixelY = kTwipsPerPollice / s->logicalDotsPerInchY();
    return g;
}

std::optional<GeometriaSchermo> impostaGeometriaSchermo(std::optional<GeometriaSchermo> g)
{
    std::swap(geometriaDiProva(), g);
    return g;
}

double TwipsPerPixelX()
{
    return geometriaSchermo().twipsPerPixelX;
}

double TwipsPerPixelY()
{
    return geometriaSchermo().twipsPerPixelY;
}

double ScreenWidth()
{
    const GeometriaSchermo g = geometriaSchermo();
    return g.schermo.width() * g.twipsPerPixelX;
}

double ScreenHeight()
{
    const GeometriaSchermo g = geometriaSchermo();
    return g.schermo.height() * g.twipsPerPixelY;
}

int PixelX(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixelX()));
}

int PixelY(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixelY()));
}

int TwipsX(int pixel)
{
    return static_cast<int>(std::lround(pixel * TwipsPerPixelX()));
}

int TwipsY(int pixel)
{
    return static_cast<int>(std::lround(pixel * TwipsPerPixelY()));
}

QRect PixelRect(const QRect &twips)
{
    return QRect(PixelX(twips.x()), PixelY(twips.y()), PixelX(twips.width()), PixelY(twips.height()));
}

double LeggiRisSchermo(int16_t &larghezza, int16_t &altezza)
{
    const GeometriaSchermo g = geometriaSchermo();
    larghezza = static_cast<int16_t>(g.schermo.width());
    altezza = static_cast<int16_t>(g.schermo.height());
    // single-precision quotients, as the screen procedures computed them
    const float x = static_cast<float>(larghezza) / 800.0f;
    const float y = static_cast<float>(altezza) / 600.0f;
    const Variant minimo = UtilGenerali::Minimo({Variant(static_cast<double>(x)), Variant(static_cast<double>(y))});
    const double fattore = UtilGenerali::ArrotondaValore(minimo, QStringLiteral("A"), 1, -2);
    return fattore == 0 ? 1.0 : fattore;
}

bool LeggiBarraApp(int16_t &bordo, int16_t &sempreInPrimoPiano, int32_t &top, int32_t &left, int32_t &right,
                   int32_t &bottom)
{
    const GeometriaSchermo g = geometriaSchermo();
    const QRect &s = g.schermo;
    const QRect &d = g.disponibile;
    // The panel's side is where the free area stops short of the screen; the bottom first,
    // where the Windows taskbar lives by default.
    QRect barra;
    if (d.bottom() < s.bottom()) {
        bordo = BordoBarra::Basso;
        barra = QRect(QPoint(s.left(), d.bottom() + 1), s.bottomRight());
    } else if (d.top() > s.top()) {
        bordo = BordoBarra::Alto;
        barra = QRect(s.topLeft(), QPoint(s.right(), d.top() - 1));
    } else if (d.left() > s.left()) {
        bordo = BordoBarra::Sinistra;
        barra = QRect(s.topLeft(), QPoint(d.left() - 1, s.bottom()));
    } else if (d.right() < s.right()) {
        bordo = BordoBarra::Destra;
        barra = QRect(QPoint(d.right() + 1, s.top()), s.bottomRight());
    } else {
        bordo = BordoBarra::Nessuno;
    }
    sempreInPrimoPiano = bordo == BordoBarra::Nessuno ? 0 : -1;
    if (bordo != BordoBarra::Nessuno) {
        top = barra.top();
        left = barra.left();
        right = barra.right() + 1;
        bottom = barra.bottom() + 1;
    }
    return g.barraAutoNascosta;
}

int32_t PosizioneSopraBarra()
{
    int16_t bordo = BordoBarra::Nessuno, sempre = 0;
    int32_t top = 0, left = 0, right = 0, bottom = 0;
    const bool nascosta = LeggiBarraApp(bordo, sempre, top, left, right, bottom);
    if (!nascosta && bordo == BordoBarra::Basso)
        return static_cast<int32_t>(std::lround(top * TwipsPerPixelX()));
    return static_cast<int32_t>(std::lround(ScreenHeight()));
}
