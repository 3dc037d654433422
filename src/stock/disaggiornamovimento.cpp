#include "aggiornamovimento.h"

#include "passataposting.h"
#include "selezionimovimento.h"
#include "servizimagazzino.h"

EsitoPosting DisaggiornaMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, GestRecordset &pgRec, QString &psAliasRiga,
                                  const QString &psTipoRiga, bool pvConForm, QString &psAliasTes, bool pbCancella,
                                  const QString &psFlagStato, int16_t &piErrore)
{
    ContestoPosting contesto;
    PassataPosting p(true, piAnnoRegMov, plNumRegMov, psTipoRiga, pvConForm, QStringLiteral("MovMagDett"),
                     QStringLiteral("MovMagLiv"));
    p.selezione = SqlRigheMovimento(piAnnoRegMov, plNumRegMov, psTipoRiga, p.tabDett, p.tabLiv);
    p.passi = [&](const QString &riga) {
        double valScaricoLire = 0, valScarico = 0;
        double totRipartSpese = -1;
        QString ripartSpesePercVal;
        serviziMagazzino().PostaRiga(QStringLiteral("D"), !pbCancella, pgRec, psAliasTes, riga, psTipoRiga, true, 0,
                                     valScaricoLire, valScarico, true, true, totRipartSpese, ripartSpesePercVal,
                                     contesto);
        if (pbCancella)
            pgRec.Delete(riga);
        else
            SegnaRiga(pgRec, riga, p.tabella(), psFlagStato);
    };
    return EseguiPassata(p, pgRec, psAliasTes, QString(), psAliasRiga, piErrore);
}
