#include "campiriga.h"
#include "connessionedb.h"
#include "contesto.h"
#include "evasionedettagli.h"
#include "comunirighe.h"
#include "parametri.h"
#include "righedescrittive.h"
#include "scevaordven.h"
#include "statoriga.h"
#include "transazionecomune.h"
#include "transazioni.h"
#include "ultimerighe.h"
#include "utilgenerali.h"

#include <algorithm>

namespace {

const QString kFaseDettaglio = QStringLiteral("Evasione dettagli: Creazione dettagli fattura: Creazione dettaglio");

// What the user picked of the cursor's line: a line with levels is picked level by level, and
// its packs, dimension note and delivery state follow the whole of it.
Variant qtaScelta(scEvaOrdVen &eva, const QString &cur)
{
    GestRecordset &recs = eva.mgRecs();
    if (!RigaConLivelli(eva, cur))
        return recs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva");
    double totale = 0;
    RigheDellaRiga(recs, cur, [&] {
        totale += UtilGenerali::ValoreNumerico(recs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva"));
        return true;
    });
    return Variant(totale);
}

// The quantities of the cursor's line: what is ordered, what this delivery takes, what is left.
void quantita(scEvaOrdVen &eva, const QString &cur, RigaInConversione &riga)
{
    const GestRecordset &recs = eva.mgRecs();
    const double qta = Numero(recs, cur, u"OrdVenDett.Qta");
    const double aperta = qta - Numero(recs, cur, u"OrdVenDett.QtaEvasa");
    const Variant daEvadere = eva.obEvasManule ? qtaScelta(eva, cur) : recs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva");
    riga.qtaOrdinata = qta;
    riga.qtaDaEvadere = eva.obEvasManule ? UtilGenerali::ValoreNumerico(daEvadere) : aperta;
    // An automatic run has no staged quantity: the whole open quantity is taken. A line
    // delivered beyond its quantity has nothing open to take.
    riga.qtaProv = std::max(0.0, UtilGenerali::ValoreNumerico(UtilGenerali::Minimo({Variant(aperta), daEvadere})));
    riga.residuo = 0;
    if (eva.obEvasManule) {
        const double residuo = aperta - UtilGenerali::ValoreNumerico(daEvadere);
        if (static_cast<float>(residuo) > 0.00001f)
            riga.residuo = residuo;
    }
}

// A line an interrupted run left at "B": its document line is the last one written for it.
void riprendiRiga(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const QString &l = eva.msTabDett;
    const QString sql = QStringLiteral("SELECT ") + l + QStringLiteral(".*") + QStringLiteral(" From ") + l +
                        QStringLiteral(" WHERE") + QStringLiteral(" ") + l + QStringLiteral(".TipoProv=") +
                        UtilGenerali::SqlValore(Variant(QStringLiteral("O")), 8) + QStringLiteral(" AND ") + l +
                        QStringLiteral(".AnnoRifProv=") + UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.Anno"), 2) +
                        QStringLiteral(" AND ") + l + QStringLiteral(".NumRifProv=") +
                        UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.NumRif"), 3) + QStringLiteral(" AND ") + l +
                        QStringLiteral(".RigaRifProv=") + UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.RigLiv"), 3) +
                        QStringLiteral(" ORDER BY ") + l + QStringLiteral(".RigLiv");
    c.aliasDettDoc = recs.Apri(*ggDbAzienda, gsNomeConn, c.aliasDettDoc, sql, false, dbOpenDynaset);
    recs.MoveLast(c.aliasDettDoc);
    riga.rigDet = recs.LeggiCampo(c.aliasDettDoc, QString(l + QStringLiteral(".RigDet"))).toLong();
    riga.rigLiv = recs.LeggiCampo(c.aliasDettDoc, QString(l + QStringLiteral(".RigLiv"))).toLong();
}

// The order line of the cursor's line, updatable, under c.aliasOrdDett. The order's lines are
// read together when its first line needs them (the order is locked by the run, and each line is
// changed only while it is converted), and each line is found among them; they are read again
// after a rollback, which may have undone what the set holds, and a line not among them is read
// alone.
void rigaOrdine(scEvaOrdVen &eva, ConversioneRighe &c)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const uint64_t annullamenti = ggDbAzienda->Annullamenti(gsNomeConn);
    if (!c.righeOrdineLette || c.annullamentiRigheOrdine != annullamenti || !recs.Aperto(alias::kOrdDett)) {
        const QString sql = QStringLiteral("SELECT OrdVenDett.* From OrdVenDett WHERE OrdVenDett.Anno=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.Anno"), 2) +
                            QStringLiteral(" AND OrdVenDett.NumRif=") +
                            UtilGenerali::SqlValore(recs.LeggiCampo(cur, u"OrdVenDett.NumRif"), 3);
        c.aliasOrdDett = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdDett, sql, false, dbOpenDynaset);
        c.righeOrdineLette = true;
        c.annullamentiRigheOrdine = annullamenti;
        eva.mRigheOrdineTenute = {c.aliasOrdDett, recs.LeggiCampo(cur, u"OrdVenDett.Anno").toInteger(),
                                  recs.LeggiCampo(cur, u"OrdVenDett.NumRif").toLong(), annullamenti};
    }
    const int32_t rigLiv = recs.LeggiCampo(cur, u"OrdVenDett.RigLiv").toLong();
    for (recs.MoveFirst(c.aliasOrdDett); !recs.Eof(c.aliasOrdDett); recs.MoveNext(c.aliasOrdDett)) {
        if (recs.LeggiCampo(c.aliasOrdDett, u"RigLiv").toLong() == rigLiv)
            return;
    }
    c.righeOrdineLette = false;
    eva.mRigheOrdineTenute = {};
    c.aliasOrdDett =
        recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdDett, eva.PrepSqlRilettOrdDett(cur), false, dbOpenDynaset);
}

