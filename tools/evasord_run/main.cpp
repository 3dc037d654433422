// evasord_run: one fulfilment run of the real engine, with the program's own services, on a
// company database, without windows and without a user.
//
//   evasord_run --db <database> [options]
//
//   --db <nome>            the company database: an SQLite file, or "ODBC;" and the connect
//                          text of a data source (PostgreSQL), as the menu names it
//   --config <file>        the stand-in menu server's configuration file: menu and personal
//                          parameters, user, work date (default: the parameters of the
//                          company fixture, user "mario", today)
//   --utente <nome>        the user (over the configuration's)
//   --data-lavoro <data>   the work date (over the configuration's)
//   --programma <P>        the program identity, switch "P" (default "EVAORD")
//   --data <data>          fulfilment date (default: the work date)
//   --tipo-ordine <tipo>   order document type (default: the menu's "Fat.DocOrd")
//   --tipo-evasione <tipo> target document type, e.g. "DDT" or "FAT" (default: the order
//                          type's own)
//   --corrispettivo        cash sale: one posted stock movement per order, no document
//   --solo-a-saldo         the selected order lines are only closed, no document
//   --raggruppa <N|S|O|C>  the grouping rule given to the selected orders before the run
//   --cliente-da/--cliente-a <conto>        the customer range
//   --numero-da/--numero-a <n>              the registration-number range (whole numbers)
//   --consegna-da/--consegna-a <data>       the delivery-date range
//   --periodo-iva <MM/AAAA>                 the VAT period given to the new documents
//   --prefisso <p>         prefix of the new documents (one of the company's)
//   --cambio <MON=cambio>  rate of a non-EU currency, a number above zero ("1,085" or
//                          "1.085"; repeatable; default: the known rate)
//   --recupera             recovery of this user's interrupted run instead of a run
//
// Dates are written dd/mm/yyyy. The request is checked as the fulfilment dialog checks it
// (document types, dates and their ranges, prefix) and refused with the dialog's message.
// Every dialog is answered by a fixed policy and written to standard error (dialoghirun.h).
// Exit code: 0 the run ended with "Elaborazione terminata" (the recovery with "Ripristino
// terminato") and no error; 3 it ended so after errors (orders refused or stopped) or after a
// lock answered "Esci"; 1 the run did not end (refused, nothing to do, an error while closing,
// a recovery that left something for another one); 2 a wrong command line (an unknown option,
// an option value that is not what it must be) or a company database that did not open.
#include "aiutoditta.h"
#include "apperror.h"
#include "companyfixture.h"
#include "connessionedb.h"
#include "contesto.h"
#include "datiditta.h"
#include "dialoghirun.h"
#include "inprocessmenuclient.h"
#include "recupero.h"
#include "richiestarun.h"
#include "scevaordven.h"
#include "serverconfigfile.h"
#include "servizievasioneprogramma.h"
#include "utilgenerali.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QRegularExpression>
#include <limits>

