#include "impegni.h"

#include "apperror.h"
#include "calcoli.h"
#include "connessionedb.h"
#include "contesto.h"
#include "datimagazzino.h"
#include "gestrecordset.h"
#include "parametri.h"
#include "textcompare.h"
#include "transazioni.h"
#include "utilgenerali.h"

#include <QStringList>
#include <vector>

namespace {

const QString kSi = QStringLiteral("S");
// Deeper than any real bill of materials: a longer chain is taken for a loop.
constexpr int kProfonditaMassima = 32;

// The three fields of a family.
struct Famiglia {
    QString qta, val, valLire;
};

Currency importo(const Variant &v)
{
    return Currency::fromDouble(UtilGenerali::ValoreNumerico(v));
}

QString letterale(Currency c)
{
    return UtilGenerali::SqlValore(Variant(c), 6);
}

QString testo(const QString &s)
{
    return UtilGenerali::SqlValore(Variant(s), 8);
}

QString anno(int16_t a)
{
    return UtilGenerali::SqlValore(Variant(a), 2);
}

// A stored value, Null read as 0.
QString zeroSeNullo(const QString &campo)
{
    return QStringLiteral("IIf(") + campo + QStringLiteral(" Is Null, 0, ") + campo + QLatin1Char(')');
}

// A quantity rounded to the company's quantity decimals, to the nearest.
Currency arrotondaQta(Currency c)
{
    return giNumDecQta >= 4 ? c : c.rounded(giNumDecQta < 0 ? 0 : giNumDecQta);
}

// Whether at least one progressive row meets the condition.
bool esistonoRighe(const QString &condizione)
{
    GestRecordset rs;
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                  QStringLiteral("Select Anno from ArticoliProg where ") + condizione, false,
                                  dbOpenSnapshot);
    const bool esistono = !rs.NessunRecord(alias);
    rs.Chiudi(alias);
    return esistono;
}

// Adds the progressive row with its key alone. Another program may add the same row at the same
// moment: its row is then the one to change, and the duplicate is no error.
void creaRiga(int16_t piAnno, const QString &magazzino, const QString &articolo, const QString &livello1,
              const QString &livello2)
{
    IniziaTransazione();
    try {
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Insert into ArticoliProg (Anno, Magazzino, Articolo, "
                                                       "Livello1, Livello2) values (") +
                                            anno(piAnno) + QStringLiteral(", ") + testo(magazzino) +
                                            QStringLiteral(", ") + testo(articolo) + QStringLiteral(", ") +
                                            testo(livello1) + QStringLiteral(", ") + testo(livello2) +
                                            QLatin1Char(')'));
        ConfermaTransazione();
    } catch (const AppError &e) {
        AnnullaTransazione();
        if (UtilGenerali::NumeroErrore(e) != 3022)
            throw;
    }
}

// The update of the progressive rows that meet the condition. A row changed tells they exist;
// only when none is changed are they looked for, and with none the row is added (when `crea`)
// and updated. Rows found after an update that changed none may be another program's, added in
// between: the update runs again (it changes nothing where its condition left them out). False
// when there is none and none is added.
template <typename Crea>
bool aggiornaOCrea(const QString &sql, const QString &condizione, bool crea, Crea &&creaRiga)
{
    if (ggDbAzienda->Esegui(gsNomeConn, sql) > 0)
        return true;
    if (esistonoRighe(condizione)) {
        ggDbAzienda->Esegui(gsNomeConn, sql);
        return true;
    }
    if (!crea)
        return false;
    creaRiga();
    ggDbAzienda->Esegui(gsNomeConn, sql);
    return true;
}

// What one call needs while it walks the bill of materials.
struct Esplosione {
    bool evasione = false;
    int16_t anno = 0;
    QString magazzino; // the components' warehouse
    bool crea = false;
    QStringList percorso; // the assemblies from the top down to the one being exploded
};

