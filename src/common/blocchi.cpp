#include "blocchi.h"

#include "apperror.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "menuclient.h"
#include "testoerrore.h"
#include "textcompare.h"
#include "utilgenerali.h"

QString gsUltLock;

namespace {

const QString kStandard = QStringLiteral("Standard");
const QString kCrLf = QStringLiteral("\r\n");

ErroreBlocco gUltimoErrore;

bool chiaveStandard(const QString &chiave)
{
    return textEquals(chiave, kStandard);
}

// The suite's unlock utility that frees a lock left by the kind of procedure `gestione`.
QString utilitaSblocco(const QString &gestione)
{
    static const struct {
        const char16_t *gestione;
        const char16_t *utilita;
    } utilita[] = {
        {u"M", u"Movimenti Interrotti"},
        {u"D", u"DDT Interrotti"},
        {u"F", u"Fatture Interrotte"},
        {u"O", u"Ordini Vendita Interrotti"},
        {u"A", u"Ordini Acquisto Interrotti"},
        {u"P", u"Preventivi Interrotti"},
        {u"E", u"Evasione Ddt in fattura: Interrotta"},
        {u"0", u"Evasione Ddt in fattura: Interrotta"},
        {u"1", u"Ripristino Ddt da stampa: Interrotto"},
        {u"C", u"Prima Nota Interrotti"},
    };
    for (const auto &u : utilita) {
        if (textEquals(gestione, u.gestione))
            return QString::fromUtf16(u.utilita);
    }
    return {};
}

QString testoInUso(const QString &descr, int16_t anno, int32_t numero, const QString &utente, const QString &gestione)
{
    return descr + QStringLiteral(" (anno: ") + QString::number(anno) + QStringLiteral(" - Num.: ") +
           QString::number(numero) + QStringLiteral(") è in uso da:") + kCrLf + utente + kCrLf +
           QStringLiteral("Impossibile effettuare variazioni") + kCrLf +
           QStringLiteral("Se nessuno lo sta usando sbloccare con l'utility: ") + kCrLf + QStringLiteral("Gestione ") +
           utilitaSblocco(gestione);
}

QString sqlLock(const QString &tipo, int16_t anno, int32_t numero)
{
    return QStringLiteral("Select * from LockGest") + QStringLiteral(" Where Tipo = ") +
           UtilGenerali::SqlValore(Variant(tipo), 8) + QStringLiteral(" AND Anno = ") +
           UtilGenerali::SqlValore(Variant(anno), 2) + QStringLiteral(" AND NumReg = ") +
           UtilGenerali::SqlValore(Variant(numero), 3);
}

// The new lock row, stored.
void scriviLock(GestRecordset &rs, const QString &alias, const QString &stato, const QString &tipo, int16_t anno,
                int32_t numero, const QString &gestione, const QString &varie, const QString &padreTipo,
                int16_t padreAnno, int32_t padreNumero)
{
    rs.AddNew(alias);
    rs.ScriviCampo(alias, u"Tipo", Variant(tipo));
    rs.ScriviCampo(alias, u"Anno", Variant(anno));
    rs.ScriviCampo(alias, u"NumReg", Variant(numero));
    rs.ScriviCampo(alias, u"Utente", Variant(ggMenuClient->NomeUtente()));
    rs.ScriviCampo(alias, u"Stato", Variant(stato));
    rs.ScriviCampo(alias, u"Ora", Variant(Date::now()));
    rs.ScriviCampo(alias, u"Gestione", Variant(gestione));
    rs.ScriviCampo(alias, u"Varie", Variant(varie));
    rs.ScriviCampo(alias, u"PadreTipo", Variant(padreTipo));
    rs.ScriviCampo(alias, u"PadreAnno", Variant(padreAnno));
    rs.ScriviCampo(alias, u"PadreNumReg", Variant(padreNumero));
    rs.Update(alias);
}

} // namespace

GestRecordset &ggRecLock()
{
    static GestRecordset gestore;
    return gestore;
}

const ErroreBlocco &UltimoErroreBlocco()
{
    return gUltimoErrore;
}

