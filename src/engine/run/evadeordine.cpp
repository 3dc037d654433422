// The per-order driver: one order of the cursor through its settings and lock, its target
// header, its lines and what follows them (expenses, order state, lock release).
#include "scevaordven.h"

#include "blocchi.h"
#include "bloccoordine.h"
#include "contesto.h"
#include "letteralisql.h"
#include "menuclient.h"
#include "parametri.h"
#include "serviziEvasione.h"
#include "textcompare.h"
#include "transazioni.h"

using namespace sqlEva;

namespace {

QString personaleVendite(const QString &nome, const QString &predefinito)
{
    return LeggiParamPers(QStringLiteral("Vendite"), nome, Variant(predefinito)).text();
}

} // namespace

void scEvaOrdVen::EvadeOrdine(bool &pbEsci)
{
    LasciaRigheOrdine();
    mOrdineSenzaSpese = {};
    try {
        // Dimension settings, re-read for every order.
        mbQtaDaDimen = textEquals(personaleVendite(QStringLiteral("QtaDaDimen"), QString()), u"S");
        if (mbQtaDaDimen) {
            const auto fraPuntiEVirgola = [](const QString &v) { return QStringLiteral(";") + v + QStringLiteral(";"); };
            msQtaDaDimUML = fraPuntiEVirgola(personaleVendite(QStringLiteral("QtaDaDimUML"), QString()));
            msQtaDaDimUMQ = fraPuntiEVirgola(personaleVendite(QStringLiteral("QtaDaDimUMQ"), QString()));
            msQtaDaDimUMC = fraPuntiEVirgola(personaleVendite(QStringLiteral("QtaDaDimUMC"), QString()));
            const QString nota = personaleVendite(QStringLiteral("NotaDimensioni"), QString());
            msNotaDimUML = personaleVendite(QStringLiteral("NotaDimensioniUML"), nota);
            msNotaDimUMQ = personaleVendite(QStringLiteral("NotaDimensioniUMQ"), nota);
            msNotaDimUMC = personaleVendite(QStringLiteral("NotaDimensioniUMC"), nota);
            mdQtaDimenRapp = UtilGenerali::ValoreNumerico(
                LeggiParamPers(QStringLiteral("Vendite"), QStringLiteral("QtaDimenRapp"), Variant("1000#")), true);
            if (mdQtaDimenRapp == 0)
                mdQtaDimenRapp = 1000;
        }

        LeggiValTestOrd(pbEsci);
        if (pbEsci)
            return;

        ServiziEvasione &s = servizi();
        // An order with nothing to deliver gets no document nor movement: its lines are only
        // closed, as in a balance-only run.
        msRigheControllo.clear();
        mbOrdineSoloASaldo = obSoloASaldo || s.OrdineSoloASaldo(*this);
        // An order whose data would give a wrong document is refused whole: the run goes on.
        const bool convertibile = s.OrdineConvertibile(*this, mbOrdineSoloASaldo);
        msRigheControllo.clear();
        if (!convertibile)
            return;
        if (!mbOrdineSoloASaldo && !obEvACorrisp) {
            s.EvadoOrdTest(*this, pbEsci);
            if (pbEsci)
                return;
        }

        GestRecordset &rs = mgRecs();
        const Variant anno = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.Anno");
        const Variant numRif = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.NumRif");
        if (!obEvasManule) {
            // Every expense of the order is staged as selected (the order is locked by this run).
            ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("Delete * from OrdVenEvaSpese ")
                                                + QStringLiteral(" WHERE OrdVenEvaSpese.Anno=") + I(anno)
                                                + QStringLiteral(" AND OrdVenEvaSpese.NumRif=") + L(numRif));
            ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("INSERT INTO OrdVenEvaSpese (")
                                                + QStringLiteral(" Utente, Anno, NumRif,Riga,Selez)")
                                                + QStringLiteral(" SELECT ") + T(ggMenuClient->NomeUtente())
                                                + QStringLiteral(" AS MioUtente,")
                                                + QStringLiteral("OrdVenSpese.Anno, OrdVenSpese.NumRif, OrdVenSpese.Riga,")
                                                + QStringLiteral("'S' as MioSelez") + QStringLiteral(" FROM OrdVenSpese")
                                                + QStringLiteral(" WHERE OrdVenSpese.Anno=") + I(anno)
                                                + QStringLiteral(" AND OrdVenSpese.NumRif=") + L(numRif));
        }

        int16_t righeCreate = 0;
        if (mbOrdineSoloASaldo)
            s.EvadeDettSoloASaldo(*this, pbEsci);
        else if (obEvACorrisp)
            s.EvadeDettCorrisp(*this, pbEsci, false);
        else
            s.EvadoOrdDett(*this, pbEsci, righeCreate, false);

        PostEvasioneDett(righeCreate, pbEsci);
    } catch (const AppError &e) {
        AccodaErroreEva(e.number(), e.description());
        pbEsci = true;
    } catch (const std::exception &e) {
        AccodaErroreEva(0, QString::fromLocal8Bit(e.what()));
        pbEsci = true;
    }
}

