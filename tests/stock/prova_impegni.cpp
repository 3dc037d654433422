// A second program on the same company database, for the tests of the committed quantities
// between processes. It opens the database as the given user, prints "pronto", waits for the
// start file (so that two of them start together), then moves the committed quantity of an
// article's progressive row of 2024 in warehouse "01", one unit a time, each in a transaction
// of its own, and prints "fatto".
//
//   prova_impegni <database> <user> <start file> rilascia <articolo> <volte>
//       releases one unit of the row (which must exist)
//   prova_impegni <database> <user> <start file> impegna <articolo> <volte>
//       commits one unit more, creating the row when it is missing
#include "impegni.h"
#include "programmaprova.h"
#include "transazioni.h"

#include <QCoreApplication>

namespace {

void muovi(bool rilascio, const QString &articolo, int volte)
{
    for (int i = 0; i < volte; ++i) {
        IniziaTransazione();
        try {
            AggiornaImpegni(rilascio, 2024, QStringLiteral("01"), articolo, QString(), QString(), Variant(1.0),
                            Variant(0.0), Variant(0.0), Variant(1.0), Variant(10.0), Variant(19363.0),
                            QStringLiteral("N"), false, QString(), Variant(0.0), QStringLiteral("N"),
                            QStringLiteral("S"), QStringLiteral("S"), QString(), QString(), false, !rilascio);
            ConfermaTransazione();
        } catch (const AppError &) {
            AnnullaTransazione();
            throw;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments().mid(1);
    if (a.size() != 6)
        return 2;
    try {
        if (!avviaProgrammaProva(a[0], a[1], a[2]))
            return 3;
        if (a[3] != QLatin1String("rilascia") && a[3] != QLatin1String("impegna"))
            return 2;
        muovi(a[3] == QLatin1String("rilascia"), a[4], a[5].toInt());
        scriviRigaProva(QStringLiteral("fatto"));
        ggDbAzienda.reset();
        return 0;
    } catch (const AppError &e) {
        scriviRigaProva(QStringLiteral("errore %1 %2").arg(e.number()).arg(e.description()));
        return 1;
    }
}
