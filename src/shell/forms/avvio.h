#pragma once
// The program's entry and start-up: it links to the menu server, reads the ini chain, opens
// the company database, loads the company settings, the screen factors and the help
// component, and opens its window by name. Every fatal problem shows its own message and ends
// the program through the close timer of the hidden main form. Also the program's hooks, the
// fixed procedures through which the shared modules call back into it.
#include "variant.h"

#include <QString>
#include <optional>

// The entry: start-up, then, when it succeeded, the workstation's price restrictions (a
// failure there leaves both allowed). The event loop runs after it.
void Main();

// The start-up with its code (27) and text; true when the program's window opened. After a
// failure the close timer is armed and nothing more is asked of the menu server.
bool AvvioProgramma(int32_t codice, QString &testo);

// The link with the menu server is lost or corrupt: the user is told and the program ends
// through its close request (a run in progress finishes first). Told once; nothing is done
// while the start-up runs or after it failed (its own messages tell the user then).
void CollegamentoMenuPerso();

// Opens the program window by name: only "frmEvasOrd" (any letter case) exists; any other name
// gives "La form richiesta e' inesistente" and the program ends. True when it opened.
bool ApriFormNome(const QString &nome, bool primaAttivazione, const QString &keySec, const QString &chiLancia,
                  const QString &keySecLancia, const QString &paramLancia);

// The screen factors of "Risoluzione Video" into gdRisVidGen, gdRisVidPers, gdRisVidSta,
// gdRisVidHelp and gdRisVidMsg.
void LeggiFattoriRisoluzione();

// The hooks.
void installaAgganciProgramma();
Variant TornaAlMenuPrg();
Variant RichiediChiusuraPrg(int16_t &flag);
Variant PrepDecodPrg(const QString &keyBase, const QString &campo, const Variant &valore, const Variant &soloDecod,
                     const std::optional<Variant> &opzione5 = std::nullopt,
                     const std::optional<Variant> &opzione6 = std::nullopt);
void EseguiComandoPrg(const QString &psIdMenu, const QString &psKeySec, const QString &psCom, const Variant &pvParam,
                      Variant &pvRitComando);