void scEvaOrdVen::ChiudiOrdineSenzaConsegne(bool &pbEsci)
{
    mRigheOrdineTenute = {};
    mbOrdineSoloASaldo = true;
    servizi().EvadeDettSoloASaldo(*this, pbEsci);
    PostEvasioneDett(0, pbEsci);
}

void scEvaOrdVen::LeggiValTestOrd(bool &pbEsci)
{
    GestRecordset &rs = mgRecs();
    msRagOrd = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.RagOrd").text();
    if (msRagOrd.isEmpty())
        msRagOrd = QStringLiteral("N");
    msOrdAperto = textEquals(rs.LeggiCampo(msAliasOrd, u"OrdVenTest.OrdAperto").text(), u"S") ? QStringLiteral("S")
                                                                                                : QStringLiteral("N");

    const int16_t anno = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.Anno").toInteger();
    const int32_t numero = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.NumRif").toLong();
    QString utenteLock;
    const int16_t esito = BloccaOrdine(anno, numero, true, msAliasLockOrd, QStringLiteral("Il Doc"), utenteLock);
    if (esito == EsitoBlocco::Assente)
        return; // converted without a lock row
    if (esito == EsitoBlocco::Preso && textEquals(utenteLock, ggMenuClient->NomeUtente()))
        return;
    // The order's lock is gone, or another user holds it now: the order is not converted and
    // the other user's row stays.
    const ErroreBlocco &e = UltimoErroreBlocco();
    AccodaErroreEva(e.numero, QStringLiteral("Errore nella riapertura del recordset di") + QStringLiteral(" lock, Movimento n.rif ")
                                  + QString::number(numero) + QStringLiteral(" anno ") + QString::number(anno)
                                  + QStringLiteral(" in uso da ") + utenteLock + QStringLiteral(" : ") + e.descrizione);
    pbEsci = true;
    ggRecLock().Chiudi(msAliasLockOrd);
    msAliasLockOrd.clear();
}

void scEvaOrdVen::PostEvasioneDett(int16_t piRigheCreate, bool &pbEsci)
{
    msFase = QStringLiteral("Dopo Evasione dettagli");
    GestRecordset &rs = mgRecs();
    // The expenses, the order's state and the release of its lock go together: an order still
    // locked after a stop has none of its expenses in the document, so a recovery transfers them
    // once.
    IniziaTransazione();
    try {
        PostEvasioneDettInTransazione(piRigheCreate, pbEsci);
    } catch (...) {
        AnnullaTransazione();
        throw;
    }
    if (pbEsci)
        AnnullaTransazione();
    else
        ConfermaTransazione();

    rs.Chiudi(msAliasTesDoc);
    msAliasTesDoc.clear();
    LasciaRigheOrdine();
}

