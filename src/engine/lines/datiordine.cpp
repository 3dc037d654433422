#include "datiordine.h"

#include "apperror.h"
#include "blocchi.h"
#include "cambioordine.h"
#include "comunirighe.h"
#include "connessionedb.h"
#include "contesto.h"
#include "importiriga.h"
#include "menuclient.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QLocale>
#include <cmath>
#include <map>
#include <vector>

namespace {

// The largest quantity or amount a run takes, line by line and for a whole document. The
// totals of a document, the progressives' values and the twins are currency amounts (at most
// about 9.2e14), and the footer takes its percentages (VAT, discounts, withholding tax) of an
// amount as a currency product: up to a hundredth of that range they all stay in it.
constexpr double kLimite = 9e12;

QString T(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }

double numero(const Variant &v) { return v.isNumber() ? v.toDouble() : UtilGenerali::ValoreNumerico(v); }

// A quantity or an amount, named as the reason names it.
struct Grandezza {
    QString nome;
    bool femminile; // "quantità non valida", "importo non valido"
};
const Grandezza kQuantita{QStringLiteral("quantità"), true}, kQuantitaEvasa{QStringLiteral("quantità evasa"), true},
    kQuantitaDaEvadere{QStringLiteral("quantità da evadere"), true}, kPrezzo{QStringLiteral("prezzo"), false},
    kImporto{QStringLiteral("importo"), false}, kImportoLire{QStringLiteral("importo in lire"), false},
    kImportoEuro{QStringLiteral("importo in euro"), false};

// What is wrong with a number: nothing for a finite value within the limit (Null for a value
// that may be missing).
std::optional<QString> controllaNumero(const Variant &v, const Grandezza &g, bool obbligatorio = false)
{
    const QString &cosa = g.nome;
    if (v.isBlank())
        return obbligatorio ? std::optional<QString>(cosa + QStringLiteral(" mancante")) : std::nullopt;
    // A number column may hand back a text it could not read as a number ("Infinity").
    const double d = v.isNumeric() ? numero(v) : std::nan("");
    if (!std::isfinite(d))
        return cosa + (g.femminile ? QStringLiteral(" non valida") : QStringLiteral(" non valido"));
    if (std::fabs(d) > kLimite)
        return cosa + QStringLiteral(" oltre il limite gestito (") + QLocale(QLocale::Italian, QLocale::Italy).toString(d, 'g', 17)
               + QStringLiteral(")");
    return std::nullopt;
}

// The quantities and amounts of an order line or level, each with its Grandezza in numeri().
constexpr const char *kNumeri[] = {"Qta", "QtaEvasa", "ValUnitario", "ValTotale", "ValLire", "ValEuro"};

bool oltreLimite(double v) { return !std::isfinite(v) || std::fabs(v) > kLimite; }

QString oltreLimiteImporto() { return QStringLiteral("importo oltre il limite gestito"); }

// A reason with the place it refers to.
std::optional<QString> in(const QString &dove, const std::optional<QString> &motivo)
{
    return motivo ? std::optional<QString>(dove + QStringLiteral(": ") + *motivo) : std::nullopt;
}

class ControlloOrdine {
public:
    ControlloOrdine(scEvaOrdVen &eva, bool soloASaldo, bool ripri)
        : m_eva(eva), m_ordine(eva.mgRecs()), m_ripri(ripri), m_soloASaldo(soloASaldo)
    {
    }

    std::optional<QString> motivo()
    {
        if (!m_soloASaldo) {
            if (auto m = moneta())
                return m;
        }
        if (auto m = righe())
            return m;
        if (m_soloASaldo)
            return std::nullopt;
        if (auto m = livelliSenzaArticolo())
            return m;
        if (!m_eva.obEvACorrisp) {
            if (auto m = spese())
                return m;
        }
        if (oltreLimite(m_totaleOrdine))
            return QStringLiteral("importi dell'ordine oltre il limite gestito");
        if (!m_eva.obEvACorrisp) {
            if (auto m = documento())
                return m;
        }
        return std::nullopt;
    }

private:
    Variant ordine(QStringView campo) const { return m_ordine.ValoreCampo(m_eva.msAliasOrd, campo); }

