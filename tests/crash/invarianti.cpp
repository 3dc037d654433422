#include "invarianti.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

namespace {

constexpr double kTolleranza = 1e-6;

bool uguali(double a, double b) { return std::fabs(a - b) < kTolleranza; }
// Amounts, summed from values rounded to their decimals: within a hundredth of a cent.
bool ugualiValori(double a, double b) { return std::fabs(a - b) < 0.0001; }

// An amount of a currency field (SQLite keeps its ten-thousandths).
double valuta(const QSqlDatabase &db, const QVariant &v)
{
    return db.driverName() == QLatin1String("QSQLITE") ? v.toDouble() / 10000 : v.toDouble();
}

QString chiave(int anno, int numero, int riga) { return QStringLiteral("%1/%2 riga %3").arg(anno).arg(numero).arg(riga); }

} // namespace

std::vector<QVariantList> righeQuery(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(sql))
        throw std::runtime_error((sql + QStringLiteral(": ") + q.lastError().text()).toStdString());
    std::vector<QVariantList> out;
    while (q.next()) {
        QVariantList r;
        for (int i = 0; i < q.record().count(); ++i)
            r << q.value(i);
        out.push_back(r);
    }
    return out;
}

FotoOrdini::FotoOrdini(const QSqlDatabase &db)
{
    for (const QVariantList &r : righeQuery(db, QStringLiteral("SELECT Anno, NumRif, RigLiv, QtaEvasa FROM OrdVenDett")))
        m_righe[{r[0].toInt(), r[1].toInt(), r[2].toInt()}] = r[3].toDouble();
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Anno, NumRif, RigLiv, Livello1, Livello2, QtaEvasa FROM OrdVenLiv")))
        m_livelli[{r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toString(), r[4].toString()}] = r[5].toDouble();
    for (const QVariantList &r : righeQuery(
             db, QStringLiteral("SELECT Articolo, Livello1, Livello2, QtaScarico, ValScarico, ValScaricoLire, Anno"
                                " FROM ArticoliProg"))) {
        m_scarico[{r[0].toString(), r[1].toString(), r[2].toString()}].aggiungi(r[3].toDouble(), valuta(db, r[4]),
                                                                                 valuta(db, r[5]));
        m_anniProg.insert(r[6].toInt());
    }
}

QStringList FotoOrdini::violazioni(const QSqlDatabase &db) const
{
    QStringList out;
    // What the documents delivered of each order line and level.
    std::map<ChiaveRiga, double> consegnato;
    std::map<ChiaveLivello, double> consegnatoLiv;
    std::set<ChiaveRiga> conLivelli; // order lines that have levels
    for (const auto &[k, q] : m_livelli)
        conLivelli.insert({std::get<0>(k), std::get<1>(k), std::get<2>(k)});

    for (const QString &doc : {QStringLiteral("Ddt"), QStringLiteral("Fat")}) {
        const QString dett = doc + QStringLiteral("Dett"), liv = doc + QStringLiteral("Liv");
        // document line -> its provenance and quantity
        std::map<ChiaveRiga, std::pair<ChiaveRiga, double>> righeDoc;
        for (const QVariantList &r : righeQuery(
                 db, QStringLiteral("SELECT Anno, NumRif, RigLiv, AnnoRifProv, NumRifProv, RigaRifProv, QtaProv FROM ")
                         + dett + QStringLiteral(" WHERE TipoProv = 'O'"))) {
            const ChiaveRiga prov{r[3].toInt(), r[4].toInt(), r[5].toInt()};
            righeDoc[{r[0].toInt(), r[1].toInt(), r[2].toInt()}] = {prov, r[6].toDouble()};
            consegnato[prov] += r[6].toDouble();
        }
        std::map<ChiaveRiga, double> sommaLivelli;
        for (const QVariantList &r :
             righeQuery(db, QStringLiteral("SELECT Anno, NumRif, RigLiv, Livello1, Livello2, QtaProv FROM ") + liv)) {
            const ChiaveRiga rigaDoc{r[0].toInt(), r[1].toInt(), r[2].toInt()};
            const auto it = righeDoc.find(rigaDoc);
            if (it == righeDoc.end()) {
                out << doc + QStringLiteral(": livello senza la sua riga, documento ")
                           + chiave(r[0].toInt(), r[1].toInt(), r[2].toInt());
                continue;
            }
            const ChiaveRiga &prov = it->second.first;
            consegnatoLiv[{std::get<0>(prov), std::get<1>(prov), std::get<2>(prov), r[3].toString(), r[4].toString()}] +=
                r[5].toDouble();
            sommaLivelli[rigaDoc] += r[5].toDouble();
        }
        for (const auto &[rigaDoc, provQta] : righeDoc) {
            if (!conLivelli.count(provQta.first))
                continue;
            const auto s = sommaLivelli.find(rigaDoc);
            if (s == sommaLivelli.end())
                out << doc + QStringLiteral(": riga senza i suoi livelli, documento ")
                           + chiave(std::get<0>(rigaDoc), std::get<1>(rigaDoc), std::get<2>(rigaDoc));
            else if (!uguali(s->second, provQta.second))
                out << doc + QStringLiteral(": livelli per %1 sulla riga da %2, documento ").arg(s->second).arg(provQta.second)
                           + chiave(std::get<0>(rigaDoc), std::get<1>(rigaDoc), std::get<2>(rigaDoc));
        }
    }

    confronta(db, consegnato, consegnatoLiv, QStringLiteral("nei documenti"), false, out);
    return out;
}

