#include "invarianti.h"

#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"

#include <QSet>
#include <cmath>
#include <set>
#include <vector>

namespace {

constexpr double kTolleranza = 1e-6;

using Riga = std::vector<Variant>;

std::vector<Riga> leggi(const QString &sql)
{
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql);
    Recordset &r = rs.Recordset(a);
    std::vector<Riga> out;
    out.reserve(size_t(r.RecordCount()));
    for (int i = 0; i < r.RecordCount(); ++i) {
        Riga riga;
        for (int c = 0; c < r.FieldsCount(); ++c)
            riga.push_back(r.Valore(i, c));
        out.push_back(std::move(riga));
    }
    rs.Chiudi(a);
    return out;
}

int intero(const Variant &v)
{
    return v.isBlank() ? 0 : int(v.toLong());
}

double numero(const Variant &v)
{
    return v.isBlank() ? 0.0 : v.toDouble();
}

bool uguali(double a, double b)
{
    return std::abs(a - b) <= kTolleranza;
}

QString testoRiga(const ChiaveRigaOrdine &k)
{
    return QStringLiteral("%1/%2 riga %3").arg(std::get<0>(k)).arg(std::get<1>(k)).arg(std::get<2>(k));
}

QString testoLivello(const ChiaveLivelloOrdine &k)
{
    return QStringLiteral("%1/%2 riga %3 livello %4-%5")
        .arg(std::get<0>(k))
        .arg(std::get<1>(k))
        .arg(std::get<2>(k))
        .arg(std::get<3>(k), std::get<4>(k));
}

bool aperta(const Variant &stato)
{
    return stato.text().compare(QLatin1String("E"), Qt::CaseInsensitive) != 0;
}

// One family of tables whose lines carry an order line as their provenance.
struct Famiglia {
    QString testa, dett, liv, numero, qta;
    bool righeArticolo; // its lines have a TipoRiga ("A" and "M" are the fulfilled ones)
};

const std::vector<Famiglia> &famiglie()
{
    static const std::vector<Famiglia> f{
        {QStringLiteral("DdtTest"), QStringLiteral("DdtDett"), QStringLiteral("DdtLiv"), QStringLiteral("NumRif"),
         QStringLiteral("QtaProv"), true},
        {QStringLiteral("FatTest"), QStringLiteral("FatDett"), QStringLiteral("FatLiv"), QStringLiteral("NumRif"),
         QStringLiteral("QtaProv"), true},
        {QStringLiteral("MovMagTes"), QStringLiteral("MovMagDett"), QStringLiteral("MovMagLiv"),
         QStringLiteral("NumReg"), QStringLiteral("Qta"), false},
        {QString(), QStringLiteral("MovMagDettApp"), QStringLiteral("MovMagLivApp"), QStringLiteral("NumReg"),
         QStringLiteral("Qta"), false},
    };
    return f;
}

// What the documents carry for the orders.
struct Consegnato {
    std::map<ChiaveRigaOrdine, double> qta;
    std::map<ChiaveRigaOrdine, int> righe;
    std::map<ChiaveRigaOrdine, QStringList> dove;
    std::map<ChiaveLivelloOrdine, double> qtaLivelli;
    std::map<ChiaveLivelloOrdine, int> righeLivelli;
    // Orders sold for cash: their lines of articles kept out of stock get no movement line.
    std::set<std::pair<int, int>> ordiniCorrispettivo;
};