    std::optional<QString> moneta()
    {
        const QString codice = ordine(u"OrdVenTest.Moneta").text();
        if (codice.trimmed().isEmpty())
            return QStringLiteral("moneta mancante");
        if (ordine(u"Monete.Moneta").isBlank())
            return QStringLiteral("moneta inesistente (") + codice + QStringLiteral(")");
        // Read as the conversion reads them (a Null as 0).
        m_numDec = m_ordine.LeggiCampo(m_eva.msAliasOrd, u"Monete.NumDec").toInteger();
        m_numDecGest = m_ordine.LeggiCampo(m_eva.msAliasOrd, u"Monete.NumDecGest").toInteger();
        m_cambio.cambioOrdine = ordine(u"OrdVenTest.Cambio");
        m_cambio.operatore = ordine(u"Monete.Operatore").text();
        m_cambio.moneta = ordine(u"Monete.Moneta");
        // The rate of the document (a cash sale moves at the order's own). A rate the run lacks
        // is the header's to report.
        try {
            m_cambio.cambioDocumento = m_eva.obEvACorrisp ? m_cambio.cambioOrdine : Variant(CambioOrdine(m_eva));
            m_conCambio = true;
        } catch (const AppError &) {
            m_conCambio = false;
        }
        return std::nullopt;
    }

    // The lines the conversion takes, one cursor row per line or per level of a line: the
    // conversion's own statement, reading only the fields looked at here.
    std::optional<QString> righe()
    {
        GestRecordset &rs = m_eva.mgRecs();
        const QString c = RigheDaControllare(m_eva, m_ripri);
        std::optional<QString> trovato;
        for (; !trovato && !rs.Eof(c); rs.MoveNext(c))
            trovato = riga(rs, c);
        rs.Chiudi(c);
        return trovato;
    }

    std::optional<QString> riga(const GestRecordset &rs, const QString &c)
    {
        if (!RigaArticolo(rs.LeggiCampo(c, u"OrdVenDett.TipoRiga").text()))
            return std::nullopt;
        const QString dove = QStringLiteral("riga ") + rs.LeggiCampo(c, u"OrdVenDett.RigDet").text();
        const auto valore = [&](QStringView campo) { return rs.ValoreCampo(c, campo); };
        if (auto m = numeri(rs, c, QStringLiteral("OrdVenDett")))
            return in(dove, m);
        if (auto m = controllaNumero(valore(u"OrdVenEvaDett.QtaDaEva"), kQuantitaDaEvadere))
            return in(dove, m);
        if (!m_soloASaldo) {
            const QString iva = valore(u"OrdVenDett.Iva").text();
            if (!iva.trimmed().isEmpty() && valore(u"TabIva.Iva").isBlank())
                return in(dove, QStringLiteral("codice IVA inesistente (") + iva + QStringLiteral(")"));
        }

        // The cursor is this check's own: RigaConLivelli reads the engine's.
        if (!LivelliGestiti(m_eva) || rs.LeggiCampo(c, u"OrdVenLiv.Livello1").text().isEmpty())
            return m_soloASaldo ? std::nullopt : in(dove, importiRiga(rs, c, numero(valore(u"OrdVenDett.Qta"))));

        const QString livello = QStringLiteral(", livello ") + rs.LeggiCampo(c, u"OrdVenLiv.Livello1").text()
                                + (rs.LeggiCampo(c, u"OrdVenLiv.Livello2").text().trimmed().isEmpty()
                                       ? QString()
                                       : QStringLiteral("/") + rs.LeggiCampo(c, u"OrdVenLiv.Livello2").text());
        if (auto m = numeri(rs, c, QStringLiteral("OrdVenLiv")))
            return in(dove + livello, m);
        if (m_soloASaldo)
            return std::nullopt;
        m_livelli.push_back({rs.LeggiCampo(c, u"OrdVenDett.Articolo").text(), dove + livello});
        return in(dove + livello, importiLivello(rs, c));
    }

    // The quantities and amounts of an order line or level ("OrdVenDett", "OrdVenLiv"): a
    // quantity is needed where something is billed.
    std::optional<QString> numeri(const GestRecordset &rs, const QString &c, const QString &tabella) const
    {
        const Grandezza *grandezze[] = {&kQuantita, &kQuantitaEvasa, &kPrezzo, &kImporto, &kImportoLire, &kImportoEuro};
        for (size_t i = 0; i < std::size(kNumeri); ++i) {
            const QString nome = tabella + QLatin1Char('.') + QLatin1String(kNumeri[i]);
            if (auto m = controllaNumero(rs.ValoreCampo(c, nome), *grandezze[i], i == 0 && !m_soloASaldo))
                return m;
        }
        return std::nullopt;
    }

