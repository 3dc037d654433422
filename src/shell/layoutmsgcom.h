#pragma once
// The layout of the message dialog, in twips: how wide and tall it is, where the message and
// the buttons stand. Computed apart from the window so that its rules can be checked alone.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <functional>
#include <vector>

struct MisureMsgCom {
    double larghezzaSchermo = 12000; // Screen.Width
    int32_t altezzaUtile = 9000;     // the height usable above the taskbar
    int bordoLaterale = 0;           // dialog width - inner width
    int bordoVerticale = 0;          // dialog height - inner height
    int larghezzaPulsante = 1515;    // W (the width asked for, or button 1's)
    int altezzaPulsante = 435;
    int topEtichetta = 180;
    int topTesto = 120;
    int16_t piLargForm = 80;
    int16_t piLatiForm = 600;
    int pulsanti = 1;                // 1 to 3
    bool sempreTesto = false;
    // The message's size: on one line per line break when the width is 0, else wrapped at it.
    std::function<QSize(int larghezza)> misuraMessaggio;
};

struct LayoutMsgCom {
    int larghezza = 0;     // the dialog, borders included
    int altezza = 0;
    int larghezzaInterna = 0;
    int altezzaInterna = 0;
    bool casellaTesto = false; // the message in the scrolling text box
    bool aCapo = false;        // the label wraps at the inner width
    QRect etichetta;           // the label (label layout)
    QRect testo;               // the text box (text box layout)
    std::vector<QPoint> pulsanti; // each button's left and top
    int distanza = 0;          // the gap between buttons
};

LayoutMsgCom calcolaLayoutMsgCom(const MisureMsgCom &m);
