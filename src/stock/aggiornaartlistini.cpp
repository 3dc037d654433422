#include "aggiornaartlistini.h"

#include "calcoli.h"
#include "confrontaarrotondati.h"
#include "connessionedb.h"
#include "contesto.h"
#include "conversionieuro.h"
#include "datimagazzino.h"
#include "dialoghi.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "utilposting.h"

using posting::codice;

namespace {

QString testo(const QString &t)
{
    return UtilGenerali::SqlValore(Variant(t), 8);
}

// The list row valid at the date, edited, or a new row; stored with the prices. The writes
// and the re-chaining of the validity dates are left to the caller's savepoint.
void aggiorna(const QString &articolo, const QString &livello1, const QString &livello2, const QString &listino,
              const Variant &data, double costoEuro, double costoLire, const QString &sconto, const QString &scoSomSost,
              const QString &ordine, const QString &gruppo, const QString &mastro, const QString &conto)
{
    GestRecordset rs;
    // 1. Row valid at the date.
    const QString a =
        rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                QStringLiteral("Select top 1 ArtListini.* from ArtListini") + QStringLiteral(" Where Articolo = ") +
                    testo(articolo) + QStringLiteral(" AND ArtListini.Listino = ") + testo(listino) +
                    QStringLiteral(" AND Livello1 = ") + testo(livello1) + QStringLiteral(" AND Livello2 = ") +
                    testo(livello2) + QStringLiteral(" AND DataInizio <= ") + UtilGenerali::SqlValore(data, 7) +
                    QStringLiteral(" ORDER BY DataInizio Desc"),
                false, dbOpenDynaset);
    // 2. Edited, or created.
    const bool nuova = rs.NessunRecord(a);
    Variant dataInizio;
    if (nuova) {
        const QString quale =
            ggMenuClient->LeggiParametro(QStringLiteral("Mag.QualeDataLis"), QString()).text().toUpper();
        dataInizio = quale == QLatin1String("D")
                         ? Variant(ggMenuClient->LeggiParametro(QStringLiteral("Mag.DataListino"), QString()).toDate())
                         : Variant(data.toDate());
        rs.AddNew(a);
        rs.ScriviCampo(a, u"Articolo", Variant(articolo));
        rs.ScriviCampo(a, u"Livello1", Variant(livello1));
        rs.ScriviCampo(a, u"Livello2", Variant(livello2));
        rs.ScriviCampo(a, u"Listino", Variant(listino));
        rs.ScriviCampo(a, u"DataInizio", dataInizio);
    } else {
        rs.Edit(a);
    }

