#include "bollofe.h"

#include "apperror.h"
#include "confrontaarrotondati.h"
#include "contesto.h"
#include "gestrecordset.h"
#include "textcompare.h"
#include "utilgenerali.h"

#include <cmath>

ErroreAddebito AggiornaBolloFe(int16_t piAnno, int32_t plNumRif, const QString &psFlag, double pdImporto)
{
    ErroreAddebito errore;
    // A manager of this call only: a row not stored goes with it.
    GestRecordset rs;
    try {
        const QString alias = rs.Apri(*ggDbAzienda, gsNomeConn, QString(),
                                      QStringLiteral("Select * from FatTestFe") + QStringLiteral(" Where Anno = ") +
                                          UtilGenerali::SqlValore(Variant(piAnno), 2) + QStringLiteral(" And NumRif = ") +
                                          UtilGenerali::SqlValore(Variant(plNumRif), 3),
                                      false, dbOpenDynaset);
        if (rs.NessunRecord(alias)) {
            rs.AddNew(alias);
            rs.ScriviCampo(alias, u"Anno", Variant(piAnno));
            rs.ScriviCampo(alias, u"NumRif", Variant(plNumRif));
        } else {
            rs.Edit(alias);
        }
        const bool bollo =
            textEquals(psFlag, u"S") && ConfrontaArrotondati(Variant(pdImporto), Variant(0.0), -8) != 0;
        rs.ScriviCampo(alias, u"FENumeroBollo", Variant(bollo ? QStringLiteral("SI") : QStringLiteral("")));
        rs.ScriviCampo(alias, u"FEImportoBollo", bollo ? Variant(std::fabs(pdImporto)) : Variant::null());
        rs.Update(alias);
    } catch (const AppError &e) {
        errore.numero = e.number();
        errore.descrizione = e.description();
    }
    return errore;
}
