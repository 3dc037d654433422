#include "passataposting.h"

#include "connessionedb.h"
#include "contesto.h"
#include "errori.h"
#include "mostraerraggmov.h"
#include "rigaposting.h"
#include "selezionimovimento.h"
#include "testoerrore.h"
#include "utilposting.h"
#include "vistaposting.h"

#include <algorithm>
#include <vector>

namespace {

struct ChiaveRiga {
    Variant rigLiv, livello1, livello2;
};

EsitoPosting esitoDi(const AppError &e, int32_t righe)
{
    EsitoPosting esito;
    esito.numero = UtilGenerali::NumeroErrore(e);
    esito.descrizione = e.description();
    esito.righeNonEseguite = righe;
    return esito;
}

} // namespace

PassataPosting::PassataPosting(bool disaggiorna_, int16_t anno_, int32_t numReg_, QString tipoRiga_, bool conForm_,
                               QString tabDett_, QString tabLiv_)
    : disaggiorna(disaggiorna_), anno(anno_), numReg(numReg_), tipoRiga(std::move(tipoRiga_)), conForm(conForm_),
      tabDett(std::move(tabDett_)), tabLiv(std::move(tabLiv_))
{
}

const QString &PassataPosting::tabella() const
{
    return eRigaDettaglio(tipoRiga) ? tabDett : tabLiv;
}

void SegnaRiga(GestRecordset &pgRec, const QString &psAliasRiga, const QString &psTabella, const QString &psFlagStato)
{
    pgRec.Edit(psAliasRiga);
    pgRec.ScriviCampo(psAliasRiga, psTabella + QStringLiteral(".FlagStato"), Variant(psFlagStato));
    pgRec.Update(psAliasRiga);
}

