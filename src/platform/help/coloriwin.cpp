#include "coloriwin.h"

#include <QGuiApplication>

bool coloreDiSistema(int32_t colore)
{
    return (static_cast<uint32_t>(colore) & 0x80000000u) != 0;
}

QColor coloreQt(int32_t colore)
{
    return coloreQt(colore, QGuiApplication::palette());
}

QColor coloreQt(int32_t colore, const QPalette &tavolozza)
{
    const auto c = static_cast<uint32_t>(colore);
    if (!coloreDiSistema(colore))
        return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu), static_cast<int>((c >> 16) & 0xFFu));
    switch (c & 0xFFu) {
    case 2: case 13: return tavolozza.color(QPalette::Highlight);            // caption, selection
    case 5: return tavolozza.color(QPalette::Base);                          // window background
    case 6: case 21: return tavolozza.color(QPalette::Shadow);
    case 7: return tavolozza.color(QPalette::WindowText);                    // menu text
    case 8: case 19: return tavolozza.color(QPalette::Text);                 // window text
    case 9: case 14: return tavolozza.color(QPalette::HighlightedText);
    case 1: case 12: return tavolozza.color(QPalette::Dark);                 // desktop, workspace
    case 0: case 3: case 16: return tavolozza.color(QPalette::Mid);          // scroll bars, shadows
    case 15: return tavolozza.color(QPalette::Button);                       // button face
    case 17: return tavolozza.color(QPalette::Disabled, QPalette::Text);     // grey text
    case 18: return tavolozza.color(QPalette::ButtonText);
    case 20: return tavolozza.color(QPalette::Light);
    case 22: return tavolozza.color(QPalette::Midlight);
    case 23: return tavolozza.color(QPalette::ToolTipText);
    case 24: return tavolozza.color(QPalette::ToolTipBase);
    default: return tavolozza.color(QPalette::Window);                       // menus, borders
    }
}
