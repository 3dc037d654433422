#include "appoggiotemp.h"

#include "contesto.h"
#include "dialoghi.h"
#include "menuclient.h"
#include "presentazione.h"
#include "scevaordven.h"
#include "utilgenerali.h"

#include <functional>
#include <vector>

namespace {

const QString kProgramma = QStringLiteral("scEvaOrdVen");
const QString kAlias = QStringLiteral("EvaOrdAppoggioTemp");

QString T(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }

QString numero3(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }

// An empty date range reads back as no date.
Variant dataOVuoto(const Variant &v) { return UtilGenerali::Vuoto(v, 7) ? Variant::null() : v; }

// One saved criterion: its name, its kind, how it is read from the engine and written back.
struct ValoreSalvato {
    const char *nome;
    int16_t tipo;
    std::function<Variant(const scEvaOrdVen &)> leggi;
    std::function<void(scEvaOrdVen &, const Variant &)> scrivi;
};

const std::vector<ValoreSalvato> &criteri()
{
    using E = scEvaOrdVen;
    using V = Variant;
    static const std::vector<ValoreSalvato> c = {
        {"oiAnno", TipoAppoggio::Numero, [](const E &e) { return V(e.oiAnno); }, [](E &e, const V &v) { e.oiAnno = v.toInteger(); }},
        {"obEvasManule", TipoAppoggio::Numero, [](const E &e) { return V(e.obEvasManule); },
         [](E &e, const V &v) { e.obEvasManule = v.toBool(); }},
        {"otDataEvasione", TipoAppoggio::Data, [](const E &e) { return V(e.otDataEvasione); },
         [](E &e, const V &v) { e.otDataEvasione = v.toDate(); }},
        {"osFattDocOrd", TipoAppoggio::Testo, [](const E &e) { return V(e.osFattDocOrd); },
         [](E &e, const V &v) { e.osFattDocOrd = v.text(); }},
        {"osTipoDocEva", TipoAppoggio::Testo, [](const E &e) { return V(e.osTipoDocEva); },
         [](E &e, const V &v) { e.osTipoDocEva = v.text(); }},
        {"obEvACorrisp", TipoAppoggio::Numero, [](const E &e) { return V(e.obEvACorrisp); },
         [](E &e, const V &v) { e.obEvACorrisp = v.toBool(); }},
        {"osMoneta", TipoAppoggio::Testo, [](const E &e) { return V(e.osMoneta); }, [](E &e, const V &v) { e.osMoneta = v.text(); }},
        {"osCliDa", TipoAppoggio::Testo, [](const E &e) { return V(e.osCliDa); }, [](E &e, const V &v) { e.osCliDa = v.text(); }},
        {"osCliA", TipoAppoggio::Testo, [](const E &e) { return V(e.osCliA); }, [](E &e, const V &v) { e.osCliA = v.text(); }},
        {"osArticoloDa", TipoAppoggio::Testo, [](const E &e) { return V(e.osArticoloDa); },
         [](E &e, const V &v) { e.osArticoloDa = v.text(); }},
        {"osArticoloA", TipoAppoggio::Testo, [](const E &e) { return V(e.osArticoloA); },
         [](E &e, const V &v) { e.osArticoloA = v.text(); }},
        {"ovDataConsDa", TipoAppoggio::Data, [](const E &e) { return e.ovDataConsDa; },
         [](E &e, const V &v) { e.ovDataConsDa = dataOVuoto(v); }},
        {"ovDataConsA", TipoAppoggio::Data, [](const E &e) { return e.ovDataConsA; },
         [](E &e, const V &v) { e.ovDataConsA = dataOVuoto(v); }},
        {"ovDataRifDa", TipoAppoggio::Data, [](const E &e) { return e.ovDataRifDa; },
         [](E &e, const V &v) { e.ovDataRifDa = dataOVuoto(v); }},
        {"ovDataRifA", TipoAppoggio::Data, [](const E &e) { return e.ovDataRifA; },
         [](E &e, const V &v) { e.ovDataRifA = dataOVuoto(v); }},
        {"olNumRifDa", TipoAppoggio::Numero, [](const E &e) { return V(e.olNumRifDa); },
         [](E &e, const V &v) { e.olNumRifDa = v.toLong(); }},
        {"olNumRifA", TipoAppoggio::Numero, [](const E &e) { return V(e.olNumRifA); },
         [](E &e, const V &v) { e.olNumRifA = v.toLong(); }},
        {"ovDataDocDa", TipoAppoggio::Data, [](const E &e) { return e.ovDataDocDa; },
         [](E &e, const V &v) { e.ovDataDocDa = dataOVuoto(v); }},
        {"ovDataDocA", TipoAppoggio::Data, [](const E &e) { return e.ovDataDocA; },
         [](E &e, const V &v) { e.ovDataDocA = dataOVuoto(v); }},
        {"olNumDocDa", TipoAppoggio::Numero, [](const E &e) { return V(e.olNumDocDa); },
         [](E &e, const V &v) { e.olNumDocDa = v.toLong(); }},
        {"olNumDocA", TipoAppoggio::Numero, [](const E &e) { return V(e.olNumDocA); },
         [](E &e, const V &v) { e.olNumDocA = v.toLong(); }},
        {"osPrefDoc", TipoAppoggio::Testo, [](const E &e) { return V(e.osPrefDoc); },
         [](E &e, const V &v) { e.osPrefDoc = v.text(); }},
        {"oiPerIvaMese", TipoAppoggio::Numero, [](const E &e) { return V(e.oiPerIvaMese); },
         [](E &e, const V &v) { e.oiPerIvaMese = v.toInteger(); }},
        {"oiPerIvaAnno", TipoAppoggio::Numero, [](const E &e) { return V(e.oiPerIvaAnno); },
         [](E &e, const V &v) { e.oiPerIvaAnno = v.toInteger(); }},
        {"osInDesc", TipoAppoggio::Testo, [](const E &e) { return V(e.osInDesc); }, [](E &e, const V &v) { e.osInDesc = v.text(); }},
        {"obSoloASaldo", TipoAppoggio::Numero, [](const E &e) { return V(e.obSoloASaldo); },
         [](E &e, const V &v) { e.obSoloASaldo = v.toBool(); }},
    };
    return c;
}

} // namespace

