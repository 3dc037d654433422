#include "controlloevamanu.h"

#include "apperror.h"
#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "textcompare.h"
#include "transazioni.h"
#include "utilgenerali.h"

namespace {

const QString kStadio = QStringLiteral("0");
const QString kTipo = QStringLiteral("O");
const QString kGestione = QStringLiteral("3");

void esegui(const QString &sql) { ggDbAzienda->Esegui(gsNomeConn, sql); }

void chiudiBlocco(QString &chiave) noexcept
{
    if (!chiave.isEmpty())
        ggRecLock().Chiudi(chiave);
    chiave.clear();
}

QString testoOrdine(int16_t anno, int32_t numRif)
{
    return QStringLiteral("Ordini vendita n.rif ") + QString::number(numRif) + QStringLiteral(" anno ") + QString::number(anno);
}

// A failed staging leaves the order as if it had not been picked: its marks go back to "N".
void azzeraMarchi(int16_t anno, int32_t numRif) noexcept
{
    try {
        esegui(QStringLiteral("Update OrdVenEvaTest Set Selez = 'N', EvadeTutto = 'N' Where Utente = ") +
               ControlloEvaManu::UtenteSql() + QStringLiteral(" And Anno = ") + UtilGenerali::SqlValore(Variant(anno), 2) +
               QStringLiteral(" And NumRif = ") + UtilGenerali::SqlValore(Variant(numRif), 3));
    } catch (const AppError &) {
    }
}

void stadia(const OrdineDaPrelevare &o)
{
    esegui(sqlPrelievo::CancellaRighe(o.utente, o.anno, o.numRif));
    esegui(sqlPrelievo::InserisciRighe(o));
    if (o.gesTaglie)
        esegui(sqlPrelievo::InserisciRiepiloghi(o));
    esegui(sqlPrelievo::CancellaSpese(o.utente, o.anno, o.numRif));
    esegui(sqlPrelievo::InserisciSpese(o));
}

} // namespace

// The lock loop: the order locked by this session (now or before), given up, or failed.
ControlloEvaManu::EsitoPrelievo ControlloEvaManu::BloccaOrdineDelGruppo(int16_t anno, int32_t numRif)
{
    const QString testo = testoOrdine(anno, numRif);
    QString chiave;
    for (;;) {
        QString titolare, gestione = kGestione, varie, statoLock;
        // the session row is the lock's parent: a session taken over after its program died
        // frees the order locks it had taken
        const int16_t esito = BloccaRecord(kStadio, kTipo, anno, numRif, true, false, chiave, QStringLiteral("L' Ordine"),
                                           titolare, gestione, varie, false, QStringLiteral("V"), 0,
                                           NumeroSessioneAperta(), 0, statoLock)
                                  .toInteger();
        if (esito == EsitoBlocco::Preso) {
            // The lock's record set stays open: through it the session frees this very row.
            RegistraBloccoOrdine(anno, numRif, chiave);
            return EsitoPrelievo::Prelevato;
        }
        if (esito == EsitoBlocco::InUso || esito == EsitoBlocco::Conteso) {
            if (textEquals(titolare, Utente()) && textEquals(gestione, kGestione) && BloccoDellaSessione(anno, numRif)) {
                chiudiBlocco(chiave);
                return EsitoPrelievo::Prelevato;
            }
            if (frmMsgCom::msgCom(testo + QStringLiteral(" in uso da ") + titolare, QStringLiteral("Riprova"),
                                  Variant(QStringLiteral("Esci"))) == 1)
                continue;
            chiudiBlocco(chiave);
            return EsitoPrelievo::Rinuncia;
        }
        const ErroreBlocco &errore = UltimoErroreBlocco();
        chiudiBlocco(chiave);
        Messaggio(QStringLiteral("Errore N°") + QString::number(errore.numero) + QStringLiteral(" : ") + errore.descrizione +
                  QStringLiteral(" in ") + testo);
        return EsitoPrelievo::Fallito;
    }
}

ControlloEvaManu::EsitoPrelievo ControlloEvaManu::PrelevaOrdine(const OrdineDaPrelevare &o)
{
    const EsitoPrelievo blocco = BloccaOrdineDelGruppo(o.anno, o.numRif);
    if (blocco != EsitoPrelievo::Prelevato) {
        // "Esci", or a lock that could not be taken (already told): nothing locked or staged.
        azzeraMarchi(o.anno, o.numRif);
        return blocco;
    }
    // The order's rows go in whole or not at all.
    try {
        IniziaTransazione();
        stadia(o);
        ConfermaTransazione();
    } catch (const AppError &e) {
        try {
            AnnullaTransazione();
        } catch (const AppError &) {
        }
        try {
            RilasciaOrdine(o.anno, o.numRif);
        } catch (const AppError &) {
        }
        azzeraMarchi(o.anno, o.numRif);
        MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("AfterUpdate"));
        return EsitoPrelievo::Fallito;
    }
    return EsitoPrelievo::Prelevato;
}

void ControlloEvaManu::RilasciaOrdine(int16_t anno, int32_t numRif)
{
    const QString io = Utente();
    esegui(sqlPrelievo::CancellaRighe(io, anno, numRif));
    esegui(sqlPrelievo::CancellaSpese(io, anno, numRif));

    QString chiave, titolare, gestione = kGestione, varie, statoLock;
    const int16_t esito = BloccaRecord(kStadio, kTipo, anno, numRif, true, false, chiave, QStringLiteral("Il Doc"), titolare,
                                       gestione, varie, true, QString(), 0, 0, 0, statoLock)
                              .toInteger();
    chiudiBlocco(chiave);
    const bool mio = textEquals(titolare, io) && textEquals(gestione, kGestione);
    if (esito == EsitoBlocco::Preso && mio) {
        // Only the row this session stored; a lock of the same user taken elsewhere stays.
        RilasciaBloccoOrdine(anno, numRif);
    } else if (esito != EsitoBlocco::Assente && esito != EsitoBlocco::Preso && mio) {
        const ErroreBlocco &errore = UltimoErroreBlocco();
        Messaggio(QStringLiteral("Errore N°") + QString::number(errore.numero) +
                  QStringLiteral(" Errore nella riapertura del recordset di") + QStringLiteral(" lock, Movimento n.rif ") +
                  QString::number(numRif) + QStringLiteral(" anno ") + QString::number(anno) + QStringLiteral(" in uso da ") +
                  titolare + QStringLiteral(" : ") + errore.descrizione);
    }
}
