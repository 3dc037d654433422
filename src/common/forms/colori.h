#pragma once
// Colours as the system keeps them: 32-bit 0x00BBGGRR values, or a system colour when the top
// bit is set (0x80000005 the window background, 0x8000000F the button face, 0x80000008 the
// window text). A control's background colour (BackColor) is set and read back in these terms.
#include <QColor>
#include <cstdint>

class QWidget;

QColor coloreQt(int32_t colore);
void ImpostaBackColor(QWidget *controllo, int32_t colore);
// The colour last set with ImpostaBackColor, the window background when none was.
int32_t BackColor(const QWidget *controllo);

class QString;

namespace UtilGenerali {
// Whether some control of the form has that background colour: the first such control gives
// its name and its index in its control array (-1 when it is in none).
bool CercaCampoColore(const QWidget *form, int32_t colore, QString &nome, int16_t &indice);
} // namespace UtilGenerali
