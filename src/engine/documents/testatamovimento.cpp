#include "testatamovimento.h"

#include "apperror.h"
#include "blocchi.h"
#include "cambioordine.h"
#include "connessionedb.h"
#include "contesto.h"
#include "errori.h"
#include "scevaordven.h"
#include "scrivitestatamov.h"
#include "textcompare.h"
#include "transazionecomune.h"
#include "transazioni.h"
#include "utilgenerali.h"

namespace {

QString chiaveMovimento(const scEvaOrdVen &eva)
{
    return QStringLiteral("Movimento di magazzino n.reg ") + QString::number(eva.mlNumRegMov) +
           QStringLiteral(" anno ") + QString::number(eva.miAnnoMov);
}

// The lock of the new movement was not taken: the header goes again, and a row that is not this
// run's (another user's lock on that number) is left as it is.
void rinunciaAlMovimento(scEvaOrdVen &eva, int16_t esito, const QString &utente)
{
    if (esito == EsitoBlocco::InUso) {
        eva.AccodaErroreEva(ErrDb::Bloccato, chiaveMovimento(eva) + QStringLiteral(" in uso da ") + utente);
    } else {
        const ErroreBlocco &e = UltimoErroreBlocco();
        eva.AccodaErroreEva(e.numero, chiaveMovimento(eva) + QStringLiteral(" errore nel loccaggio: ") + e.descrizione);
    }
    ggRecLock().Chiudi(eva.msAliasLockMov);
    eva.msAliasLockMov.clear();
    eva.mgRecs().Chiudi(eva.msRidMovTes);
    eva.msRidMovTes.clear();
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete from MovMagTes Where Anno = ") +
                                        UtilGenerali::SqlValore(Variant(eva.miAnnoMov), 2) +
                                        QStringLiteral(" And NumReg = ") +
                                        UtilGenerali::SqlValore(Variant(eva.mlNumRegMov), 3));
}

} // namespace

void CreaTestMovMag(scEvaOrdVen &eva, bool &pbEsci)
{
    try {
        eva.msFase = QStringLiteral("Evasione Ordine: Creazione testata mov. di magazzino");
        GestRecordset &rs = eva.mgRecs();
        const QString &ord = eva.msAliasOrd;
        const auto testo = [&](QStringView campo) { return rs.LeggiCampo(ord, campo).text(); };

        const QString moneta = testo(u"OrdVenTest.Moneta");
        const double cambio = CambioOrdine(eva);

        QString gruppo = testo(u"OrdVenTest.GruppoCli");
        QString mastro = testo(u"OrdVenTest.MastroCli");
        QString conto = testo(u"OrdVenTest.ContoCli");
        if (conto.isEmpty()) {
            gruppo = eva.msGruppoCliCorr;
            mastro = eva.msMastroCliCorr;
            conto = eva.msContoCliCorr;
        }
        QString destinazione;
        if (textEquals(eva.msDestCorr, u"C")) {
            destinazione = gruppo + mastro + conto;
        } else {
            gruppo.clear();
            mastro.clear();
            conto.clear();
        }

        const int32_t numRif = UtilGenerali::ValoreLong(rs.LeggiCampo(ord, u"OrdVenTest.NumRif"));
        const int32_t numDoc = UtilGenerali::ValoreLong(rs.LeggiCampo(ord, u"OrdVenTest.NumDoc"));
        QString gestione = QStringLiteral("3");
        QString utenteLock;
        // The header and its lock stand together: a stop in between would leave a header that
        // no lock names, which no recovery finds. (The lock asks nothing of the user.)
        TransazioneComune transazione(true);
        const int16_t esito = ScriviTestataMov(
            gestione, eva.oiAnno, Variant(eva.otDataEvasione), numRif, rs, eva.mlNumRegMov, eva.miAnnoMov, utenteLock,
            eva.msRidMovTes, eva.msCausaleCorr, testo(u"OrdVenTest.MagazzProv"), destinazione, gruppo, mastro, conto,
            testo(u"OrdVenTest.Listino"), moneta, QStringLiteral("O"), eva.osFattDocOrd, cambio,
            testo(u"OrdVenTest.PreDoc"), numDoc, eva.msAliasLockMov, rs.ValoreCampo(ord, u"OrdVenTest.DataDoc"),
            QString(), QString());
        if (esito != EsitoBlocco::Preso) {
            pbEsci = true;
            rinunciaAlMovimento(eva, esito, utenteLock);
        }
        transazione.conferma();
    } catch (const AppError &e) {
        eva.AccodaErroreEva(e.number(), e.description());
        pbEsci = true;
    }
}

void CancellaTestMovMag(scEvaOrdVen &eva, GestRecordset &pgRecs, QString &psMovTes, QString &psLocMov,
                        const QString & /*psRidDocTest*/, bool pbFatRiep, const QString & /*psCamNumMovim*/,
                        const QString & /*psCamAnnoMovim*/)
{
    bool inTransazione = false;
    try {
        IniziaTransazione();
        inTransazione = true;
        if (pbFatRiep) {
            pgRecs.Delete(psMovTes);
            SbloccaRecord(psLocMov, false);
        }
        ConfermaTransazione();
        inTransazione = false;
    } catch (const AppError &e) {
        if (inTransazione) {
            try {
                AnnullaTransazione();
            } catch (const AppError &) {
                // The failure reported is the one that stopped the release.
            }
        }
        eva.AccodaErroreEva(e.number(), e.description());
    }
    ggRecLock().Chiudi(psLocMov);
    psLocMov.clear();
}
