// The picking session of the user and the order locks it takes.
//
// The session row (LockGest type "V") names in Varie the process that holds it and, on
// PostgreSQL, its server session, so that a row left by a program that died (a crash, a power
// cut, a lost display) is told from a session that is still open: the same user then takes it
// over, with the order locks that session had taken while picking. A session that may be alive
// (on another machine without a server to ask, or a row that names no process) still refuses.
#include "controlloevamanu.h"

#include "apperror.h"
#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "processi.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

const QString kTipoSessione = QStringLiteral("V");
const QString kGestione = QStringLiteral("3");
// Stato of the session row: picking, or handing a group over to the run.
const QString kInPrelievo = QStringLiteral("0");
const QString kInEvasione = QStringLiteral("1");
const QString kDescrizione = QStringLiteral("Selezione ordini da evadere");

QString T(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }

// Varie of the session row: machine, process and its start; then the server session, if any.
// Empty when the process cannot tell its own start: the row then refuses like any row that
// names no process.
QString identitaSessione()
{
    const IdentitaProcesso p = QuestoProcesso();
    if (!p.valida())
        return {};
    QString testo = p.macchina + QLatin1Char(';') + QString::number(p.pid) + QLatin1Char(';') + p.avvio;
    const QString server = ggDbAzienda->SessioneServer(gsNomeConn);
    if (!server.isEmpty())
        testo += QLatin1Char(';') + server;
    return testo;
}

// Whether the session that wrote `varie` may still be open; only a session known to be over
// is not.
bool sessioneViva(const QString &varie)
{
    const QStringList parti = varie.split(QLatin1Char(';'));
    if (parti.size() < 3)
        return true;
    const IdentitaProcesso processo{parti.at(0), parti.at(1).toLongLong(), parti.at(2)};
    switch (StatoDelProcesso(processo)) {
    case StatoProcesso::Vivo:
        return true;
    case StatoProcesso::Terminato:
        return false;
    case StatoProcesso::Sconosciuto:
        break;
    }
    // another machine's process: the server knows whether its connection is still there
    if (parti.size() >= 4) {
        if (const std::optional<bool> attiva = ggDbAzienda->SessioneServerAttiva(parti.at(3), gsNomeConn))
            return *attiva;
    }
    return true;
}

QString diSessione(const QString &utente, int32_t numero)
{
    return QStringLiteral(" Where Tipo = 'O' And Gestione = ") + T(kGestione) + QStringLiteral(" And Utente = ") + T(utente) +
           QStringLiteral(" And PadreTipo = ") + T(kTipoSessione) + QStringLiteral(" And PadreAnno = 0 And PadreNumReg = ") +
           UtilGenerali::SqlValore(Variant(numero), 3);
}

// Order locks that a session stopped inside a run still holds: the recovery of that run needs
// them (and the user's staging rows).
bool ordiniDaRipristinare(const QString &utente, int32_t numero)
{
    GestRecordset rs;
    const QString alias =
        rs.Apri(*ggDbAzienda, gsNomeConn, {}, QStringLiteral("Select NumReg from LockGest") + diSessione(utente, numero));
    const bool ci = !rs.NessunRecord(alias);
    rs.Chiudi(alias);
    return ci;
}

} // namespace

// The same for every session of one user, so that two sessions starting together meet on the
// table's unique key; another user's row on the same number moves to the next one.
int32_t ControlloEvaManu::NumeroSessione(const QString &utente)
{
    const QByteArray nome = utente.toCaseFolded().toUtf8();
    uint32_t h = 2166136261u;
    for (const char c : nome) {
        h ^= static_cast<uint8_t>(c);
        h *= 16777619u;
    }
    return static_cast<int32_t>(h & 0x3FFFFFFFu) + 1;
}