EsitoPosting EseguiPassata(const PassataPosting &d, GestRecordset &pgRec, QString &psAliasTes,
                           const QString &psAliasDato, QString &psAliasRiga, int16_t &piErrore)
{
    EsitoPosting esito;
    // 1. Header and causal.
    const int32_t testata = ApriTestataCausale(d.anno, d.numReg, pgRec, psAliasTes);
    if (testata > 0) {
        esito.numero = testata;
        esito.descrizione = QStringLiteral("Testata del movimento non letta");
        return esito;
    }

    const bool dettaglio = eRigaDettaglio(d.tipoRiga);
    const QString &tabella = d.tabella();
    const QString testo = (d.disaggiorna ? QStringLiteral("Disaggiornamento movimenti in corso: ")
                                         : QStringLiteral("Aggiornamento movimenti in corso: ")) +
                          (dettaglio ? QStringLiteral("Righe di dettaglio") : QStringLiteral("Righe dei livelli"));
    const QString titolo =
        d.disaggiorna ? QStringLiteral(" Disaggiornamento Movimenti") : QStringLiteral(" Aggiornamento Movimenti");
    const QString titoloErrore = d.disaggiorna ? QStringLiteral("Errore durante il Disaggiornamento")
                                               : QStringLiteral("Errore durante l'Aggiornamento");
    AvanzamentoElab &avanzamento = mgAvanzamento();
    bool avviato = false; // the display this pass started on the progress form
    const auto termina = [&] {
        if (d.conForm && avviato)
            avanzamento.Termina(true);
    };

    // 2-3. The rows' keys, read once; the progress display; the preparation.
    std::vector<ChiaveRiga> chiavi;
    try {
        const auto leggiChiavi = [&](const QString &alias) {
            for (pgRec.MoveFirst(alias); !pgRec.Eof(alias); pgRec.MoveNext(alias)) {
                ChiaveRiga k;
                k.rigLiv = pgRec.ValoreCampo(alias, tabella + QStringLiteral(".RigLiv"));
                if (!dettaglio) {
                    k.livello1 = pgRec.ValoreCampo(alias, tabella + QStringLiteral(".Livello1"));
                    k.livello2 = pgRec.ValoreCampo(alias, tabella + QStringLiteral(".Livello2"));
                }
                chiavi.push_back(k);
            }
        };
        if (!psAliasDato.isEmpty()) {
            leggiChiavi(psAliasDato);
        } else {
            psAliasRiga = pgRec.Apri(*ggDbAzienda, gsNomeConn, QString(), d.selezione, false, dbOpenSnapshot);
            posting::AliasAperti selezione(pgRec);
            selezione.segui(psAliasRiga);
            leggiChiavi(psAliasRiga);
        }
        psAliasRiga.clear();
        // In the order of the rows' keys, the same on every engine.
        std::sort(chiavi.begin(), chiavi.end(), [](const ChiaveRiga &a, const ChiaveRiga &b) {
            const auto ordine = [](const Variant &x, const Variant &y) { return Variant::compare(x, y).value_or(0); };
            if (const int c = ordine(a.rigLiv, b.rigLiv))
                return c < 0;
            if (const int c = ordine(a.livello1, b.livello1))
                return c < 0;
            return ordine(a.livello2, b.livello2) < 0;
        });
        if (!chiavi.empty() && pgRec.NessunRecord(psAliasTes))
            throw erroreDb(ErrDb::NessunRecordCorrente, QStringLiteral("testata del movimento"));
        const int32_t massimo = static_cast<int32_t>(chiavi.size());
        if (d.conForm)
            avanzamento.AvviaConForm(vistePosting().formInElab(), massimo, testo, 0, true, true, Variant(int16_t(16)),
                                     titolo, 2, true);
        else
            avanzamento.Avvia(massimo, testo, 0, true, true, Variant(int16_t(16)), titolo, 2, true);
        avviato = true;
        if (d.preparazione)
            d.preparazione();
    } catch (const AppError &e) {
        psAliasRiga.clear();
        TestoErrore(e);
        termina();
        return esitoDi(e, 0);
    }

    // 4. Each row once.
    const auto sqlRiga = [&](const ChiaveRiga &k) {
        QString sql = d.selezione + QStringLiteral(" AND ") + tabella + QStringLiteral(".RigLiv = ") +
                      UtilGenerali::SqlValore(k.rigLiv, 3);
        if (!dettaglio)
            sql += QStringLiteral(" AND ") + tabella + QStringLiteral(".Livello1 = ") +
                   UtilGenerali::SqlValore(k.livello1, 8) + QStringLiteral(" AND ") + tabella +
                   QStringLiteral(".Livello2 = ") + UtilGenerali::SqlValore(k.livello2, 8);
        return sql;
    };
    for (size_t i = 0; i < chiavi.size(); ++i) {
        try {
            avanzamento.Messaggio(testo);
            avanzamento.Avanza(Variant(static_cast<int32_t>(i + 1)));
        } catch (const AppError &e) {
            TestoErrore(e);
        }
        const ChiaveRiga &k = chiavi[i];
        const std::optional<RigaNonEseguita> nonEseguita = EseguiRigaInTransazione(d.disaggiorna, testo, [&] {
            posting::AliasAperti aperti(pgRec);
            aperti.segui(psAliasRiga);
            psAliasRiga = pgRec.Apri(*ggDbAzienda, gsNomeConn, QString(), sqlRiga(k), false, dbOpenDynaset);
            // A row another user has taken out meanwhile is no longer this pass's.
            if (!pgRec.NessunRecord(psAliasRiga))
                d.passi(psAliasRiga);
        });
        psAliasRiga.clear();
        if (!nonEseguita)
            continue;

        // The row failed: it stays as it was. A conflict the user chose not to retry is counted
        // and passed over; any other error goes by the error mode.
        const AppError &errore = nonEseguita->errore;
        esito.aggiungi(esitoDi(errore, 1));
        if (nonEseguita->conflitto)
            continue;
        if (piErrore == -2) {
            piErrore = static_cast<int16_t>(UtilGenerali::NumeroErrore(errore));
            termina();
            return esito;
        }
        if (piErrore == 0) {
            QString alias;
            posting::AliasAperti aperti(pgRec);
            aperti.segui(alias);
            alias = pgRec.Apri(*ggDbAzienda, gsNomeConn, QString(), sqlRiga(k), false, dbOpenSnapshot);
            MostraErrAggMov(QStringLiteral("Errore (") + QString::number(UtilGenerali::NumeroErrore(errore)) +
                                QStringLiteral(") ") + errore.description(),
                            titoloErrore, pgRec, psAliasTes, alias, tabella);
        }
    }

    // 5. End of the walk.
    termina();
    return esito;
}