    // The amounts the line gets, as the conversion works them out: the order's own when the line
    // goes whole, else recomputed for the quantity delivered; their twins at the document's rate.
    std::optional<QString> importi(bool copia, const Variant &totale, const Variant &lire, const Variant &euro,
                                   const Variant &prezzo, double qta, const QString &sconto)
    {
        try {
            double valore = 0;
            Variant valLire, valEuro;
            if (copia) {
                valore = numero(totale);
                if (m_conCambio)
                    GemelliDaOrdine(valore, m_cambio, lire, euro, valLire, valEuro);
            } else {
                valore = RicalcolaTotale(prezzo, qta, sconto, m_numDecGest, m_numDec);
                if (m_conCambio)
                    ConvertiTotale(valore, m_cambio, valLire, valEuro);
            }
            if (oltreLimite(valore) || oltreLimite(numero(valLire)) || oltreLimite(numero(valEuro)))
                return oltreLimiteImporto();
            m_totaleOrdine += std::fabs(valore);
        } catch (const AppError &e) {
            if (e.number() != ErrNum::Overflow)
                throw;
            return oltreLimiteImporto();
        }
        return std::nullopt;
    }

    std::optional<QString> importiRiga(const GestRecordset &rs, const QString &c, double qta)
    {
        const auto valore = [&](QStringView campo) { return rs.ValoreCampo(c, campo); };
        const double daEvadere = m_eva.obEvasManule ? numero(valore(u"OrdVenEvaDett.QtaDaEva"))
                                                    : qta - numero(valore(u"OrdVenDett.QtaEvasa"));
        const Variant prezzo = valore(m_eva.mbDaOrdAperto ? u"OrdVenEvaDett.ValUnitario" : u"OrdVenDett.ValUnitario");
        return importi(PrendeImportiOrdine(daEvadere, qta, m_eva.mbDaOrdAperto), valore(u"OrdVenDett.ValTotale"),
                       valore(u"OrdVenDett.ValLire"), valore(u"OrdVenDett.ValEuro"), prezzo, daEvadere,
                       rs.LeggiCampo(c, u"OrdVenDett.ScontoTot").text());
    }

    std::optional<QString> importiLivello(const GestRecordset &rs, const QString &c)
    {
        const auto valore = [&](QStringView campo) { return rs.ValoreCampo(c, campo); };
        const double qtaLivello = numero(valore(u"OrdVenLiv.Qta"));
        const double residuo = qtaLivello - numero(valore(u"OrdVenLiv.QtaEvasa"));
        double qta = residuo > 0 ? residuo : 0.0, presa = qta;
        if (m_eva.obEvasManule) {
            qta = numero(valore(u"OrdVenEvaDett.QtaDaEva"));
            presa = std::min(residuo, qta);
        }
        const bool copia = PrendeImportiOrdine(qta, qtaLivello, m_eva.mbDaOrdAperto)
                           && PrendeImportiOrdine(presa, qtaLivello, m_eva.mbDaOrdAperto);
        const Variant prezzo = valore(m_eva.mbDaOrdAperto ? u"OrdVenEvaDett.ValUnitario" : u"OrdVenLiv.ValUnitario");
        return importi(copia, valore(u"OrdVenLiv.ValTotale"), valore(u"OrdVenLiv.ValLire"),
                       valore(u"OrdVenLiv.ValEuro"), prezzo, qta, rs.LeggiCampo(c, u"OrdVenDett.ScontoTot").text());
    }

    // Level rows on an article that the company keeps without levels: its stock and commitments
    // have no such level, and the rows carry no amounts of their own.
    std::optional<QString> livelliSenzaArticolo()
    {
        if (m_livelli.empty())
            return std::nullopt;
        QStringList codici;
        for (const Livello &l : m_livelli)
            codici << T(l.articolo);
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                  QStringLiteral("Select Articoli.Articolo, Articoli.LivGruppo1 From Articoli")
                                      + QStringLiteral(" Where Articoli.Articolo In (") + codici.join(u',')
                                      + QStringLiteral(")"),
                                  false, dbOpenSnapshot);
        QStringList senzaLivelli;
        for (; !rs.Eof(a); rs.MoveNext(a)) {
            if (rs.LeggiCampo(a, u"Articoli.LivGruppo1").text().trimmed().isEmpty())
                senzaLivelli << rs.LeggiCampo(a, u"Articoli.Articolo").text();
        }
        rs.Chiudi(a);
        for (const Livello &l : m_livelli) {
            for (const QString &articolo : senzaLivelli) {
                if (textEquals(articolo, l.articolo))
                    return l.dove + QStringLiteral(": l'articolo ") + l.articolo + QStringLiteral(" non ha livelli");
            }
        }
        return std::nullopt;
    }

