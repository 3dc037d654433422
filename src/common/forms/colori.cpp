#include "colori.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

namespace {

const char *const kProprieta = "BackColor";

QPalette::ColorRole ruoloDiSistema(uint32_t indice)
{
    switch (indice) {
    case 5: return QPalette::Base;          // window background
    case 8: return QPalette::Text;          // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;       // button face
    case 18: return QPalette::ButtonText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Window;
    }
}

} // namespace

QColor coloreQt(int32_t colore)
{
    const auto c = static_cast<uint32_t>(colore);
    if (c & 0x80000000u)
        return QGuiApplication::palette().color(ruoloDiSistema(c & 0xFFu));
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu), static_cast<int>((c >> 16) & 0xFFu));
}

void ImpostaBackColor(QWidget *controllo, int32_t colore)
{
    controllo->setProperty(kProprieta, colore);
    QPalette p = controllo->palette();
    p.setColor(QPalette::Base, coloreQt(colore));
    p.setColor(QPalette::Window, coloreQt(colore));
    controllo->setPalette(p);
}

int32_t BackColor(const QWidget *controllo)
{
    const QVariant v = controllo->property(kProprieta);
    return v.isValid() ? v.toInt() : static_cast<int32_t>(0x80000005u);
}

namespace UtilGenerali {

bool CercaCampoColore(const QWidget *form, int32_t colore, QString &nome, int16_t &indice)
{
    for (const QWidget *c : form->findChildren<QWidget *>()) {
        const QVariant v = c->property(kProprieta);
        if (!v.isValid() || v.toInt() != colore)
            continue;
        nome = c->objectName();
        const QVariant i = c->property("Index");
        indice = i.isValid() ? static_cast<int16_t>(i.toInt()) : int16_t{-1};
        return true;
    }
    return false;
}

} // namespace UtilGenerali
