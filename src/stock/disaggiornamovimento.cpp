#include "aggiornamovimento.h"

#include "passataposting.h"
#include "selezionimovimento.h"
#include "servizimagazzino.h"

EsitoPosting DisaggiornaMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, GestRecordset &pgRec, QString &psAliasRiga,
                                  const QString &psTipoRiga, bool pvConForm, QString &psAliasTes, bool pbCancella,
                                  const QString &psFlagStato, int16_t &piErrore)
{
    const QString tabDett = QStringLiteral("MovMagDett"), tabLiv = QStringLiteral("MovMagLiv");
    const QString tabella = eRigaDettaglio(psTipoRiga) ? tabDett : tabLiv;
    ContestoPosting contesto;
    PassataPosting p;
    p.disaggiorna = true;
    p.anno = piAnnoRegMov;
    p.numReg = plNumRegMov;
    p.tipoRiga = psTipoRiga;
    p.conForm = pvConForm;
    p.tabDett = tabDett;
    p.tabLiv = tabLiv;
    p.selezione = SqlRigheMovimento(piAnnoRegMov, plNumRegMov, psTipoRiga, tabDett, tabLiv);
    p.passi = [&](const QString &riga) {
        double valScaricoLire = 0, valScarico = 0;
        double totRipartSpese = -1;
        QString ripartSpesePercVal;
        serviziMagazzino().PostaRiga(QStringLiteral("D"), !pbCancella, pgRec, psAliasTes, riga, psTipoRiga, true, 0,
                                     valScaricoLire, valScarico, true, true, totRipartSpese, ripartSpesePercVal,
                                     contesto);
        if (pbCancella) {
            pgRec.Delete(riga);
        } else {
            pgRec.Edit(riga);
            pgRec.ScriviCampo(riga, tabella + QStringLiteral(".FlagStato"), Variant(psFlagStato));
            pgRec.Update(riga);
        }
    };
    return EseguiPassata(p, pgRec, psAliasTes, QString(), psAliasRiga, piErrore);
}
