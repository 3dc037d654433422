#include "colonnegriglie.h"

#include "modellogriglia.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <cmath>

namespace {

QString lit(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }

constexpr Qt::Alignment kCentro = Qt::AlignHCenter | Qt::AlignVCenter;

// A field of the line grid: its slot with and without levels (0 none), caption, width in twips.
struct CampoCorpo {
    const char *campo;
    int16_t slotLivelli;
    int16_t slotSenza;
    const char *titolo;
    int16_t larghezza;
    bool modificabile;
};
constexpr std::array<CampoCorpo, 13> kCorpo{{
    {"NumRif", 1, 1, "Nr.Rif.", 700, false},
    {"RigDet", 2, 2, "Riga", 570, false},
    {"Livello1", 3, 0, "Liv1", 500, false},
    {"Livello2", 4, 0, "Liv2", 500, false},
    {"Articolo", 5, 3, "Cod. Articolo", 1300, false},
    {"UM", 6, 4, "UM", 430, false},
    {"Qta", 7, 5, "Qta Ord.", 870, false},
    {"QtaEvasa", 8, 6, "Qta Evasa", 1020, false},
    {"QtaDaEva", 9, 7, "Da Evad.", 1020, true},
    {"ASaldo", 10, 8, "A Saldo", 800, true},
    {"ValUnitario", 11, 9, "Val. Unitario", 1200, false},
    {"DataCons", 12, 10, "Dt. Cons", 1000, false},
    {"Descrizione", 13, 11, "Descrizione", 5300, false},
}};

struct CampoSpesa {
    const char *titolo;
    int16_t larghezza;
};
// Positions 2 to 11 of the expenses grid.
constexpr std::array<CampoSpesa, 10> kSpese{{
    {"Nr.Rif.", 700}, {"Riga", 570}, {"Spesa", 650}, {"Descrizione", 2900}, {"Sel.", 570},
    {"Iva", 500}, {"%", 700}, {"Importo", 1250}, {"Importo Max.", 1250}, {"Importo Min.", 1250},
}};
constexpr int kPosSelSpese = 6;

void larghezza(ColonnaGriglia &c, double twip, double fattore)
{
    if (twip > 0)
        c.larghezza = PixelDaTwip(twip, fattore);
}

} // namespace

const std::array<CampoTesta, kCampiTesta> kTesta{{
    {"OrdVenEvaTest.Utente", "", 0, false, false},
    {"OrdVenEvaTest.Anno", "", 0, false, false},
    {"OrdVenEvaTest.NumRif", "Nr.Rif.", 700, false, false},
    {"OrdVenTest.DataRif", "Data Rif.", 1000, false, true},
    {"OrdVenEvaTest.Selez", "Sel.", 500, true, true},
    {"OrdVenEvaTest.EvadeTutto", "Tutto", 600, true, true},
    {"OrdVenTest.Descrizione", "Descrizione", 1900, false, false},
    {"OrdVenTest.Stato", "Stato", 600, false, false},
    {"OrdVenTest.RifCli", "Riferimento cliente", 1900, false, false},
    {"OrdVenTest.DataCons", "Dt.Cons.", 1000, false, false},
    {"OrdVenTest.ConsTotale", "Cons.Tot.", 900, false, false},
    {"OrdVenTest.OrdAperto", "Aperto", 700, false, false},
    {"OrdVenTest.Pagamento", "Pagam.", 800, false, false},
    {"OrdVenTest.MagazzProv", "Magazzino", 700, false, false},
    {"OrdVenTest.IvaSosp", "Iva Diff.", 800, false, false},
    {"OrdVenTest.PrezziIvati", "Prz.Ivati", 800, false, false},
    {"OrdVenTest.Iva", "Iva", 600, false, false},
    {"OrdVenTest.Moneta", "Moneta", 800, false, false},
    {"OrdVenTest.ScontoPag", "Scon.Pag.", 1000, false, false},
    {"OrdVenTest.Banca", "Banca", 1200, false, false},
    {"OrdVenTest.IndSped", "Ind.Sped.", 900, false, false},
    {"OrdVenTest.Vettore", "Vettore", 800, false, false},
    {"OrdVenTest.Resa", "Resa", 600, false, false},
    {"OrdVenTest.Agente1", "Agente 1", 900, false, false},
    {"OrdVenTest.Agente2", "Agente 2", 900, false, false},
    {"OrdVenTest.MagazzDest", "Cliente ", 900, false, false},
    {"OrdVenTest.Lingua", "Lingua", 900, false, false},
    {"OrdVenTest.NumDoc", "Nr.Doc.", 700, false, false},
    {"OrdVenTest.DataDoc", "Data Doc.", 1000, false, true},
}};

int PixelDaTwip(double twip, double fattore)
{
    // 12 twips a pixel, not 15: today's fonts are a quarter wider than the design's
    return static_cast<int>(std::lround(twip * (fattore > 0 ? fattore : 1.0) / 12.0));
}

