#pragma once
// Keyed vectors: entries under a text key (letter case ignored), kept in insertion order.
// Each entry carries a text, a date, a double and a currency amount; the system's callers
// use whichever field they need (rates with their date, expense amounts).
#include "currency.h"
#include "textcompare.h"
#include "variant.h"

#include <QHash>
#include <QString>
#include <vector>

struct ElementoVettore {
    QString Chiave;
    QString Testo;
    Variant Data;        // Empty until set
    double Valore = 0.0;
    Currency Importo;
};

class VettoreChiavi {
public:
    void Svuota();
    bool Esiste(const QString &chiave) const;
    int Conta() const { return static_cast<int>(m_elementi.size()); }

    // Getters: the field of the key's entry. With pbAggiungi the entry is added (with empty
    // fields) when missing; without it a missing key reads as the empty field value.
    double Valore(const QString &chiave, bool pbAggiungi = false);
    QString Testo(const QString &chiave, bool pbAggiungi = false);
    Variant Data(const QString &chiave, bool pbAggiungi = false);
    Currency Importo(const QString &chiave, bool pbAggiungi = false);

    // Setters: store the field under the key; with pbAggiungi a missing key is added,
    // without it a missing key raises "Indice non incluso nell'intervallo" (9).
    void setValore(const QString &chiave, bool pbAggiungi, double valore);
    void setTesto(const QString &chiave, bool pbAggiungi, const QString &testo);
    void setData(const QString &chiave, bool pbAggiungi, const Variant &data);
    void setImporto(const QString &chiave, bool pbAggiungi, Currency importo);

    // The entries in insertion order, for a walk.
    const std::vector<ElementoVettore> &Elementi() const { return m_elementi; }
    // The entry of a key; nullptr when missing.
    const ElementoVettore *Elemento(const QString &chiave) const;
    // Removes one entry; false when the key had none.
    bool Rimuovi(const QString &chiave);

private:
    ElementoVettore *trova(const QString &chiave);
    ElementoVettore *trovaOAggiungi(const QString &chiave, bool pbAggiungi, bool raiseWhenMissing);
    static QString normalized(const QString &chiave) { return textFolded(chiave); }

    std::vector<ElementoVettore> m_elementi;
    QHash<QString, size_t> m_indice;
};
