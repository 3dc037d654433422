#include "riaggiornamovimento.h"

#include "aggiornamovimento.h"
#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "errori.h"
#include "gestrecordset.h"
#include "rigaposting.h"
#include "righeapp.h"
#include "servizimagazzino.h"
#include "transazioni.h"
#include "utilgenerali.h"
#include "vistaposting.h"

#include <functional>

namespace {

// The hourglass for the length of the call.
class ClessidraAccesa {
public:
    ClessidraAccesa() { vistePosting().clessidra(true); }
    ~ClessidraAccesa()
    {
        try {
            vistePosting().clessidra(false);
        } catch (...) {
        }
    }
    ClessidraAccesa(const ClessidraAccesa &) = delete;
    ClessidraAccesa &operator=(const ClessidraAccesa &) = delete;
};

EsitoPosting fallito(int32_t numero, const QString &descrizione)
{
    EsitoPosting e;
    e.numero = numero;
    e.descrizione = descrizione;
    return e;
}

// The stage of the caller's lock rewritten; a failure when it was not (the lock service has
// shown why).
EsitoPosting ristadia(const QString &stato, int16_t anno, int32_t numReg, QString &chiave)
{
    int16_t esito = EsitoBlocco::Errore;
    try {
        EseguiInTransazione([&] {
            QString utente, gestione = QStringLiteral("M"), varie, statoLock;
            esito = BloccaRecord(stato, QStringLiteral("M"), anno, numReg, false, true, chiave,
                                 QStringLiteral("Il movimento"), utente, gestione, varie, false, QString(), 0, 0, 0,
                                 statoLock)
                        .toInteger();
        });
    } catch (const AppError &e) {
        return fallito(UtilGenerali::NumeroErrore(e), e.description());
    }
    if (esito == EsitoBlocco::Preso)
        return {};
    const ErroreBlocco &e = UltimoErroreBlocco();
    if (e.numero != 0)
        return fallito(e.numero, e.descrizione);
    return fallito(ErrDb::Bloccato, QStringLiteral("Impossibile aggiornare lo stato del blocco del movimento"));
}

QString movimento(const QString &tabella, int16_t anno, int32_t numReg)
{
    return QStringLiteral("Delete from ") + tabella + QStringLiteral(" Where anno = ") +
           UtilGenerali::SqlValore(Variant(anno), 2) + QStringLiteral(" And numreg = ") +
           UtilGenerali::SqlValore(Variant(numReg), 3);
}

// The deletions of the old rows, together or not at all.
void elimina(const QStringList &tabelle, int16_t anno, int32_t numReg)
{
    EseguiInTransazione([&] {
        for (const QString &t : tabelle)
            ggDbAzienda->Esegui(gsNomeConn, movimento(t, anno, numReg));
    });
}

// The phases in their order, their results gathered in `esito`; a failure that must stop the
// re-posting returns.
void fasi(EsitoPosting &esito, GestRecordset &rec, QString &aliasTes, QString &aliasLiv, QString &aliasDett,
          int16_t anno, int32_t numReg, bool conForm, bool disaggiorna, QString &chiaveLock, bool senzaVecchie)
{
    int16_t errore = 0;

    // The old rows.
    if (!senzaVecchie) {
        if (disaggiorna) {
            esito.aggiungi(ristadia(QStringLiteral("2"), anno, numReg, chiaveLock));
            if (!esito.riuscito())
                return;
            esito.aggiungi(DisaggiornaMovimento(anno, numReg, rec, aliasLiv, QStringLiteral("L"), conForm, aliasTes,
                                                true, QStringLiteral("2"), errore));
            if (esito.riuscito())
                esito.aggiungi(DisaggiornaMovimento(anno, numReg, rec, aliasDett, QStringLiteral("D"), conForm,
                                                    aliasTes, true, QStringLiteral("2"), errore));
            if (!esito.riuscito())
                return;
            elimina({QStringLiteral("MovMagMatr"), QStringLiteral("MovMagRintraccia")}, anno, numReg);
        } else {
            esito.aggiungi(ristadia(QStringLiteral("B"), anno, numReg, chiaveLock));
            if (!esito.riuscito())
                return;
            elimina({QStringLiteral("MovMagDett"), QStringLiteral("MovMagLiv"), QStringLiteral("MovMagMatr"),
                     QStringLiteral("MovMagRintraccia")},
                    anno, numReg);
        }
    }

    // The work rows posted, level rows first.
    esito.aggiungi(ristadia(QStringLiteral("3"), anno, numReg, chiaveLock));
    if (!esito.riuscito())
        return;
    QString aliasRiga;
    esito.aggiungi(AggiornaMovimento(anno, numReg, rec, QStringLiteral("L"), conForm, aliasTes, aliasRiga, true,
                                     QStringLiteral("0"), errore, true));
    if (!esito.riuscito())
        return;
    aliasRiga.clear();
    esito.aggiungi(AggiornaMovimento(anno, numReg, rec, QStringLiteral("D"), conForm, aliasTes, aliasRiga, true,
                                     QStringLiteral("0"), errore, true));

    // Serial numbers and lot tracing: the work rows are cleared once copied.
    const bool matricole =
        CopiaRigheApp(anno, numReg, QStringLiteral("MovMagMatrApp"), QStringLiteral("MovMagMatr")) == 0;
    const bool rintraccia =
        CopiaRigheApp(anno, numReg, QStringLiteral("MovMagRintracciaApp"), QStringLiteral("MovMagRintraccia")) == 0;
    EseguiInTransazione([&] {
        CancellaRigheApp(anno, numReg, std::nullopt, std::nullopt, std::nullopt,
                         matricole ? std::optional<QString>(QStringLiteral("MovMagMatrApp")) : std::nullopt,
                         rintraccia ? std::optional<QString>(QStringLiteral("MovMagRintracciaApp")) : std::nullopt);
    });
    if (!matricole || !rintraccia)
        esito.aggiungi(fallito(3146, QStringLiteral("Matricole o rintracciabilità del movimento non copiate")));

    // The issue values of the lines of articles with levels.
    EseguiInTransazione(
        [&] { serviziMagazzino().AggValoriScarico(mgAvanzamento(), anno, numReg, QString(), QString()); });
}

} // namespace

EsitoPosting RiaggiornaMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, bool pbConForm, bool pbDisaggiorna,
                                 QString &psChiaveLock, bool pbSenzaVecchie)
{
    GestRecordset rec;
    QString aliasTes, aliasLiv, aliasDett;
    EsitoPosting esito;
    try {
        ClessidraAccesa clessidra;
        if (!pbConForm)
            mgAvanzamento().ImpostaForm(vistePosting().formAttiva());
        fasi(esito, rec, aliasTes, aliasLiv, aliasDett, piAnnoRegMov, plNumRegMov, pbConForm, pbDisaggiorna,
             psChiaveLock, pbSenzaVecchie);
    } catch (const AppError &e) {
        esito.aggiungi(fallito(UtilGenerali::NumeroErrore(e), e.description()));
    } catch (const std::exception &e) {
        esito.aggiungi(fallito(ErrNum::InvalidCall, QString::fromLocal8Bit(e.what())));
    }
    if (!pbConForm)
        mgAvanzamento().ImpostaForm(nullptr);
    rec.Chiudi(aliasTes);
    rec.Chiudi(aliasLiv);
    rec.Chiudi(aliasDett);
    return esito;
}