    // 3. The prices start as the costs.
    double euro = costoEuro, lire = costoLire;
    if (!UtilGenerali::Vuoto(Variant(ordine))) {
        // 5. List data.
        const QString l =
            rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                    QStringLiteral("SELECT Monete.NumDecGest, Monete.Moneta, Listini.Ivato") +
                        QStringLiteral(" FROM Listini INNER JOIN Monete ON Listini.Moneta = Monete.Moneta") +
                        QStringLiteral(" Where Listini.Listino = ") + testo(listino),
                    false, dbOpenSnapshot);
        if (!rs.NessunRecord(l)) {
            const int16_t decimali = rs.LeggiCampo(l, u"NumDecGest").toInteger();
            const bool listinoLire = textEquals(rs.LeggiCampo(l, u"Moneta").text(), gsCodLira);
            const bool ivato = codice(rs.LeggiCampo(l, u"Ivato").text(), u"S");
            rs.Chiudi(l);
            double prezzo = listinoLire ? costoLire : costoEuro;
            // 6. Article data.
            double maggArticolo = 0, aliquota = 0;
            if (ordine.contains(QLatin1Char('A'), Qt::CaseInsensitive) || ivato) {
                const QString r =
                    rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                            QStringLiteral("SELECT Articoli.Maggior, TabIva.Aliquota") +
                                QStringLiteral(" FROM Articoli INNER JOIN TabIva ON Articoli.IvaVendite = TabIva.Iva") +
                                QStringLiteral(" Where Articolo = ") + testo(articolo),
                            false, dbOpenSnapshot);
                if (!rs.NessunRecord(r)) {
                    maggArticolo = UtilGenerali::ValoreNumerico(rs.LeggiCampo(r, u"Maggior"), true);
                    aliquota = UtilGenerali::ValoreNumerico(rs.LeggiCampo(r, u"Aliquota"), true);
                }
                rs.Chiudi(r);
            }
            // 7. Mark-ups, compounded in the order given.
            bool maggiorato = false;
            for (const QChar ch : ordine) {
                double maggiorazione = maggArticolo;
                if (ch.toUpper() != QLatin1Char('A')) {
                    const QString pc = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                               QStringLiteral("SELECT PianoConti.PercRicListClie From PianoConti") +
                                                   QStringLiteral(" WHERE PianoConti.Gruppo = ") + testo(gruppo) +
                                                   QStringLiteral(" AND PianoConti.Mastro = ") + testo(mastro) +
                                                   QStringLiteral(" AND PianoConti.Conto = ") + testo(conto),
                                               false, dbOpenSnapshot);
                    maggiorazione = rs.NessunRecord(pc)
                                        ? 0.0
                                        : UtilGenerali::ValoreNumerico(rs.LeggiCampo(pc, u"PercRicListClie"), true);
                    rs.Chiudi(pc);
                    if (maggiorazione == 0)
                        maggiorazione =
                            ggMenuClient->LeggiParametro(QStringLiteral("Mag.PercRicListClie"), QString()).toDouble();
                }
                if (ConfrontaArrotondati(Variant(maggiorazione), Variant(0.0), -8) != 0)
                    maggiorato = true;
                prezzo = ApplicaSconto(Variant(prezzo), Variant(-maggiorazione), decimali, false).toDouble();
            }
            // 8. Order "F" without a mark-up: the list is left alone.
            if (codice(ordine, u"F") && !maggiorato) {
                rs.CancelUpdate(a);
                return;
            }
            // 9. VAT.
            if (ivato)
                prezzo = CalcConIva(Variant(prezzo), Variant(aliquota), decimali, QStringLiteral("A")).toDouble();
            // 10. Currencies.
            if (listinoLire) {
                lire = prezzo;
                euro = LireInEuro(Variant(prezzo), true, true, Variant(giNumDecImpEuro));
            } else {
                euro = prezzo;
                lire = EuroInLire(Variant(prezzo), true, true, Variant(giNumDecImpLire));
            }
        }
    }

    // 11. Prices and discount fields.
    rs.ScriviCampo(a, u"Prezzo", Variant(euro));
    rs.ScriviCampo(a, u"PrezzoLire", Variant(lire));
    rs.ScriviCampo(a, u"Sconto", Variant(sconto));
    rs.ScriviCampo(a, u"ScoSomSost", Variant(scoSomSost));
    rs.Update(a);
    rs.Chiudi(a);

    // 12. A new row re-chains the validity dates of the article's rows in the list.
    if (nuova) {
        QString l1 = livello1, l2 = livello2;
        AggiornaDateListino(articolo, l1, l2, listino,
                            UtilGenerali::FormattaValore(dataInizio, QStringLiteral("dd/mm/yyyy")));
    }
}

} // namespace

void AggiornaArtListini(const QString &psArticolo, const QString &psLivello1, const QString &psLivello2,
                        const QString &psListino, const Variant &pvData, double pdCostoEuro, double pdCostoLire,
                        const QString &psSconto, const QString &psScoSomSost, const QString &psOrdine,
                        const QString &psGruppo, const QString &psMastro, const QString &psConto)
{
    // A savepoint inside the posting's transaction: a failure undoes only this list's writes,
    // and the transaction around it stays usable (PostgreSQL aborts it on any failed statement).
    bool aperta = false;
    try {
        ggDbAzienda->BeginTrans(gsNomeConn);
        aperta = true;
        aggiorna(psArticolo, psLivello1, psLivello2, psListino, pvData, pdCostoEuro, pdCostoLire, psSconto,
                 psScoSomSost, psOrdine, psGruppo, psMastro, psConto);
        ggDbAzienda->CommitTrans(gsNomeConn);
        aperta = false;
    } catch (const AppError &e) {
        if (aperta) {
            try {
                ggDbAzienda->Rollback(gsNomeConn);
            } catch (...) {
            }
        }
        frmMsgCom::MsgErrfrm(e, QString(), QStringLiteral("\r\n") + QStringLiteral("Listino non aggiornato"));
    }
}
