#include "cambirichiesta.h"

#include "contesto.h"
#include "gestoreaiuto.h"
#include "gestrecordset.h"
#include "scevaordven.h"
#include "utilgenerali.h"

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

void CaricaCambiRichiesta(scEvaOrdVen &eva)
{
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
        return;

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
}
