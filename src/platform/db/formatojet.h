#pragma once
// Format(value, pattern) of the suite's SQL as the Italian workstation writes it: number
// patterns of 0 # , . and %, date patterns of d m y h n s with the Italian day and month
// names, the named formats and ">" / "<". The pattern is read once into parts, which the C++
// writer and the PostgreSQL translation both follow, so the two agree; a pattern outside
// this set is refused.
#include "variant.h"

#include <QString>
#include <optional>
#include <vector>

struct FormatoJet {
    enum class Genere : uint8_t { Generale, Numero, Data, Maiuscolo, Minuscolo };
    Genere genere = Genere::Generale;

    // Numbers: literal text around the digits, at least `cifreIntere` digits before the
    // decimal comma, thousands grouped, `fisse` decimals always shown and up to `facoltative`
    // more when not zero; the comma whenever the pattern has a decimal point.
    QString prima, dopo;
    int cifreIntere = 0;
    bool gruppi = false;
    bool virgola = false;
    int fisse = 0;
    int facoltative = 0;
    bool percento = false;

    // Dates: the pieces in order.
    enum class Pezzo : uint8_t {
        Testo, Giorno, Giorno2, GiornoBreve, GiornoNome, Mese, Mese2, MeseBreve, MeseNome, Anno2, Anno4,
        Ora, Ora2, Minuto, Minuto2, Secondo, Secondo2,
    };
    struct Parte {
        Pezzo pezzo;
        QString testo; // for Testo
    };
    std::vector<Parte> parti;
};

// The pattern read; nullopt when it is not one this library writes.
std::optional<FormatoJet> leggiFormatoJet(QStringView formato);

// The value (not Null) written by the pattern.
QString applicaFormatoJet(const FormatoJet &f, const Variant &valore);

// The Italian names, from 1.
QString nomeMese(int mese, bool breve);
QString nomeGiorno(int giornoSettimana, bool breve); // 1 Sunday .. 7 Saturday
