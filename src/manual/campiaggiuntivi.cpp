#include "campiaggiuntivi.h"

#include "connessionedb.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "parametri.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

const QString kSezione = QStringLiteral("Ordini");

QStringList parti(const QString &definizione)
{
    QStringList p = definizione.split(QLatin1Char(':'));
    while (p.size() < 4)
        p << QString();
    return p;
}

int32_t larghezza(const QString &testo) { return UtilGenerali::ValoreLong(Variant(testo), true); }

// "Campo" or "Tabella.Campo".
const QRegularExpression &reCampo()
{
    static const QRegularExpression re(QStringLiteral("^(?:([A-Za-z_][A-Za-z0-9_]*)\\.)?([A-Za-z_][A-Za-z0-9_]*)$"));
    return re;
}

// A header source goes into the select list as it is: one expression, never a further statement
// or a comment that would hide the rest of the query.
bool sorgenteTestaAmmessa(const QString &s)
{
    return !s.trimmed().isEmpty() && !s.contains(QLatin1Char(';')) && !s.contains(QStringLiteral("--")) &&
           !s.contains(QStringLiteral("/*")) && !s.contains(QStringLiteral("*/"));
}

// The alias of a header column is written between brackets: a name, blanks and dots allowed.
bool nomeTestaAmmesso(const QString &n)
{
    static const QRegularExpression re(QStringLiteral("^[\\w .%/-]+$"));
    return re.match(n).hasMatch();
}

// The source as the header query selects it, or empty when the query could not: a field of the
// order (OrdVenTest, looked up first) or of its staging row (OrdVenEvaTest), written with its
// table; any other expression as written, once the engine has taken it in that query.
QString sorgenteTesta(const QString &sorgente)
{
    const QString s = sorgente.trimmed();
    if (!sorgenteTestaAmmessa(s))
        return {};
    const QStringList tabelle{QStringLiteral("OrdVenTest"), QStringLiteral("OrdVenEvaTest")};
    const auto campo = reCampo().match(s);
    try {
        if (campo.hasMatch()) {
            const DatabaseDao db = ggDbAzienda->Database(gsNomeConn);
            for (const QString &t : tabelle) {
                if (!campo.captured(1).isEmpty() && !textEquals(campo.captured(1), t))
                    continue;
                if (db.EsisteCampo(t, campo.captured(2)))
                    return t + QLatin1Char('.') + campo.captured(2);
            }
            return {};
        }
        GestRecordset rs;
        const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, {},
                                      QStringLiteral("Select ") + s + QStringLiteral(" As [Prova]") +
                                          QLatin1String(kDaTestata) + QStringLiteral(" Where False"),
                                      false, dbOpenSnapshot);
        rs.Chiudi(alias);
        return s;
    } catch (const AppError &) {
        return {};
    }
}

int16_t gruppoDao(int16_t tipo)
{
    switch (tipo) {
    case 4: case 7: case 8: case 12: return tipo;
    case 1: case 2: case 3: case 9: case 16: return 4;
    case 11: return 12;
    case 5: case 6: case 17: case 19: case 20: case 21: return 7;
    case 22: case 23: return 8;
    default: return 10;
    }
}

} // namespace

int16_t CercaTipo(const QString &psCampo, bool livelli)
{
    const auto m = reCampo().match(psCampo.trimmed());
    if (!m.hasMatch())
        return -1;
    QStringList tabelle{QStringLiteral("OrdVenDett"), QStringLiteral("Articoli")};
    if (livelli)
        tabelle << QStringLiteral("OrdVenLiv");
    const QString tabella = m.captured(1);
    if (!tabella.isEmpty()) {
        // Only the tables that the staging of a line reads can give the value.
        const bool letta = std::any_of(tabelle.begin(), tabelle.end(), [&](const QString &t) { return textEquals(t, tabella); });
        if (!letta)
            return -1;
        tabelle = QStringList{tabella};
    }
    try {
        const DatabaseDao db = ggDbAzienda->Database(gsNomeConn);
        for (const QString &t : tabelle) {
            if (db.EsisteCampo(t, m.captured(2)))
                return gruppoDao(db.TableDefs(t).Fields(m.captured(2)).Type());
        }
    } catch (const AppError &) {
        // An unreadable schema finds nothing.
    }
    return -1;
}

std::vector<int16_t> LeggiOrdineColonne(const QString &lista)
{
    std::vector<int16_t> ordine;
    if (lista.isEmpty())
        return ordine;
    for (const QString &voce : lista.split(QLatin1Char(','))) {
        const Variant n = UtilGenerali::ValoreNonNullo(Variant(voce), true, true);
        if (n.isNumber() && n.toDouble() > 0)
            ordine.push_back(n.toInteger());
    }
    return ordine;
}

CampiAggiuntivi LeggiCampiAggiuntivi(bool livelli)
{
    CampiAggiuntivi c;
    const auto leggi = [](const QString &nome) { return LeggiParamPers(kSezione, nome, Variant(QString())).text(); };

    // Definitions numbered from 1; the first empty one ends the list.
    const auto perOgniDefinizione = [&](const QString &radice, const auto &usa) {
        for (int n = 1;; ++n) {
            const QString nome = radice + QString::number(n);
            const QString definizione = leggi(nome);
            if (definizione.isEmpty())
                break;
            usa(nome, parti(definizione));
        }
    };

    perOgniDefinizione(QStringLiteral("EvaLisCampiTeAgg"), [&](const QString &nome, const QStringList &p) {
        // A column the header query cannot select would close the picking at every request.
        CampoAggTesta campo{sorgenteTesta(p[0]), p[1].isEmpty() ? p[0].trimmed() : p[1], larghezza(p[2]), p[3]};
        if (!campo.orig.isEmpty() && nomeTestaAmmesso(campo.nome))
            c.testa.push_back(campo);
        else
            c.scartati << nome;
    });
    c.ordColTesta = LeggiOrdineColonne(leggi(QStringLiteral("EvaOrdCampiTesta")));

    // The spare columns of each type group, handed out in this order.
    struct Ricambi {
        int16_t tipo;
        QStringList colonne;
        int usate = 0;
    } ricambi[] = {
        {12, {QStringLiteral("AltriMemo")}},
        {4, {QStringLiteral("AltriLong")}},
        {8, {QStringLiteral("AltriData")}},
        {10, {QStringLiteral("AltriTesto1"), QStringLiteral("AltriTesto2"), QStringLiteral("AltriTesto3")}},
        {7, {QStringLiteral("AltriDouble1"), QStringLiteral("AltriDouble2"), QStringLiteral("AltriDouble3")}},
    };
    perOgniDefinizione(QStringLiteral("EvaLisCampiAgg"), [&](const QString &nome, const QStringList &p) {
        const int16_t tipo = CercaTipo(p[0], livelli);
        if (tipo < 0) {
            // A field the staging cannot read would make every pick fail.
            c.scartati << nome;
            return;
        }
        for (Ricambi &r : ricambi) {
            if (r.tipo != tipo)
                continue;
            if (r.usate < r.colonne.size())
                c.corpo.push_back({p[0].trimmed(), p[1].isEmpty() ? p[0] : p[1], larghezza(p[2]), tipo,
                                   r.colonne[r.usate++], p[3]});
            break;
        }
    });
    c.ordColCorpo = LeggiOrdineColonne(leggi(QStringLiteral("EvaOrdCampiCorpo")));
    return c;
}