// Always under its name, between brackets: a name with blanks, or a source that names a table,
// is found in the grid by the name the layout gives.
static QString itemAggTesta(const CampoAggTesta &c)
{
    return c.orig + QStringLiteral(" as [") + c.nome + QLatin1Char(']');
}

QString ListaTesta(const std::vector<int16_t> &ordine, const std::vector<CampoAggTesta> &agg,
                   std::array<int16_t, kCampiTesta> &posizioni)
{
    posizioni.fill(0);
    std::array<bool, kCampiTesta> posto{};
    std::vector<bool> postaAgg(agg.size(), false);
    QString lista;
    int16_t pos = 0;
    auto metti = [&](const QString &item) {
        lista += QLatin1Char(',') + item;
        return pos++;
    };
    auto mettiCampo = [&](size_t k) {
        posizioni[k] = metti(QString::fromLatin1(kTesta[k].item));
        posto[k] = true;
    };
    mettiCampo(0);
    mettiCampo(1);
    for (const int16_t v : ordine) {
        if (v <= 100) {
            if (v >= 1 && v <= 27 && !posto[static_cast<size_t>(v + 1)])
                mettiCampo(static_cast<size_t>(v + 1));
        } else {
            const size_t k = static_cast<size_t>(v - 101);
            if (k < agg.size() && !postaAgg[k]) {
                metti(itemAggTesta(agg[k]));
                postaAgg[k] = true;
            }
        }
    }
    for (size_t k = 2; k < kTesta.size(); ++k)
        if (!posto[k])
            mettiCampo(k);
    for (size_t k = 0; k < agg.size(); ++k)
        if (!postaAgg[k])
            metti(itemAggTesta(agg[k]));
    return lista.mid(1);
}

QString SqlGrigliaTesta(const QString &listaCampi, const QString &utente)
{
    return QStringLiteral("Select ") + listaCampi + QLatin1String(kDaTestata) + QStringLiteral(" Where OrdVenEvaTest.Utente = ") +
           lit(utente) + QStringLiteral(" ORDER BY OrdVenEvaTest.Anno, OrdVenEvaTest.NumRif,OrdVenTest.DataRif");
}

QString ListaCorpo(bool livelli, const std::vector<int16_t> &ordine, const std::vector<CampoAggCorpo> &agg)
{
    std::array<QString, 14> slot;
    for (const CampoCorpo &c : kCorpo) {
        const int16_t s = livelli ? c.slotLivelli : c.slotSenza;
        if (s > 0)
            slot[static_cast<size_t>(s)] = QString::fromLatin1(c.campo);
    }
    std::vector<bool> posta(agg.size(), false);
    QString lista;
    for (const int16_t n : ordine) {
        if (n <= 100) {
            if (n >= 1 && n <= 13 && !slot[static_cast<size_t>(n)].isEmpty()) {
                lista += QLatin1Char(',') + slot[static_cast<size_t>(n)];
                slot[static_cast<size_t>(n)].clear();
            }
        } else {
            const size_t k = static_cast<size_t>(n - 101);
            if (k < agg.size() && !posta[k]) {
                lista += QLatin1Char(',') + agg[k].colonna;
                posta[k] = true;
            }
        }
    }
    for (size_t s = 1; s < slot.size(); ++s)
        if (!slot[s].isEmpty())
            lista += QLatin1Char(',') + slot[s];
    for (size_t k = 0; k < agg.size(); ++k)
        if (!posta[k])
            lista += QLatin1Char(',') + agg[k].colonna;
    lista += QStringLiteral(", Utente, Anno, RigLiv");
    if (!livelli)
        lista += QStringLiteral(", Livello1, Livello2");
    lista += QStringLiteral(", RigLivRAEE");
    return lista.mid(1);
}

QString SqlGrigliaCorpo(const QString &listaCampi, const QString &utente, bool livelli, bool mostraLivelli)
{
    QString sql = QStringLiteral("Select ") + listaCampi + QStringLiteral(" FROM OrdVenEvaDett") +
                  QStringLiteral(" Where OrdVenEvaDett.Utente = ") + lit(utente);
    if (livelli)
        sql += (mostraLivelli ? QStringLiteral(" and (Livello1 <> ") : QStringLiteral(" and (Livello1 = ")) +
               lit(QStringLiteral("*liv")) + QStringLiteral(" or (Livello1 = ' ' And Livello2 = ' '))");
    return sql + QStringLiteral(" ORDER BY OrdVenEvaDett.Anno, OrdVenEvaDett.NumRif") +
           QStringLiteral(" ,OrdVenEvaDett.RigDet,OrdVenEvaDett.Livello1,OrdVenEvaDett.Livello2");
}

