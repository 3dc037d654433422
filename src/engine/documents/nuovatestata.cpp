// A new target header numbered in the run's year, and the lock of the target header.
#include "testataincorso.h"

#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "evadoordtest.h"
#include "menuclient.h"
#include "scevaordven.h"
#include "textcompare.h"
#include "ultimerighe.h"
#include "utilgenerali.h"

#include <optional>
#include <utility>

namespace {

constexpr int16_t kTentativi = 10;

NumeratoreTestate &numeratore()
{
    static NumeratoreTestate n;
    return n;
}

int32_t prossimoNumero(int16_t anno, const QString &tabella)
{
    if (numeratore())
        return numeratore()(anno, tabella);
    return UltimoNumero(anno, tabella, QStringLiteral("NumRif"), false).toLong();
}

void annullaInCorso(GestRecordset &rs, const QString &alias)
{
    try {
        if (rs.Recordset(alias).InModifica())
            rs.CancelUpdate(alias);
    } catch (const AppError &) {
        // Nothing pending.
    }
}

} // namespace

NumeratoreTestate ImpostaNumeratoreTestate(NumeratoreTestate n)
{
    std::swap(numeratore(), n);
    return n;
}

void CancellaTestata(scEvaOrdVen &eva, int32_t numRif)
{
    ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete from ") + eva.msTabTesta + QStringLiteral(" Where Anno = ") +
                                        UtilGenerali::SqlValore(Variant(eva.oiAnno), 2) +
                                        QStringLiteral(" And NumRif = ") + UtilGenerali::SqlValore(Variant(numRif), 3));
}

bool CreaTestata(scEvaOrdVen &eva, TestataInCorso &t, bool &pbEsci)
{
    eva.msFase = QStringLiteral("Evasione Ordini: Evasione di un singolo Ordine: Creazione nuova testata");
    GestRecordset &rs = eva.mgRecs();
    const QString &alias = eva.msAliasTesDoc;
    std::optional<AppError> ultimo;
    for (int16_t tentativo = 1; tentativo <= kTentativi; ++tentativo) {
        // Each attempt takes a fresh number: a number stored meanwhile by another user makes the
        // store fail on the table's key, and so does any other failure of the attempt.
        bool memorizzata = false;
        int32_t numero = 0;
        try {
            annullaInCorso(rs, alias);
            rs.AddNew(alias);
            rs.ScriviCampo(alias, u"Anno", Variant(eva.oiAnno));
            numero = prossimoNumero(eva.oiAnno, eva.msTabTesta);
            rs.ScriviCampo(alias, u"NumRif", Variant(numero));
            rs.ScriviCampo(alias, u"DataRif", UtilGenerali::ConvertiTipo(Variant(eva.otDataEvasione), 7));
            rs.Update(alias);
            memorizzata = true;
            rs.VaiUltimoModificato(alias);
            t.numRif = numero;
            t.creata = true;
            return true;
        } catch (const AppError &e) {
            ultimo = e;
            annullaInCorso(rs, alias);
            if (memorizzata) {
                try {
                    CancellaTestata(eva, numero);
                } catch (const AppError &) {
                    // The next attempt numbers past it.
                }
            }
        }
    }
    eva.AccodaErroreEva(ultimo->number(), ultimo->description());
    pbEsci = true;
    return false;
}

void BloccaTestata(scEvaOrdVen &eva, TestataInCorso &t, bool &pbEsci)
{
    GestRecordset &rs = eva.mgRecs();
    bool preso = false;
    do {
        const int16_t annoOrdine = rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Anno").toInteger();
        const int32_t numOrdine = rs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif").toLong();
        QString utente, gestione = QStringLiteral("3"), varie, statoLock;
        const int16_t esito =
            BloccaRecord(QStringLiteral("0"), eva.msTipoLockTes, eva.oiAnno, t.numRif, true, false, t.chiaveLock,
                         QStringLiteral("La fattura"), utente, gestione, varie, false, QStringLiteral("O"), annoOrdine,
                         numOrdine, 0, statoLock)
                .toInteger();
        if (esito == EsitoBlocco::Preso) {
            preso = true;
            t.lockScritto = true;
        } else if (esito == EsitoBlocco::InUso || esito == EsitoBlocco::Conteso) {
            // The user's own lock is ours only on a document of this run: another session of the
            // same user, or a lock left behind, must not let two runs write one document.
            if (esito == EsitoBlocco::InUso && textEquals(ggMenuClient->NomeUtente(), utente) &&
                DocumentoRegistrato(eva, t.numRif)) {
                preso = true;
            } else if (frmMsgCom::msgCom(QStringLiteral("Doc. in uso da ") + utente, QStringLiteral("Riprova"),
                                         Variant(QStringLiteral("Esci")), Variant(), Variant(), 80, false, 600,
                                         Variant(), 1) == 2) {
                pbEsci = true;
            }
        } else {
            const ErroreBlocco &e = UltimoErroreBlocco();
            eva.AccodaErroreEva(e.numero, QStringLiteral("DDt n.rif ") + QString::number(t.numRif) +
                                              QStringLiteral(" anno ") + QString::number(eva.oiAnno) +
                                              QStringLiteral(" errore nel loccaggio della testata doc.: ") +
                                              e.descrizione);
            pbEsci = true;
        }
    } while (!preso && !pbEsci);
    t.lockPreso = preso;
    // A lock row written now was nobody's a moment ago: lines written to the document meanwhile
    // are not the run's to know.
    if (t.lockScritto)
        DimenticaUltimeRighe(eva, t.numRif);
}
