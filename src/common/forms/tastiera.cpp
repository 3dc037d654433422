#include "tastiera.h"

#include "caselletesto.h"
#include "contesto.h"
#include "dialoghi.h"
#include "fuoco.h"
#include "menuclient.h"
#include "modhtmlhelp.h"
#include "tasti.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QWidget>

int16_t giUltimoTasto = 0;
int16_t giUltimoShift = 0;
bool gbInvioNelCampo = false;
DatiTrovaSostituisci TrovaSostituisci;

namespace {

QWidget *controlloAttivo()
{
    return QApplication::focusWidget();
}

// Whether the control is, or lies in, a data grid.
bool inGriglia(const QWidget *w)
{
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<const QAbstractItemView *>(w))
            return true;
    }
    return false;
}

// A multi-line box whose text is not wholly selected keeps its Enter.
bool invioNelMultiRiga(const QWidget *w)
{
    return w && eMultiRiga(w) && TestoCasella(w).size() != SelLength(w);
}

Qt::CaseSensitivity sensibilita()
{
    return TrovaSostituisci.Confronto.toInteger() == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// Asks a text; nullopt when the box is cancelled or left empty.
std::optional<QString> chiedi(const QString &prompt, const QString &predefinito)
{
    const std::optional<QString> r = dialoghi().InputBox(prompt, QString(), predefinito);
    if (!r || UtilGenerali::Vuoto(Variant(*r), 8, 1, false))
        return std::nullopt;
    return r;
}

// Find and replace in the active text box (Ctrl+Alt with F, S, PgUp, PgDn).
void trovaSostituisci(QWidget *casella, int16_t tasto, int16_t shift)
{
    int d = 0;
    int s0 = 0;
    QString t;
    if (tasto == Tasto::F || tasto == Tasto::S) {
        const auto cerca = chiedi(QStringLiteral("Stringa da cercare"), TrovaSostituisci.Cerca);
        if (!cerca)
            return;
        TrovaSostituisci.Cerca = *cerca;
        t = TestoCasella(casella);
        d = shift == 7 ? -1 : 1;
    }
    if (TrovaSostituisci.Cerca.isEmpty())
        return;
    if (tasto == Tasto::S) {
        const auto sostituto = chiedi(QStringLiteral("Sostituire con"), TrovaSostituisci.Sostituisci);
        if (!sostituto)
            return;
        TrovaSostituisci.Sostituisci = *sostituto;
    }
    if (tasto == Tasto::PagSu)
        d = -2;
    if (tasto == Tasto::PagGiu)
        d = 2;

    const QString &cercato = TrovaSostituisci.Cerca;
    const QString &sostituto = TrovaSostituisci.Sostituisci;
    bool sostituisciDopo = false;
    if (tasto == Tasto::S || (shift == 7 && (tasto == Tasto::PagSu || tasto == Tasto::PagGiu))) {
        if (textEquals(SelText(casella), cercato)) {
            const int inizio = SelStart(casella);
            SostituisciSelezione(casella, sostituto);
            Seleziona(casella, inizio, static_cast<int>(sostituto.size()));
            if (tasto == Tasto::S)
                d = shift == 7 ? -2 : 2;
        } else {
            sostituisciDopo = true;
        }
    }
    if (d == -2) {
        t = TestoCasella(casella).left(SelStart(casella));
        s0 = 0;
    } else if (d == 2) {
        t = TestoCasella(casella).mid(SelStart(casella) + 1);
        s0 = SelStart(casella) + 1;
    }
    const int32_t confronto = sensibilita() == Qt::CaseSensitive ? 0 : 1;
    const int p = d < 0 ? UtilGenerali::CercaIndietro(static_cast<int32_t>(t.size()), t, cercato, confronto)
                        : static_cast<int>(t.indexOf(cercato, 0, sensibilita())) + 1;
    if (p == 0) {
        dialoghi().MsgBox(QStringLiteral("Testo non trovato"), PulsantiMsg::Ok, IconaMsg::Nessuna, QString());
        return;
    }
    Seleziona(casella, p - 1 + s0, static_cast<int>(cercato.size()));
    if (sostituisciDopo) {
        SostituisciSelezione(casella, sostituto);
        Seleziona(casella, p - 1 + s0, static_cast<int>(sostituto.size()));
    }
}

} // namespace