void FotoOrdini::confronta(const QSqlDatabase &db, const std::map<ChiaveRiga, double> &righe,
                           const std::map<ChiaveLivello, double> &livelli, const QString &dove, bool soloMagazzino,
                           QStringList &out) const
{
    std::set<QString> magazzino;
    for (const QVariantList &r : righeQuery(db, QStringLiteral("SELECT Articolo FROM Articoli WHERE ArtMag = 'S'")))
        magazzino.insert(r[0].toString());
    // The lines that give rows: every one, or in a cash sale the article lines of stock articles.
    std::set<ChiaveRiga> escluse;
    std::set<ChiaveRiga> conLivelli;
    for (const auto &[k, q] : m_livelli)
        conLivelli.insert({std::get<0>(k), std::get<1>(k), std::get<2>(k)});
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Anno, NumRif, RigLiv, QtaEvasa, TipoRiga, Articolo FROM OrdVenDett"))) {
        const ChiaveRiga k{r[0].toInt(), r[1].toInt(), r[2].toInt()};
        if (soloMagazzino && (r[4].toString() != QLatin1String("A") || !magazzino.count(r[5].toString()))) {
            escluse.insert(k);
            continue;
        }
        const auto prima = m_righe.find(k);
        const double evasaOra = r[3].toDouble() - (prima == m_righe.end() ? 0 : prima->second);
        const double consegnato = righe.count(k) ? righe.at(k) : 0;
        if (!uguali(evasaOra, consegnato))
            out << QStringLiteral("Ordine %1: evaso %2, %3 %4")
                       .arg(chiave(std::get<0>(k), std::get<1>(k), std::get<2>(k)))
                       .arg(evasaOra)
                       .arg(dove)
                       .arg(consegnato);
    }
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Anno, NumRif, RigLiv, Livello1, Livello2, QtaEvasa FROM OrdVenLiv"))) {
        const ChiaveLivello k{r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toString(), r[4].toString()};
        if (escluse.count({r[0].toInt(), r[1].toInt(), r[2].toInt()}))
            continue;
        const auto prima = m_livelli.find(k);
        const double evasaOra = r[5].toDouble() - (prima == m_livelli.end() ? 0 : prima->second);
        const double consegnato = livelli.count(k) ? livelli.at(k) : 0;
        if (!uguali(evasaOra, consegnato))
            out << QStringLiteral("Ordine %1 livello %2-%3: evaso %4, %5 %6")
                       .arg(chiave(std::get<0>(k), std::get<1>(k), std::get<2>(k)), std::get<3>(k), std::get<4>(k))
                       .arg(evasaOra)
                       .arg(dove)
                       .arg(consegnato);
    }
    // Committed quantities: the open quantity of every stock line or level of every order.
    std::map<ChiaveProg, double> aperto;
    const QString nessuno = QStringLiteral("~\u00e7~");
    for (const QVariantList &r : righeQuery(db, QStringLiteral("SELECT Anno, NumRif, RigLiv, Articolo, Qta, QtaEvasa FROM "
                                                               "OrdVenDett WHERE TipoRiga IN ('A', 'M')"))) {
        if (!magazzino.count(r[3].toString()) || conLivelli.count({r[0].toInt(), r[1].toInt(), r[2].toInt()}))
            continue;
        aperto[{r[3].toString(), nessuno, nessuno}] += std::max(0.0, r[4].toDouble() - r[5].toDouble());
    }
    for (const QVariantList &r : righeQuery(
             db, QStringLiteral("SELECT d.Articolo, l.Livello1, l.Livello2, l.Qta, l.QtaEvasa FROM OrdVenLiv l JOIN OrdVenDett d"
                                " ON d.Anno = l.Anno AND d.NumRif = l.NumRif AND d.RigLiv = l.RigLiv"))) {
        if (magazzino.count(r[0].toString()))
            aperto[{r[0].toString(), r[1].toString(), r[2].toString()}] += std::max(0.0, r[3].toDouble() - r[4].toDouble());
    }
    // The years the company had: a movement of a later year makes its year's rows, which carry
    // no commitments (the suite's year opening carries them over).
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Articolo, Livello1, Livello2, QtaImpCli, Anno FROM ArticoliProg"))) {
        if (!m_anniProg.count(r[4].toInt()))
            continue;
        const ChiaveProg k{r[0].toString(), r[1].toString(), r[2].toString()};
        const double atteso = aperto.count(k) ? aperto.at(k) : 0;
        if (!uguali(r[3].toDouble(), atteso))
            out << QStringLiteral("Impegnato di %1 %2-%3: %4, aperto negli ordini %5")
                       .arg(std::get<0>(k), std::get<1>(k), std::get<2>(k))
                       .arg(r[3].toDouble())
                       .arg(atteso);
    }
}