void leggiFamiglia(const Famiglia &f, Consegnato &c, QStringList &guasti)
{
    const QString n = f.numero;
    // The document line (its table, year, number, row) -> the order line it comes from.
    std::map<std::tuple<int, int, int>, ChiaveRigaOrdine> provenienza;
    std::map<std::pair<int, int>, std::set<int>> righeDet;
    std::set<std::pair<int, int>> documentiConRighe;
    const QString campi = QStringLiteral("Anno, ") + n + QStringLiteral(", RigLiv, ") +
                          (f.righeArticolo ? QStringLiteral("RigDet, TipoRiga, ") : QStringLiteral("RigLiv, '' As Tipo, ")) +
                          QStringLiteral("TipoProv, AnnoRifProv, NumRifProv, RigaRifProv, ") + f.qta;
    for (const Riga &r : leggi(QStringLiteral("Select ") + campi + QStringLiteral(" from ") + f.dett)) {
        const int anno = intero(r[0]), num = intero(r[1]), rigLiv = intero(r[2]);
        documentiConRighe.insert({anno, num});
        if (f.righeArticolo && !righeDet[{anno, num}].insert(intero(r[3])).second)
            guasti << QStringLiteral("%1 %2/%3: due righe con RigDet %4").arg(f.dett).arg(anno).arg(num).arg(intero(r[3]));
        const QString tipo = r[4].text().toUpper();
        if (r[5].text().compare(QLatin1String("O"), Qt::CaseInsensitive) != 0)
            continue;
        if (f.righeArticolo && tipo != QLatin1String("A") && tipo != QLatin1String("M"))
            continue;
        const ChiaveRigaOrdine ordine{intero(r[6]), intero(r[7]), intero(r[8])};
        if (!f.righeArticolo)
            c.ordiniCorrispettivo.insert({intero(r[6]), intero(r[7])});
        provenienza[{anno, num, rigLiv}] = ordine;
        c.qta[ordine] += numero(r[9]);
        c.righe[ordine] += 1;
        c.dove[ordine] << QStringLiteral("%1 %2/%3 riga %4").arg(f.dett).arg(anno).arg(num).arg(rigLiv);
    }
    for (const Riga &r : leggi(QStringLiteral("Select Anno, ") + n + QStringLiteral(", RigLiv, Livello1, Livello2, ") + f.qta +
                               QStringLiteral(" from ") + f.liv)) {
        const auto it = provenienza.find({intero(r[0]), intero(r[1]), intero(r[2])});
        if (it == provenienza.end())
            continue;
        const auto &[a, nr, rl] = it->second;
        const ChiaveLivelloOrdine livello{a, nr, rl, r[3].text(), r[4].text()};
        c.qtaLivelli[livello] += numero(r[5]);
        c.righeLivelli[livello] += 1;
    }
    if (f.testa.isEmpty())
        return;
    std::set<std::pair<int, int>> testate;
    for (const Riga &r : leggi(QStringLiteral("Select Anno, ") + n + QStringLiteral(" from ") + f.testa)) {
        const std::pair<int, int> k{intero(r[0]), intero(r[1])};
        if (!testate.insert(k).second)
            guasti << QStringLiteral("%1: numero %2/%3 dato due volte").arg(f.testa).arg(k.first).arg(k.second);
        if (f.righeArticolo && !documentiConRighe.count(k))
            guasti << QStringLiteral("%1 %2/%3 senza righe").arg(f.testa).arg(k.first).arg(k.second);
    }
}

using ChiaveProgressivo = std::tuple<QString, QString, QString>;

std::map<ChiaveProgressivo, double> progressivi(const QString &campo, int16_t anno)
{
    std::map<ChiaveProgressivo, double> out;
    QString sql = QStringLiteral("Select Articolo, Livello1, Livello2, ") + campo +
                  QStringLiteral(" from ArticoliProg Where Magazzino = '01'");
    if (anno != 0)
        sql += QStringLiteral(" And Anno = ") + QString::number(anno);
    for (const Riga &r : leggi(sql))
        out[{r[0].text().toUpper(), r[1].text().toUpper(), r[2].text().toUpper()}] += numero(r[3]);
    return out;
}