Variant FiltraTasto(int16_t KeyAscii, QWidget *, int16_t, int16_t, int16_t, int16_t, int16_t, int16_t, int16_t)
{
    if (KeyAscii == u'.' && textEquals(gsTastierinoVirgola, u"S") && giUltimoTasto == Tasto::PuntoTastierino
        && giUltimoShift <= 0)
        return Variant(static_cast<int16_t>(u','));
    if ((KeyAscii == Tasto::Invio && !gbInvioNelCampo) || KeyAscii == Tasto::Esc)
        return Variant(int16_t(0));
    return Variant(KeyAscii);
}

Variant GestTastiCtrl(int16_t &KeyCode, int16_t Shift, QWidget *form, int16_t, int16_t, int16_t, int16_t, int16_t, int16_t,
                      const Variant &, int16_t invioEsceDaGriglia, int16_t invioRestaNelMultiRiga)
{
    if (GestioneF1(KeyCode, Shift, form, -1))
        return Variant(int16_t(1));
    int16_t risultato = 0;
    giUltimoTasto = KeyCode;
    giUltimoShift = Shift;

    if (Shift == kShiftCtrl || Shift == kShiftCtrl + kShiftMaiusc) {
        const int16_t k = Shift == kShiftCtrl ? KeyCode : static_cast<int16_t>(-KeyCode);
        const Variant risposta = ggMenuClient->InviaComando(QStringLiteral("TastiCtrl"), QStringLiteral("Tutti"), Variant(k));
        const QString a = risposta.text();
        if (Variant::compare(UtilGenerali::ValoreNonNullo(risposta, true, true), Variant(int16_t(1))) == 0) {
            KeyCode = 0;
            risultato = 1;
        } else if (a.startsWith(QLatin1Char('D')) || a.startsWith(QLatin1Char('N'))) {
            const QString x = a.mid(1).trimmed();
            QWidget *attivo = controlloAttivo();
            if (attivo && attivo->objectName() == QLatin1String("txt")) {
                if (eMultiRiga(attivo))
                    SostituisciSelezione(attivo, x);
                else
                    ImpostaTestoCasella(attivo, x);
            }
            if (form)
                form->activateWindow();
            KeyCode = 0;
            risultato = 1;
        }
    }

    if (Shift == kShiftCtrl + kShiftAlt || Shift == kShiftCtrl + kShiftAlt + kShiftMaiusc) {
        if (KeyCode == Tasto::WinDestro)
            TrovaSostituisci.Confronto = Variant(int16_t(Shift == 6 ? 1 : 0));
        if (TrovaSostituisci.Confronto.isEmpty())
            TrovaSostituisci.Confronto = Variant(int16_t(1));
        QWidget *casella = controlloAttivo();
        if (casella && eCasellaTesto(casella)
            && (KeyCode == Tasto::F || KeyCode == Tasto::S || KeyCode == Tasto::PagSu || KeyCode == Tasto::PagGiu)) {
            try {
                trovaSostituisci(casella, KeyCode, Shift);
            } catch (const AppError &) {
            }
            KeyCode = 0;
            return Variant(int16_t(1));
        }
    }

    if (KeyCode == Tasto::Invio && (Shift == 0 || Shift == kShiftMaiusc)) {
        try {
            QWidget *attivo = controlloAttivo();
            const bool resta = invioRestaNelMultiRiga != 0 && invioNelMultiRiga(attivo);
            gbInvioNelCampo = resta;
            if (!resta && (invioEsceDaGriglia == -1 || !inGriglia(attivo))) {
                SpostaFuoco(1, Shift);
                gbInvioNelCampo = false;
                KeyCode = 0;
                risultato = 1;
            }
        } catch (const AppError &) {
        }
    }
    return Variant(risultato);
}
