#include "aggiornaarticoliprog.h"

#include "connessionedb.h"
#include "contesto.h"
#include "datimagazzino.h"
#include "menuclient.h"
#include "utilposting.h"

using posting::arr;
using posting::codice;

namespace {

// A stored date, or nullopt when it holds none (Null, empty, the empty-date marker).
std::optional<Date> data(const Variant &v)
{
    if (UtilGenerali::Vuoto(v, 7))
        return std::nullopt;
    return v.toDate();
}

// Only a strictly later registration date replaces the stored one; an empty stored date is
// earlier than any.
void aggiornaData(GestRecordset &rs, const QString &alias, const QString &campo, const std::optional<Date> &dataReg)
{
    if (!dataReg)
        return;
    const std::optional<Date> memorizzata = data(rs.LeggiCampo(alias, campo));
    if (!memorizzata || *dataReg > *memorizzata)
        rs.ScriviCampo(alias, campo, Variant(*dataReg));
}

// The number of a numbered counter (1 and up), 0 when the causal names none.
int contatore(const Variant &quale)
{
    const Variant v = UtilGenerali::ValoreNonNullo(quale, false, true);
    const double n = UtilGenerali::ValoreNumerico(v, true);
    return n > 0 ? static_cast<int>(n) : 0;
}

} // namespace

