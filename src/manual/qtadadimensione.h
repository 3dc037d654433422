#pragma once
// Quantity from dimensions: articles sold by length, area or volume carry their dimensions on
// the order line; the number of pieces the user types gives the quantity to fulfil.
#include <QString>

// The kind of quantity of a unit of measure, by the three unit lists (each kept as ";" + list
// + ";"), tested in this order: linear, area, volume.
enum class ClasseQtaDaDim { Nessuna, Lineare, Quadra, Cubica };

// Whether the unit is one of the list's (";" + unit + ";" in it, without regard to case).
bool UMInLista(const QString &um, const QString &lista);
ClasseQtaDaDim ClasseDaUM(const QString &um, const QString &umLineari, const QString &umQuadre, const QString &umCubiche);

// The dimensions of an order line and the lists they are read by: what the dialog shows and
// computes with.
struct DatiQtaDaDim {
    QString um;
    double lunghezza = 0, larghezza = 0, altezza = 0;
    double rapporto = 1000; // divisor of the dimension units, once per dimension
    QString umLineari, umQuadre, umCubiche;

    ClasseQtaDaDim classe() const { return ClasseDaUM(um, umLineari, umQuadre, umCubiche); }
    // The rows the dialog shows besides the length: width for area units, width and height
    // for volume units (an area unit that is also a volume unit shows the width only).
    bool mostraLarghezza() const { return UMInLista(um, umQuadre) || UMInLista(um, umCubiche); }
    bool mostraAltezza() const { return !UMInLista(um, umQuadre) && UMInLista(um, umCubiche); }
    // The quantity of the pieces: P x L / R, P x L x W / R², P x L x W x H / R³; 0 for a unit
    // of no list.
    double Quantita(double pezzi) const;
    // The pieces box's text read as a number of pieces (empty: 0).
    static double Pezzi(const QString &testo);
    // The quantity as the dialog shows it (company's quantity decimals), empty when not above 0.
    static QString TestoQuantita(double quantita);
    // The quantity handed back: the shown text read as a number.
    static double QuantitaDaTesto(const QString &testo);
};
