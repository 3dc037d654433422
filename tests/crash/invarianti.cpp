#include "invarianti.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>
#include <set>
#include <stdexcept>

namespace {

constexpr double kTolleranza = 1e-6;

bool uguali(double a, double b) { return std::fabs(a - b) < kTolleranza; }

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

    for (const QVariantList &r : righeQuery(db, QStringLiteral("SELECT Anno, NumRif, RigLiv, QtaEvasa FROM OrdVenDett"))) {
        const ChiaveRiga k{r[0].toInt(), r[1].toInt(), r[2].toInt()};
        const auto prima = m_righe.find(k);
        const double evasaOra = r[3].toDouble() - (prima == m_righe.end() ? 0 : prima->second);
        const double documenti = consegnato.count(k) ? consegnato.at(k) : 0;
        if (!uguali(evasaOra, documenti))
            out << QStringLiteral("Ordine %1: evaso %2, nei documenti %3")
                       .arg(chiave(std::get<0>(k), std::get<1>(k), std::get<2>(k)))
                       .arg(evasaOra)
                       .arg(documenti);
    }
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Anno, NumRif, RigLiv, Livello1, Livello2, QtaEvasa FROM OrdVenLiv"))) {
        const ChiaveLivello k{r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toString(), r[4].toString()};
        const auto prima = m_livelli.find(k);
        const double evasaOra = r[5].toDouble() - (prima == m_livelli.end() ? 0 : prima->second);
        const double documenti = consegnatoLiv.count(k) ? consegnatoLiv.at(k) : 0;
        if (!uguali(evasaOra, documenti))
            out << QStringLiteral("Ordine %1 livello %2-%3: evaso %4, nei documenti %5")
                       .arg(chiave(std::get<0>(k), std::get<1>(k), std::get<2>(k)), std::get<3>(k), std::get<4>(k))
                       .arg(evasaOra)
                       .arg(documenti);
    }

    // Committed quantities: the open quantity of every stock line or level of every order.
    using ChiaveProg = std::tuple<QString, QString, QString>;
    std::map<ChiaveProg, double> aperto;
    std::set<QString> magazzino;
    for (const QVariantList &r : righeQuery(db, QStringLiteral("SELECT Articolo FROM Articoli WHERE ArtMag = 'S'")))
        magazzino.insert(r[0].toString());
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
    for (const QVariantList &r :
         righeQuery(db, QStringLiteral("SELECT Articolo, Livello1, Livello2, QtaImpCli FROM ArticoliProg"))) {
        const ChiaveProg k{r[0].toString(), r[1].toString(), r[2].toString()};
        const double atteso = aperto.count(k) ? aperto.at(k) : 0;
        if (!uguali(r[3].toDouble(), atteso))
            out << QStringLiteral("Impegnato di %1 %2-%3: %4, aperto negli ordini %5")
                       .arg(std::get<0>(k), std::get<1>(k), std::get<2>(k))
                       .arg(r[3].toDouble())
                       .arg(atteso);
    }
    return out;
}
