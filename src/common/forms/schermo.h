#pragma once
// The screen and the taskbar as the program's forms are fitted to them. The geometry comes
// from the primary screen Qt reports: the area left free by the desktop's panels stands for
// the space above the Windows taskbar. Twips are 1440 a logical inch (15 a pixel at 96 dpi).
#include <QRect>
#include <cstdint>
#include <optional>

struct GeometriaSchermo {
    QRect schermo;               // the whole screen, pixels
    QRect disponibile;           // the part the panels leave free, pixels
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
    bool barraAutoNascosta = false; // a taskbar that hides itself takes no room
};

// The primary screen's geometry (800 x 600 without a screen), or the one a test set.
GeometriaSchermo geometriaSchermo();
// A test's screen in place of the real one (nullopt: the real one); returns the previous.
std::optional<GeometriaSchermo> impostaGeometriaSchermo(std::optional<GeometriaSchermo> g);

double TwipsPerPixelX();
double TwipsPerPixelY();
// Screen.Width and Screen.Height: the screen's size in twips.
double ScreenWidth();
double ScreenHeight();

// Twips to pixels and back on the screen, rounded; a rectangle of twips in pixels.
int PixelX(double twips);
int PixelY(double twips);
int TwipsX(int pixel);
int TwipsY(int pixel);
QRect PixelRect(const QRect &twips);

// Edges of the taskbar as LeggiBarraApp answers them.
namespace BordoBarra {
inline constexpr int16_t Nessuno = -1, Sinistra = 0, Alto = 1, Destra = 2, Basso = 3;
} // namespace BordoBarra

// The screen's size in pixels into the two arguments, and its factor: the smaller of
// width / 800 and height / 600, to hundredths (1024 x 768 gives 1.28); never 0.
double LeggiRisSchermo(int16_t &larghezza, int16_t &altezza);
// The taskbar: its edge (BordoBarra) and rectangle in pixels (right and bottom exclusive; the
// rectangle is left alone when there is none); always-on-top -1 when there is one, else 0.
// True when it hides itself.
bool LeggiBarraApp(int16_t &bordo, int16_t &sempreInPrimoPiano, int32_t &top, int32_t &left, int32_t &right,
                   int32_t &bottom);
// The lowest usable vertical position in twips: the screen's height, or the top of a taskbar
// docked at the bottom that does not hide itself.
int32_t PosizioneSopraBarra();