    // The expenses that go into the document: every one of an automatic run, the picked ones of
    // a manual run.
    std::optional<QString> spese()
    {
        const Variant anno = ordine(u"OrdVenTest.Anno"), numRif = ordine(u"OrdVenTest.NumRif");
        QString sql = QStringLiteral("Select OrdVenSpese.Spesa, OrdVenSpese.Importo, OrdVenSpese.Iva, TabIva.Iva")
                      + QStringLiteral(" From OrdVenSpese left join TabIva on OrdVenSpese.Iva = TabIva.Iva")
                      + QStringLiteral(" Where OrdVenSpese.Anno = ") + UtilGenerali::SqlValore(anno, 2)
                      + QStringLiteral(" And OrdVenSpese.NumRif = ") + UtilGenerali::SqlValore(numRif, 3);
        if (m_eva.obEvasManule)
            sql += QStringLiteral(" And Exists (Select OrdVenEvaSpese.Anno From OrdVenEvaSpese")
                   + QStringLiteral(" Where OrdVenEvaSpese.Anno = OrdVenSpese.Anno And OrdVenEvaSpese.NumRif = OrdVenSpese.NumRif")
                   + QStringLiteral(" And OrdVenEvaSpese.Riga = OrdVenSpese.Riga And OrdVenEvaSpese.Utente = ")
                   + T(ggMenuClient->NomeUtente()) + QStringLiteral(" And OrdVenEvaSpese.Selez = 'S')");
        GestRecordset rs;
        const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenSnapshot);
        std::optional<QString> trovato;
        for (; !trovato && !rs.Eof(a); rs.MoveNext(a)) {
            const QString dove = QStringLiteral("spesa ") + rs.LeggiCampo(a, u"OrdVenSpese.Spesa").text();
            const Variant importo = rs.ValoreCampo(a, u"OrdVenSpese.Importo");
            trovato = in(dove, controllaNumero(importo, kImporto));
            const QString iva = rs.LeggiCampo(a, u"OrdVenSpese.Iva").text();
            if (!trovato && !iva.trimmed().isEmpty() && rs.ValoreCampo(a, u"TabIva.Iva").isBlank())
                trovato = in(dove, QStringLiteral("codice IVA inesistente (") + iva + QStringLiteral(")"));
            if (!trovato)
                m_totaleOrdine += std::fabs(numero(importo));
        }
        if (!m_eva.obEvasManule)
            m_eva.mOrdineSenzaSpese = {static_cast<int16_t>(anno.toInteger()), numRif.toLong(), rs.NessunRecord(a)};
        rs.Chiudi(a);
        return trovato;
    }

    // An order joining an open document of its customer: the document's lines and expenses with
    // the order's must stay within the limit. Every open document of the customer that the run
    // could find is counted, as the search is the header's. Only a large order is looked at: a
    // document could pass the limit through smaller ones only after ten thousand of them.
    std::optional<QString> documento()
    {
        const QString &ragOrd = m_eva.msRagOrd;
        if (m_totaleOrdine <= kLimite / 10000
            || (!textEquals(ragOrd, u"S") && !textEquals(ragOrd, u"O") && !textEquals(ragOrd, u"C")))
            return std::nullopt;
        const QString &t = m_eva.msTabTesta;
        const QString aperti = QStringLiteral(" In (Select ") + t + QStringLiteral(".NumRif From ") + t
                               + QStringLiteral(" Where ") + t + QStringLiteral(".Anno = ")
                               + UtilGenerali::SqlValore(Variant(m_eva.oiAnno), 2) + QStringLiteral(" And (") + t
                               + QStringLiteral(".Stato = '' Or ") + t + QStringLiteral(".Stato Is Null) And ") + t
                               + QStringLiteral(".GruppoCli = ") + T(ordine(u"OrdVenTest.GruppoCli").text())
                               + QStringLiteral(" And ") + t + QStringLiteral(".MastroCli = ")
                               + T(ordine(u"OrdVenTest.MastroCli").text()) + QStringLiteral(" And ") + t
                               + QStringLiteral(".ContoCli = ") + T(ordine(u"OrdVenTest.ContoCli").text())
                               + QStringLiteral(")");
        std::map<int32_t, double> somme;
        const auto somma = [&](const QString &tabella, const QString &campo) {
            GestRecordset rs;
            const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                      QStringLiteral("Select ") + tabella + QStringLiteral(".NumRif, Sum(Abs(") + tabella
                                          + QStringLiteral(".") + campo + QStringLiteral(")) As Somma From ") + tabella
                                          + QStringLiteral(" Where ") + tabella + QStringLiteral(".Anno = ")
                                          + UtilGenerali::SqlValore(Variant(m_eva.oiAnno), 2) + QStringLiteral(" And ")
                                          + tabella + QStringLiteral(".NumRif") + aperti + QStringLiteral(" Group By ")
                                          + tabella + QStringLiteral(".NumRif"),
                                      false, dbOpenSnapshot);
            for (; !rs.Eof(a); rs.MoveNext(a))
                somme[rs.LeggiCampo(a, u"NumRif").toLong()] += numero(rs.LeggiCampo(a, u"Somma"));
            rs.Chiudi(a);
        };
        somma(m_eva.msTabDett, QStringLiteral("ValTotale"));
        somma(m_eva.msTabSpese, QStringLiteral("Importo"));
        for (const auto &[numRif, valore] : somme) {
            if (oltreLimite(valore + m_totaleOrdine))
                return QStringLiteral("importo del documento n.rif ") + QString::number(numRif)
                       + QStringLiteral(" oltre il limite gestito");
        }
        return std::nullopt;
    }

    struct Livello {
        QString articolo;
        QString dove;
    };

    scEvaOrdVen &m_eva;
    const GestRecordset &m_ordine;
    const bool m_ripri;
    const bool m_soloASaldo;
    int16_t m_numDec = 0, m_numDecGest = 0;
    CambioRiga m_cambio;
    bool m_conCambio = false;
    double m_totaleOrdine = 0; // what the order brings to its document, in the order's currency
    std::vector<Livello> m_livelli;
};

