#include "layoutmsgcom.h"

namespace {

constexpr int kSpazioPulsante = 400; // room beside each button
constexpr int kSopraPulsanti = 290;  // between the message and the buttons
constexpr int kSottoPulsanti = 150;  // under the buttons

} // namespace

LayoutMsgCom calcolaLayoutMsgCom(const MisureMsgCom &m)
{
    LayoutMsgCom l;
    const int w = m.larghezzaPulsante;
    const int n = m.pulsanti;

    l.larghezza = static_cast<int>(m.larghezzaSchermo * m.piLargForm / 100);
    l.larghezzaInterna = l.larghezza - m.bordoLaterale;
    const int riga = n * (w + kSpazioPulsante);

    QSize etichetta = m.misuraMessaggio(0);
    const int lati = etichetta.width() + m.piLatiForm;
    const bool decidonoPulsanti = riga > lati;
    if (decidonoPulsanti) {
        l.larghezza = riga + m.bordoLaterale;
    } else if (lati > l.larghezzaInterna) {
        l.aCapo = true;
        etichetta = QSize(l.larghezzaInterna, m.misuraMessaggio(l.larghezzaInterna).height());
    } else {
        l.larghezza = lati + m.bordoLaterale;
    }
    l.larghezzaInterna = l.larghezza - m.bordoLaterale;

    const int altezzaChiesta = m.bordoVerticale + m.topEtichetta + etichetta.height() + kSopraPulsanti +
                               m.altezzaPulsante + kSottoPulsanti;
    int topPulsanti = 0;
    // A window cannot grow taller than the room above the taskbar: the message then scrolls.
    if (altezzaChiesta > m.altezzaUtile || m.sempreTesto) {
        l.casellaTesto = true;
        l.altezza = m.altezzaUtile;
        l.altezzaInterna = l.altezza - m.bordoVerticale;
        topPulsanti = l.altezzaInterna - m.altezzaPulsante - kSopraPulsanti;
        const int larghezzaTesto = l.larghezzaInterna;
        l.testo = QRect((l.larghezzaInterna - larghezzaTesto) / 2, m.topTesto, larghezzaTesto,
                        topPulsanti - m.topTesto - kSopraPulsanti);
    } else {
        topPulsanti = m.topEtichetta + etichetta.height() + kSopraPulsanti;
        l.altezza = m.bordoVerticale + topPulsanti + m.altezzaPulsante + kSottoPulsanti;
        l.altezzaInterna = l.altezza - m.bordoVerticale;
        l.etichetta = QRect((l.larghezzaInterna - etichetta.width()) / 2, m.topEtichetta, etichetta.width(),
                            etichetta.height());
    }

    l.distanza = decidonoPulsanti ? kSpazioPulsante : (l.larghezzaInterna - n * w) / n;
    int sinistra = l.distanza / 2;
    for (int i = 0; i < n; ++i) {
        l.pulsanti.emplace_back(sinistra, topPulsanti);
        sinistra += w + l.distanza;
    }
    return l;
}
