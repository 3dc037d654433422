#include "vistepostingqt.h"

#include "frmerraggmov.h"
#include "frminelab.h"
#include "puntatore.h"

#include <QApplication>

VistePostingQt::VistePostingQt() = default;
VistePostingQt::~VistePostingQt() = default;

VistaAvanzamento &VistePostingQt::formInElab()
{
    if (!m_inElab)
        m_inElab = std::make_unique<frmInElab>();
    return *m_inElab;
}

VistaAvanzamento *VistePostingQt::formAttiva()
{
    return dynamic_cast<VistaAvanzamento *>(QApplication::activeWindow());
}

void VistePostingQt::clessidra(bool acceso)
{
    Clessidra(acceso);
}

void VistePostingQt::mostraErrAggMov(const ContenutoErrAggMov &contenuto)
{
    frmErrAggMov form;
    form.riempi(contenuto);
    const int16_t puntatore = MousePointer();
    ImpostaMousePointer(kPuntatorePredefinito);
    form.exec();
    ImpostaMousePointer(puntatore);
}
