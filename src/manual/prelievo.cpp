#include "prelievo.h"

#include "apperror.h"
#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "textcompare.h"
#include "transazioni.h"
#include "utilgenerali.h"

namespace {

const QString kStadio = QStringLiteral("0");
const QString kTipo = QStringLiteral("O");
const QString kGestione = QStringLiteral("3");

QString utente() { return ggMenuClient->NomeUtente(); }

void esegui(const QString &sql) { ggDbAzienda->Esegui(gsNomeConn, sql); }

void chiudiBlocco(QString &chiave) noexcept
{
    if (!chiave.isEmpty())
        ggRecLock().Chiudi(chiave);
    chiave.clear();
}

QString testoErrore(const AppError &e, const QString &dove)
{
    return QStringLiteral("Errore N° ") + QString::number(UtilGenerali::NumeroErrore(e)) + QStringLiteral(": ") +
           e.description() + QStringLiteral(" in EvasioneManuale (") + dove + QStringLiteral(")");
}

} // namespace

QString PrelievoOrdini::TestoOrdine(int16_t anno, int32_t numRif)
{
    return QStringLiteral("Ordini vendita n.rif ") + QString::number(numRif) + QStringLiteral(" anno ") + QString::number(anno);
}

Variant PrelievoOrdini::OraDelBlocco(int16_t anno, int32_t numRif)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                              QStringLiteral("Select Ora from LockGest Where Tipo = ") + UtilGenerali::SqlValore(Variant(kTipo), 8) +
                                  QStringLiteral(" AND Anno = ") + UtilGenerali::SqlValore(Variant(anno), 2) +
                                  QStringLiteral(" AND NumReg = ") + UtilGenerali::SqlValore(Variant(numRif), 3));
    return rs.NessunRecord(a) ? Variant::null() : rs.ValoreCampo(a, u"Ora");
}

bool PrelievoOrdini::BloccoDiSessione(int16_t anno, int32_t numRif) const
{
    const auto it = m_blocchi.find({anno, numRif});
    if (it == m_blocchi.end())
        return false;
    try {
        const Variant ora = OraDelBlocco(anno, numRif);
        return !ora.isNull() && Variant::compare(ora, it->second).value_or(1) == 0;
    } catch (const AppError &) {
        return false;
    }
}

// The lock loop: the order locked by this session (now or before), given up, or failed.
PrelievoOrdini::Esito PrelievoOrdini::PrendiBlocco(const OrdineDaPrelevare &o)
{
    const QString testo = TestoOrdine(o.anno, o.numRif);
    QString chiave;
    for (;;) {
        QString titolare, gestione = kGestione, varie, statoLock;
        const int16_t esito = BloccaRecord(kStadio, kTipo, o.anno, o.numRif, true, false, chiave, QStringLiteral("L' Ordine"),
                                           titolare, gestione, varie, false, QString(), 0, 0, 0, statoLock)
                                  .toInteger();
        if (esito == EsitoBlocco::Preso) {
            try {
                m_blocchi[{o.anno, o.numRif}] = OraDelBlocco(o.anno, o.numRif);
            } catch (const AppError &) {
                SbloccaRecord(chiave, true);
                throw;
            }
            chiudiBlocco(chiave);
            return Esito::Prelevato;
        }
        if (esito == EsitoBlocco::InUso || esito == EsitoBlocco::Conteso) {
            if (textEquals(titolare, o.utente) && textEquals(gestione, kGestione) && BloccoDiSessione(o.anno, o.numRif)) {
                chiudiBlocco(chiave);
                return Esito::Prelevato;
            }
            if (frmMsgCom::msgCom(testo + QStringLiteral(" in uso da ") + titolare, QStringLiteral("Riprova"),
                                  Variant(QStringLiteral("Esci"))) == 1)
                continue;
            chiudiBlocco(chiave);
            return Esito::Rinuncia;
        }
        const ErroreBlocco &errore = UltimoErroreBlocco();
        chiudiBlocco(chiave);
        frmMsgCom::msgCom(QStringLiteral("Errore N°") + QString::number(errore.numero) + QStringLiteral(" : ") +
                              errore.descrizione + QStringLiteral(" in ") + testo,
                          QStringLiteral("&Ok"));
        return Esito::Fallito;
    }
}

void PrelievoOrdini::Stadia(const OrdineDaPrelevare &o)
{
    esegui(sqlPrelievo::CancellaRighe(o.utente, o.anno, o.numRif));
    esegui(sqlPrelievo::InserisciRighe(o));
    if (o.gesTaglie)
        esegui(sqlPrelievo::InserisciRiepiloghi(o));
    esegui(sqlPrelievo::CancellaSpese(o.utente, o.anno, o.numRif));
    esegui(sqlPrelievo::InserisciSpese(o));
}