QString testoOrdineRifiutato(scEvaOrdVen &eva, const QString &motivo)
{
    const GestRecordset &rs = eva.mgRecs();
    return QStringLiteral("Ordine n.rif ") + rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif").text()
           + QStringLiteral(" anno ") + rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Anno").text()
           + QStringLiteral(" non evaso, ") + motivo;
}

// The markers "4" of the order's lines and levels back to "0".
void togliMarcatori(scEvaOrdVen &eva)
{
    const GestRecordset &rs = eva.mgRecs();
    const QString chiave = QStringLiteral(" Where Anno = ")
                           + UtilGenerali::SqlValore(rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Anno"), 2)
                           + QStringLiteral(" AND NumRif = ")
                           + UtilGenerali::SqlValore(rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif"), 3);
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update OrdVenDett Set FlagStato = '0'") + chiave
                                        + QStringLiteral(" AND FlagStato = '4'"));
    if (LivelliGestiti(eva))
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Update OrdVenLiv Set FlagStato = '0'") + chiave
                                            + QStringLiteral(" AND FlagStato = '4'"));
}

} // namespace

std::optional<QString> MotivoOrdineNonConvertibile(scEvaOrdVen &eva, bool pbSoloASaldo, bool pbRipri)
{
    eva.msFase = QStringLiteral("Evasione Ordini vendita: Controllo dei dati dell'ordine");
    return ControlloOrdine(eva, pbSoloASaldo, pbRipri).motivo();
}

void RifiutaOrdine(scEvaOrdVen &eva, const QString &psErrore, bool pbRipri)
{
    eva.AccodaErroreEva(0, psErrore);
    if (pbRipri)
        togliMarcatori(eva);
    SbloccaRecord(eva.msAliasLockOrd, true);
}

bool OrdineConvertibile(scEvaOrdVen &eva, bool pbSoloASaldo)
{
    const std::optional<QString> motivo = MotivoOrdineNonConvertibile(eva, pbSoloASaldo, false);
    if (motivo)
        RifiutaOrdine(eva, testoOrdineRifiutato(eva, *motivo), false);
    return !motivo;
}