namespace {

constexpr int kFinita = 0, kNonFinita = 1, kErroreAvvio = 2, kFinitaConErrori = 3;

MenuConfig configurazione(const QCommandLineParser &p)
{
    MenuConfig config;
    if (p.isSet(QStringLiteral("config"))) {
        config = leggiFileServerMenu(p.value(QStringLiteral("config"))).config;
    } else {
        const auto parametri = suite::menuParameters();
        for (auto it = parametri.cbegin(); it != parametri.cend(); ++it)
            config.parametri[it.key()] = Variant(it.value());
        config.utente = QStringLiteral("mario");
    }
    if (p.isSet(QStringLiteral("utente")))
        config.utente = p.value(QStringLiteral("utente"));
    if (p.isSet(QStringLiteral("data-lavoro"))) {
        const Variant d = UtilGenerali::ValoreData(Variant(p.value(QStringLiteral("data-lavoro"))), true);
        if (!d.isDate())
            throw AppError(13, QStringLiteral("Data di lavoro errata: ") + p.value(QStringLiteral("data-lavoro")));
        config.dataLavoro = d.toDate();
    }
    return config;
}

std::optional<QString> opzione(const QCommandLineParser &p, const char *nome)
{
    const QString n = QString::fromLatin1(nome);
    return p.isSet(n) ? std::optional<QString>(p.value(n)) : std::nullopt;
}

// A value that is not what its option needs: the run does not start.
[[noreturn]] void valoreErrato(const char *nome, const QString &valore, const char *atteso)
{
    throw AppError(ErrNum::InvalidCall, QStringLiteral("Valore errato per --%1: %2 (%3)")
                                            .arg(QString::fromLatin1(nome), valore, QString::fromUtf8(atteso)));
}

// A date option as the dialog reads a date field; Null when not given.
Variant data(const QCommandLineParser &p, const char *nome)
{
    const std::optional<QString> testo = opzione(p, nome);
    if (!testo)
        return Variant::null();
    const Variant d = UtilGenerali::ValoreData(Variant(*testo), true);
    if (!d.isDate())
        valoreErrato(nome, *testo, "una data gg/mm/aaaa");
    return d;
}

// A whole number of digits, 0 when not given: a text that is none would drop its criterion.
int32_t intero(const QCommandLineParser &p, const char *nome)
{
    const std::optional<QString> testo = opzione(p, nome);
    if (!testo)
        return 0;
    static const QRegularExpression cifre(QStringLiteral("^[0-9]{1,10}$"));
    const QString t = testo->trimmed();
    if (!cifre.match(t).hasMatch() || t.toLongLong() > std::numeric_limits<int32_t>::max())
        valoreErrato(nome, *testo, "un numero intero");
    return t.toInt();
}

// A rate: a plain decimal number above zero ("1,085" or "1.085").
double cambio(const QString &testo)
{
    static const QRegularExpression numero(QStringLiteral("^[0-9]{1,15}([.,][0-9]{1,15})?$"));
    const QString t = testo.trimmed();
    double valore = 0;
    if (numero.match(t).hasMatch())
        valore = QString(t).replace(u',', u'.').toDouble();
    if (!(valore > 0))
        valoreErrato("cambio", testo, "MONETA=cambio, un numero maggiore di zero");
    return valore;
}

RichiestaRun richiesta(const QCommandLineParser &p)
{
    RichiestaRun r;
    if (const Variant d = data(p, "data"); d.isDate())
        r.dataEvasione = d.toDate();
    r.tipoOrdine = opzione(p, "tipo-ordine");
    r.tipoEvasione = opzione(p, "tipo-evasione");
    r.corrispettivo = p.isSet(QStringLiteral("corrispettivo"));
    r.soloASaldo = p.isSet(QStringLiteral("solo-a-saldo"));
    r.clienteDa = p.value(QStringLiteral("cliente-da"));
    r.clienteA = p.value(QStringLiteral("cliente-a"));
    r.numeroDa = intero(p, "numero-da");
    r.numeroA = intero(p, "numero-a");
    r.consegnaDa = data(p, "consegna-da");
    r.consegnaA = data(p, "consegna-a");
    if (const std::optional<QString> periodo = opzione(p, "periodo-iva")) {
        static const QRegularExpression meseAnno(QStringLiteral("^([0-9]{1,2})/([0-9]{4})$"));
        const QRegularExpressionMatch m = meseAnno.match(periodo->trimmed());
        const int mese = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (mese < 1 || mese > 12 || m.captured(2).toInt() < 1)
            valoreErrato("periodo-iva", *periodo, "MM/AAAA, il mese da 1 a 12");
        r.meseIva = static_cast<int16_t>(mese);
        r.annoIva = static_cast<int16_t>(m.captured(2).toInt());
    }
    r.prefisso = opzione(p, "prefisso");
    r.raggruppa = p.value(QStringLiteral("raggruppa")).trimmed().toUpper();
    if (!r.raggruppa.isEmpty() && !QStringList{"N", "S", "O", "C"}.contains(r.raggruppa))
        valoreErrato("raggruppa", p.value(QStringLiteral("raggruppa")), "N, S, O o C");
    for (const QString &c : p.values(QStringLiteral("cambio"))) {
        const qsizetype uguale = c.indexOf(QLatin1Char('='));
        if (uguale <= 0)
            valoreErrato("cambio", c, "MONETA=cambio, un numero maggiore di zero");
        r.cambi[c.left(uguale)] = cambio(c.mid(uguale + 1));
    }
    return r;
}

// The company database opened as the program opens it, with the company's settings and the
// help component (codes and rates) bound to it.
void apriDitta(const QString &nome)
{
    gsNomeDBAzie = nome;
    auto conn = std::make_shared<ConnessioneDb>();
    gsNomeConn = conn->Connetti(gsNomeDBAzie);
    ggDbAzienda = conn;
    UtilGenerali::ImpostaAreaDiLavoro(conn.get());
    InizProgramma();
    LegaAiutoAllaDitta();
}

int esegui(const QCommandLineParser &p, DialoghiRun &dialoghiRun)
{
    ggMenuClient = std::make_shared<InProcessMenuClient>(configurazione(p));
    const QString programma = p.isSet(QStringLiteral("programma")) ? p.value(QStringLiteral("programma"))
                                                                    : QStringLiteral("EVAORD");
    const qsizetype spazio = programma.indexOf(QLatin1Char(' '));
    gsProgramma = spazio < 0 ? programma : programma.left(spazio);
    gsProgrammaPar = spazio < 0 ? QString() : programma.mid(spazio + 1);
    // A wrong option ends here, before the company is touched.
    const RichiestaRun r = richiesta(p);
    try {
        apriDitta(p.value(QStringLiteral("db")));
    } catch (const AppError &e) {
        giornale(QStringLiteral("errore"), QStringLiteral("Errore(%1): %2").arg(e.number()).arg(e.description()));
        return kErroreAvvio;
    }

    ServiziEvasioneProgramma servizi;
    ImpostaServiziEvasione(&servizi);
    scEvaOrdVen eva;
    int esito = kNonFinita;
    if (p.isSet(QStringLiteral("recupera"))) {
        // the request as given, for a run that saved none
        PreparaRichiesta(r, eva);
        switch (RecuperaEvasione(eva)) {
        case EsitoRipristino::Completo:
            esito = kFinita;
            break;
        case EsitoRipristino::ConErrori:
            esito = kFinitaConErrori;
            break;
        case EsitoRipristino::Fallito:
            esito = kNonFinita;
            break;
        }
    } else if (const std::optional<QString> rifiuto = PreparaRichiesta(r, eva)) {
        frmMsgCom::msgCom(*rifiuto, QStringLiteral("&Ok"));
    } else {
        eva.LanciaEvasioneOrdVen(false);
        if (dialoghiRun.mostrato(QStringLiteral("Elaborazione terminata")))
            esito = eva.miNumErrori > 0 || dialoghiRun.uscitoDaBlocco() ? kFinitaConErrori : kFinita;
    }
    ImpostaServiziEvasione(nullptr);
    return esito;
}

} // namespace

