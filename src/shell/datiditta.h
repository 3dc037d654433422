#pragma once
// The company settings and the user's options, loaded once at start-up into the context.

// Fills the company context (contesto.h) in order: work date, description and quantity
// decimals, the five currency settings (each with its value when empty), the decimals of lire
// and euro from table Monete, the colours, the window state from "Massimizzato", the user
// options, the second opening of the company database, the date format and the help context.
// Raises what the menu server, the currency read or the opening raise (a non-numeric
// "Mag.NumDecQta" or colour among them).
void CaricaDatiDitta();

// The program's own initialisation once the company database is open: CaricaDatiDitta, then
// gbArrUnitIntermedio.
void InizProgramma();

// The version lines of the connection window: loaded first when `carica`, then its title,
// "Versione " & menu parameter "Versione", "del " & "DataVersione", the logo and, when
// `immagineAccesso`, the access picture.
void MostraVersione(bool carica, bool immagineAccesso);
