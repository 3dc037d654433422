#include "utilposting.h"

#include "errori.h"

namespace posting {

Variant ArticoloRiga(const GestRecordset &rs, const QString &aliasRiga, const QString &tipoRiga, const QString &tabRiga)
{
    const Variant proprio = rs.LeggiCampo(aliasRiga, tabRiga + QStringLiteral(".Articolo"));
    if (codice(tipoRiga, u"D"))
        return proprio;
    QString dettaglio = tabRiga;
    dettaglio.replace(QStringLiteral("Liv"), QStringLiteral("Dett"), Qt::CaseInsensitive);
    const Variant riga = rs.LeggiCampo(aliasRiga, dettaglio + QStringLiteral(".Articolo"));
    return riga.isBlank() ? proprio : riga;
}

void ScriviNuovaORiga(GestRecordset &rs, const QString &alias)
{
    try {
        rs.Update(alias);
    } catch (const AppError &e) {
        if (UtilGenerali::NumeroErrore(e) == ErrDb::ChiaveDuplicata)
            throw erroreDb(ErrDb::ModificatoDaAltri, e.description());
        throw;
    }
}

} // namespace posting
