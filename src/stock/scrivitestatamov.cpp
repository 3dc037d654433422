#include "scrivitestatamov.h"

#include "apperror.h"
#include "blocchi.h"
#include "contesto.h"
#include "controllidocumento.h"
#include "errori.h"
#include "utilgenerali.h"

namespace {

constexpr int kTentativi = 10;

QString sqlProva(int16_t anno, int32_t numero)
{
    return QStringLiteral("select * from MovMagTes where") + QStringLiteral(" anno = ") +
           UtilGenerali::SqlValore(Variant(anno), 2) + QStringLiteral(" and NumReg = ") +
           UtilGenerali::SqlValore(Variant(numero), 3);
}

void annullaInCorso(GestRecordset &rs, const QString &alias) noexcept
{
    try {
        if (rs.Aperto(alias) && rs.Recordset(alias).InModifica())
            rs.CancelUpdate(alias);
    } catch (const AppError &) {
        // Nothing pending.
    }
}

bool daRinumerare(const AppError &e)
{
    const int32_t n = UtilGenerali::NumeroErrore(e);
    return n == ErrDb::ChiaveDuplicata || n == ErrDb::OdbcFallito;
}

} // namespace

int16_t ScriviTestataMov(QString &psGestione, int16_t piPadreAnno, const Variant &pvDataReg, int32_t plPadreNumReg,
                         GestRecordset &pgRecs, int32_t &plNumReg, int16_t &piAnno, QString &psUtenteLock,
                         QString &psAliasTes, const QString &psMagCausale, const QString &psMagazzinoProv,
                         const QString &psMagazzinoDest, const QString &psGruppoCliFor, const QString &psMastroCliFor,
                         const QString &psContoCliFor, const QString &psListino, const QString &psMoneta,
                         const QString &psPadreTipo, const QString &psFattDocumento, double pdCambio,
                         const QString &psPreDoc, int32_t plNumDoc, QString &psChiaveLock,
                         const std::optional<Variant> &pvDataDoc, const QString &psNumDoc,
                         const QString &psImportoSpese)
{
    const Variant dataReg = UtilGenerali::ConvertiTipo(pvDataReg, 7);
    const Variant dataDoc = pvDataDoc ? *pvDataDoc : dataReg;

    QString messaggio;
    (void)ControllaDataEsercizio(dataReg, piAnno, messaggio);
    if (piAnno == 0)
        throw AppError(ErrNum::InvalidCall,
                       QStringLiteral("La data del movimento ") + dataReg.text() +
                           QStringLiteral(" non cade in un esercizio di magazzino"),
                       QStringLiteral("ScriviTestataMov"));

    const bool numeroTesto = !UtilGenerali::Vuoto(Variant(psNumDoc));
    const bool documento = !psPreDoc.isEmpty() || plNumDoc > 0 || numeroTesto;

    for (int tentativo = 1;; ++tentativo) {
        plNumReg = UltimoNumero(piAnno, QStringLiteral("MovMagTes"), QStringLiteral("numreg"), false).toLong();
        psAliasTes = pgRecs.Apri(*ggDbAzienda, gsNomeConn, psAliasTes, sqlProva(piAnno, plNumReg), false, dbOpenDynaset);
        while (!pgRecs.NessunRecord(psAliasTes)) {
            if (plNumReg == INT32_MAX)
                throw AppError::standard(ErrNum::Overflow);
            ++plNumReg;
            pgRecs.Riapri(psAliasTes, sqlProva(piAnno, plNumReg), dbOpenDynaset);
        }

        pgRecs.AddNew(psAliasTes);
        try {
            pgRecs.ScriviCampo(psAliasTes, u"Anno", Variant(piAnno));
            pgRecs.ScriviCampo(psAliasTes, u"NumReg", Variant(plNumReg));
            pgRecs.ScriviCampo(psAliasTes, u"DataReg", dataReg);
            pgRecs.ScriviCampo(psAliasTes, u"FattDocumento", Variant(psFattDocumento));
            if (documento) {
                pgRecs.ScriviCampo(psAliasTes, u"PreDoc", Variant(psPreDoc));
                pgRecs.ScriviCampo(psAliasTes, u"NumDoc", numeroTesto ? Variant(psNumDoc) : Variant(plNumDoc));
                pgRecs.ScriviCampo(psAliasTes, u"DataDoc", dataDoc);
            }
            pgRecs.ScriviCampo(psAliasTes, u"MagCausale", Variant(psMagCausale));
            pgRecs.ScriviCampo(psAliasTes, u"MagazzinoProv", Variant(psMagazzinoProv));
            pgRecs.ScriviCampo(psAliasTes, u"MagazzinoDest", Variant(psMagazzinoDest));
            pgRecs.ScriviCampo(psAliasTes, u"GruppoCliFor", Variant(psGruppoCliFor));
            pgRecs.ScriviCampo(psAliasTes, u"MastroCliFor", Variant(psMastroCliFor));
            pgRecs.ScriviCampo(psAliasTes, u"ContoCliFor", Variant(psContoCliFor));
            pgRecs.ScriviCampo(psAliasTes, u"Listino", Variant(psListino));
            pgRecs.ScriviCampo(psAliasTes, u"Moneta", Variant(psMoneta));
            pgRecs.ScriviCampo(psAliasTes, u"Cambio", Variant(pdCambio));
            pgRecs.ScriviCampo(psAliasTes, u"CambioDocOrig", Variant(0.0));
            pgRecs.ScriviCampo(psAliasTes, u"AutMan", Variant("A"));
            pgRecs.ScriviCampo(psAliasTes, u"Note", Variant(QString()));
            if (!UtilGenerali::Vuoto(Variant(psImportoSpese)))
                pgRecs.ScriviCampo(psAliasTes, u"ImportoSpese",
                                   Variant(UtilGenerali::ValoreNumerico(Variant(psImportoSpese))));
            pgRecs.Update(psAliasTes);
            break;
        } catch (const AppError &e) {
            annullaInCorso(pgRecs, psAliasTes);
            // Another user stored this number since the probe: number again, but not forever.
            if (!daRinumerare(e) || tentativo >= kTentativi)
                throw;
        }
    }
    pgRecs.VaiUltimoModificato(psAliasTes);

    QString varie = QString::number(piPadreAnno) + QLatin1Char('-') + QString::number(plPadreNumReg);
    QString statoLock;
    return BloccaRecord(QStringLiteral("0"), QStringLiteral("M"), piAnno, plNumReg, true, false, psChiaveLock,
                        QStringLiteral("Movimenti di magazzino"), psUtenteLock, psGestione, varie, false, psPadreTipo,
                        piPadreAnno, plPadreNumReg, 0, statoLock)
        .toInteger();
}
