#pragma once
// The program's process-wide context: who launched it, the link to the menu server, the
// company database, the company's settings and the user's options. Start-up fills it once;
// afterwards it is read everywhere and changed only through the few flags that say so.
//
// Object variables hold an object or nothing (RifOggetto: using one that holds nothing raises
// 91). A test installs its own menu client or connection by assigning a shared_ptr, and calls
// azzeraContesto() to go back to the values of program start.
#include "rifoggetto.h"
#include "variant.h"

#include <QPointer>
#include <QString>
#include <cstdint>

class MenuClient;
class ConnessioneDb;
class ContestoAiuto;
class GestoreAiuto;
class scEventiAiuto;
class scMenuComandiClie;
class QWidget;

// Colours are 32-bit values of the Windows kind: 0x00BBGGRR, or a system colour when the top
// bit is set (0x80000005 is the window background).
inline constexpr int32_t kColSfondoFinestra = static_cast<int32_t>(0x80000005u);
inline constexpr int32_t kColRosso = 255;
inline constexpr int32_t kColAzzurroChiaro = 0xFFFF80;

// ---- Launch, link and database --------------------------------------------------------------
extern RifOggetto<MenuClient> ggMenuClient;         // every parameter, user, terminal and work date
extern RifOggetto<scMenuComandiClie> ggMenuComandi; // receiver of the menu server's commands
extern QString gsIdMenu;        // switch "M"
extern QString gsProgramma;     // switch "P" up to its first blank
extern QString gsProgrammaPar;  // the rest of switch "P" ("" without a blank)
extern QString gsFileIni;       // full path of the main ini file
extern QString gsIniScelta;     // ini entry chosen at start-up, handed to every ini read
extern RifOggetto<ConnessioneDb> ggDbAzienda; // the company-database connection
extern QString gsNomeConn;      // that connection's name
extern QString gsNomeDBAzie;    // file path, "ODBC;" text, ".dsn" file or data-source name
extern QString gsConnectDBAzie; // extra connect text (may be empty)
extern RifOggetto<ConnessioneDb> ggDbDao;     // second opening of the company database
extern Date gtDataLavoro;
extern bool gbChiusuraDaMenu;
extern bool gbDisabTermPrz;     // price editing disabled for this terminal
extern bool gbDisabTermVisPrz;  // price display disabled for this terminal
extern RifOggetto<GestoreAiuto> ggAiuto;
extern RifOggetto<scEventiAiuto> ggEventiAiuto;
extern QPointer<QWidget> ggFrmAiuto;
extern RifOggetto<ContestoAiuto> ggContestoAiuto;
extern QString gsParAiuto;
extern QPointer<QWidget> ggFrmPrincipale; // the hidden main form
extern QString gsStatoModale;   // "Maschera Modal" when the end found a modal form open
extern int16_t giSuonoAvviso;   // sound option of the message dialog
extern QString gsBeepCome;      // ini "Parametri Generali"/"BeepCome"
extern QString gsDataMinima;    // smallest accepted date, personal "Tutti"/"DataMinima"

// ---- Company context and user options (CaricaDatiDitta) --------------------------------------
extern QString gsDescAzie;
extern int16_t giNumDecQtaFmt;  // "Mag.NumDecQta" for display masks
extern QString gsMonetaDitta;   // company currency, "Euro" when empty
extern QString gsCodLira;       // "L." when empty
extern QString gsCodEuro;       // "Euro" when empty
extern QString gsOperCambio;    // "/" when empty
extern QString gsCambioLiraEuro; // lire per euro as text with decimal comma, "1936,27" when empty
extern int16_t giNumDecPrzLire;
extern int16_t giNumDecImpLire;
extern int16_t giNumDecPrzEuro;
extern int16_t giNumDecImpEuro;
extern int16_t giNumDecQta;     // "Mag.NumDecQta" for rounding quantities
extern int32_t glColErrore;
extern int32_t glColNormale;
extern int32_t glColBackGotFocus;
extern int32_t glColBackLostFocus;
extern int32_t glColBackForm;
extern QString gsStatoFinestra; // "2" open maximised, else ""
extern QString gsArrotIvaEuro;  // rounding letter of VAT in euro
extern QString gsTastierinoVirgola; // "S": the keypad point types a comma
extern QString gsDecodHelpAbil;
extern bool gbDecodHelpPersKey;
extern QString gsFormatData;
extern bool gbArrUnitIntermedio;

// Every variable back to its value at program start (objects released).
void azzeraContesto();