// One component's rows of every level: QtaImpCli changes by the difference; a later year whose
// commitment is already 0 or less is left alone when the quantity leaves the family.
void aggImpegniComponente(const Esplosione &e, const QString &componente, Currency differenza)
{
    const QString condizione = QStringLiteral("Anno>=") + anno(e.anno) + QStringLiteral(" And Magazzino=") +
                               testo(e.magazzino) + QStringLiteral(" And Articolo=") + testo(componente);
    QString sql = QStringLiteral("Update ArticoliProg Set QtaImpCli = ") + zeroSeNullo(QStringLiteral("QtaImpCli")) +
                  QStringLiteral(" + ") + letterale(differenza) + QStringLiteral(" where ") + condizione;
    if (e.evasione)
        sql += QStringLiteral(" And (Anno=") + anno(e.anno) + QStringLiteral(" Or QtaImpCli>0)");
    aggiornaOCrea(sql, condizione, e.crea, [&] { creaRiga(e.anno, e.magazzino, componente, LivelloVuoto, LivelloVuoto); });
}

// One level of the bill of materials of `assieme`, its quantities before (x) and after (y).
void esplodiDistinta(Esplosione &e, const QString &assieme, Currency x, Currency y)
{
    for (const QString &gia : e.percorso) {
        if (textEquals(gia, assieme))
            throw AppError(5,
                           QStringLiteral("Distinta base ciclica: l'articolo ") + assieme +
                               QStringLiteral(" compare tra i propri componenti"),
                           QStringLiteral("AggiornaImpegni"));
    }
    if (e.percorso.size() >= kProfonditaMassima)
        throw AppError(5, QStringLiteral("Distinta base troppo profonda dall'articolo ") + e.percorso.front(),
                       QStringLiteral("AggiornaImpegni"));

    // The links are read whole before any component changes.
    struct Legame {
        QString figlio;
        Currency qta, fattore;
        bool assieme = false;
    };
    std::vector<Legame> legami;
    {
        GestRecordset rs;
        const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                      QStringLiteral("Select ArtLegami.*, Articoli.* from ArtLegami") +
                                          QStringLiteral(" Left Join Articoli") +
                                          QStringLiteral(" On ArtLegami.ArticoloFiglio = Articoli.Articolo") +
                                          QStringLiteral(" Where ArticoloPadre = ") + testo(assieme),
                                      false, dbOpenSnapshot);
        for (; !rs.Eof(alias); rs.MoveNext(alias)) {
            Legame l;
            l.figlio = rs.LeggiCampo(alias, u"ArtLegami.ArticoloFiglio").text();
            l.qta = importo(rs.LeggiCampo(alias, u"ArtLegami.Qta"));
            const QString um = rs.LeggiCampo(alias, u"ArtLegami.UM").text();
            if (textEquals(um, rs.LeggiCampo(alias, u"Articoli.ArtUM").text()))
                l.fattore = Currency::fromLong(1);
            else if (textEquals(um, rs.LeggiCampo(alias, u"Articoli.ArtUMVen").text()))
                l.fattore = importo(rs.LeggiCampo(alias, u"Articoli.FatConVen"));
            else
                l.fattore = importo(rs.LeggiCampo(alias, u"Articoli.FatConAcq"));
            const int16_t distBase = static_cast<int16_t>(UtilGenerali::ValoreNumerico(rs.LeggiCampo(alias, u"Articoli.DistBase")));
            l.assieme = distBase == 1 || distBase == 2;
            legami.push_back(l);
        }
        rs.Chiudi(alias);
    }

    e.percorso.push_back(assieme);
    for (const Legame &l : legami) {
        Currency yc = arrotondaQta(y * l.qta) * l.fattore;
        Currency xc = arrotondaQta(x * l.qta) * l.fattore;
        if (l.assieme) {
            esplodiDistinta(e, l.figlio, xc, yc);
        } else {
            yc = arrotondaQta(yc);
            xc = arrotondaQta(xc);
            aggImpegniComponente(e, l.figlio, xc - yc);
        }
    }
    e.percorso.pop_back();
}

} // namespace