QStringList FotoOrdini::violazioniCorrispettivi(const QSqlDatabase &db) const
{
    QStringList out;
    // movement row (Anno, NumReg, RigLiv) -> the order line it comes from, its article and quantity
    struct RigaMov {
        ChiaveRiga ordine;
        QString articolo;
        double qta = 0;
    };
    using ChiaveMov = std::tuple<int, int, int>;
    std::map<ChiaveMov, RigaMov> righeMov;
    std::map<ChiaveRiga, double> mosso;
    std::map<ChiaveLivello, double> mossoLiv;
    std::map<ChiaveProg, Scarico> registrato;
    const QString nessuno = QStringLiteral("~\u00e7~");
    for (const QString &suffisso : {QString(), QStringLiteral("App")}) {
        for (const QVariantList &r : righeQuery(
                 db, QStringLiteral("SELECT Anno, NumReg, RigLiv, AnnoRifProv, NumRifProv, RigaRifProv, Articolo, Qta, "
                                    "QtaAggMag FROM MovMagDett")
                         + suffisso + QStringLiteral(" WHERE TipoProv = 'O'"))) {
            const ChiaveMov k{r[0].toInt(), r[1].toInt(), r[2].toInt()};
            const ChiaveRiga ordine{r[3].toInt(), r[4].toInt(), r[5].toInt()};
            if (righeMov.count(k))
                out << QStringLiteral("Riga del movimento %1/%2 riga %3 registrata e ancora da registrare")
                           .arg(std::get<0>(k))
                           .arg(std::get<1>(k))
                           .arg(std::get<2>(k));
            righeMov[k] = {ordine, r[6].toString(), r[7].toDouble()};
            mosso[ordine] += r[7].toDouble();
        }
    }
    std::map<ChiaveMov, double> sommaLivelli;
    std::set<std::tuple<int, int, int, QString, QString>> livelliVisti;
    for (const QString &suffisso : {QString(), QStringLiteral("App")}) {
        for (const QVariantList &r :
             righeQuery(db, QStringLiteral("SELECT Anno, NumReg, RigLiv, Livello1, Livello2, Qta, QtaAggMag, ValEuro, "
                                           "ValLire FROM MovMagLiv")
                                + suffisso)) {
            const ChiaveMov k{r[0].toInt(), r[1].toInt(), r[2].toInt()};
            const QString dove = QStringLiteral("%1/%2 riga %3 %4-%5")
                                     .arg(r[0].toInt())
                                     .arg(r[1].toInt())
                                     .arg(r[2].toInt())
                                     .arg(r[3].toString(), r[4].toString());
            const auto it = righeMov.find(k);
            if (it == righeMov.end()) {
                out << QStringLiteral("Livello del movimento senza la sua riga: ") + dove;
                continue;
            }
            if (!livelliVisti.insert({r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toString(), r[4].toString()}).second)
                out << QStringLiteral("Livello del movimento registrato e ancora da registrare: ") + dove;
            const ChiaveRiga &o = it->second.ordine;
            mossoLiv[{std::get<0>(o), std::get<1>(o), std::get<2>(o), r[3].toString(), r[4].toString()}] += r[5].toDouble();
            sommaLivelli[k] += r[5].toDouble();
            if (suffisso.isEmpty())
                registrato[{it->second.articolo, r[3].toString(), r[4].toString()}].aggiungi(
                    r[6].toDouble(), r[7].toDouble(), r[8].toDouble());
        }
    }
    for (const auto &[k, riga] : righeMov) {
        const auto s = sommaLivelli.find(k);
        if (s != sommaLivelli.end() && !uguali(s->second, riga.qta))
            out << QStringLiteral("Riga del movimento %1/%2 riga %3 da %4, i suoi livelli %5")
                       .arg(std::get<0>(k))
                       .arg(std::get<1>(k))
                       .arg(std::get<2>(k))
                       .arg(riga.qta)
                       .arg(s->second);
    }
    // A line without levels posts its own quantity and values, one with levels its levels'.
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Anno, NumReg, RigLiv, QtaAggMag, ValEuro, ValLire FROM MovMagDett"
                                       " WHERE TipoProv = 'O'"))) {
        const ChiaveMov k{r[0].toInt(), r[1].toInt(), r[2].toInt()};
        if (!sommaLivelli.count(k))
            registrato[{righeMov.at(k).articolo, nessuno, nessuno}].aggiungi(r[3].toDouble(), r[4].toDouble(),
                                                                          r[5].toDouble());
    }
    // Issued quantities and values, in every year (a movement posts into its own year's rows).
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Articolo, Livello1, Livello2, SUM(QtaScarico), SUM(ValScarico),"
                                       " SUM(ValScaricoLire) FROM ArticoliProg GROUP BY Articolo, Livello1, Livello2"))) {
        const ChiaveProg k{r[0].toString(), r[1].toString(), r[2].toString()};
        const auto prima = m_scarico.find(k);
        const Scarico p = prima == m_scarico.end() ? Scarico{} : prima->second;
        const Scarico atteso = registrato.count(k) ? registrato.at(k) : Scarico{};
        const Scarico scaricato{r[3].toDouble() - p.qta, valuta(db, r[4]) - p.val, valuta(db, r[5]) - p.valLire};
        if (!uguali(scaricato.qta, atteso.qta) || !ugualiValori(scaricato.val, atteso.val)
            || !ugualiValori(scaricato.valLire, atteso.valLire))
            out << QStringLiteral("Scaricato di %1 %2-%3: %4 per %5 euro e %6 lire, nei movimenti registrati %7 per %8"
                                  " euro e %9 lire")
                       .arg(std::get<0>(k), std::get<1>(k), std::get<2>(k))
                       .arg(scaricato.qta)
                       .arg(scaricato.val)
                       .arg(scaricato.valLire)
                       .arg(atteso.qta)
                       .arg(atteso.val)
                       .arg(atteso.valLire);
    }
    // The rows of a movement, posted or still to post, numbered 1, 2, 3 ...
    std::map<std::pair<int, int>, std::vector<int>> numeri;
    for (const QString &suffisso : {QString(), QStringLiteral("App")})
        for (const QVariantList &r : righeQuery(db, QStringLiteral("SELECT Anno, NumReg, RigReg FROM MovMagDett") + suffisso))
            numeri[{r[0].toInt(), r[1].toInt()}].push_back(r[2].toInt());
    for (auto &[mov, n] : numeri) {
        std::sort(n.begin(), n.end());
        for (size_t i = 0; i < n.size(); ++i) {
            if (n[i] != static_cast<int>(i) + 1) {
                QStringList elenco;
                for (int x : n)
                    elenco << QString::number(x);
                out << QStringLiteral("Movimento %1/%2 con le righe %3").arg(mov.first).arg(mov.second).arg(elenco.join(u','));
                break;
            }
        }
    }
    // A header without rows is still being made: its lock names it.
    for (const QVariantList &r : righeQuery(
             db, QStringLiteral("SELECT t.Anno, t.NumReg FROM MovMagTes t WHERE NOT EXISTS (SELECT d.Anno FROM MovMagDett d"
                                " WHERE d.Anno = t.Anno AND d.NumReg = t.NumReg) AND NOT EXISTS (SELECT a.Anno FROM"
                                " MovMagDettApp a WHERE a.Anno = t.Anno AND a.NumReg = t.NumReg) AND NOT EXISTS (SELECT"
                                " l.Anno FROM LockGest l WHERE l.Tipo = 'M' AND l.Anno = t.Anno AND l.NumReg = t.NumReg)")))
        out << QStringLiteral("Movimento %1/%2 senza righe e senza blocco").arg(r[0].toInt()).arg(r[1].toInt());
    confronta(db, mosso, mossoLiv, QStringLiteral("nei movimenti"), true, out);
    return out;
}

