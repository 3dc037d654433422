#pragma once
// The price of an article (and level pair) in one sale price list brought in line with a new
// unit cost while a stock-movement row is posted.
#include "variant.h"

#include <QString>

// Updates the list row valid at pvData (or creates one, re-chaining the validity dates of the
// article's rows in that list): the cost with the mark-ups of psOrdine ("A" the article's,
// any other letter the account's list mark-up or the company's default), VAT for a list whose
// prices include it, in euro and lire. psOrdine exactly "F" with no mark-up leaves the list
// alone. Never raises: a failure is shown with "Listino non aggiornato" and its writes are
// undone, so the posting around it goes on.
void AggiornaArtListini(const QString &psArticolo, const QString &psLivello1, const QString &psLivello2,
                        const QString &psListino, const Variant &pvData, double pdCostoEuro, double pdCostoLire,
                        const QString &psSconto, const QString &psScoSomSost, const QString &psOrdine,
                        const QString &psGruppo, const QString &psMastro, const QString &psConto);