// The document line of the cursor's line, with the delivery state line before or after it, in
// the line's transaction, which the line's state then commits.
void scriviRiga(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga, int16_t &piRigheCreate)
{
    eva.msFase = kFaseDettaglio;
    // The state line before the article line goes with it: a stop in between would leave it
    // alone, and a resumption would write it a second time.
    IniziaTransazione();
    c.transazioneAperta = true;
    ScriviRigaStato(eva, c, piRigheCreate, riga, PosizioneStato::Prima);
    NumeraNuovaRiga(eva, c, piRigheCreate);
    riga.rigDet = c.ultimoRigDet;
    riga.rigLiv = c.ultimoRigLiv;
    ScriviRigaDocumento(eva, c, riga);
    AnnotaRigaScritta(eva, c.numRifDoc, riga.rigDet, riga.rigLiv);
    ScriviRigaStato(eva, c, piRigheCreate, riga, PosizioneStato::Dopo);
}

// One line of the cursor. A line with levels is written whole or not at all: its document line,
// every level row and the line's completion commit together, so a run stopped anywhere never
// leaves a document line without its levels, nor a document quantity that its order line does
// not show as fulfilled. True when the document holds a line of it afterwards.
bool evadoRiga(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const bool conLivelli = RigaConLivelli(eva, cur);
    TransazioneComune transazione(conLivelli);
    rigaOrdine(eva, c);
    RigaInConversione riga;
    quantita(eva, cur, riga);
    // Whether the line has a document row of its own, which its level totals then replace.
    bool rigaPropria = true;
    if (c.pbRipri && Flag(recs, cur, u"OrdVenDett.FlagStato", u"B")) {
        riprendiRiga(eva, c, riga);
    } else {
        if (SoloChiusura(eva, cur)) {
            rigaPropria = false;
            riga.qtaProv = 0; // nothing is delivered, however small the staged quantity
            // The order line is closed and its commitment released together, or not at all.
            IniziaTransazione();
            c.transazioneAperta = true;
        } else {
            scriviRiga(eva, c, riga, piRigheCreate);
        }
        ScriviStatoRiga(eva, c, riga);
    }
    if (conLivelli)
        EvadoLivelliRiga(eva, c, riga, rigaPropria);
    transazione.conferma();
    return rigaPropria;
}