QString SqlGrigliaSpese(const QString &utente)
{
    return QStringLiteral("Select OrdVenEvaSpese.Utente,OrdVenEvaSpese.Anno, OrdVenEvaSpese.NumRif") +
           QStringLiteral(",OrdVenEvaSpese.Riga,OrdVenSpese.Spesa") +
           QStringLiteral(",Spese.Descrizione,OrdVenEvaSpese.Selez,OrdVenSpese.Iva") +
           QStringLiteral(",OrdVenSpese.Percentuale,OrdVenSpese.Importo") +
           QStringLiteral(",OrdVenSpese.ImportoMax,OrdVenSpese.ImportoMin") +
           QStringLiteral(" FROM (OrdVenEvaSpese LEFT JOIN OrdVenSpese") +
           QStringLiteral(" ON OrdVenSpese.Anno = OrdVenEvaSpese.Anno") +
           QStringLiteral(" AND OrdVenSpese.NumRif = OrdVenEvaSpese.NumRif") +
           QStringLiteral(" AND OrdVenSpese.Riga = OrdVenEvaSpese.Riga)") + QStringLiteral(" LEFT JOIN Spese") +
           QStringLiteral(" ON Spese.Spesa = OrdVenSpese.Spesa") + QStringLiteral(" Where OrdVenEvaSpese.Utente = ") +
           lit(utente) + QStringLiteral(" ORDER BY OrdVenEvaSpese.Anno, OrdVenEvaSpese.NumRif") +
           QStringLiteral(" ,OrdVenEvaSpese.Riga");
}

namespace {

// A user's extra column: read-only, with its caption, width and format.
void colonnaAggiunta(ModelloGriglia &m, const QString &colonna, const QString &titolo, double larg,
                     const QString &formato, double fattore)
{
    const int c = m.Colonna(colonna);
    if (c < 0)
        return;
    ColonnaGriglia &col = m.colonna(c);
    col.intestazione = titolo;
    larghezza(col, larg, fattore);
    if (!formato.isEmpty())
        col.formato = formato;
    col.bloccata = true;
}

} // namespace

void LayoutTesta(ModelloGriglia &m, const std::array<int16_t, kCampiTesta> &posizioni,
                 const std::vector<CampoAggTesta> &agg, double fattore)
{
    const int n = m.columnCount();
    for (size_t k = 0; k < kTesta.size(); ++k) {
        const int c = posizioni[k];
        if (c < 0 || c >= n)
            continue;
        ColonnaGriglia &col = m.colonna(c);
        if (k < 2) {
            col.visibile = false;
            continue;
        }
        col.intestazione = QString::fromLatin1(kTesta[k].titolo);
        larghezza(col, kTesta[k].larghezza, fattore);
        col.bloccata = !kTesta[k].modificabile;
        if (kTesta[k].centrato)
            col.allineamento = kCentro;
    }
    // headed by its name as written (a server may give the column's name in lower case)
    for (const CampoAggTesta &a : agg)
        colonnaAggiunta(m, a.nome, a.nome, a.larg, a.formato, fattore);
    m.LayoutCambiato();
}

void LayoutCorpo(ModelloGriglia &m, const OpzioniCorpo &o, const std::vector<CampoAggCorpo> &agg, double fattore)
{
    for (const char *nascosta : {"Utente", "Anno", "RigLiv", "RigLivRAEE"}) {
        const int c = m.Colonna(QString::fromLatin1(nascosta));
        if (c >= 0)
            m.colonna(c).visibile = false;
    }
    for (const CampoCorpo &cc : kCorpo) {
        const QString campo = QString::fromLatin1(cc.campo);
        const int c = m.Colonna(campo);
        if (c < 0)
            continue;
        ColonnaGriglia &col = m.colonna(c);
        col.intestazione = QString::fromLatin1(cc.titolo);
        larghezza(col, cc.larghezza, fattore);
        col.bloccata = !cc.modificabile;
        if (campo == QLatin1String("Qta") || campo == QLatin1String("QtaEvasa") || campo == QLatin1String("QtaDaEva"))
            col.formato = o.mascheraQta;
        if (campo == QLatin1String("ASaldo"))
            col.allineamento = kCentro;
        if (campo == QLatin1String("ValUnitario")) {
            col.formato = o.mascheraPrezzo;
            col.bloccata = !o.prezzoModificabile;
            col.visibile = !o.prezzoNascosto;
        }
        if (cc.slotSenza == 0 && !o.livelli)
            col.visibile = false;
    }
    for (const CampoAggCorpo &a : agg)
        colonnaAggiunta(m, a.colonna, a.titolo, a.larg, a.formato, fattore);
    m.LayoutCambiato();
}

void LayoutSpese(ModelloGriglia &m, const QString &mascheraImporti, double fattore)
{
    const int n = m.columnCount();
    for (int c = 0; c < n; ++c) {
        ColonnaGriglia &col = m.colonna(c);
        col.bloccata = true;
        if (c < 2) {
            col.visibile = false;
            continue;
        }
        if (c - 2 >= static_cast<int>(kSpese.size()))
            continue;
        const CampoSpesa &s = kSpese[static_cast<size_t>(c - 2)];
        col.intestazione = QString::fromLatin1(s.titolo);
        larghezza(col, s.larghezza, fattore);
        if (c == kPosSelSpese)
            col.allineamento = kCentro;
        if (c >= 9)
            col.formato = mascheraImporti;
    }
    m.LayoutCambiato();
}