QStringList violazioniDopoRipristino(const QSqlDatabase &db)
{
    QStringList out;
    for (const QVariantList &r : righeQuery(
             db, QStringLiteral("SELECT t.Anno, t.NumReg FROM MovMagTes t WHERE NOT EXISTS (SELECT d.Anno FROM MovMagDett d"
                                " WHERE d.Anno = t.Anno AND d.NumReg = t.NumReg) AND NOT EXISTS (SELECT a.Anno FROM"
                                " MovMagDettApp a WHERE a.Anno = t.Anno AND a.NumReg = t.NumReg)")))
        out << QStringLiteral("Movimento %1/%2 senza righe").arg(r[0].toInt()).arg(r[1].toInt());
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Anno, NumReg, Utente, Stato FROM LockGest WHERE Tipo = 'M'")))
        out << QStringLiteral("Blocco del movimento %1/%2 di %3 allo stato %4")
                   .arg(r[0].toInt())
                   .arg(r[1].toInt())
                   .arg(r[2].toString(), r[3].toString());
    return out;
}

ValoriMovimenti::ValoriMovimenti(const QSqlDatabase &db)
{
    // movement row (Anno, NumReg, RigLiv) -> the order line it comes from
    std::map<std::tuple<int, int, int>, QString> provenienza;
    for (const QString &suffisso : {QString(), QStringLiteral("App")}) {
        for (const QVariantList &r : righeQuery(
                 db, QStringLiteral("SELECT Anno, NumReg, RigLiv, AnnoRifProv, NumRifProv, RigaRifProv, Qta, QtaAggMag,"
                                    " ValUnitario, ValTotale, ValLire, ValEuro FROM MovMagDett")
                         + suffisso + QStringLiteral(" WHERE TipoProv = 'O'"))) {
            const QString riga = QStringLiteral("ordine %1/%2 riga %3").arg(r[3].toInt()).arg(r[4].toInt()).arg(r[5].toInt());
            provenienza[{r[0].toInt(), r[1].toInt(), r[2].toInt()}] = riga;
            std::vector<double> &v = m_righe[riga];
            v.resize(6);
            for (size_t i = 0; i < 6; ++i)
                v[i] += r[static_cast<int>(i) + 6].toDouble();
        }
    }
    for (const QString &suffisso : {QString(), QStringLiteral("App")}) {
        for (const QVariantList &r :
             righeQuery(db, QStringLiteral("SELECT Anno, NumReg, RigLiv, Livello1, Livello2, Qta, QtaAggMag, ValUnitario,"
                                           " ValTotale, ValLire, ValEuro FROM MovMagLiv")
                                + suffisso)) {
            const auto p = provenienza.find({r[0].toInt(), r[1].toInt(), r[2].toInt()});
            const QString riga = (p == provenienza.end() ? QStringLiteral("riga senza provenienza") : p->second)
                                 + QStringLiteral(" livello %1-%2").arg(r[3].toString(), r[4].toString());
            std::vector<double> &v = m_righe[riga];
            v.resize(6);
            for (size_t i = 0; i < 6; ++i)
                v[i] += r[static_cast<int>(i) + 5].toDouble();
        }
    }
    for (const QVariantList &r : righeQuery(
             db, QStringLiteral("SELECT Magazzino, Articolo, Livello1, Livello2, SUM(QtaScarico), SUM(ValScarico),"
                                " SUM(ValScaricoLire) FROM ArticoliProg GROUP BY Magazzino, Articolo, Livello1, Livello2"))) {
        const QString chiave = QStringList{r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString()}.join(u' ');
        m_scarico[chiave] = {r[4].toDouble(), valuta(db, r[5]), valuta(db, r[6])};
    }
}