Variant InserAppoggioTemp(scEvaOrdVen &, const QString &psUtente, const QString &psProgramma, const QString &psIdCampo,
                          const Variant &pvValore, int16_t piTipo)
{
    try {
        QString sql = QStringLiteral("INSERT INTO AppoggioTemp") + QStringLiteral("(Utente,IdProgramma,IdCampo");
        QString valore;
        switch (piTipo) {
        case TipoAppoggio::Testo:
            sql += QStringLiteral(",Valorestringa)");
            valore = UtilGenerali::SqlValore(pvValore, 8);
            break;
        case TipoAppoggio::Numero:
            sql += QStringLiteral(",Valorenumero)");
            valore = UtilGenerali::SqlValore(pvValore, 5);
            break;
        case TipoAppoggio::Data:
            sql += QStringLiteral(",Valoredata)");
            valore = UtilGenerali::SqlValore(UtilGenerali::Vuoto(pvValore, 7) ? Variant::null() : pvValore, 7);
            break;
        default: // no value column: the statement is refused
            valore = UtilGenerali::SqlValore(pvValore, 8);
            break;
        }
        sql += QStringLiteral(" VALUES (") + T(psUtente) + QStringLiteral(",") + T(psProgramma) + QStringLiteral(",")
               + T(psIdCampo) + QStringLiteral(",") + valore + QStringLiteral(")");
        ggDbAzienda->Esegui(gsNomeConn, sql);
        return Variant(static_cast<int16_t>(0));
    } catch (const AppError &) {
        return Variant(static_cast<int16_t>(1));
    }
}

