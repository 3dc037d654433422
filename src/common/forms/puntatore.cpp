#include "puntatore.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

int16_t gPuntatore = kPuntatorePredefinito;
int16_t gSalvato = kPuntatorePredefinito;
bool gSovrapposto = false;

Qt::CursorShape forma(int16_t puntatore)
{
    switch (puntatore) {
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 7: return Qt::SizeVerCursor;
    case 9: return Qt::SizeHorCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 99: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

int16_t MousePointer()
{
    return gPuntatore;
}

void ImpostaMousePointer(int16_t puntatore)
{
    gPuntatore = puntatore;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    if (puntatore == kPuntatorePredefinito) {
        if (gSovrapposto)
            QGuiApplication::restoreOverrideCursor();
        gSovrapposto = false;
    } else if (gSovrapposto) {
        QGuiApplication::changeOverrideCursor(QCursor(forma(puntatore)));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(forma(puntatore)));
        gSovrapposto = true;
    }
}

void Clessidra(bool acceso)
{
    if (acceso) {
        if (MousePointer() == kClessidra)
            return;
        gSalvato = MousePointer();
        ImpostaMousePointer(kClessidra);
    } else {
        ImpostaMousePointer(gSalvato);
    }
}
