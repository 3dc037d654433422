// The end of a run, the re-opening of a run's record sets for one order and one document, and
// a field of the current order.
#include "scevaordven.h"

#include "blocchi.h"
#include "contesto.h"
#include "dialoghi.h"
#include "letteralisql.h"
#include "menuclient.h"
#include "presentazione.h"
#include "serviziEvasione.h"

using namespace sqlEva;

void scEvaOrdVen::FineEvasione(bool &pbEsci)
{
    GestRecordset &rs = mgRecs();
    if (!pbEsci) {
        mgAvanzElab().ImpostaMassimo(mlOrdiniSelezionati * 2 + rs.RecordCount(msAliasDocDaElab));
        mgAvanzElab().Avanza(Variant(mlContaAvanz), Variant(QStringLiteral("Chiusura fatture o bolle")), true);
        if (!obSoloASaldo && !obEvACorrisp)
            servizi().ChiudiFatBolle(*this, msAliasDocDaElab, pbEsci, mgAvanzElab());
    }
    rs.Chiudi(msAliasOrd);
    rs.Chiudi(msAliasDocDaElab);
    if (!pbEsci)
        servizi().CancellaAppoggioTemp(*this, ggMenuClient->NomeUtente(), QStringLiteral("scEvaOrdVen"));
    mgAvanzElab().Termina(true);
    ClessidraEvasione(false);
    if (miNumErrori > 0)
        frmMsgCom::msgCom(msErrori, QStringLiteral("&Ok"));
}

void scEvaOrdVen::RileggiDocEOrd(int16_t piAnnoOrd, int32_t plNumRifOrd, int16_t piAnnoDoc, int32_t plNumRifDoc,
                                 QString &psErrori, const QString &psUtente, int16_t piAnnoRegMov, int32_t plNumRegMov)
{
    GestRecordset &rs = mgRecs();
    psErrori.clear();
    if (msAliasOrd.isEmpty())
        msAliasOrd = QStringLiteral("EvaOrdTestate");
    if (msAliasTesDoc.isEmpty())
        msAliasTesDoc = QStringLiteral("EvaOrdTesDoc");
    if (msAliasDocDaElab.isEmpty())
        msAliasDocDaElab = QStringLiteral("EvaOrdDocDaElab");

    rs.Apri(*ggDbAzienda, gsNomeConn, msAliasOrd, PrepSqlSelOrd(false, piAnnoOrd, plNumRifOrd), false, dbOpenDynaset);
    if (rs.NessunRecord(msAliasOrd)) {
        psErrori = QStringLiteral("Manca la testata dell'ordine n.") + QString::number(piAnnoOrd) + QStringLiteral("/")
                   + QString::number(plNumRifOrd);
    } else if (piAnnoDoc >= 1) {
        rs.Apri(*ggDbAzienda, gsNomeConn, msAliasTesDoc,
                QStringLiteral("select * from ") + msTabTesta + QStringLiteral(" Where ") + msTabTesta
                    + QStringLiteral(".Anno = ") + I(Variant(piAnnoDoc)) + QStringLiteral(" and ") + msTabTesta
                    + QStringLiteral(".NumRif = ") + L(Variant(plNumRifDoc)),
                false, dbOpenDynaset);
        if (rs.NessunRecord(msAliasTesDoc))
            psErrori = QStringLiteral("Manca la testata del documento n.") + QString::number(piAnnoDoc) + QStringLiteral("/")
                       + QString::number(plNumRifDoc);
    }
    // The run's documents are registered under the program's identity.
    rs.Apri(*ggDbAzienda, gsNomeConn, msAliasDocDaElab,
            QStringLiteral("Select * from DocDaElab") + QStringLiteral(" Where Utente = ") + T(psUtente)
                + QStringLiteral(" AND Programma = ") + T(gsProgramma + gsProgrammaPar) + QStringLiteral(" AND Anno = ")
                + I(Variant(oiAnno)),
            false, dbOpenDynaset);

    if (obEvACorrisp) {
        QString utenteLock, gestione = QStringLiteral("3"), varie, statoLock;
        BloccaRecord(QStringLiteral("0"), QStringLiteral("M"), piAnnoRegMov, plNumRegMov, true, false, msAliasLockMov,
                     QStringLiteral("Movimenti di magazzino"), utenteLock, gestione, varie, true, QString(), 0, 0, 0, statoLock);
        mlNumRegMov = plNumRegMov;
    }
}

Variant scEvaOrdVen::LegDaOrdTes(const QString &psCosa)
{
    return mgRecs().LeggiCampo(msAliasOrd, psCosa);
}
