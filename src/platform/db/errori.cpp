#include "errori.h"

namespace {

QString descrizione(int32_t n)
{
    switch (n) {
    case ErrDb::ChiaveDuplicata:
        return QStringLiteral("Le modifiche richieste non sono state apportate perché avrebbero generato valori "
                              "duplicati nell'indice o nella chiave primaria");
    case ErrDb::FileNonTrovato: return QStringLiteral("Impossibile trovare il file");
    case ErrDb::SolaLettura: return QStringLiteral("Impossibile aggiornare. Il database o l'oggetto è di sola lettura");
    case ErrDb::PasswordNonValida: return QStringLiteral("Password non valida");
    case ErrDb::AccessoNegato: return QStringLiteral("Accesso negato: utente o password non validi");
    case ErrDb::ParametriInsufficienti: return QStringLiteral("Parametri insufficienti: un nome non è un campo delle tabelle");
    case ErrDb::CampoSconosciuto: return QStringLiteral("Nome di campo o espressione non riconosciuto");
    case ErrDb::TabellaInesistente: return QStringLiteral("Impossibile trovare la tabella o la query di input");
    case ErrDb::Sintassi: return QStringLiteral("Errore di sintassi nell'istruzione SQL");
    case ErrDb::FunzioneSconosciuta: return QStringLiteral("Funzione non definita nell'espressione");
    case ErrDb::NessunRecordCorrente: return QStringLiteral("Nessun record corrente");
    case ErrDb::SenzaAddNewEdit: return QStringLiteral("Update o CancelUpdate senza AddNew o Edit");
    case ErrDb::RecordEliminato: return QStringLiteral("Il record è eliminato");
    case ErrDb::CampoTroppoPiccolo: return QStringLiteral("Il campo è troppo piccolo per la quantità di dati da aggiungere");
    case ErrDb::OdbcFallito: return QStringLiteral("Chiamata al database non riuscita");
    case ErrDb::ModificatoDaAltri:
        return QStringLiteral("Operazione interrotta: un altro utente ha modificato gli stessi dati");
    case ErrDb::Bloccato: return QStringLiteral("Impossibile aggiornare: i dati sono bloccati da un altro utente");
    case ErrDb::ElementoNonTrovato: return QStringLiteral("Elemento non trovato in questo insieme");
    case ErrDb::NonDatabase: return QStringLiteral("Formato di database non riconosciuto");
    default: return standardErrorText(n);
    }
}

} // namespace

AppError erroreDb(int32_t numero, const QString &dettaglio)
{
    QString d = descrizione(numero);
    if (!dettaglio.isEmpty())
        d += QStringLiteral(": ") + dettaglio;
    return AppError(numero, d);
}

AppError erroreSintassi(const QString &dettaglio)
{
    return erroreDb(ErrDb::Sintassi, dettaglio);
}

namespace {

// "Jet:<n>", the mark of an error raised by the library's functions inside the engine.
int32_t marcaJet(const QString &m)
{
    const qsizetype i = m.indexOf(QLatin1String("Jet:"));
    if (i < 0) return 0;
    int32_t n = 0;
    for (qsizetype k = i + 4; k < m.size() && m[k].isDigit() && n < 100000; ++k) n = n * 10 + m[k].digitValue();
    return n;
}

} // namespace

int32_t numeroJet(const GuastoMotore &g)
{
    if (const int32_t n = marcaJet(g.messaggio)) return n;
    if (g.motore == MotoreDb::SQLite) {
        if (g.messaggio.contains(QLatin1String("integer overflow"))) return ErrNum::Overflow;
        if (g.messaggio.contains(QLatin1String("no such column"))) return ErrDb::ParametriInsufficienti;
        if (g.messaggio.contains(QLatin1String("no such table"))) return ErrDb::TabellaInesistente;
        if (g.messaggio.contains(QLatin1String("too large")) || g.messaggio.contains(QLatin1String("too many")) ||
            g.messaggio.contains(QLatin1String("stack overflow")))
            return ErrDb::Sintassi;
        const int primario = g.codiceSqlite & 0xff;
        switch (primario) {
        case 5:  // SQLITE_BUSY
        case 6:  // SQLITE_LOCKED
            return ErrDb::Bloccato;
        case 26: // SQLITE_NOTADB
            return ErrDb::NonDatabase;
        case 19: // SQLITE_CONSTRAINT
            if (g.codiceSqlite == 1555 || g.codiceSqlite == 2067) // PRIMARYKEY, UNIQUE
                return ErrDb::ChiaveDuplicata;
            return ErrDb::OdbcFallito;
        default:
            return ErrDb::OdbcFallito;
        }
    }
    const QString &s = g.statoSql;
    if (s == QLatin1String("22012")) return ErrNum::DivByZero;
    if (s == QLatin1String("22003")) return ErrNum::Overflow;
    if (s == QLatin1String("2201F") || s == QLatin1String("22008")) return ErrNum::InvalidCall;
    if (s == QLatin1String("22P02") || s == QLatin1String("22007") || s == QLatin1String("42883") ||
        s == QLatin1String("42804"))
        return ErrNum::TypeMismatch;
    if (s == QLatin1String("54001") || s == QLatin1String("54000")) return ErrDb::Sintassi;
    if (s == QLatin1String("42703")) return ErrDb::ParametriInsufficienti;
    if (s == QLatin1String("42P01")) return ErrDb::TabellaInesistente;
    if (s == QLatin1String("55P03") || s == QLatin1String("40P01"))
        return ErrDb::Bloccato;
    if (s == QLatin1String("40001"))
        return ErrDb::ModificatoDaAltri;
    if (s == QLatin1String("23505"))
        return ErrDb::ChiaveDuplicata;
    if (s == QLatin1String("22001"))
        return ErrDb::CampoTroppoPiccolo;
    if (s == QLatin1String("28000") || s == QLatin1String("28P01"))
        return ErrDb::AccessoNegato;
    return ErrDb::OdbcFallito;
}

AppError erroreMotore(const GuastoMotore &g)
{
    const int32_t n = numeroJet(g);
    if (n < 1000) return AppError::standard(n);
    if (n == ErrDb::Sintassi) return erroreSintassi(QStringLiteral("istruzione troppo complessa"));
    if (marcaJet(g.messaggio) == n || n == ErrDb::ParametriInsufficienti || n == ErrDb::TabellaInesistente)
        return erroreDb(n);
    return erroreDb(n, g.messaggio);
}

bool eAccessoNegato(const QString &m)
{
    // The server's words, in English and in Italian (its lc_messages decides).
    static const char *const segni[] = {
        "password authentication failed", "authentication failed", "no password supplied",
        "role \"", "autenticazione", "password non fornita", "il ruolo \"",
    };
    for (const char *s : segni)
        if (m.contains(QLatin1String(s), Qt::CaseInsensitive))
            return true;
    return false;
}