// The quantities the posted movements issued, by article and levels.
std::map<ChiaveProgressivo, double> scaricatoDaiMovimenti()
{
    std::map<ChiaveProgressivo, double> out;
    std::map<std::tuple<int, int, int>, QString> articoli;
    for (const Riga &r : leggi(QStringLiteral("Select Anno, NumReg, RigLiv, Articolo, Qta from MovMagDett")))
        articoli[{intero(r[0]), intero(r[1]), intero(r[2])}] = r[3].text().toUpper();
    std::set<std::tuple<int, int, int>> conLivelli;
    for (const Riga &r : leggi(QStringLiteral("Select Anno, NumReg, RigLiv, Livello1, Livello2, Qta from MovMagLiv"))) {
        const std::tuple<int, int, int> riga{intero(r[0]), intero(r[1]), intero(r[2])};
        conLivelli.insert(riga);
        out[{articoli[riga], r[3].text().toUpper(), r[4].text().toUpper()}] += numero(r[5]);
    }
    const QString senzaLivello = QStringLiteral("~\u00e7~").toUpper();
    for (const Riga &r : leggi(QStringLiteral("Select Anno, NumReg, RigLiv, Articolo, Qta from MovMagDett")))
        if (!conLivelli.count({intero(r[0]), intero(r[1]), intero(r[2])}))
            out[{r[3].text().toUpper(), senzaLivello, senzaLivello}] += numero(r[4]);
    return out;
}

} // namespace

OrdiniPrima fotografaOrdini()
{
    OrdiniPrima p;
    p.scarico = progressivi(QStringLiteral("QtaScarico"), 0);
    for (const Riga &r : leggi(QStringLiteral("Select Anno, NumRif, RigLiv, QtaEvasa from OrdVenDett")))
        p.evasaRighe[{intero(r[0]), intero(r[1]), intero(r[2])}] = numero(r[3]);
    for (const Riga &r : leggi(QStringLiteral("Select Anno, NumRif, RigLiv, Livello1, Livello2, QtaEvasa from OrdVenLiv")))
        p.evasaLivelli[{intero(r[0]), intero(r[1]), intero(r[2]), r[3].text(), r[4].text()}] = numero(r[5]);
    return p;
}

