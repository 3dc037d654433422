// The order selection cut into groups of orders that can go into the same documents, the
// staging of a group in OrdVenEvaTest and its release.
#include "controlloevamanu.h"

#include "blocchi.h"
#include "campirot.h"
#include "connessionedb.h"
#include "contesto.h"
#include "gestoreaiuto.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"
#include "vistaevamanu.h"

bool ControlloEvaManu::EstraeOrdiniCoerenti()
{
    mbOrdAperto = false;
    GestRecordset &rs = mgRecManu();
    if (rs.Eof(msAliasOrdini)) {
        m_vista.Chiudi();
        return false;
    }
    bool esito = false;
    try {
        // A group is never staged over rows left by the previous one.
        if (!CancellaAppo()) {
            m_vista.Chiudi();
            return false;
        }
        msAliasEvaTest = rs.Apri(*ggDbAzienda, gsNomeConn, {}, QStringLiteral("Select * from OrdVenEvaTest where false"),
                                 false, dbOpenDynaset);
        scEvaOrdVen &eva = *ogEvaOrd;
        CampiRotLeggi(eva, rs, msAliasOrdini);
        // The group's orders share their currency: its decimals are those of prices and amounts.
        const QString moneta = rs.LeggiCampo(msAliasOrdini, u"OrdVenTest.Moneta").text();
        msMonetaOrdine = moneta.isEmpty() ? gsMonetaDitta : moneta;

        // The rate of a group whose currency is not an EU one.
        mtDataCambio = Date();
        if (!eSi(rs.LeggiCampo(msAliasOrdini, u"Monete.Cee"))) {
            mbCambioRichiesto = true;
            msMonetaGruppo = rs.LeggiCampo(msAliasOrdini, u"Monete.Moneta").text();
            double cambio = 0;
            Date data;
            const bool trovato = ggAiuto->LeggiCambio(msMonetaGruppo, Variant(eva.otDataEvasione), cambio, data).toBool();
            if (trovato)
                mtDataCambio = data;
            m_vista.MostraCambio(true, QStringLiteral("Cambio ") + msMonetaGruppo + QStringLiteral(":"),
                                 trovato ? Variant(cambio).toString() : QStringLiteral("0"),
                                 trovato ? QStringLiteral("Del ") + UtilGenerali::FormattaValore(Variant(data), QStringLiteral("dd/mm/yyyy"))
                                         : QString());
        } else {
            mbCambioRichiesto = false;
            msMonetaGruppo.clear();
            m_vista.MostraCambio(false, {}, {}, {});
        }

        const QString utente = Utente();
        bool primo = true;
        for (;;) {
            rs.AddNew(msAliasEvaTest);
            rs.ScriviCampo(msAliasEvaTest, u"Utente", Variant(utente));
            rs.ScriviCampo(msAliasEvaTest, u"Anno", rs.LeggiCampo(msAliasOrdini, u"OrdVenTest.Anno"));
            rs.ScriviCampo(msAliasEvaTest, u"NumRif", rs.LeggiCampo(msAliasOrdini, u"OrdVenTest.NumRif"));
            rs.ScriviCampo(msAliasEvaTest, u"Selez", Variant(QStringLiteral("N")));
            rs.ScriviCampo(msAliasEvaTest, u"EvadeTutto", Variant(QStringLiteral("N")));
            rs.Update(msAliasEvaTest);
            if (primo) {
                primo = false;
                const QString descrizione = rs.LeggiCampo(msAliasOrdini, u"PianoConti.Descrizione").text();
                m_vista.MostraCliente(descrizione.isEmpty() ? rs.LeggiCampo(msAliasOrdini, u"OrdVenTest.RagSocCli").text()
                                                            : descrizione);
                mbOrdAperto = eSi(rs.LeggiCampo(msAliasOrdini, u"OrdVenTest.OrdAperto"));
            }
            rs.MoveNext(msAliasOrdini);
            if (rs.Eof(msAliasOrdini))
                break;
            CampiRotNew2Old(eva);
            CampiRotLeggi(eva, rs, msAliasOrdini);
            if (CampiRotDiversi(eva))
                break;
        }
        rs.Chiudi(msAliasEvaTest);

        // The header layout closes the form when the group shows no order.
        m_vista.Imposta_Griglia_Testa();
        if (!mbScaricata) {
            m_vista.Imposta_Griglia_Corpo();
            m_vista.Imposta_Griglia_Spese();
        }
        esito = !mbScaricata;
    } catch (const AppError &e) {
        rs.Chiudi(msAliasEvaTest);
        MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("EstraeOrdiniCoerenti"));
        // Grids that no longer match the staging are not left in the user's hands.
        m_vista.Chiudi();
        return false;
    }
    return esito;
}

bool ControlloEvaManu::CancellaAppo()
{
    // The locks this session took, each released only while its row is still this user's
    // picking lock; a row found in other hands is reported and left alone.
    while (!mBlocchiOrdini.empty()) {
        const auto [anno, numRif] = mBlocchiOrdini.begin()->first;
        try {
            QString chiave, utenteLock, gestione = QStringLiteral("3"), varie, stato;
            const int16_t esito = BloccaRecord(QStringLiteral("0"), QStringLiteral("O"), anno, numRif, true, false, chiave,
                                               QStringLiteral("Il Doc"), utenteLock, gestione, varie, true, QString(), 0,
                                               0, 0, stato)
                                      .toInteger();
            ggRecLock().Chiudi(chiave);
            if (esito == EsitoBlocco::Preso && textEquals(utenteLock, Utente()) && textEquals(gestione, u"3")) {
                RilasciaBloccoOrdine(anno, numRif);
                continue;
            }
            if (esito != EsitoBlocco::Assente) {
                const ErroreBlocco &e = UltimoErroreBlocco();
                Messaggio(QStringLiteral("Errore N°") + QString::number(e.numero) +
                          QStringLiteral(" Errore nella riapertura del recordset di") +
                          QStringLiteral(" lock, Movimento n.rif ") + QString::number(numRif) + QStringLiteral(" anno ") +
                          QString::number(anno) + QStringLiteral(" in uso da ") + utenteLock + QStringLiteral(" : ") +
                          e.descrizione);
            }
        } catch (const AppError &e) {
            MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("CancellaAppo"));
        }
        // Not this session's any more: forget it without touching the row.
        ggRecLock().Chiudi(mBlocchiOrdini.begin()->second);
        mBlocchiOrdini.erase(mBlocchiOrdini.begin());
    }

    const QString utente = UtenteSql();
    try {
        ggDbAzienda->Esegui(gsNomeConn,
                            QStringLiteral("Delete * from OrdVenEvaTest ") + QStringLiteral(" WHERE OrdVenEvaTest.Utente=") + utente);
        ggDbAzienda->Esegui(gsNomeConn,
                            QStringLiteral("Delete * from OrdVenEvaDett ") + QStringLiteral(" WHERE OrdVenEvaDett.Utente=") + utente);
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete * from OrdVenEvaSpese ") +
                                            QStringLiteral(" WHERE OrdVenEvaSpese.Utente=") + utente);
    } catch (const AppError &e) {
        MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("CancellaAppo"));
        return false;
    }
    return true;
}
