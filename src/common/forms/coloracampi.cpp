#include "coloracampi.h"

#include "colori.h"
#include "contesto.h"
#include "controllidocumento.h"
#include "gestoreaiuto.h"

#include <QWidget>

namespace {

bool forzato(int16_t forza)
{
    return forza == -1;
}

} // namespace

void ColoraCampoAttivo(QWidget *controllo, int16_t forza)
{
    if (glColBackGotFocus != glColBackLostFocus) {
        for (QWidget *c : controllo->window()->findChildren<QWidget *>(QStringLiteral("txt"))) {
            if (BackColor(c) == glColBackGotFocus)
                ImpostaBackColor(c, glColBackLostFocus);
        }
    }
    if (forzato(forza) || BackColor(controllo) != glColErrore)
        ImpostaBackColor(controllo, glColBackGotFocus);
}

void ColoraCampoLasciato(QWidget *controllo, int16_t forza)
{
    if (forzato(forza) || BackColor(controllo) != glColErrore)
        ImpostaBackColor(controllo, glColBackLostFocus);
}

void ColoraPrefDdt(QWidget *casella)
{
    QString prefisso = TestoControllo(casella);
    ImpostaBackColor(casella, PrefDdtValido(prefisso, false) ? glColNormale : glColErrore);
}

void ColoraRegIvaVen(QWidget *casella)
{
    QString registro = TestoControllo(casella);
    ImpostaBackColor(casella, RegIvaVenValido(registro, true) ? glColNormale : glColErrore);
}