QStringList verificaInvarianti(const OrdiniPrima &prima, int16_t anno)
{
    QStringList guasti;
    Consegnato c;
    for (const Famiglia &f : famiglie())
        leggiFamiglia(f, c, guasti);

    QSet<QString> magazzino;
    for (const Riga &r : leggi(QStringLiteral("Select Articolo, ArtMag from Articoli")))
        if (r[1].text().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0)
            magazzino.insert(r[0].text().toUpper());
    // Article and levels -> quantity still open on the orders.
    std::map<std::tuple<QString, QString, QString>, double> aperto;
    const QString senzaLivello = QStringLiteral("~\u00e7~");

    std::set<ChiaveRigaOrdine> conLivelli;
    for (const Riga &r : leggi(QStringLiteral("Select OrdVenLiv.Anno, OrdVenLiv.NumRif, OrdVenLiv.RigLiv, Livello1, "
                                              "Livello2, OrdVenLiv.Qta, OrdVenLiv.QtaEvasa, OrdVenLiv.StatoRiga, "
                                              "OrdVenDett.Articolo from OrdVenLiv Inner Join OrdVenDett On "
                                              "OrdVenLiv.Anno = OrdVenDett.Anno And OrdVenLiv.NumRif = "
                                              "OrdVenDett.NumRif And OrdVenLiv.RigLiv = OrdVenDett.RigLiv"))) {
        const ChiaveLivelloOrdine k{intero(r[0]), intero(r[1]), intero(r[2]), r[3].text(), r[4].text()};
        conLivelli.insert({intero(r[0]), intero(r[1]), intero(r[2])});
        const double qta = numero(r[5]), evasa = numero(r[6]);
        const auto p = prima.evasaLivelli.find(k);
        const double evasaPrima = p == prima.evasaLivelli.end() ? 0.0 : p->second;
        const double consegnata = c.qtaLivelli.count(k) ? c.qtaLivelli.at(k) : 0.0;
        const bool senzaMovimento = !magazzino.contains(r[8].text().toUpper()) && !c.righeLivelli.count(k) &&
                                    c.ordiniCorrispettivo.count({std::get<0>(k), std::get<1>(k)});
        if (!senzaMovimento && !uguali(evasa - evasaPrima, consegnata))
            guasti << QStringLiteral("livello %1: evaso %2 in piu', nei documenti %3").arg(testoLivello(k)).arg(evasa - evasaPrima).arg(consegnata);
        if (c.righeLivelli.count(k) && c.righeLivelli.at(k) > 1)
            guasti << QStringLiteral("livello %1 evaso da %2 righe").arg(testoLivello(k)).arg(c.righeLivelli.at(k));
        if (evasa > qta + kTolleranza)
            guasti << QStringLiteral("livello %1: evaso %2 su %3 ordinati").arg(testoLivello(k)).arg(evasa).arg(qta);
        if (aperta(r[7]) == (evasa >= qta - kTolleranza) && qta > 0)
            guasti << QStringLiteral("livello %1: stato '%2' con %3 evasi su %4").arg(testoLivello(k), r[7].text()).arg(evasa).arg(qta);
        const QString articolo = r[8].text().toUpper();
        if (magazzino.contains(articolo) && aperta(r[7]))
            aperto[{articolo, r[3].text().toUpper(), r[4].text().toUpper()}] += qta - evasa;
    }

    // Order -> whether an article line is still open.
    std::map<std::pair<int, int>, bool> ordineAperto;
    for (const Riga &r : leggi(QStringLiteral("Select Anno, NumRif, RigLiv, TipoRiga, Articolo, Qta, QtaEvasa, StatoRiga "
                                              "from OrdVenDett"))) {
        const ChiaveRigaOrdine k{intero(r[0]), intero(r[1]), intero(r[2])};
        const QString tipo = r[3].text().toUpper();
        if (tipo != QLatin1String("A") && tipo != QLatin1String("M"))
            continue;
        const double qta = numero(r[5]), evasa = numero(r[6]);
        const auto p = prima.evasaRighe.find(k);
        const double evasaPrima = p == prima.evasaRighe.end() ? 0.0 : p->second;
        const double consegnata = c.qta.count(k) ? c.qta.at(k) : 0.0;
        const bool senzaMovimento = !magazzino.contains(r[4].text().toUpper()) && !c.righe.count(k) &&
                                    c.ordiniCorrispettivo.count({std::get<0>(k), std::get<1>(k)});
        if (!senzaMovimento && !uguali(evasa - evasaPrima, consegnata))
            guasti << QStringLiteral("riga ordine %1: evasa %2 in piu', nei documenti %3 (%4)")
                          .arg(testoRiga(k))
                          .arg(evasa - evasaPrima)
                          .arg(consegnata)
                          .arg(c.dove.count(k) ? c.dove.at(k).join(QStringLiteral(", ")) : QString());
        if (c.righe.count(k) && c.righe.at(k) > 1)
            guasti << QStringLiteral("riga ordine %1 evasa due volte: %2").arg(testoRiga(k), c.dove.at(k).join(QStringLiteral(", ")));
        if (evasa > qta + kTolleranza)
            guasti << QStringLiteral("riga ordine %1: evasa %2 su %3 ordinati").arg(testoRiga(k)).arg(evasa).arg(qta);
        if (aperta(r[7]) == (evasa >= qta - kTolleranza) && qta > 0)
            guasti << QStringLiteral("riga ordine %1: stato '%2' con %3 evasi su %4").arg(testoRiga(k), r[7].text()).arg(evasa).arg(qta);
        const bool rigaAperta = aperta(r[7]);
        bool &o = ordineAperto[{std::get<0>(k), std::get<1>(k)}];
        o = o || rigaAperta;
        const QString articolo = r[4].text().toUpper();
        if (rigaAperta && magazzino.contains(articolo) && !conLivelli.count(k))
            aperto[{articolo, senzaLivello.toUpper(), senzaLivello.toUpper()}] += qta - evasa;
    }
    for (const Riga &r : leggi(QStringLiteral("Select Anno, NumRif, Stato, OrdAperto from OrdVenTest"))) {
        if (r[3].text().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0)
            continue;
        const auto o = ordineAperto.find({intero(r[0]), intero(r[1])});
        const bool apertoOra = o != ordineAperto.end() && o->second;
        if (!aperta(r[2]) && apertoOra)
            guasti << QStringLiteral("ordine %1/%2 'E' con righe aperte").arg(intero(r[0])).arg(intero(r[1]));
        if (aperta(r[2]) && !apertoOra && o != ordineAperto.end())
            guasti << QStringLiteral("ordine %1/%2 senza righe aperte ma in stato '%3'").arg(intero(r[0])).arg(intero(r[1])).arg(r[2].text());
    }

    const std::map<ChiaveProgressivo, double> impegnato = progressivi(QStringLiteral("QtaImpCli"), anno);
    for (const auto &[k, q] : aperto)
        if (!impegnato.count(k) && !uguali(q, 0))
            guasti << QStringLiteral("progressivo %1 %2-%3 mancante, aperti %4").arg(std::get<0>(k), std::get<1>(k), std::get<2>(k)).arg(q);
    for (const auto &[k, q] : impegnato) {
        const double atteso = aperto.count(k) ? aperto.at(k) : 0.0;
        if (!uguali(q, atteso))
            guasti << QStringLiteral("progressivo %1 %2-%3: impegnati %4, aperti sugli ordini %5")
                          .arg(std::get<0>(k), std::get<1>(k), std::get<2>(k))
                          .arg(q)
                          .arg(atteso);
    }

    // Issued quantities: the progressives of every year, as the movements' own year decides.
    const std::map<ChiaveProgressivo, double> scarico = progressivi(QStringLiteral("QtaScarico"), 0);
    const std::map<ChiaveProgressivo, double> movimenti = scaricatoDaiMovimenti();
    std::set<ChiaveProgressivo> chiavi;
    for (const auto &m : {scarico, movimenti, prima.scarico})
        for (const auto &[k, q] : m)
            chiavi.insert(k);
    for (const ChiaveProgressivo &k : chiavi) {
        const auto valore = [&k](const std::map<ChiaveProgressivo, double> &m) { return m.count(k) ? m.at(k) : 0.0; };
        if (magazzino.contains(std::get<0>(k)) && !uguali(valore(scarico) - valore(prima.scarico), valore(movimenti)))
            guasti << QStringLiteral("progressivo %1 %2-%3: scaricati %4 in piu', nei movimenti %5")
                          .arg(std::get<0>(k), std::get<1>(k), std::get<2>(k))
                          .arg(valore(scarico) - valore(prima.scarico))
                          .arg(valore(movimenti));
    }
    return guasti;
}

