#pragma once
// The rows of one movement in the work tables: cleared, or copied into the movement's tables.
#include "variant.h"

#include <QString>
#include <cstdint>
#include <optional>

// Deletes the movement's rows from the work tables given, in the order pvTabella2, pvTabella1,
// pvTabella3, pvTabella4 (one not given is skipped); with pvRigLiv only that line's rows of the
// second, third and fourth table. A table whose name does not end in "app" (any case), or is
// not a plain table name, is refused with "Nome File non valido" unless pbForza: the tables
// before it stay cleared, the later ones are not touched. Errors reach the caller.
void CancellaRigheApp(int16_t piAnnoRegMov, int32_t plNumRegMov,
                      const std::optional<QString> &pvTabella1 = std::nullopt,
                      const std::optional<QString> &pvTabella2 = std::nullopt,
                      const std::optional<int32_t> &pvRigLiv = std::nullopt,
                      const std::optional<QString> &pvTabella3 = std::nullopt,
                      const std::optional<QString> &pvTabella4 = std::nullopt, bool pbForza = false);

// Replaces the movement's rows of psTabella by those of the work table psTabApp, in one
// transaction: 0 when copied or when the work table holds none for the movement (the table is
// then left as it is), 1 when the copy failed (the table is left as it was, after the general
// error message).
int16_t CopiaRigheApp(int16_t piAnnoRegMov, int32_t plNumRegMov, const QString &psTabApp, const QString &psTabella);
