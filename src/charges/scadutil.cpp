#include "scadutil.h"

#include "confrontaarrotondati.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "utilgenerali.h"

#include <optional>

namespace {

using UtilGenerali::ArrotondaValore;

bool uguale(const QString &a, const char *b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

// A date from year, month and day, a day beyond the month's end running into the next month.
Date dataDaParti(int anno, int mese, int giorno) { return Date::fromYmd(anno, mese, 1).addDays(giorno - 1); }

// The terms and the customer's excluded months, as read.
struct Termini {
    QString decorrenza, periodicita, trattamIva;
    int16_t numScad = 0;
    int16_t giornoFisso = 0;
    int16_t numGGMM = 0;
    std::vector<int16_t> periodo;     // 1..N
    std::vector<double> percentuale;  // 1..N
    int16_t meseNoEf1 = 0, meseNoEf2 = 0, gioMesSucc1 = 0, gioMesSucc2 = 0;
};

// One calculation: the working date of the due dates and the move into the following month.
class Calcolo {
public:
    Calcolo(const Termini &t, double perc, double minimo, double massimo, double passo, const QString &modo,
            int16_t numDec)
        : m_t(t), m_perc(perc), m_min(minimo), m_max(massimo), m_passo(passo), m_modo(modo), m_numDec(numDec)
    {
    }

    double arrotonda(double v) const { return ArrotondaValore(Variant(v), QStringLiteral("A"), 1.0, -m_numDec); }

    // The charge of an instalment amount. A step of 0 or less would divide by zero: the charge
    // is then rounded to the document's decimals in the given mode.
    double spesa(double importo) const
    {
        const double v = m_perc * importo / 100.0;
        const double r = m_passo > 0 ? ArrotondaValore(Variant(v), m_modo, m_passo, 0)
                                     : ArrotondaValore(Variant(v), m_modo, 1.0, -m_numDec);
        return LimitaImporto(m_min, m_max, r);
    }

    // The next due date from the working date; i is the instalment of the period tables.
    Date prossimaScadenza(int i)
    {
        if (m_spostata) {
            m_spostata = false;
            m_d = m_salvata;
        }
        const QString &p = m_t.periodicita;
        const bool fineMese = (uguale(m_t.decorrenza, "F") || uguale(m_t.decorrenza, "S")) && m_t.giornoFisso == 0;
        if (uguale(p, "M") || uguale(p, "T")) {
            m_d = m_d.addMonths(uguale(p, "M") ? m_t.numGGMM : periodo(i));
            if (fineMese)
                m_d = UtilGenerali::FineMese(Variant(m_d));
        } else if (uguale(p, "G") || uguale(p, "A")) {
            m_d = m_d.addDays(uguale(p, "G") ? m_t.numGGMM : periodo(i));
        }
        Date scad = m_d;
        const int mese = m_d.month();
        const bool primo = mese == m_t.meseNoEf1;
        if (primo || mese == m_t.meseNoEf2) {
            scad = m_d.addMonths(1);
            const int16_t succ = primo ? m_t.gioMesSucc1 : m_t.gioMesSucc2;
            int g = 0;
            if (m_t.giornoFisso > 0) {
                g = m_t.giornoFisso;
                if (succ > 0) {
                    g = succ;
                    salva();
                }
            } else {
                g = succ;
                if (g > 0)
                    salva();
            }
            if (g != 0)
                scad = dataDaParti(scad.year(), scad.month(), g);
        }
        m_d = scad;
        return scad;
    }

    void impostaData(const Date &d) { m_d = d; }

private:
    int periodo(int i) const { return i >= 1 && i < static_cast<int>(m_t.periodo.size()) ? m_t.periodo[static_cast<size_t>(i)] : 0; }
    void salva()
    {
        m_salvata = m_d;
        m_spostata = true;
    }

    const Termini &m_t;
    double m_perc, m_min, m_max, m_passo;
    QString m_modo;
    int16_t m_numDec;
    Date m_d;
    Date m_salvata;
    bool m_spostata = false;
};

Date decorrenza(const Termini &t, const Date &doc)
{
    const int16_t gf = t.giornoFisso;
    if (uguale(t.decorrenza, "F")) {
        const Date d = UtilGenerali::FineMese(Variant(doc));
        return gf > 0 ? d.addDays(gf) : d;
    }
    if (uguale(t.decorrenza, "S")) {
        const Date d = UtilGenerali::FineMese(Variant(doc.addMonths(1)));
        return gf > 0 ? d.addDays(gf) : d;
    }
    if (uguale(t.decorrenza, "D") && gf > 0) {
        const Date d = dataDaParti(doc.year(), doc.month(), gf);
        return gf < doc.day() ? d.addMonths(1) : d;
    }
    return doc;
}

int16_t intero(const GestRecordset &rs, const QString &alias, const QString &campo)
{
    return UtilGenerali::ValoreIntero(rs.LeggiCampo(alias, campo));
}

// The customer's row; false when it is missing.
bool leggiCliente(GestRecordset &rs, const QString &g, const QString &m, const QString &c, Termini &t)
{
    using UtilGenerali::SqlValore;
    const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                  QStringLiteral("Select * From PianoConti Where") + " PianoConti.Gruppo = " +
                                      SqlValore(Variant(g), 8) + " And PianoConti.Mastro = " + SqlValore(Variant(m), 8) +
                                      " And PianoConti.Conto = " + SqlValore(Variant(c), 8),
                                  false, dbOpenSnapshot);
    if (rs.NessunRecord(alias))
        return false;
    t.meseNoEf1 = intero(rs, alias, QStringLiteral("MeseNoEf1"));
    t.meseNoEf2 = intero(rs, alias, QStringLiteral("MeseNoEf2"));
    t.gioMesSucc1 = intero(rs, alias, QStringLiteral("GioMesSucc1"));
    t.gioMesSucc2 = intero(rs, alias, QStringLiteral("GioMesSucc2"));
    return true;
}

} // namespace