void scEvaOrdVen::PostEvasioneDettInTransazione(int16_t piRigheCreate, bool &pbEsci)
{
    GestRecordset &rs = mgRecs();
    if (piRigheCreate >= 1 && !obEvACorrisp) {
        servizi().EvadoOrdSpese(*this, pbEsci);
        msFase = QStringLiteral("Dopo Evasione Spese");
    }

    if (!pbEsci) {
        if (textEquals(msOrdAperto, u"N") && (piRigheCreate >= 1 || obSoloASaldo || mbOrdineSoloASaldo)) {
            // "E" when no article line is left open, else "P".
            const QString stato = RigheArticoloAperte() ? QStringLiteral("P") : QStringLiteral("E");
            // An automatic order that had nothing to deliver is closed when none of its lines is
            // left open; otherwise it keeps its state (nothing of it was delivered now), unless
            // that state says closed while lines are still open.
            const bool nienteConsegnato = mbOrdineSoloASaldo && !obSoloASaldo && !obEvasManule;
            const bool statoChiuso = textEquals(rs.LeggiCampo(msAliasOrd, u"OrdVenTest.Stato").text(), u"E");
            if (!(nienteConsegnato && stato == QLatin1String("P") && !statoChiuso)) {
                rs.Edit(msAliasOrd);
                rs.ScriviCampo(msAliasOrd, u"OrdVenTest.Stato", Variant(stato));
                rs.Update(msAliasOrd);
            }
        }
        // The order's lock released: its row deleted when it is this user's. A release the
        // database refuses undoes the order's state and expenses with it, and stops the run.
        try {
            SbloccaRecord(msAliasLockOrd, true);
        } catch (const AppError &e) {
            throw AppError(e.number(),
                           QStringLiteral("Ordini vendita n.rif ") + rs.LeggiCampo(msAliasOrd, u"OrdVenTest.NumRif").text()
                               + QStringLiteral(" anno ") + rs.LeggiCampo(msAliasOrd, u"OrdVenTest.Anno").text()
                               + QStringLiteral(" non sbloccato: ") + e.description(),
                           e.source());
        }
    }
}

bool scEvaOrdVen::RigheArticoloAperte()
{
    GestRecordset &rs = mgRecs();
    const Variant anno = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.Anno");
    const Variant numRif = rs.LeggiCampo(msAliasOrd, u"OrdVenTest.NumRif");
    // The lines the conversion holds are the database's own: the order is locked by the run,
    // which wrote them through that set, and no rollback has undone any of it since.
    const RigheOrdineTenute &t = mRigheOrdineTenute;
    if (!t.alias.isEmpty() && t.anno == anno.toInteger() && t.numRif == numRif.toLong() &&
        t.annullamenti == ggDbAzienda->Annullamenti(gsNomeConn) && rs.Aperto(t.alias)) {
        for (rs.MoveFirst(t.alias); !rs.Eof(t.alias); rs.MoveNext(t.alias)) {
            const QString tipo = rs.LeggiCampo(t.alias, u"TipoRiga").text();
            if ((textEquals(tipo, u"A") || textEquals(tipo, u"M")) &&
                !textEquals(rs.LeggiCampo(t.alias, u"StatoRiga").text(), u"E"))
                return true;
        }
        return false;
    }
    GestRecordset aperte;
    const QString alias = aperte.Apri(
        *ggDbAzienda, gsNomeConn, {},
        QStringLiteral("Select OrdVenDett.*") + QStringLiteral(" from OrdVenDett") + QStringLiteral(" Where OrdVenDett.Anno = ")
            + I(anno) + QStringLiteral(" AND OrdVenDett.NumRif = ") + L(numRif) + QStringLiteral(" AND (OrdVenDett.TipoRiga= ")
            + T(QStringLiteral("A")) + QStringLiteral(" OR OrdVenDett.TipoRiga= ") + T(QStringLiteral("M"))
            + QStringLiteral(")") + QStringLiteral(" AND (OrdVenDett.StatoRiga<>") + T(QStringLiteral("E"))
            + QStringLiteral(" OR OrdVenDett.StatoRiga is NULL)"));
    const bool trovate = !aperte.NessunRecord(alias);
    aperte.Chiudi(alias);
    return trovate;
}

void scEvaOrdVen::LasciaRigheOrdine()
{
    if (!mRigheOrdineTenute.alias.isEmpty() && mgRecs().Aperto(mRigheOrdineTenute.alias))
        mgRecs().Chiudi(mRigheOrdineTenute.alias);
    mRigheOrdineTenute = {};
}