QStringList ValoriMovimenti::differenze(const ValoriMovimenti &attesi, bool tutti) const
{
    const auto testo = [](const std::vector<double> &v) {
        QStringList t;
        for (double x : v)
            t << QString::number(x, 'f', 4);
        return t.join(u' ');
    };
    const auto confronta = [&](const QString &cosa, const std::map<QString, std::vector<double>> &questi,
                               const std::map<QString, std::vector<double>> &quelli, bool tuttiQuelli, QStringList &out) {
        for (const auto &[chiave, valori] : questi) {
            const auto a = quelli.find(chiave);
            const std::vector<double> attesiQui = a == quelli.end() ? std::vector<double>(valori.size()) : a->second;
            bool diversi = a == quelli.end();
            for (size_t i = 0; i < valori.size() && !diversi; ++i)
                diversi = std::fabs(valori[i] - attesiQui[i]) >= 0.0001;
            if (diversi)
                out << QStringLiteral("%1 %2: %3, senza interruzioni %4")
                           .arg(cosa, chiave, testo(valori), a == quelli.end() ? QStringLiteral("nessuna") : testo(a->second));
        }
        if (tuttiQuelli)
            for (const auto &[chiave, valori] : quelli)
                if (!questi.count(chiave))
                    out << QStringLiteral("%1 %2 mancante, senza interruzioni %3").arg(cosa, chiave, testo(valori));
    };
    QStringList out;
    confronta(QStringLiteral("Movimento per"), m_righe, attesi.m_righe, tutti, out);
    if (tutti)
        confronta(QStringLiteral("Scaricato di"), m_scarico, attesi.m_scarico, true, out);
    return out;
}