void TestoErroreScad(ErroriScadenze &errori, int32_t plNumErrore, const QString &psErrore)
{
    if (errori.numero < 30)
        errori.testo += QStringLiteral("Errore n°") + QString::number(UtilGenerali::NumeroErrore(plNumErrore)) + " : " +
                        psErrore + " in " + errori.luogo + "\r\n";
    else if (errori.numero == 30)
        errori.testo += QStringLiteral("..............");
    errori.numero = static_cast<int16_t>(errori.numero + 1);
}

double LimitaImporto(double pdMinimo, double pdMassimo, double pdValore)
{
    if (pdMinimo > 0 && ConfrontaArrotondati(Variant(pdValore), Variant(pdMinimo), -8) == -1)
        return pdMinimo;
    if (pdMassimo > 0 && ConfrontaArrotondati(Variant(pdValore), Variant(pdMassimo), -8) == 1)
        return pdMassimo;
    return pdValore;
}

void CalcoloScadenze(const Date &ptDataDoc, double pdImporto, double pdIva, const QString &psPagamento,
                     const QString &psGruppo, const QString &psMastro, const QString &psConto, int16_t piNumDec,
                     std::vector<Date> &ptScadenze, std::vector<double> &pdImporti, int16_t &piNumScad,
                     int16_t &piNumErrori, QString &psErrori, int16_t &piModo, Currency &puPercSpese,
                     std::vector<double> &pvSpese, Currency &puArrotond, QString &psModoArrot, double &pdMinimo,
                     double &pdMassimo, Date &ptDataDecorrenza)
{
    // Charges given by the caller come off the net amount first.
    if (piModo == kScadSpeseDate)
        for (size_t k = 1; k < pvSpese.size(); ++k)
            pdImporto -= pvSpese[k];

    ErroriScadenze errori;
    // Every output starts from nothing, so that an early end never hands back what the
    // caller's variables held before.
    piNumScad = 0;
    ptScadenze.assign(1, Date());
    pdImporti.assign(1, 0.0);
    if (piModo == kScadCalcolaSpese)
        pvSpese.assign(1, 0.0);
    ptDataDecorrenza = Date();

    auto fine = [&] {
        piNumErrori = errori.numero;
        psErrori = errori.testo;
    };
    if (psPagamento.isEmpty()) {
        fine();
        return;
    }

    GestRecordset rs;
    try {
        using UtilGenerali::SqlValore;
        const QString aliasPag = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                         QStringLiteral("Select * From Pagamenti Where Pagamenti.Pagamento = ") +
                                             SqlValore(Variant(psPagamento), 8),
                                         false, dbOpenSnapshot);
        if (rs.NessunRecord(aliasPag)) {
            fine();
            return;
        }
        Termini t;
        if (!leggiCliente(rs, psGruppo, psMastro, psConto, t)) {
            TestoErroreScad(errori, 0,
                            QStringLiteral("Manca il cliente con codice :") + psGruppo + "-" + psMastro + "-" + psConto);
            fine();
            return;
        }
        t.decorrenza = rs.LeggiCampo(aliasPag, u"Decorrenza").text();
        t.periodicita = rs.LeggiCampo(aliasPag, u"Periodicita").text();
        t.numScad = intero(rs, aliasPag, QStringLiteral("NumScad"));
        t.trattamIva = rs.LeggiCampo(aliasPag, u"TrattamIva").text();
        t.giornoFisso = intero(rs, aliasPag, QStringLiteral("GiornoFisso"));
        t.numGGMM = intero(rs, aliasPag, QStringLiteral("NumGGMM"));
        piNumScad = t.numScad;
        if (piNumScad < 0) {
            fine();
            return;
        }

        Calcolo c(t, puPercSpese.toDouble(), pdMinimo, pdMassimo, puArrotond.toDouble(), psModoArrot, piNumDec);
        const bool conSpese = piModo == kScadCalcolaSpese;
        const bool aggiungiSpese = piModo == kScadCalcolaSpese || piModo == kScadSpeseDate;
        auto speseDate = [&](int k) {
            if (k < 0 || k >= static_cast<int>(pvSpese.size()))
                throw AppError::standard(ErrNum::Subscript);
            return pvSpese[static_cast<size_t>(k)];
        };

        if (piNumScad == 0) {
            piNumScad = 1;
            ptScadenze.assign(2, Date());
            pdImporti.assign(2, 0.0);
            pdImporti[1] = c.arrotonda(pdImporto + pdIva);
            ptScadenze[1] = ptDataDoc;
            if (conSpese) {
                pvSpese.assign(2, 0.0);
                pvSpese[1] = c.spesa(pdImporti[1]);
            }
            if (aggiungiSpese)
                pdImporti[1] += speseDate(1);
            ptDataDecorrenza = ptDataDoc;
            fine();
            return;
        }

        const int n = piNumScad;
        QString trattamento = t.trattamIva;
        if (n == 1 && uguale(trattamento, "U"))
            trattamento = QStringLiteral("P");
        const auto dim = static_cast<size_t>(n) + 1;
        ptScadenze.assign(dim, Date());
        pdImporti.assign(dim, 0.0);
        if (conSpese)
            pvSpese.assign(dim, 0.0);
        t.periodo.assign(dim, 0);
        t.percentuale.assign(dim, 0.0);
        for (int k = 1; k <= n; ++k) {
            t.periodo[static_cast<size_t>(k)] = intero(rs, aliasPag, QStringLiteral("Periodo") + QString::number(k));
            t.percentuale[static_cast<size_t>(k)] =
                UtilGenerali::ValoreNumerico(rs.LeggiCampo(aliasPag, QStringLiteral("Percentuale") + QString::number(k)));
        }

        ptDataDecorrenza = decorrenza(t, ptDataDoc);
        c.impostaData(ptDataDecorrenza);

        double daRipartire = pdImporto + pdIva;
        int primo = 1;
        if (uguale(trattamento, "U")) {
            ptScadenze[1] = c.prossimaScadenza(1);
            pdImporti[1] = c.arrotonda(pdIva);
            if (conSpese)
                pvSpese[1] = c.spesa(pdIva);
            daRipartire = pdImporto;
            primo = 2;
        } else if (uguale(trattamento, "P")) {
            daRipartire = pdImporto;
        }

        const QString &p = t.periodicita;
        const auto ultimo = static_cast<size_t>(n);
        if (uguale(p, "M") || uguale(p, "G")) {
            const int quote = uguale(trattamento, "U") ? n - 1 : n;
            const double q = c.arrotonda(daRipartire / quote);
            const double resto = daRipartire - q * quote;
            for (int k = primo; k <= n; ++k) {
                const auto i = static_cast<size_t>(k);
                ptScadenze[i] = c.prossimaScadenza(k);
                pdImporti[i] = q;
                if (conSpese && k < n)
                    pvSpese[i] = c.spesa(q);
            }
            pdImporti[ultimo] = c.arrotonda(pdImporti[ultimo] + resto);
            if (conSpese)
                pvSpese[ultimo] = c.spesa(pdImporti[ultimo]);
        } else if (uguale(p, "T") || uguale(p, "A")) {
            double resto = daRipartire;
            for (int k = primo; k <= n; ++k) {
                const auto i = static_cast<size_t>(k);
                ptScadenze[i] = c.prossimaScadenza(k);
                const double perc = t.percentuale[i];
                pdImporti[i] = perc != 0 ? c.arrotonda(daRipartire * perc / 100.0)
                                         : c.arrotonda(daRipartire / (n - primo + 1));
                resto -= pdImporti[i];
                if (conSpese && k < n)
                    pvSpese[i] = c.spesa(pdImporti[i]);
            }
            pdImporti[ultimo] = c.arrotonda(pdImporti[ultimo] + resto);
            if (conSpese)
                pvSpese[ultimo] = c.spesa(pdImporti[ultimo]);
        }

        if (uguale(trattamento, "P")) {
            pdImporti[1] = c.arrotonda(pdImporti[1] + pdIva);
            if (conSpese)
                pvSpese[1] = c.spesa(pdImporti[1]);
        }
        if (aggiungiSpese)
            for (int k = 1; k <= n; ++k)
                pdImporti[static_cast<size_t>(k)] += speseDate(k);
    } catch (const AppError &e) {
        TestoErroreScad(errori, e.number(), e.description());
    }
    fine();
}