Variant LeggiAppoggioTemp(scEvaOrdVen &eva, const QString &psUtente, const QString &psPrg, const QString &psIdCampo,
                          int16_t piTipo)
{
    Variant predefinito;
    QString colonna;
    switch (piTipo) {
    case TipoAppoggio::Testo:
        predefinito = Variant(QString());
        colonna = QStringLiteral("Valorestringa");
        break;
    case TipoAppoggio::Numero:
        predefinito = Variant(static_cast<int16_t>(0));
        colonna = QStringLiteral("Valorenumero");
        break;
    case TipoAppoggio::Data:
        predefinito = Variant(Date::emptyMarker());
        colonna = QStringLiteral("Valoredata");
        break;
    default: predefinito = Variant(QStringLiteral("~")); break;
    }
    GestRecordset &rs = eva.mgRecs();
    rs.Apri(*ggDbAzienda, gsNomeConn, kAlias,
            QStringLiteral("SELECT *") + QStringLiteral(" FROM AppoggioTemp") + QStringLiteral(" WHERE Utente = ") + T(psUtente)
                + QStringLiteral(" AND IdProgramma = ") + T(psPrg),
            false, dbOpenSnapshot);
    if (rs.NessunRecord(kAlias))
        return predefinito;
    rs.FindFirst(kAlias, QStringLiteral("IdCampo = ") + T(psIdCampo));
    if (rs.NoMatch(kAlias) || colonna.isEmpty())
        return predefinito;
    const Variant v = rs.ValoreCampo(kAlias, colonna);
    return v.isNull() || v.isEmpty() ? predefinito : v;
}

Variant CancellaAppoggioTemp(scEvaOrdVen &, const QString &psUtente, const QString &psProgramma)
{
    ClessidraEvasione(true);
    try {
        ggDbAzienda->Esegui(gsNomeConn, QStringLiteral("DELETE FROM AppoggioTemp") + QStringLiteral(" WHERE Utente = ")
                                            + T(psUtente) + QStringLiteral(" AND IdProgramma = ") + T(psProgramma));
        ClessidraEvasione(false);
        return Variant(static_cast<int16_t>(0));
    } catch (const AppError &e) {
        frmMsgCom::MsgErrfrm(e);
        ClessidraEvasione(false);
        return Variant(static_cast<int16_t>(1));
    }
}

int16_t CreaAppoggioTemp(scEvaOrdVen &eva)
{
    const QString utente = ggMenuClient->NomeUtente();
    int32_t falliti = 0;
    const auto inserisci = [&](const QString &nome, const Variant &valore, int16_t tipo) {
        falliti += InserAppoggioTemp(eva, utente, kProgramma, nome, valore, tipo).toLong();
    };
    for (const ValoreSalvato &c : criteri())
        inserisci(QString::fromLatin1(c.nome), c.leggi(eva), c.tipo);
    int n = 1;
    for (const ElementoVettore &cambio : eva.ogCambi().Elementi()) {
        inserisci(QStringLiteral("ogCambiMon") + numero3(n), Variant(cambio.Chiave), TipoAppoggio::Testo);
        inserisci(QStringLiteral("ogCambiVal") + numero3(n), Variant(cambio.Valore), TipoAppoggio::Numero);
        ++n;
    }
    if (falliti > 0) {
        frmMsgCom::msgCom(QStringLiteral("Errore durante la creazione del file temporaneo delle selezioni"),
                          QStringLiteral("&Ok"));
        return 1;
    }
    return 0;
}

int16_t ImportaAppoggioTemp(scEvaOrdVen &eva, const QString &psTerminaleMenu)
{
    for (const ValoreSalvato &c : criteri())
        c.scrivi(eva, LeggiAppoggioTemp(eva, psTerminaleMenu, kProgramma, QString::fromLatin1(c.nome), c.tipo));
    for (int n = 1;; ++n) {
        const QString moneta =
            LeggiAppoggioTemp(eva, psTerminaleMenu, kProgramma, QStringLiteral("ogCambiMon") + numero3(n), TipoAppoggio::Testo)
                .text();
        if (moneta.isEmpty())
            break;
        const double cambio =
            LeggiAppoggioTemp(eva, psTerminaleMenu, kProgramma, QStringLiteral("ogCambiVal") + numero3(n), TipoAppoggio::Numero)
                .toDouble();
        eva.ogCambi().setValore(moneta, true, cambio);
    }
    eva.mgRecs().Chiudi(kAlias);
    return 0;
}
