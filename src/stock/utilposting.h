#pragma once
// Small readers shared by the posting routines: fields of the aliases as text or number,
// codes compared without regard to case, the rounding to a number of decimals, and the
// closing of the record sets a routine opened, on every path.
#include "gestrecordset.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <QString>
#include <vector>

namespace posting {

inline QString testo(const GestRecordset &rs, const QString &alias, const QString &campo)
{
    return rs.LeggiCampo(alias, campo).text();
}

// Null and empty count as 0.
inline double numero(const GestRecordset &rs, const QString &alias, const QString &campo)
{
    return UtilGenerali::ValoreNumerico(rs.LeggiCampo(alias, campo), true);
}

inline bool codice(const QString &valore, const char16_t *atteso)
{
    return textEquals(valore, atteso);
}

// The value rounded to the nearest multiple of one unit of the decimals-th decimal.
inline double arr(double valore, int decimali)
{
    return UtilGenerali::ArrotondaValore(Variant(valore), QStringLiteral("A"), 1.0, -decimali);
}

// The aliases of the record sets a routine opened, closed when it ends, also on an error.
class AliasAperti {
public:
    explicit AliasAperti(GestRecordset &rs) : m_rs(rs) {}
    ~AliasAperti()
    {
        for (const QString *a : m_alias)
            if (!a->isEmpty())
                m_rs.Chiudi(*a);
    }
    AliasAperti(const AliasAperti &) = delete;
    AliasAperti &operator=(const AliasAperti &) = delete;
    // The variable that holds (or will hold) an alias.
    void segui(const QString &alias) { m_alias.push_back(&alias); }

private:
    GestRecordset &m_rs;
    std::vector<const QString *> m_alias;
};

} // namespace posting

namespace posting {

// The article of a movement row. A level row is read with its detail line, whose article is
// the level row's (the level rows of a cash sale do not carry it themselves).
Variant ArticoloRiga(const GestRecordset &rs, const QString &aliasRiga, const QString &tipoRiga,
                     const QString &tabRiga);

// Stores the row being edited or added. A row added at the same time by another user's posting
// (the duplicate key of a row this posting has just created) is a change by another user, so
// that the posting retries the row instead of failing it.
void ScriviNuovaORiga(GestRecordset &rs, const QString &alias);

} // namespace posting
