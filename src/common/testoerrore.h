#pragma once
// The standard error message: text before & "Errore(" number "): " description & text after,
// in a message box with the exclamation icon and the OK button. The result is the button
// pressed (1).
#include "apperror.h"
#include "variant.h"

#include <QString>

// For a caught error: its description (with " - " and its source when it has one) and its
// number as the database library numbers it.
int32_t TestoErrore(const AppError &errore, const QString &prima = {}, const QString &dopo = {});
// With the description and the number given.
int32_t TestoErrore(const Variant &descrizione, const Variant &numero, const QString &prima = {},
                    const QString &dopo = {});
