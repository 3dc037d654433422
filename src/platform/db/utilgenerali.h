#pragma once
// The general functions of the suite's database-access library, as the program calls them
// (UtilGenerali.SqlValore(...)). Type codes are the run-time's: 2 Integer, 3 Long, 4 Single,
// 5 Double, 6 Currency, 7 Date, 8 text, 11 Boolean.
#include "apperror.h"
#include "motoredb.h"
#include "variant.h"

#include <QString>
#include <initializer_list>

class ConnessioneDb;

namespace UtilGenerali {

// ---------------------------------------------------------------- SQL
// The value as an SQL literal of the company connection's engine: 8 a quoted text (quotes
// doubled, NUL refused), 2/3 whole numbers, 4/5 numbers with "." as decimal point, 6 exact
// currency, 7 a date (ISO text on SQLite, DATE/TIMESTAMP on PostgreSQL), 11 -1 or 0.
// Null gives NULL; Empty gives '' for text, 0 for numbers, NULL for a date.
QString SqlValore(const Variant &valore, int16_t tipo);
QString SqlValore(const Variant &valore, int16_t tipo, MotoreDb motore);
// User text to put in a Like pattern so that it matches itself: Jet's wildcards "*", "?", "#"
// and "[" made plain characters ("50%*" with the user's "50%" is SqlValore(LikeLetterale("50%")
// + "*", 8)).
QString LikeLetterale(const QString &testo);
// The error number in the numbering the suite compares (the library raises its database
// errors numbered so already: 3260 locked, 3197 changed by another user, 3022 duplicate key,
// 3343 not a database, 3059/3031 login refused, 3265 item not found, 3146 other failures).
int32_t NumeroErrore(int32_t numero);
int32_t NumeroErrore(const AppError &errore);

// ---------------------------------------------------------------- transactions
// On the workspace's connection (the first ConnessioneDb connected, or the one set with
// ImpostaAreaDiLavoro), nested as the suite nested them. A commit or rollback with nothing open
// does nothing.
void BeginTrans(const Variant &areaDiLavoro = Variant(static_cast<int16_t>(0)), bool opzione = true);
void CommitTrans(const Variant &areaDiLavoro = Variant(static_cast<int16_t>(0)), bool opzione = true);
void Rollback(const Variant &areaDiLavoro = Variant(static_cast<int16_t>(0)), bool opzione = true);
void ImpostaAreaDiLavoro(ConnessioneDb *connessione);
ConnessioneDb *AreaDiLavoro();
// Called by ConnessioneDb itself.
void registraConnessione(ConnessioneDb *connessione);
void dimenticaConnessione(ConnessioneDb *connessione);

// ---------------------------------------------------------------- values
// True for Null, Empty and ""; with type 7 also for a blank date (the empty-date marker
// 01/01/100, the zero date, a text of blanks and separators).
bool Vuoto(const Variant &valore, int16_t tipo = 8, int16_t opzione = 1, bool flag = false);
// The value rounded to a multiple of passo x 10^esponente: "A" nearest with exact halves away
// from zero, "S" up (toward +infinity), "I" down (toward -infinity), "T" toward zero. Decimal-
// correct: 2.675 to two decimals is 2.68; 1.12 rounded up to 0.01 stays 1.12. Null and Empty
// give 0; another mode letter raises 5.
double ArrotondaValore(const Variant &valore, const QString &modo, double passo = 1.0, int esponente = 0);
// A number from a text (Italian "1.234,5" or "1.5"), a number, a date or a field value:
// Null, Empty and "" give 0; a text that is not a number gives its leading number.
double ValoreNumerico(const Variant &valore, bool opzione = true);
int32_t ValoreLong(const Variant &valore, bool opzione = true);   // halves to even; overflow 6
int16_t ValoreIntero(const Variant &valore, bool opzione = true); // halves to even; overflow 6
double ValoreSingolo(const Variant &valore, bool opzione = true); // single precision
// A date, or Null for an empty or unreadable value (dd/mm/yyyy, ISO, a date value).
Variant ValoreData(const Variant &valore, bool opzione = true);
// The usable value: Null, Empty and blank texts give 0; a text that reads as a number gives
// the number; anything else is returned as it is.
Variant ValoreNonNullo(const Variant &valore, bool opzione1 = true, bool opzione2 = true);
// The value in the type of the code; Null stays Null.
Variant ConvertiTipo(const Variant &valore, int16_t tipo);
// A range's bounds compared as the type code reads them (8 text ignoring letter case, 7 dates
// by the day, 2 to 6 numbers): 1 when the "from" value is above the "to" value, else 0. A
// bound that is empty, or a date that does not read as one, never makes the range wrong.
int16_t ConfrontaIntervallo(const Variant &da, const Variant &a, int16_t tipo);
// The smallest / largest of the values, Empty and Null left out; Empty when none is left.
Variant Minimo(const Variant &valori);
Variant Minimo(std::initializer_list<Variant> valori);
Variant Massimo(const Variant &valori);
Variant Massimo(std::initializer_list<Variant> valori);
// Every occurrence of `cerca` replaced.
QString Sostituisci(const QString &testo, const QString &cerca, const Variant &sostituto);
// The same with a start position (from 1) and a comparison (1 ignoring letter case, 0 exact).
QString Sostituisci(int16_t inizio, const QString &testo, const QString &cerca, const Variant &sostituto, int32_t confronto);
// The parts between separators, in an array from index 1 (none for an empty text).
Variant Dividi(const QString &testo, const QString &separatore);
// Whether `nome` is one of the list's entries (blanks around entries ignored; mode 1 ignores
// letter case, 0 compares exactly).
bool InLista(const QString &nome, const QString &lista, const QString &separatore = QStringLiteral(";"), int16_t modo = 1);
// The last day of the date's month.
Date FineMese(const Variant &data);
// Position (from 1) of the last occurrence of `cercato` beginning at or before `inizio`; 0 when
// none. `confronto` 1 ignores letter case.
int32_t CercaIndietro(int32_t inizio, const QString &testo, const QString &cercato, int32_t confronto = 1);

// ---------------------------------------------------------------- display forms
// The display text of a value by a format: "conto" (any case) an account code with its
// separators ("14-01-0001"); a date pattern ("dd/mm/yyyy", "dd/mm/yy hh:nn"); a number pattern
// ("#,##0.00", "#,###.^^^^^^": "0" a digit always shown, "#" a digit shown when needed, "^" a
// decimal shown when not zero, "," thousands grouped). Numbers and dates as the Italian
// workstation shows them ("1.234,5"). Null and Empty give "".
QString FormattaValore(const Variant &valore, const QString &formato);
// The account code as it is typed: the separators taken out ("14010001").
QString CodiceConto(const Variant &valore, const QString &formato = QStringLiteral("conto"));
// A number mask of the pattern (such as "#,##0") with `decimali` decimals of the fill character
// ("0" always shown, "^" shown when not zero): with `soloMaschera` the mask itself ("#,##0.000"),
// otherwise the value written by it.
QString MascheraNumero(const Variant &valore, int16_t decimali, const Variant &opzione = {}, bool soloMaschera = true,
                       const QString &modello = QStringLiteral("#,##0"), bool flag = false, const QString &testo = {},
                       const QString &riempimento = QStringLiteral("0"));

// ---------------------------------------------------------------- switches, files, ini
// The value of switch "/" + nome in a command or parameter text: words separated by blanks,
// a switch word is "/" and letters only; its value runs to the next switch word and may be
// double-quoted; a switch without a value answers itself ("/RO"); absent gives "". A path such
// as /home/x/help.chm is never a switch word.
QString ValoreOpzione(const QString &testo, const QString &nome);
bool EsisteFile(const QString &percorso);
// The program directory of the library's installation (the executable's folder).
QString DirProgramma();
// The parts joined by "\", none doubled: (empty text, drive, folder) puts the drive in front.
QString ComponiPercorso(const QString &base, const QString &drive, const QString &cartella);
// A key of an ini file (Windows paths mapped); the default when absent.
QString LeggiValoreIni(const QString &sezione, const QString &chiave, const QString &predefinito, const QString &fileIni);
// The key read from the chosen parameters file when it has it, else from the main ini file,
// else the default; the value goes into `valore`. Answers 0 when the key was found, 1 when the
// default was used.
int32_t LeggiChiaveIni(const QString &sezione, const QString &chiave, const Variant &predefinito, Variant &valore,
                       const QString &fileIni, const QString &iniScelta);
// Checks a company database file that would not open: 0 when it opens and passes the engine's
// check, otherwise 1 (a file that is not a database cannot be rebuilt here).
int32_t RecuperaDatabase(const QString &nomeDb);

} // namespace UtilGenerali
