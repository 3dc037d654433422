#include "campiriga.h"
#include "connessionedb.h"
#include "contesto.h"
#include "evasionedettagli.h"
#include "comunirighe.h"
#include "parametri.h"
#include "righedescrittive.h"
#include "scevaordven.h"
#include "statoriga.h"
#include "transazioni.h"
#include "utilgenerali.h"

namespace {

const QString kFaseDettaglio = QStringLiteral("Evasione dettagli: Creazione dettagli fattura: Creazione dettaglio");

// The quantities of the cursor's line: what is ordered, what this delivery takes, what is left.
void quantita(scEvaOrdVen &eva, const QString &cur, RigaInConversione &riga)
{
    const GestRecordset &recs = eva.mgRecs();
    const double qta = Numero(recs, cur, u"OrdVenDett.Qta");
    const double aperta = qta - Numero(recs, cur, u"OrdVenDett.QtaEvasa");
    const Variant daEvadere = recs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva");
    riga.qtaOrdinata = qta;
    riga.qtaDaEvadere = eva.obEvasManule ? UtilGenerali::ValoreNumerico(daEvadere) : aperta;
    // An automatic run has no staged quantity: the whole open quantity is taken.
    riga.qtaProv = UtilGenerali::ValoreNumerico(UtilGenerali::Minimo({Variant(aperta), daEvadere}));
    riga.residuo = 0;
    if (eva.obEvasManule) {
        const double residuo = aperta - UtilGenerali::ValoreNumerico(daEvadere);
        if (static_cast<float>(residuo) > 0.00001f)
            riga.residuo = residuo;
    }
}

// A manual line picked only to be closed: none of its cursor rows (the line, or each picked
// level of it) has a quantity to deliver. A description line is converted all the same.
bool soloChiusura(scEvaOrdVen &eva, const QString &cur)
{
    GestRecordset &recs = eva.mgRecs();
    if (!eva.obEvasManule || Flag(recs, cur, u"OrdVenDett.TipoRiga", u"D"))
        return false;
    const int32_t posizione = recs.AbsolutePosition(cur);
    const Variant chiave = recs.LeggiCampo(cur, u"OrdVenDett.RigLiv");
    bool chiusura = true;
    for (; chiusura && !recs.Eof(cur) && recs.LeggiCampo(cur, u"OrdVenDett.RigLiv").sameAs(chiave); recs.MoveNext(cur))
        chiusura = Flag(recs, cur, u"OrdVenEvaDett.ASaldo", u"S") && QtaZero(recs.ValoreCampo(cur, u"OrdVenEvaDett.QtaDaEva"));
    recs.VaiAPosizione(cur, posizione);
    return chiusura;
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

// The document line of the cursor's line, with the delivery state line before or after it, in
// the line's transaction, which the line's state then commits.
void scriviRiga(scEvaOrdVen &eva, ConversioneRighe &c, RigaInConversione &riga, int16_t &piRigheCreate)
{
    eva.msFase = kFaseDettaglio;
    ScriviRigaStato(eva, c, piRigheCreate, riga, PosizioneStato::Prima);
    NumeraNuovaRiga(eva, c, piRigheCreate);
    riga.rigDet = c.ultimoRigDet;
    riga.rigLiv = c.ultimoRigLiv;
    IniziaTransazione();
    c.transazioneAperta = true;
    ScriviRigaDocumento(eva, c, riga);
    ScriviRigaStato(eva, c, piRigheCreate, riga, PosizioneStato::Dopo);
}

// A line with levels is written whole or not at all: its document line, every level row and
// the line's completion commit together (the line's and levels' own transactions nest inside),
// so a run stopped anywhere never leaves a document line without its levels, nor a document
// quantity that its order line does not show as fulfilled.
class TransazioneRigaConLivelli {
public:
    explicit TransazioneRigaConLivelli(bool conLivelli) : m_aperta(conLivelli)
    {
        if (m_aperta)
            IniziaTransazione();
    }
    ~TransazioneRigaConLivelli()
    {
        if (!m_aperta)
            return;
        try {
            AnnullaTransazione();
        } catch (const AppError &) {
            // The failure reported is the one that stopped the line.
        }
    }
    TransazioneRigaConLivelli(const TransazioneRigaConLivelli &) = delete;
    TransazioneRigaConLivelli &operator=(const TransazioneRigaConLivelli &) = delete;
    void conferma()
    {
        if (m_aperta)
            ConfermaTransazione();
        m_aperta = false;
    }

private:
    bool m_aperta;
};

void evadoRiga(scEvaOrdVen &eva, ConversioneRighe &c, int16_t &piRigheCreate)
{
    GestRecordset &recs = eva.mgRecs();
    const QString &cur = c.aliasCursore;
    const bool conLivelli = RigaConLivelli(eva, cur);
    TransazioneRigaConLivelli transazione(conLivelli);
    c.aliasOrdDett =
        recs.Apri(*ggDbAzienda, gsNomeConn, alias::kOrdDett, eva.PrepSqlRilettOrdDett(cur), false, dbOpenDynaset);
    RigaInConversione riga;
    quantita(eva, cur, riga);
    // Whether the line has a document row of its own, which its level totals then replace.
    bool rigaPropria = true;
    if (c.pbRipri && Flag(recs, cur, u"OrdVenDett.FlagStato", u"B")) {
        riprendiRiga(eva, c, riga);
    } else {
        if (soloChiusura(eva, cur)) {
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

        eva.msFase = QStringLiteral("Evasione dettagli: Creazione riga descrittiva");
        ScriviRigheOrdine(eva, c, piRigheCreate);
        c.raee.Svuota();

        while (!recs.Eof(c.aliasCursore) && !pbEsci) {
            evadoRiga(eva, c, piRigheCreate);
            recs.MoveNext(c.aliasCursore);
        }
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
    for (const QString &a : {c.aliasCursore, c.aliasDettDoc, c.aliasLivDoc, c.aliasOrdDett})
        if (!a.isEmpty())
            recs.Chiudi(a);
}
