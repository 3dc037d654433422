#include "paginaordini.h"

#include "contesto.h"
#include "letteralisql.h"

#include <algorithm>
#include <utility>

using namespace sqlEva;

PagineOrdini::PagineOrdini(GestRecordset &rs, QString alias, QString campi, QString daWhere, int32_t righe)
    : m_rs(rs), m_alias(std::move(alias)), m_campi(std::move(campi)), m_daWhere(std::move(daWhere)), m_righe(std::max(righe, 1))
{
}

void PagineOrdini::apri(const QString &termini)
{
    m_rs.Apri(*ggDbAzienda, gsNomeConn, m_alias,
              QStringLiteral("Select TOP ") + QString::number(m_righe) + QStringLiteral(" ") + m_campi + m_daWhere + termini
                  + QStringLiteral(" Order by OrdVenTest.Anno, OrdVenTest.NumRif"),
              false, dbOpenDynaset);
}

bool PagineOrdini::Prossima()
{
    if (m_finite)
        return false;
    // The rest of the year of the last key by its number, then the years after: each a range of
    // the key, so a page costs its own orders and not those before it.
    if (!m_ultima) {
        // A picked order no longer there has no key: it is not in the run.
        apri(QStringLiteral(" and not (OrdVenTest.Anno is null)"));
    } else {
        const QString anno = I(Variant(m_ultima->anno));
        apri(QStringLiteral(" and OrdVenTest.Anno = ") + anno + QStringLiteral(" and OrdVenTest.NumRif > ")
             + L(Variant(m_ultima->numRif)));
        if (m_rs.NessunRecord(m_alias))
            apri(QStringLiteral(" and OrdVenTest.Anno > ") + anno);
    }
    if (m_rs.NessunRecord(m_alias)) {
        m_finite = true;
        m_rs.Chiudi(m_alias);
        return false;
    }
    m_rs.MoveLast(m_alias);
    m_ultima = Chiave();
    m_rs.MoveFirst(m_alias);
    return true;
}

ChiaveOrdine PagineOrdini::Chiave() const
{
    return {m_rs.LeggiCampo(m_alias, u"OrdVenTest.Anno").toInteger(), m_rs.LeggiCampo(m_alias, u"OrdVenTest.NumRif").toLong()};
}