int16_t AggiornaArticoliProg(const QString &psMagazzino, bool pbInvertiCarScar, const QString &psModo,
                             GestRecordset &pgRec, const QString &psAliasTes, const QString &psAliasRiga,
                             const QString &psTipoRiga, const QString &psTabRiga, QString &psAliasProg,
                             const QString &psAliasCosti, double &pdVarGiacenza, int16_t &piSegnoCosto,
                             bool pbAggForArt, int16_t piSoloValScarico, double &pdValScaricoLire, double &pdValScarico,
                             ContestoPosting &contesto)
{
    GestRecordset &rs = pgRec;
    const auto tes = [&](const char *campo) { return rs.LeggiCampo(psAliasTes, QString::fromLatin1(campo)); };
    const auto tesTesto = [&](const char *campo) { return tes(campo).text(); };
    const auto riga = [&](const char *campo) {
        return rs.LeggiCampo(psAliasRiga, psTabRiga + QLatin1Char('.') + QString::fromLatin1(campo));
    };

    // 1. Start.
    piSegnoCosto = 0;
    const bool disaggiorna = codice(psModo, u"D");
    const int s = disaggiorna ? -1 : 1;
    QString c = tesTesto("MagCausali.CarScar").toUpper();
    if (pbInvertiCarScar) {
        if (c == QLatin1String("C"))
            c = QStringLiteral("S");
        else if (c == QLatin1String("S"))
            c = QStringLiteral("C");
    }
    const QString tipoMov = tesTesto("MagCausali.TipoMov");
    const QString segno = tesTesto("MagCausali.Segno");
    const bool aggMedioCar = codice(tesTesto("MagCausali.AggMedioCar"), u"S");
    const bool livelli = codice(psTipoRiga, u"L");
    const Variant anno = tes("MovMagTes.Anno");
    const Variant articolo = posting::ArticoloRiga(rs, psAliasRiga, psTipoRiga, psTabRiga);

    // 2. Selection.
    const Variant condLivelli = livelli ? SqlCondLivelli(0, riga("Livello1"), riga("Livello2"), false, true)
                                        : SqlCondLivelli(0, Variant(QString()), Variant(QString()), true, false);
    const QString sql = QStringLiteral("Select * from ArticoliProg") + QStringLiteral(" Where Anno = ") +
                        UtilGenerali::SqlValore(anno, 2) + QStringLiteral(" And Magazzino = ") +
                        UtilGenerali::SqlValore(Variant(psMagazzino), 8) + QStringLiteral(" And Articolo = ") +
                        UtilGenerali::SqlValore(articolo, 8) + condLivelli.text();
    psAliasProg = rs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, dbOpenDynaset);
    const QString &p = psAliasProg;
    const auto prog = [&](const QString &campo) { return UtilGenerali::ValoreNumerico(rs.LeggiCampo(p, campo), true); };
    const auto scrivi = [&](const QString &campo, double valore) { rs.ScriviCampo(p, campo, Variant(valore)); };

    // 3. Missing or present row.
    if (rs.NessunRecord(p)) {
        if (disaggiorna)
            return 0;
        rs.AddNew(p);
        rs.ScriviCampo(p, u"Anno", anno);
        rs.ScriviCampo(p, u"Magazzino", Variant(psMagazzino));
        rs.ScriviCampo(p, u"Articolo", articolo);
        rs.ScriviCampo(p, u"Livello1", livelli ? riga("Livello1") : Variant(LivelloVuoto));
        rs.ScriviCampo(p, u"Livello2", livelli ? riga("Livello2") : Variant(LivelloVuoto));
        pdVarGiacenza = 0;
    } else {
        pdVarGiacenza = prog(QStringLiteral("QtaIniziale")) + prog(QStringLiteral("QtaCarico")) -
                        prog(QStringLiteral("QtaScarico"));
        rs.Edit(p);
    }

    const double q = contesto.mdQtaRiga;
    if (c != QLatin1String("N")) {
        // 5. Stock figures.
        int sV = 0;
        bool dataCarico = false, dataScarico = false;
        if (codice(tipoMov, u"V")) {
            const Variant quale = rs.ValoreCampo(psAliasTes, u"MagCausali.QualeProgrQta");
            if (!quale.isBlank() && quale.isNumeric() && UtilGenerali::ValoreNumerico(quale, true) == 0) {
                if (aggMedioCar)
                    piSegnoCosto = 1;
                contesto.mdQtaIniziale = prog(QStringLiteral("QtaIniziale"));
                contesto.mdValIniziale = prog(QStringLiteral("ValIniziale"));
                contesto.mdValInizialeLire = prog(QStringLiteral("ValInizialeLire"));
                scrivi(QStringLiteral("QtaIniziale"), arr(q, giNumDecQta));
                scrivi(QStringLiteral("ValInizialeLire"), arr(contesto.mdValRigaLire, giNumDecPrzLire));
                scrivi(QStringLiteral("ValIniziale"), arr(contesto.mdValRiga, giNumDecPrzEuro));
                dataCarico = true;
            }
        } else {
            int sQ = s;
            sV = s;
            const auto muovi = [&](const char *qta, const char *valLire, const char *val) {
                const QString fq = QString::fromLatin1(qta), fl = QString::fromLatin1(valLire),
                              fe = QString::fromLatin1(val);
                scrivi(fq, arr(prog(fq) + sQ * q, giNumDecQta));
                scrivi(fl, arr(prog(fl) + sQ * contesto.mdValRigaLire, giNumDecPrzLire));
                scrivi(fe, arr(prog(fe) + sQ * contesto.mdValRiga, giNumDecPrzEuro));
            };
            if (c == QLatin1String("C")) {
                if (segno == QLatin1String("-"))
                    sQ = -s;
                else
                    sV = -s;
                muovi("QtaCarico", "ValCaricoLire", "ValCarico");
                if (aggMedioCar)
                    piSegnoCosto = static_cast<int16_t>(sQ);
                dataCarico = true;
            } else if (c == QLatin1String("S")) {
                if (segno == QLatin1String("-")) {
                    sQ = -s;
                    sV = -s;
                }
                muovi("QtaScarico", "ValScaricoLire", "ValScarico");
                if (aggMedioCar)
                    piSegnoCosto = static_cast<int16_t>(-sQ);
                dataScarico = true;
            }
        }

        // 6. Dates.
        const std::optional<Date> dataReg = data(tes("DataReg"));
        if (dataCarico)
            aggiornaData(rs, p, QStringLiteral("DataUltCarico"), dataReg);
        if (dataScarico)
            aggiornaData(rs, p, QStringLiteral("DataUltScarico"), dataReg);

        // 7. Valuation of issues at cost.
        const QString valorizza = tesTesto("MagCausali.ValorizzScarico");
        if (!valorizza.isEmpty() && !codice(valorizza, u"N") && sV != 0) {
            double uL = 0, uE = 0;
            if (disaggiorna) {
                uL = UtilGenerali::ValoreNumerico(riga("ValScaricoLire"), true);
                uE = UtilGenerali::ValoreNumerico(riga("ValScarico"), true);
            } else {
                const auto costo = [&](const char *campo) {
                    return UtilGenerali::ValoreNumerico(rs.LeggiCampo(psAliasCosti, QString::fromLatin1(campo)), true);
                };
                if (codice(valorizza, u"C")) {
                    const double qtaMedioC = costo("QtaMedioC");
                    if (qtaMedioC != 0) {
                        uL = costo("ValMedioCLire") / qtaMedioC;
                        uE = costo("ValMedioC") / qtaMedioC;
                    }
                } else if (codice(valorizza, u"P")) {
                    uL = costo("MedioPonderaleLire");
                    uE = costo("MedioPonderale");
                } else if (codice(valorizza, u"U")) {
                    uL = costo("CostoUltimoLire");
                    uE = costo("CostoUltimo");
                }
                const double qtaIniziale = prog(QStringLiteral("QtaIniziale"));
                if (uE == 0 && qtaIniziale != 0) {
                    uL = prog(QStringLiteral("ValInizialeLire")) / qtaIniziale;
                    uE = prog(QStringLiteral("ValIniziale")) / qtaIniziale;
                }
                uL = arr(uL, giNumDecImpLire);
                uE = arr(uE, giNumDecImpEuro);
            }
            scrivi(QStringLiteral("ValScaUCLire"),
                   arr(prog(QStringLiteral("ValScaUCLire")) + (sV * uL) * q, giNumDecPrzLire));
            scrivi(QStringLiteral("ValScaUC"), arr(prog(QStringLiteral("ValScaUC")) + (sV * uE) * q, giNumDecPrzEuro));
            if (!disaggiorna) {
                if (piSoloValScarico == 1) {
                    pdValScaricoLire = uL;
                    pdValScarico = uE;
                } else {
                    rs.Edit(psAliasRiga);
                    rs.ScriviCampo(psAliasRiga, psTabRiga + QStringLiteral(".ValScaricoLire"), Variant(uL));
                    rs.ScriviCampo(psAliasRiga, psTabRiga + QStringLiteral(".ValScarico"), Variant(uE));
                    rs.Update(psAliasRiga);
                }
            }
        }

        // 8. Usual supplier of the article.
        if (codice(tesTesto("MagCausali.Prov"), u"F") || codice(tesTesto("MagCausali.Dest"), u"F")) {
            const QString aggForArt = ggMenuClient->LeggiParametro(QStringLiteral("Mag.AggForArt"), QString()).text();
            if (codice(aggForArt, u"S") && pbAggForArt) {
                // The article's own record: the row's selection does not carry its key.
                const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                          QStringLiteral("Select * from Articoli Where Articolo = ") +
                                              UtilGenerali::SqlValore(articolo, 8),
                                          false, dbOpenDynaset);
                posting::AliasAperti aperti(rs);
                aperti.segui(a);
                if (!rs.NessunRecord(a)) {
                    rs.Edit(a);
                    rs.ScriviCampo(a, u"GruppoForAb", tes("GruppoCliFor"));
                    rs.ScriviCampo(a, u"MastroForAb", tes("MastroCliFor"));
                    rs.ScriviCampo(a, u"ContoForAb", tes("ContoCliFor"));
                    rs.Update(a);
                }
            }
        }
    }

    // 9. Counters.
    const int k = contatore(rs.ValoreCampo(psAliasTes, u"MagCausali.QualeProgrQta"));
    if (k > 0) {
        if (codice(tipoMov, u"V")) {
            scrivi(QStringLiteral("ProgrQtaIniz") + QString::number(k), q);
        } else {
            const bool carico = c == QLatin1String("C"), scarico = c == QLatin1String("S");
            const bool provMagazzino = codice(tesTesto("MagCausali.Prov"), u"M");
            const bool meno = segno == QLatin1String("-"), piu = segno == QLatin1String("+");
            int sP = s;
            if ((carico && meno) || (scarico && piu) || (!carico && !scarico && provMagazzino && piu) ||
                (!carico && !scarico && !provMagazzino && meno))
                sP = -s;
            const QString nome = QStringLiteral("ProgrQta") + QString::number(k);
            scrivi(nome, arr(prog(nome) + sP * q, giNumDecQta));
        }
    }

    // 10. Stock change and store.
    pdVarGiacenza = arr(prog(QStringLiteral("QtaIniziale")) + prog(QStringLiteral("QtaCarico")) -
                            prog(QStringLiteral("QtaScarico")) - pdVarGiacenza,
                        giNumDecQta);
    posting::ScriviNuovaORiga(rs, p);
    return 0;
}
