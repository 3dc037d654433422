// "&Prosegui >>>": the hand-over of the picked group to the run.
#include "controlloevamanu.h"

#include "confrontaarrotondati.h"
#include "connessionedb.h"
#include "contesto.h"
#include "parametri.h"
#include "presentazione.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "vistaevamanu.h"

namespace {

int16_t segno(double valore) { return ConfrontaArrotondati(Variant(valore), Variant(0.0), -8); }

// Buttons, hourglass and guard back as they were, on every way out.
class FineProsegui {
public:
    FineProsegui(ControlloEvaManu &c) : m_c(c) {}
    ~FineProsegui()
    {
        m_c.mbProseguiInCorso = false;
        try {
            if (m_abilita)
                m_c.vista().AbilitaPulsanti(true);
            ClessidraEvasione(false);
        } catch (...) {
        }
    }
    FineProsegui(const FineProsegui &) = delete;
    FineProsegui &operator=(const FineProsegui &) = delete;
    // The form is gone: nothing left to enable.
    void formChiusa() { m_abilita = false; }

private:
    ControlloEvaManu &m_c;
    bool m_abilita = true;
};

// The next group staged, and the keys back on "Sel." of its first order.
void ProssimoGruppo(ControlloEvaManu &c, FineProsegui &fine)
{
    if (c.EstraeOrdiniCoerenti())
        c.vista().FuocoSulPrimoOrdine();
    else
        fine.formChiusa();
}

} // namespace

ControlloEvaManu::EsitoControlli ControlloEvaManu::ControllaRigheDaEvadere()
{
    EsitoControlli esito;
    GestRecordset rs;
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                                  QStringLiteral("Select QtaDaEva, Qta, QtaEvasa, ASaldo, Articolo from OrdVenEvaDett") +
                                      QStringLiteral(" Where Utente = ") + UtenteSql() +
                                      QStringLiteral(" And Livello1 <> ") + UtilGenerali::SqlValore(Variant("*liv"), 8) +
                                      QStringLiteral(" Order by Anno, NumRif, RigDet, Livello1, Livello2"),
                                  false, dbOpenSnapshot);
    for (; !rs.Eof(alias); rs.MoveNext(alias)) {
        const double q = UtilGenerali::ValoreNumerico(rs.LeggiCampo(alias, u"QtaDaEva"));
        const Variant vT = rs.LeggiCampo(alias, u"Qta");
        const double t = UtilGenerali::ValoreNumerico(vT);
        const double aperta = t - UtilGenerali::ValoreNumerico(rs.LeggiCampo(alias, u"QtaEvasa"));
        const bool aSaldo = textEquals(rs.LeggiCampo(alias, u"ASaldo").text(), u"S");
        if (segno(q) < 0) {
            if (vT.isNull() || segno(t) >= 0) {
                esito.rifiuto = QStringLiteral("Non è possibile evadere Quantità negative");
                return esito;
            }
            // A negative line goes whole: what is still open of it.
            if (ConfrontaArrotondati(Variant(q), Variant(aperta), -8) != 0) {
                esito.rifiuto = QStringLiteral("Non è possibile evadere parzialmente Quantità negative");
                return esito;
            }
        }
        const bool negativaIntera = segno(q) < 0 && !vT.isNull() && segno(t) < 0;
        if (segno(q) > 0 || negativaIntera ||
            (aSaldo && ((!vT.isNull() && segno(t) != 0) || !UtilGenerali::Vuoto(rs.LeggiCampo(alias, u"Articolo")))))
            esito.lavoro = true;
        if (segno(q) > 0 || negativaIntera)
            esito.soloASaldo = false;
    }
    return esito;
}

void ControlloEvaManu::ComProsegui_Click()
{
    if (mbProseguiInCorso)
        return;
    mbProseguiInCorso = true;
    FineProsegui fine(*this);
    ClessidraEvasione(true);

    try {
        m_vista.SalvaModifichePendenti();
        m_vista.ElaboraEventi();
        m_vista.AbilitaPulsanti(false);

        const EsitoControlli controlli = ControllaRigheDaEvadere();
        if (!controlli.rifiuto.isEmpty()) {
            Messaggio(controlli.rifiuto);
            return;
        }
        if (!controlli.lavoro) {
            // Nothing to hand over: the next group.
            ProssimoGruppo(*this, fine);
            return;
        }

        scEvaOrdVen &eva = *ogEvaOrd;
        if (mbCambioRichiesto) {
            const double cambio = UtilGenerali::ValoreNumerico(Variant(m_vista.TestoCambio()), true);
            if (segno(cambio) <= 0) {
                Messaggio(QStringLiteral("E' obbligatorio inserire il cambio"));
                m_vista.PreparaCampoCambio();
                return;
            }
            eva.ogCambi().setValore(msMonetaGruppo, true, cambio);
            eva.ogCambi().setData(msMonetaGruppo, true, Variant(mtDataCambio));
        }

        // The summary rows stand for their level rows only while the user picks: the run
        // reads the level rows.
        if (eSi(LeggiParamMenu(QStringLiteral("Mag.GesTaglie"))))
            ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete * from OrdVenEvaDett ") +
                                                QStringLiteral(" WHERE OrdVenEvaDett.Utente=") + UtenteSql() +
                                                QStringLiteral(" And Livello1 = ") +
                                                UtilGenerali::SqlValore(Variant("*liv"), 8));

        // While the run works, a program that dies leaves its orders to the recovery: the
        // session row says so to the next session of the user.
        if (!SegnaSessioneInEvasione(true)) {
            Messaggio(QStringLiteral("La sessione di selezione ordini da evadere non risulta più aperta: chiudere la "
                                     "selezione e riaprirla."));
            return;
        }
        eva.obSoloASaldo = controlli.soloASaldo;
        bool completata = false;
        try {
            completata = eva.LanciaEvasioneOrdVen(mbOrdAperto);
        } catch (...) {
            SegnaSessioneInEvasione(false);
            throw;
        }
        SegnaSessioneInEvasione(false);
        if (!completata) {
            // The run stopped part-way: its orders may be partly done, so the group is not
            // offered again and no further group is run over what it left behind.
            CancellaAppo();
            Messaggio(QStringLiteral("L'evasione del gruppo di ordini non è stata completata: la selezione viene chiusa.") +
                      QStringLiteral("\r\nControllare i messaggi dell'elaborazione; se richiesto lanciare il programma di ") +
                      QStringLiteral("ripristino."));
            fine.formChiusa();
            m_vista.Chiudi();
            return;
        }
        ProssimoGruppo(*this, fine);
    } catch (const AppError &e) {
        MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("ComProsegui_Click"));
    }
}