void AggiornaImpegni(bool pbEvasione, int16_t piAnno, const QString &psMagazzino, const QString &psArticolo,
                     const QString &psLivello1, const QString &psLivello2, const Variant &pvQta,
                     const Variant &pvQtaEvasa, const Variant &pvQtaEvasaPrec, const Variant &pvQtaMov,
                     const Variant &pvValEuro, const Variant &pvValLire, const QString &psASaldo, bool pbResiduo,
                     const QString &psTipoIva, const Variant &pvAliquota, const QString &psPrezziIvati,
                     const QString &psArtMag, const QString &psCarScar, const QString &psCausaleDiBa,
                     const QString &psMagComp, bool pbOrdFor, bool pbCrea)
{
    if (!textEquals(psArtMag, kSi) || textEquals(psCarScar, QStringLiteral("N")))
        return;

    const Famiglia f = pbOrdFor ? Famiglia{QStringLiteral("QtaOrdFor"), QStringLiteral("ValOrdFor"),
                                           QStringLiteral("ValOrdForLire")}
                                : Famiglia{QStringLiteral("QtaImpCli"), QStringLiteral("ValImpCli"),
                                           QStringLiteral("ValImpCliLire")};
    QString livello1 = LivelloVuoto, livello2 = LivelloVuoto;
    if (!psLivello1.isEmpty()) {
        livello1 = psLivello1;
        if (!psLivello2.isEmpty())
            livello2 = psLivello2;
    }
    const QString condizione = QStringLiteral("Anno>=") + anno(piAnno) + QStringLiteral(" And Magazzino=") +
                               testo(psMagazzino) + QStringLiteral(" And Articolo=") + testo(psArticolo) +
                               QStringLiteral(" And Livello1=") + testo(livello1) + QStringLiteral(" And Livello2=") +
                               testo(livello2);
    const Currency qta = importo(pvQta);
    const Currency qtaEvasa = importo(pvQtaEvasa);
    const Currency qtaEvasaPrec = importo(pvQtaEvasaPrec);
    const bool aSaldo = textEquals(psASaldo, kSi);
    Currency q;
    if (pbEvasione)
        q = aSaldo ? qta - qtaEvasaPrec : importo(pvQtaMov);
    else
        q = pbResiduo ? qta - qtaEvasa : importo(pvQtaMov);

    Currency ve = importo(pvValEuro);
    Currency vl = importo(pvValLire);
    // An ordered quantity of 0 has no share to take: its values move whole.
    if (q != qta && !qta.isZero()) {
        ve = Currency::fromDouble((q * ve) / qta);
        vl = Currency::fromDouble((q * vl) / qta);
    }
    if ((psTipoIva == QLatin1String("0") || psTipoIva == QLatin1String("1")) && textEquals(psPrezziIvati, kSi)) {
        ve = ScorporaIva(Variant(ve), pvAliquota, giNumDecPrzEuro).toCurrency();
        vl = ScorporaIva(Variant(vl), pvAliquota, giNumDecPrzLire).toCurrency();
    }
    if (pbEvasione) {
        q = -q;
        ve = -ve;
        vl = -vl;
    }

    // One statement adds to what is stored: a commitment that ends at 0 or below keeps no value.
    const QString nuovaQta = zeroSeNullo(f.qta) + QStringLiteral(" + ") + letterale(q);
    QString sql = QStringLiteral("Update ArticoliProg Set ") + f.qta + QStringLiteral(" = ") + nuovaQta +
                  QStringLiteral(", ") + f.val + QStringLiteral(" = IIf(") + nuovaQta + QStringLiteral(" <= 0, 0, ") +
                  zeroSeNullo(f.val) + QStringLiteral(" + ") + letterale(ve) + QStringLiteral("), ") + f.valLire +
                  QStringLiteral(" = IIf(") + nuovaQta + QStringLiteral(" <= 0, 0, ") + zeroSeNullo(f.valLire) +
                  QStringLiteral(" + ") + letterale(vl) + QStringLiteral(") where ") + condizione;
    if (pbEvasione)
        sql += QStringLiteral(" And (Anno=") + anno(piAnno) + QStringLiteral(" Or ") + f.qta + QStringLiteral(">0)");
    if (!aggiornaOCrea(sql, condizione, pbCrea,
                       [&] { creaRiga(piAnno, psMagazzino, psArticolo, livello1, livello2); }))
        return;

    if (!textEquals(LeggiParamMenu(QStringLiteral("Ditta.InstDiBa")).text(), kSi) ||
        UtilGenerali::Vuoto(Variant(psCausaleDiBa)) || !psLivello1.isEmpty() || pbOrdFor)
        return;
    Esplosione e;
    e.evasione = pbEvasione;
    e.anno = piAnno;
    e.magazzino = UtilGenerali::Vuoto(Variant(psMagComp)) ? psMagazzino : psMagComp;
    e.crea = pbCrea;
    Currency x = qtaEvasaPrec, y = qtaEvasa;
    if (pbEvasione) {
        if (aSaldo)
            y = qta;
    } else if (pbResiduo) {
        x = -qtaEvasa;
        y = -qta;
    }
    esplodiDistinta(e, psArticolo, x, y);
}