QStringList violazioniRiferimenti(const QSqlDatabase &db)
{
    QStringList out;
    for (const QString &dett : {QStringLiteral("DdtDett"), QStringLiteral("FatDett")}) {
        struct Segmento {
            QString testo;
            int rigDet = 0;
            std::set<std::pair<int, int>> ordini; // the orders of the lines that follow it
        };
        std::map<std::pair<int, int>, std::vector<Segmento>> documenti;
        for (const QVariantList &r : righeQuery(
                 db, QStringLiteral("SELECT Anno, NumRif, RigDet, TipoRiga, FlScontoPag, TipoProv, AnnoRifProv, NumRifProv, "
                                    "NotaSopra FROM ")
                         + dett + QStringLiteral(" ORDER BY Anno, NumRif, RigDet"))) {
            std::vector<Segmento> &segmenti = documenti[{r[0].toInt(), r[1].toInt()}];
            const bool provenienza = r[5].toString() == QLatin1String("O");
            if (r[3].toString() == QLatin1String("D") && r[4].toString() == QLatin1String("N") && !provenienza)
                segmenti.push_back({r[8].toString(), r[2].toInt(), {}});
            else if (provenienza && !segmenti.empty())
                segmenti.back().ordini.insert({r[6].toInt(), r[7].toInt()});
        }
        for (const auto &[doc, segmenti] : documenti) {
            std::set<QString> visti;
            for (const Segmento &s : segmenti) {
                const QString dove = QStringLiteral("%1 %2/%3 riga %4 \"%5\"")
                                         .arg(dett)
                                         .arg(doc.first)
                                         .arg(doc.second)
                                         .arg(s.rigDet)
                                         .arg(s.testo);
                if (!visti.insert(s.testo).second)
                    out << QStringLiteral("Riferimento ripetuto: ") + dove;
                if (s.ordini.size() != 1)
                    out << QStringLiteral("Riferimento seguito da righe di %1 ordini: ").arg(s.ordini.size()) + dove;
            }
        }
    }
    return out;
}