// Whether the target document holds a line of the current order already. In a resumption the
// order block is then there: it was committed with the first of them.
bool documentoConRigheOrdine(scEvaOrdVen &eva, const ConversioneRighe &c)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &l = eva.msTabDett;
    GestRecordset righe;
    const QString alias = righe.Apri(
        *ggDbAzienda, gsNomeConn, QString(),
        QStringLiteral("Select ") + l + QStringLiteral(".RigDet From ") + l + QStringLiteral(" Where ") + l +
            QStringLiteral(".Anno = ") + UtilGenerali::SqlValore(recs.LeggiCampo(eva.msAliasTesDoc, u"Anno"), 2) +
            QStringLiteral(" AND ") + l + QStringLiteral(".NumRif = ") + UtilGenerali::SqlValore(Variant(c.numRifDoc), 3) +
            QStringLiteral(" AND ") + l + QStringLiteral(".TipoProv = ") +
            UtilGenerali::SqlValore(Variant(QStringLiteral("O")), 8) + QStringLiteral(" AND ") + l +
            QStringLiteral(".AnnoRifProv = ") + UtilGenerali::SqlValore(recs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.Anno"), 2) +
            QStringLiteral(" AND ") + l + QStringLiteral(".NumRifProv = ") +
            UtilGenerali::SqlValore(recs.LeggiCampo(eva.msAliasOrd, u"OrdVenTest.NumRif"), 3),
        false, dbOpenSnapshot);
    const bool trovate = !righe.NessunRecord(alias);
    righe.Chiudi(alias);
    return trovate;
}

} // namespace

void EvadoOrdDett(scEvaOrdVen &eva, bool &pbEsci, int16_t &piRigheCreate, bool pbRipri)
{
    ConversioneRighe c;
    c.pbRipri = pbRipri;
    try {
        eva.msFase = QStringLiteral("Evasione dettagli");
        c.ordXmlGen = LeggiParamPers(QStringLiteral("EvasioneOrd"), QStringLiteral("OrdXmlGen"),
                                     Variant(QStringLiteral("SSN")))
                          .text();
        piRigheCreate = 0;
        eva.mRigheOrdineTenute = {};
        GestRecordset &recs = eva.mgRecs();
        c.numRifDoc = recs.LeggiCampo(eva.msAliasTesDoc, u"NumRif").toLong();
        if (!pbRipri) {
            SegnaRigheOrdine(eva);
        }
        c.aliasCursore =
            recs.Apri(*ggDbAzienda, gsNomeConn, alias::kCursore, eva.PrepSqlDett(0, pbRipri), false, dbOpenDynaset);
        if (recs.NessunRecord(c.aliasCursore))
            return;

        eva.msFase = QStringLiteral("Evasione dettagli: preparazione dei recordset della fattura");
        c.numDec = recs.LeggiCampo(eva.msAliasOrd, u"Monete.NumDec").toInteger();
        c.numDecGest = recs.LeggiCampo(eva.msAliasOrd, u"Monete.NumDecGest").toInteger();
        c.aliasDettDoc = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kDettDoc,
                                   QStringLiteral("Select * from ") + eva.msTabDett + QStringLiteral(" Where 0=1"),
                                   false, dbOpenDynaset);
        if (LivelliGestiti(eva))
            c.aliasLivDoc = recs.Apri(*ggDbAzienda, gsNomeConn, alias::kLivDoc,
                                      QStringLiteral("Select * from ") + eva.msTabLiv + QStringLiteral(" Where 0=1"),
                                      false, dbOpenDynaset);
        recs.MoveFirst(c.aliasCursore);

        // The order block commits with the order's first document line (with whatever the walk
        // wrote before it): a stop leaves both or neither, and a resumption writes the block
        // only into a document that holds no line of the order.
        const bool blocco = !pbRipri || !documentoConRigheOrdine(eva, c);
        TransazioneComune primaRiga(blocco);
        eva.msFase = QStringLiteral("Evasione dettagli: Creazione riga descrittiva");
        if (blocco)
            ScriviRigheOrdine(eva, c, piRigheCreate);
        c.raee.Svuota();

        while (!recs.Eof(c.aliasCursore) && !pbEsci) {
            if (evadoRiga(eva, c, piRigheCreate))
                primaRiga.conferma();
            recs.MoveNext(c.aliasCursore);
        }
        primaRiga.conferma();
        eva.msFase = QStringLiteral("Evasione dettagli: Chiusura recordset");
    } catch (const AppError &e) {
        eva.AccodaErroreEva(e.number(), e.description());
        if (c.transazioneAperta) {
            try {
                AnnullaTransazione();
            } catch (const AppError &) {
                // The failure reported is the one that stopped the conversion.
            }
        }
        pbEsci = true;
        return;
    }
    GestRecordset &recs = eva.mgRecs();
    // The order's lines, held whole, stay for the order's state.
    const QString tenute = eva.mRigheOrdineTenute.alias;
    for (const QString &a : {c.aliasCursore, c.aliasDettDoc, c.aliasLivDoc, c.aliasOrdDett, alias::kLivelliOrdine})
        if (!a.isEmpty() && a != tenute)
            recs.Chiudi(a);
}
