#pragma once
// The posting error form filled with the movement header and the failing row, shown modally.
#include "gestrecordset.h"
#include "vistaposting.h"

#include <QString>

// The content of the form: caption and headline pvTitolo, the error text pvErrore, the header
// values from psAliasTes and the row values from psAliasRiga, whose fields are read under the
// row's table name psTabella. A value without content shows as an empty text.
ContenutoErrAggMov ContenutoErroreMovimento(const QString &pvErrore, const QString &pvTitolo,
                                            const GestRecordset &pgRec, const QString &psAliasTes,
                                            const QString &psAliasRiga, const QString &psTabella);

// Fills the posting error form and shows it modally; returns when the user has closed it.
void MostraErrAggMov(const QString &pvErrore, const QString &pvTitolo, const GestRecordset &pgRec,
                     const QString &psAliasTes, const QString &psAliasRiga, const QString &psTabella);
