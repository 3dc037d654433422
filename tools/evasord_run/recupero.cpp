#include "recupero.h"

#include "blocchi.h"
#include "connessionedb.h"
#include "contesto.h"
#include "dialoghi.h"
#include "dialoghirun.h"
#include "gestrecordset.h"
#include "menuclient.h"
#include "scevaordven.h"
#include "serviziEvasione.h"
#include "utilgenerali.h"

#include <vector>

namespace {

QString T(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }
QString N(int64_t numero) { return QString::number(numero); }

struct Chiave {
    int16_t anno = 0;
    int32_t numero = 0;
};

std::vector<Chiave> chiavi(const QString &sql)
{
    std::vector<Chiave> out;
    GestRecordset rs;
    const QString a = rs.Apri(*ggDbAzienda, gsNomeConn, {}, sql);
    for (; !rs.Eof(a); rs.MoveNext(a))
        out.push_back({rs.Recordset(a).Valore(rs.AbsolutePosition(a), 0).toInteger(),
                       rs.Recordset(a).Valore(rs.AbsolutePosition(a), 1).toLong()});
    rs.Chiudi(a);
    return out;
}

bool esiste(const QString &sql) { return !chiavi(sql).empty(); }

// The documents the interrupted run registered and did not close.
QString documentiDellaRun(const scEvaOrdVen &eva)
{
    return QStringLiteral("Select Anno, NumReg from DocDaElab Where Utente = ") + T(ggMenuClient->NomeUtente())
           + QStringLiteral(" AND Programma = ") + T(gsProgramma + gsProgrammaPar) + QStringLiteral(" AND Anno = ")
           + N(eva.oiAnno);
}

// The run's document that holds lines of the order; 0 when none does.
int32_t documentoDellOrdine(const scEvaOrdVen &eva, const Chiave &ordine)
{
    const QString &d = eva.msTabDett;
    int32_t trovato = 0;
    for (const Chiave &doc : chiavi(documentiDellaRun(eva))) {
        if (esiste(QStringLiteral("Select Anno, NumRif from ") + d + QStringLiteral(" Where Anno = ") + N(doc.anno)
                   + QStringLiteral(" AND NumRif = ") + N(doc.numero) + QStringLiteral(" AND TipoProv = 'O' AND AnnoRifProv = ")
                   + N(ordine.anno) + QStringLiteral(" AND NumRifProv = ") + N(ordine.numero)))
            trovato = doc.numero;
    }
    return trovato;
}

bool inCorso(const Chiave &o)
{
    const QString chiave = QStringLiteral(" Where Anno = ") + N(o.anno) + QStringLiteral(" AND NumRif = ") + N(o.numero);
    return esiste(QStringLiteral("Select Anno, NumRif from OrdVenDett") + chiave + QStringLiteral(" AND FlagStato IN ('4','B')"))
           || esiste(QStringLiteral("Select Anno, NumRif from OrdVenLiv") + chiave + QStringLiteral(" AND FlagStato IN ('4','D')"));
}

// One order of the interrupted run brought to its end.
void recuperaOrdine(scEvaOrdVen &eva, const Chiave &o, bool &esci)
{
    const QString utente = ggMenuClient->NomeUtente();
    const bool daRiprendere = inCorso(o);
    const int32_t doc = documentoDellOrdine(eva, o);
    giornale(QStringLiteral("ripristino"), QStringLiteral("Ordine %1/%2: %3")
                                               .arg(o.anno)
                                               .arg(o.numero)
                                               .arg(daRiprendere ? QStringLiteral("righe da completare")
                                                    : doc != 0   ? QStringLiteral("da chiudere")
                                                                 : QStringLiteral("non raggiunto, sbloccato")));
    QString errore;
    eva.RileggiDocEOrd(o.anno, o.numero, doc != 0 ? eva.oiAnno : int16_t{0}, doc, errore, utente);
    if (!errore.isEmpty()) {
        eva.AccodaErroreEva(0, errore);
        esci = true;
        return;
    }
    eva.LeggiValTestOrd(esci);
    if (esci)
        return;
    if (!daRiprendere && doc == 0) {
        SbloccaRecord(eva.msAliasLockOrd, true);
        return;
    }
    ServiziEvasione &s = eva.servizi();
    if (doc == 0) {
        s.EvadoOrdTest(eva, esci);
        if (esci)
            return;
    }
    int16_t righe = 0;
    if (daRiprendere)
        s.EvadoOrdDett(eva, esci, righe, true);
    // A finished order whose release was interrupted still gets its expenses and its state.
    eva.PostEvasioneDett(daRiprendere ? righe : int16_t{1}, esci);
}

} // namespace

bool RecuperaEvasione(scEvaOrdVen &eva)
{
    const QString utente = ggMenuClient->NomeUtente();
    bool esci = false;
    try {
        eva.msFase = QStringLiteral("Ripristino evasione ordini");
        const bool salvata = esiste(QStringLiteral("Select 0, 0 from AppoggioTemp Where Utente = ") + T(utente)
                                    + QStringLiteral(" AND IdProgramma = 'scEvaOrdVen'"));
        if (!eva.LeggiComuniOK(salvata, Variant(utente)))
            return false;
        QString nonUsato;
        eva.LetCtrFatDocOrdErr(nonUsato);

        const std::vector<Chiave> ordini =
            chiavi(QStringLiteral("Select Anno, NumReg from LockGest Where Tipo = 'O' AND Gestione = '3' AND Utente = ")
                   + T(utente) + QStringLiteral(" Order by Anno, NumReg"));
        for (const Chiave &o : ordini) {
            recuperaOrdine(eva, o, esci);
            if (esci)
                break;
        }
        if (!esci) {
            GestRecordset &rs = eva.mgRecs();
            eva.msAliasDocDaElab = QStringLiteral("EvaOrdDocDaElab");
            rs.Apri(*ggDbAzienda, gsNomeConn, eva.msAliasDocDaElab,
                    documentiDellaRun(eva).replace(QStringLiteral("Select Anno, NumReg"), QStringLiteral("Select *")), false,
                    dbOpenDynaset);
            eva.servizi().ChiudiFatBolle(eva, eva.msAliasDocDaElab, esci, eva.mgAvanzElab());
            rs.Chiudi(eva.msAliasDocDaElab);
            rs.Chiudi(eva.msAliasOrd);
        }
        if (!esci)
            eva.servizi().CancellaAppoggioTemp(eva, utente, QStringLiteral("scEvaOrdVen"));
    } catch (const AppError &e) {
        eva.AccodaErroreEva(e.number(), e.description());
        esci = true;
    }
    eva.mgAvanzElab().Termina(true);
    eva.RilasciaRecordset();
    if (eva.miNumErrori > 0)
        frmMsgCom::msgCom(eva.msErrori, QStringLiteral("&Ok"));
    if (esci || eva.miNumErrori > 0)
        return false;
    frmMsgCom::msgCom(QStringLiteral("Ripristino terminato"), QStringLiteral("&Ok"));
    return true;
}