QStringList righeRimaste()
{
    QStringList out;
    for (const Riga &r : leggi(QStringLiteral("Select Tipo, Anno, NumReg, Utente, Stato from LockGest")))
        out << QStringLiteral("LockGest %1 %2/%3 di %4 stato %5").arg(r[0].text()).arg(intero(r[1])).arg(intero(r[2])).arg(r[3].text(), r[4].text());
    for (const Riga &r : leggi(QStringLiteral("Select Utente, Anno, NumReg from DocDaElab")))
        out << QStringLiteral("DocDaElab %1/%2 di %3").arg(intero(r[1])).arg(intero(r[2])).arg(r[0].text());
    return out;
}

QList<int> ordiniEvasi(int16_t anno)
{
    QList<int> out;
    for (const Riga &r : leggi(QStringLiteral("Select NumRif, Stato from OrdVenTest Where Anno = ") + QString::number(anno) +
                               QStringLiteral(" Order By NumRif")))
        if (!aperta(r[1]))
            out << intero(r[0]);
    return out;
}

QMap<int, QString> tipiOrdine(int16_t anno)
{
    QMap<int, QString> out;
    for (const Riga &r : leggi(QStringLiteral("Select NumRif, FattDocumento from OrdVenTest Where Anno = ") + QString::number(anno)))
        out.insert(intero(r[0]), r[1].text());
    return out;
}