Variant BloccaRecord(const QString &psStato, const QString &psTipo, int16_t piAnno, int32_t plNumReg, bool pbBlocca,
                     bool pbMessaggi, QString &psChiave, const QString &psDescr, QString &psUtenteLock,
                     QString &psGestione, QString &psVarie, bool pbSoloVerifica, const QString &psPadreTipo,
                     int16_t piPadreAnno, int32_t plPadreNumReg, int16_t piAmmettiPropri, QString &psStatoLock)
{
    if (pbSoloVerifica)
        pbBlocca = true;
    psUtenteLock.clear();
    psStatoLock.clear();
    const QString varieNuova = psVarie;
    psVarie.clear();
    gUltimoErrore = {};
    const bool standard = chiaveStandard(psChiave);
    QString alias = standard ? gsUltLock : psChiave;
    int16_t esito = EsitoBlocco::InUso;
    GestRecordset &rs = ggRecLock();
    try {
        if (!pbBlocca) {
            rs.Edit(alias);
            rs.ScriviCampo(alias, u"Stato", Variant(psStato));
            rs.Update(alias);
            esito = EsitoBlocco::Preso;
        } else {
            alias = rs.Apri(*ggDbAzienda, gsNomeConn, alias, sqlLock(psTipo, piAnno, plNumReg), false, dbOpenDynaset);
            if (rs.NessunRecord(alias)) {
                if (pbSoloVerifica) {
                    esito = EsitoBlocco::Assente;
                } else {
                    // The table's unique key decides between two takers: the second store fails.
                    scriviLock(rs, alias, psStato, psTipo, piAnno, plNumReg, psGestione, varieNuova, psPadreTipo,
                               piPadreAnno, plPadreNumReg);
                    rs.VaiUltimoModificato(alias);
                    esito = EsitoBlocco::Preso;
                }
            } else {
                psUtenteLock = rs.LeggiCampo(alias, u"Utente").text();
                psVarie = rs.LeggiCampo(alias, u"Varie").text();
                psStatoLock = rs.LeggiCampo(alias, u"Stato").text();
                psGestione = rs.LeggiCampo(alias, u"Gestione").text();
                if (textEquals(psUtenteLock, ggMenuClient->NomeUtente()) && piAmmettiPropri > 0) {
                    esito = pbSoloVerifica ? EsitoBlocco::Preso : EsitoBlocco::Proprio;
                } else if (pbSoloVerifica) {
                    esito = EsitoBlocco::Preso;
                } else if (pbMessaggi) {
                    frmMsgCom::msgCom(testoInUso(psDescr, piAnno, plNumReg, psUtenteLock, psGestione),
                                      QStringLiteral("&Ok"));
                }
            }
        }
    } catch (const AppError &e) {
        const int32_t numero = UtilGenerali::NumeroErrore(e);
        gUltimoErrore = {numero, descrizioneConOrigine(e)};
        esito = EsitoBlocco::Errore;
        try {
            if (numero == 3022 || numero == 3146) {
                esito = EsitoBlocco::Conteso;
                if (pbMessaggi)
                    dialoghi().MsgBox(psDescr + QStringLiteral(" è in uso") + kCrLf +
                                          QStringLiteral("Impossibile effettuare variazioni"),
                                      PulsantiMsg::Ok, IconaMsg::Errore, QString());
            } else if (pbMessaggi) {
                TestoErrore(Variant(e.description()), Variant(numero));
            }
        } catch (const AppError &) {
            // A message that cannot be shown changes nothing of the result.
        }
    }
    if (standard)
        gsUltLock = alias;
    else
        psChiave = alias;
    return Variant(esito);
}

namespace {

// The statement that deletes the lock row the key's set stands on, when it is still the row that
// was read and the current user's; empty when there is nothing of ours to delete (a key whose
// set is closed or empty is no failure).
QString sqlRilascio(GestRecordset &rs, const QString &chiave)
{
    try {
        if (rs.Eof(chiave) || rs.Bof(chiave))
            return {};
        // The row as it was read: another user's row, or a row stored anew after an unlock by
        // the suite's utility, does not match and stays.
        const Variant utente = rs.ValoreCampo(chiave, u"Utente");
        if (!textEquals(utente.text(), ggMenuClient->NomeUtente()))
            return {};
        // An empty user name may be stored as Null or as an empty text.
        const QString diUtente = utente.text().isEmpty() ? QStringLiteral(" AND (Utente Is Null Or Utente = '')")
                                                         : QStringLiteral(" AND Utente = ") + UtilGenerali::SqlValore(utente, 8);
        const Variant ora = rs.ValoreCampo(chiave, u"Ora");
        return QStringLiteral("Delete from LockGest Where Tipo = ") +
               UtilGenerali::SqlValore(rs.ValoreCampo(chiave, u"Tipo"), 8) + QStringLiteral(" AND Anno = ") +
               UtilGenerali::SqlValore(rs.ValoreCampo(chiave, u"Anno"), 2) + QStringLiteral(" AND NumReg = ") +
               UtilGenerali::SqlValore(rs.ValoreCampo(chiave, u"NumReg"), 3) + diUtente +
               (ora.isNull() ? QStringLiteral(" AND Ora Is Null") : QStringLiteral(" AND Ora = ") + UtilGenerali::SqlValore(ora, 7));
    } catch (const AppError &) {
        return {};
    }
}

} // namespace

void SbloccaRecord(QString &pvChiave, bool pbChiudi)
{
    GestRecordset &rs = ggRecLock();
    const QString sql = sqlRilascio(rs, pvChiave);
    const auto chiudi = [&] {
        if (pbChiudi) {
            rs.Chiudi(pvChiave);
            pvChiave.clear();
        }
    };
    try {
        // A delete the database refuses leaves the lock in place: the caller must know it.
        if (!sql.isEmpty())
            ggDbAzienda->Esegui(gsNomeConn, sql);
    } catch (const AppError &) {
        chiudi();
        throw;
    }
    chiudi();
}

void SbloccaRecord(bool pbChiudi)
{
    SbloccaRecord(gsUltLock, pbChiudi);
}

bool RiprovaBlocco(const QString &testo)
{
    return frmMsgCom::msgCom(testo, QStringLiteral("Riprova"), Variant(QStringLiteral("Esci"))) != 2;
}