bool ControlloEvaManu::PrendiSessione()
{
    if (SessioneAperta())
        return true;
    const QString utente = Utente();
    const QString identita = identitaSessione();
    int32_t numero = NumeroSessione(utente);
    // Set once a session of this user, over since it was picking, has been taken over.
    bool ripresa = false;
    for (int tentativi = 0; tentativi < 20; ++tentativi) {
        QString chiave, utenteLock, gestione = kGestione, varie = identita, stato;
        const int16_t esito = BloccaRecord(kInPrelievo, kTipoSessione, 0, numero, true, false, chiave, kDescrizione,
                                           utenteLock, gestione, varie, false, QString(), 0, 0, 0, stato)
                                  .toInteger();
        if (esito == EsitoBlocco::Preso) {
            msChiaveSessione = chiave;
            miNumeroSessione = numero;
            // its picks were never handed over: the orders go back to everyone
            if (ripresa)
                ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete from LockGest") + diSessione(utente, numero));
            return true;
        }
        if (esito == EsitoBlocco::InUso && !textEquals(utenteLock, utente)) {
            ggRecLock().Chiudi(chiave);
            ++numero;
            continue;
        }
        if (esito == EsitoBlocco::InUso && !sessioneViva(varie)) {
            if (textEquals(stato, kInEvasione) && ordiniDaRipristinare(utente, numero)) {
                ggRecLock().Chiudi(chiave);
                Messaggio(QStringLiteral("La selezione ordini da evadere dell'utente ") + utente +
                          QStringLiteral(" si è interrotta durante un'evasione.\r\nLanciare il programma di ripristino "
                                         "prima di riaprirla."));
                return false;
            }
            // the row as it was read; a session that took it meanwhile keeps its own
            try {
                SbloccaRecord(chiave, true);
            } catch (const AppError &e) {
                MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("PrendiSessione"));
                return false;
            }
            ripresa = !textEquals(stato, kInEvasione);
            continue;
        }
        ggRecLock().Chiudi(chiave);
        if (esito == EsitoBlocco::InUso || esito == EsitoBlocco::Conteso) {
            Messaggio(QStringLiteral("La selezione ordini da evadere è già aperta dall'utente ") + utente +
                      QStringLiteral(" in un'altra sessione.\r\nChiuderla prima di aprirne un'altra; se nessuno la sta "
                                     "usando sbloccarla con l'utility di sblocco."));
            return false;
        }
        const ErroreBlocco &e = UltimoErroreBlocco();
        MessaggioErrore(e.numero, e.descrizione);
        return false;
    }
    Messaggio(QStringLiteral("Impossibile registrare la sessione di selezione ordini da evadere"));
    return false;
}

namespace {

// A release the database refuses leaves the lock in place: the user is told.
void rilascia(QString &chiave) noexcept
{
    try {
        SbloccaRecord(chiave, true);
    } catch (const AppError &e) {
        try {
            ControlloEvaManu::MessaggioErrore(UtilGenerali::NumeroErrore(e), e.description(), QStringLiteral("SbloccaRecord"));
        } catch (...) {
            // A message that cannot be shown changes nothing of the lock.
        }
    }
}

} // namespace

bool ControlloEvaManu::SegnaSessioneInEvasione(bool inEvasione)
{
    if (!SessioneAperta())
        return false;
    QString utenteLock, gestione = kGestione, varie, stato;
    return BloccaRecord(inEvasione ? kInEvasione : kInPrelievo, kTipoSessione, 0, miNumeroSessione, false, false,
                        msChiaveSessione, kDescrizione, utenteLock, gestione, varie, false, QString(), 0, 0, 0, stato)
               .toInteger() == EsitoBlocco::Preso;
}

void ControlloEvaManu::RilasciaSessione() noexcept
{
    if (SessioneAperta())
        rilascia(msChiaveSessione);
    msChiaveSessione.clear();
    miNumeroSessione = 0;
}

void ControlloEvaManu::RegistraBloccoOrdine(int16_t anno, int32_t numRif, const QString &chiave)
{
    const auto k = std::make_pair(anno, numRif);
    const auto it = mBlocchiOrdini.find(k);
    if (it != mBlocchiOrdini.end() && it->second != chiave)
        ggRecLock().Chiudi(it->second);
    mBlocchiOrdini[k] = chiave;
}

bool ControlloEvaManu::BloccoDellaSessione(int16_t anno, int32_t numRif) const
{
    return mBlocchiOrdini.count(std::make_pair(anno, numRif)) > 0;
}

void ControlloEvaManu::RilasciaBloccoOrdine(int16_t anno, int32_t numRif) noexcept
{
    const auto it = mBlocchiOrdini.find(std::make_pair(anno, numRif));
    if (it == mBlocchiOrdini.end())
        return;
    QString chiave = it->second;
    mBlocchiOrdini.erase(it);
    rilascia(chiave);
}
