#pragma once
// The queries and column layouts of the three grids of the picking form: orders (the user's
// staged orders joined with their headers), lines (the user's staged lines) and expenses (the
// user's staged expenses with the order's expense rows). The select lists follow the user's
// column order lists and extra columns; every value is turned into a literal by the library.
#include "campiaggiuntivi.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class ModelloGriglia;

// The 29 standard fields of the order grid (two hidden, then column numbers 1 to 27).
struct CampoTesta {
    const char *item;     // select item
    const char *titolo;   // caption ("" for the hidden ones)
    int16_t larghezza;    // twips
    bool modificabile;
    bool centrato;
};
inline constexpr int kCampiTesta = 29;
extern const std::array<CampoTesta, kCampiTesta> kTesta;

// The order grid's select list in the user's order; `posizioni` receives, for each standard
// field k (0 to 28), its grid position.
QString ListaTesta(const std::vector<int16_t> &ordine, const std::vector<CampoAggTesta> &agg,
                   std::array<int16_t, kCampiTesta> &posizioni);
QString SqlGrigliaTesta(const QString &listaCampi, const QString &utente);

// The line grid's select list for the level switch ("S"/"N") and the user's order.
QString ListaCorpo(bool livelli, const std::vector<int16_t> &ordine, const std::vector<CampoAggCorpo> &agg);
// With levels, `mostraLivelli` chooses between level rows and summary rows.
QString SqlGrigliaCorpo(const QString &listaCampi, const QString &utente, bool livelli, bool mostraLivelli);

QString SqlGrigliaSpese(const QString &utente);

// The column settings of each grid, once its record set is bound. `fattore` is the screen
// factor (1 when not above 0).
void LayoutTesta(ModelloGriglia &m, const std::array<int16_t, kCampiTesta> &posizioni,
                 const std::vector<CampoAggTesta> &agg, double fattore);
struct OpzioniCorpo {
    bool livelli = false;       // the company handles levels
    bool prezzoModificabile = false; // open orders and a terminal allowed to edit prices
    bool prezzoNascosto = false;     // the terminal may not show prices
    QString mascheraQta;
    QString mascheraPrezzo;
};
void LayoutCorpo(ModelloGriglia &m, const OpzioniCorpo &o, const std::vector<CampoAggCorpo> &agg, double fattore);
void LayoutSpese(ModelloGriglia &m, const QString &mascheraImporti, double fattore);

// Twips of the form's design to pixels of the screen, by the screen factor.
int PixelDaTwip(double twip, double fattore);