PrelievoOrdini::Esito PrelievoOrdini::Preleva(const OrdineDaPrelevare &o)
{
    Esito blocco = Esito::Fallito;
    try {
        blocco = PrendiBlocco(o);
    } catch (const AppError &e) {
        frmMsgCom::msgCom(testoErrore(e, QStringLiteral("AfterUpdate")), QStringLiteral("&Ok"));
    }
    if (blocco != Esito::Prelevato) {
        // "Esci", or a lock that could not be taken (already told): nothing locked or staged.
        AzzeraMarchi(o.utente, o.anno, o.numRif);
        return blocco;
    }
    // The order's rows go in whole or not at all.
    try {
        IniziaTransazione();
        Stadia(o);
        ConfermaTransazione();
    } catch (const AppError &e) {
        try {
            AnnullaTransazione();
        } catch (const AppError &) {
        }
        AnnullaPrelievo(o);
        frmMsgCom::msgCom(testoErrore(e, QStringLiteral("AfterUpdate")), QStringLiteral("&Ok"));
        return Esito::Fallito;
    }
    return Esito::Prelevato;
}

// A failed staging leaves the order as if never picked: no rows, no lock, marks "N".
void PrelievoOrdini::AnnullaPrelievo(const OrdineDaPrelevare &o) noexcept
{
    try {
        Rilascia(o.anno, o.numRif);
    } catch (const AppError &) {
    }
    AzzeraMarchi(o.utente, o.anno, o.numRif);
}

void PrelievoOrdini::AzzeraMarchi(const QString &utente, int16_t anno, int32_t numRif) noexcept
{
    try {
        esegui(QStringLiteral("Update OrdVenEvaTest Set Selez = 'N', EvadeTutto = 'N' Where Utente = ") +
               UtilGenerali::SqlValore(Variant(utente), 8) + QStringLiteral(" And Anno = ") +
               UtilGenerali::SqlValore(Variant(anno), 2) + QStringLiteral(" And NumRif = ") +
               UtilGenerali::SqlValore(Variant(numRif), 3));
    } catch (const AppError &) {
    }
}

void PrelievoOrdini::Rilascia(int16_t anno, int32_t numRif)
{
    const QString io = utente();
    esegui(sqlPrelievo::CancellaRighe(io, anno, numRif));
    esegui(sqlPrelievo::CancellaSpese(io, anno, numRif));

    QString chiave, titolare, gestione = kGestione, varie, statoLock;
    const int16_t esito = BloccaRecord(kStadio, kTipo, anno, numRif, true, false, chiave, QStringLiteral("Il Doc"), titolare,
                                       gestione, varie, true, QString(), 0, 0, 0, statoLock)
                              .toInteger();
    const bool mio = textEquals(titolare, io) && textEquals(gestione, kGestione);
    if (esito == EsitoBlocco::Preso && mio) {
        // Only the row this session stored; a lock of the same user taken elsewhere stays.
        if (BloccoDiSessione(anno, numRif))
            SbloccaRecord(chiave, true);
        m_blocchi.erase({anno, numRif});
    } else if (esito != EsitoBlocco::Assente && esito != EsitoBlocco::Preso && mio) {
        const ErroreBlocco &errore = UltimoErroreBlocco();
        frmMsgCom::msgCom(QStringLiteral("Errore N°") + QString::number(errore.numero) +
                              QStringLiteral(" Errore nella riapertura del recordset di") + QStringLiteral(" lock, Movimento n.rif ") +
                              QString::number(numRif) + QStringLiteral(" anno ") + QString::number(anno) +
                              QStringLiteral(" in uso da ") + titolare + QStringLiteral(" : ") + errore.descrizione,
                          QStringLiteral("&Ok"));
    } else if (esito == EsitoBlocco::Assente) {
        m_blocchi.erase({anno, numRif});
    }
    chiudiBlocco(chiave);
}

void PrelievoOrdini::RilasciaTutti() noexcept
{
    const auto blocchi = m_blocchi;
    for (const auto &[chiave, ora] : blocchi) {
        try {
            QString alias, titolare, gestione = kGestione, varie, statoLock;
            const int16_t esito = BloccaRecord(kStadio, kTipo, chiave.first, chiave.second, true, false, alias,
                                               QStringLiteral("Il Doc"), titolare, gestione, varie, true, QString(), 0, 0, 0,
                                               statoLock)
                                      .toInteger();
            if (esito == EsitoBlocco::Preso && BloccoDiSessione(chiave.first, chiave.second))
                SbloccaRecord(alias, true);
            chiudiBlocco(alias);
        } catch (...) {
        }
    }
    m_blocchi.clear();
}
