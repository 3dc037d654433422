// A second program on the same company database, for the tests of locks and numbering between
// processes. It opens the database as the given user, prints "pronto", waits for the start file
// (so that two of them start together), does its work and prints what it got.
//
//   prova_blocco <database> <user> <start file> blocca <tipo> <anno> <numreg>
//       prints "esito <code>"
//   prova_blocco <database> <user> <start file> tieni <tipo> <anno> <numreg> <ms>
//       stores the lock row in a transaction left open for <ms> milliseconds, then commits
//   prova_blocco <database> <user> <start file> numera <anno> <how many>
//       numbers MovMagTes rows of the year, numbering again on a duplicate key; prints "numero <n>"
#include "blocchi.h"
#include "programmaprova.h"

#include <QCoreApplication>

namespace {

int blocca(const QStringList &a)
{
    QString chiave, utenteLock, gestione = QStringLiteral("3"), varie, statoLock;
    const Variant esito = BloccaRecord(QStringLiteral("0"), a[0], static_cast<int16_t>(a[1].toShort()), a[2].toInt(),
                                       true, false, chiave, QStringLiteral("Il Ord"), utenteLock, gestione, varie,
                                       false, QString(), 0, 0, 0, statoLock);
    scriviRigaProva(QStringLiteral("esito %1 %2").arg(esito.toInteger()).arg(UltimoErroreBlocco().numero));
    return 0;
}

int tieni(const QStringList &a)
{
    ggDbAzienda->BeginTrans(gsNomeConn);
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Insert into LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) "
                                                   "values (%1, %2, %3, %4, '0', '3')")
                                        .arg(UtilGenerali::SqlValore(Variant(a[0]), 8), a[1], a[2],
                                             UtilGenerali::SqlValore(Variant(ggMenuClient->NomeUtente()), 8)));
    scriviRigaProva(QStringLiteral("inserito"));
    QThread::msleep(static_cast<unsigned long>(a[3].toInt()));
    ggDbAzienda->CommitTrans(gsNomeConn);
    scriviRigaProva(QStringLiteral("confermato"));
    return 0;
}

int numera(const QStringList &a)
{
    const auto anno = static_cast<int16_t>(a[0].toShort());
    for (int i = 0; i < a[1].toInt(); ++i) {
        for (;;) {
            const int32_t n = UltimoNumero(anno, QStringLiteral("MovMagTes"), QStringLiteral("NumReg"), false).toLong();
            try {
                ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Insert into MovMagTes (Anno, NumReg) values (%1, %2)")
                                                    .arg(anno)
                                                    .arg(n));
                scriviRigaProva(QStringLiteral("numero %1").arg(n));
                break;
            } catch (const AppError &e) {
                if (UtilGenerali::NumeroErrore(e) != 3022 && UtilGenerali::NumeroErrore(e) != 3260)
                    throw;
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments().mid(1);
    if (a.size() < 5)
        return 2;
    try {
        if (!avviaProgrammaProva(a[0], a[1], a[2]))
            return 3;
        const QStringList resto = a.mid(4);
        int rc = 2;
        if (a[3] == QLatin1String("blocca") && resto.size() == 3)
            rc = blocca(resto);
        else if (a[3] == QLatin1String("tieni") && resto.size() == 4)
            rc = tieni(resto);
        else if (a[3] == QLatin1String("numera") && resto.size() == 2)
            rc = numera(resto);
        ggDbAzienda.reset();
        return rc;
    } catch (const AppError &e) {
        scriviRigaProva(QStringLiteral("errore %1 %2").arg(e.number()).arg(e.description()));
        return 1;
    }
}
