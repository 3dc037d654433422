// The rates of the currencies of an automatic request: every currency of the selected orders
// that the document headers take from the engine's rate vector (not an EU currency, and not
// the lire or euro code) is listed with the rate known at the fulfilment date, and the user
// confirms or corrects the rates in the form "Cambi".
#include "frmevasord.h"

#include "contesto.h"
#include "frminpcambi.h"
#include "gestoreaiuto.h"
#include "gestrecordset.h"
#include "mostraform.h"
#include "scevaordven.h"
#include "utilgenerali.h"

#include <QCheckBox>

namespace {

// Closes the record set however the walk ends.
class RecordsetAperto {
public:
    RecordsetAperto(GestRecordset &recs, QString alias) : m_recs(recs), m_alias(std::move(alias)) {}
    ~RecordsetAperto() { m_recs.Chiudi(m_alias); }
    RecordsetAperto(const RecordsetAperto &) = delete;
    RecordsetAperto &operator=(const RecordsetAperto &) = delete;
    const QString &alias() const { return m_alias; }

private:
    GestRecordset &m_recs;
    QString m_alias;
};

QString T(const QString &testo) { return UtilGenerali::SqlValore(Variant(testo), 8); }

} // namespace

bool frmEvasOrd::ChiediCambiMonete()
{
    scEvaOrdVen &eva = *mgEvaOrd;
    VettoreChiavi &cambi = eva.ogCambi();
    cambi.Svuota();

    // A currency without a Cee flag, or missing from Monete, is no EU currency either.
    const QString sql = QStringLiteral("SELECT OrdVenTest.Moneta, Monete.Descrizione")
                        + QStringLiteral(" FROM OrdVenTest LEFT JOIN Monete")
                        + QStringLiteral(" ON OrdVenTest.Moneta = Monete.Moneta") + eva.PrepSqlWhere()
                        + QStringLiteral(" and (Monete.Cee Is Null Or Monete.Cee<>'S' )")
                        + QStringLiteral(" and OrdVenTest.Moneta <>") + T(gsCodLira)
                        + QStringLiteral(" and OrdVenTest.Moneta <>") + T(gsCodEuro)
                        + QStringLiteral(" GROUP BY OrdVenTest.Moneta, Monete.Descrizione")
                        + QStringLiteral(" , Monete.NumDec, Monete.NumDecGest");
    GestRecordset recs;
    const RecordsetAperto monete(recs, recs.Apri(*ggDbAzienda, gsNomeConn, QString(), sql, false, 4));
    if (recs.NessunRecord(monete.alias()))
        return true;

    for (; !recs.Eof(monete.alias()); recs.MoveNext(monete.alias())) {
        const QString moneta = recs.LeggiCampo(monete.alias(), u"Moneta").text();
        cambi.setTesto(moneta, true, recs.LeggiCampo(monete.alias(), u"Descrizione").text());
        double cambio = 0;
        Date dataCambio;
        if (ggAiuto->LeggiCambio(moneta, Variant(eva.otDataEvasione), cambio, dataCambio).toBool()) {
            cambi.setValore(moneta, true, cambio);
            cambi.setData(moneta, true, Variant(dataCambio));
        } else {
            cambi.setValore(moneta, true, 0);
        }
    }

    FrmInpCambi form(this);
    form.osKeySec = osKeySec;
    form.ogCambi = &cambi;
    form.Form_Load();
    form.CheAggTutti->hide();
    UtilGenerali::MostraForm(&form, -1, 1, false);
    return form.Confermato();
}
