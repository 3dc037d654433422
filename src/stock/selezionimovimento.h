#pragma once
// How the posting drivers read one stock movement: its header joined with its stock causal,
// and the selections of its detail lines or level rows with the article data the row poster
// needs. Values enter the texts as literals of the database library.
#include "gestrecordset.h"
#include "variant.h"

#include <QString>
#include <cstdint>
#include <optional>

// Opens the header joined with its causal, updatable, under an alias the library chooses and
// stores it in psAliasTes; an alias already set opens nothing (one re-posting reads the header
// once). 0, or the number of the error that stopped it, after the general error message.
int32_t ApriTestataCausale(int16_t piAnnoRegMov, int32_t plNumRegMov, GestRecordset &pgRec, QString &psAliasTes);

// The movement's detail lines (psTipoRiga "D", any case) or level rows (anything else, taken
// through their detail line) of the tables psTabDett / psTabLiv, joined with their article;
// with pvFlagStato only the rows whose detail line has that FlagStato. Level rows carry the
// detail line's Articolo and, when the detail table has them, ListDaAgg and ListDaAggClie.
QString SqlRigheMovimento(int16_t piAnnoRegMov, int32_t plNumRegMov, const QString &psTipoRiga,
                          const QString &psTabDett, const QString &psTabLiv,
                          const std::optional<Variant> &pvFlagStato = std::nullopt);

// A selection of the detail or level table that no row meets, into which rows are added.
QString SqlRigheApp(const QString &psTipoRiga, const QString &psTabDett, const QString &psTabLiv);

// Whether psTipoRiga names detail lines ("D", any case).
bool eRigaDettaglio(const QString &psTipoRiga);
