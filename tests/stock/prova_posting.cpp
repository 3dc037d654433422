// A second program on the same company database, for the posting tests between processes (the
// frame of programmaprova.h): it does its work and prints what it got.
//
//   prova_posting <database> <user> <start file> posta <causal> <article> <first number> <how many> <qta> <value>
//       writes and re-posts that many movements of one row each; prints
//       "fatti <n> falliti <m> domande <k>" (k: the retry questions, each answered "Sì")
//   prova_posting <database> <user> <start file> tieni <article> <ms>
//       changes the article's progressive row of warehouse "01" in a transaction left open for
//       <ms> milliseconds, then commits; prints "tenuto", then "confermato"
#include "blocchi.h"
#include "dialoghi.h"
#include "riaggiornamovimento.h"
#include "rigaposting.h"
#include "servizimagazzino.h"
#include "programmaprova.h"

#include <QCoreApplication>
#include <QThread>
#include <functional>
#include <memory>

namespace {

// Every retry question answered "Sì", and counted.
class DialoghiAutomatici : public Dialoghi {
public:
    int msgCom(const RichiestaMsgCom &) override { return 1; }
    int MsgBox(const QString &testo, PulsantiMsg, IconaMsg, const QString &) override
    {
        if (testo.contains(QLatin1String("RIPROVARE"))) {
            ++domande;
            return RispostaMsg::Si;
        }
        scriviRigaProva(QStringLiteral("messaggio ") +
                        QString(testo).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
        return RispostaMsg::Ok;
    }
    std::optional<QString> InputBox(const QString &, const QString &, const QString &) override { return {}; }
    int domande = 0;
};

QString lit(const Variant &v, int16_t tipo)
{
    return UtilGenerali::SqlValore(v, tipo);
}

// The program's own writes around a posting (the movement, its lock), each in a transaction
// that waits for the other program's.
void scriviRiprovando(const QString &sql)
{
    EseguiInTransazione([&] { ggDbAzienda->Esegui(gsNomeConn, sql); });
}

int posta(const QStringList &a, DialoghiAutomatici &dialoghi)
{
    const QString causale = a[0], articolo = a[1];
    const int32_t primo = a[2].toInt();
    const int quanti = a[3].toInt();
    const double qta = a[4].toDouble(), valore = a[5].toDouble();
    const int16_t anno = 2024;
    int fatti = 0, falliti = 0;
    for (int i = 0; i < quanti; ++i) {
        const int32_t n = primo + i;
        scriviRiprovando(QStringLiteral("Insert into MovMagTes (Anno, NumReg, DataReg, MagCausale, MagazzinoProv, "
                                        "MagazzinoDest, Moneta, Cambio, AutMan) values (%1, %2, %3, %4, '01', '01', "
                                        "'Euro', 1, 'A')")
                             .arg(lit(Variant(anno), 2), lit(Variant(n), 3),
                                  lit(Variant(Date::fromYmd(2024, 3, 15)), 7), lit(Variant(causale), 8)));
        scriviRiprovando(QStringLiteral("Insert into MovMagDettApp (Anno, NumReg, RigLiv, Articolo, Qta, QtaAggMag, "
                                        "ValUnitario, ValTotale, ValEuro, ValLire, FlagStato) values (%1, %2, 1, %3, "
                                        "%4, %4, %5, %6, %6, %7, '0')")
                             .arg(lit(Variant(anno), 2), lit(Variant(n), 3), lit(Variant(articolo), 8),
                                  lit(Variant(qta), 5), lit(Variant(valore / qta), 5), lit(Variant(valore), 5),
                                  lit(Variant(valore * 1936.27), 5)));
        QString chiave, utente, gestione = QStringLiteral("3"), varie, stato;
        int16_t preso = -1;
        EseguiInTransazione([&] {
            preso = BloccaRecord(QStringLiteral("0"), QStringLiteral("M"), anno, n, true, false, chiave,
                                 QStringLiteral("Movimenti di magazzino"), utente, gestione, varie, false, QString(), 0,
                                 0, 0, stato)
                        .toInteger();
        });
        if (preso != 0) {
            ++falliti;
            scriviRigaProva(QStringLiteral("blocco %1 %2").arg(preso).arg(UltimoErroreBlocco().descrizione));
            continue;
        }
        const EsitoPosting esito = RiaggiornaMovimento(anno, n, true, false, chiave, false);
        EseguiInTransazione([&] { SbloccaRecord(chiave, false); });
        ggRecLock().Chiudi(chiave);
        if (esito.riuscito())
            ++fatti;
        else {
            ++falliti;
            scriviRigaProva(QStringLiteral("errore %1 %2").arg(esito.numero).arg(esito.descrizione));
        }
    }
    scriviRigaProva(QStringLiteral("fatti %1 falliti %2 domande %3").arg(fatti).arg(falliti).arg(dialoghi.domande));
    return 0;
}

int tieni(const QStringList &a)
{
    ggDbAzienda->BeginTrans(gsNomeConn);
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update ArticoliProg Set QtaCarico = QtaCarico Where Anno = 2024 "
                                                   "And Magazzino = '01' And Articolo = %1")
                                        .arg(lit(Variant(a[0]), 8)));
    scriviRigaProva(QStringLiteral("tenuto"));
    QThread::msleep(static_cast<unsigned long>(a[1].toInt()));
    ggDbAzienda->CommitTrans(gsNomeConn);
    scriviRigaProva(QStringLiteral("confermato"));
    return 0;
}

// The database objects released while the application still exists.
void chiudi()
{
    ggRecLock().ChiudiTutti();
    ggDbAzienda.reset();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments().mid(1);
    if (a.size() < 5)
        return 2;
    try {
        auto dialoghiAutomatici = std::make_unique<DialoghiAutomatici>();
        DialoghiAutomatici &dialoghi = *dialoghiAutomatici;
        impostaDialoghi(std::move(dialoghiAutomatici));
        ServiziMagazzino servizi;
        servizi.CalcolaQuotaSpese = [](const QString &, double, double, const QString &, double, double, double) {
            return 0.0;
        };
        servizi.AggValoriScarico = [](AvanzamentoElab &, int16_t, int32_t, const QString &, const QString &) {};
        impostaServiziMagazzino(servizi);
        gsCodLira = QStringLiteral("L.");
        gsCodEuro = QStringLiteral("Euro");
        gsMonetaDitta = QStringLiteral("Euro");
        gsOperCambio = QStringLiteral("/");
        gsCambioLiraEuro = QStringLiteral("1936,27");
        giNumDecQta = 3;
        giNumDecPrzEuro = 2;
        giNumDecImpEuro = 2;
        if (!avviaProgrammaProva(a[0], a[1], a[2]))
            return 3;
        // A database shared with a program that writes without pause: wait for it as a
        // workstation would, rather than give up after two seconds.
        ggDbAzienda->ImpostaAttesaBlocchi(15000, gsNomeConn);
        const QStringList resto = a.mid(4);
        int rc = 2;
        if (a[3] == QLatin1String("posta") && resto.size() == 6)
            rc = posta(resto, dialoghi);
        else if (a[3] == QLatin1String("tieni") && resto.size() == 2)
            rc = tieni(resto);
        chiudi();
        return rc;
    } catch (const AppError &e) {
        scriviRigaProva(QStringLiteral("errore %1 %2").arg(e.number()).arg(e.description()));
        chiudi();
        return 1;
    }
}