int main(int argc, char *argv[])
{
    // no windows: every dialog goes to the journal
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("evasord_run"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Evasione ordini vendita senza finestre"));
    p.addHelpOption();
    for (const char *nome : {"db", "config", "utente", "data-lavoro", "programma", "data", "tipo-ordine", "tipo-evasione",
                             "raggruppa", "cliente-da", "cliente-a", "numero-da", "numero-a", "consegna-da", "consegna-a",
                             "periodo-iva", "prefisso", "cambio"})
        p.addOption(QCommandLineOption(QString::fromLatin1(nome), QString::fromLatin1(nome), QStringLiteral("valore")));
    for (const char *nome : {"corrispettivo", "solo-a-saldo", "recupera"})
        p.addOption(QCommandLineOption(QString::fromLatin1(nome), QString::fromLatin1(nome)));
    p.process(app);
    if (!p.isSet(QStringLiteral("db"))) {
        giornale(QStringLiteral("errore"), QStringLiteral("Manca --db <database della ditta>"));
        return kErroreAvvio;
    }

    auto dialoghiRun = std::make_unique<DialoghiRun>();
    DialoghiRun &d = *dialoghiRun;
    impostaDialoghi(std::move(dialoghiRun));
    int esito = kErroreAvvio;
    try {
        esito = esegui(p, d);
    } catch (const AppError &e) {
        giornale(QStringLiteral("errore"), QStringLiteral("Errore(%1): %2").arg(e.number()).arg(e.description()));
    }
    azzeraContesto();
    giornale(QStringLiteral("esito"), QString::number(esito));
    return esito;
}
