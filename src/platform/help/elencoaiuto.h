#pragma once
// The rows of one lookup, read from its master table: the columns shown, and for each row the
// code and the description that a choice writes back. Searches run on the rows read.
#include "tipiaiuto.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class ConnessioneDb;

// What a search compares: the code's beginning, a part of the description, any column shown.
enum class ModoRicerca { Codice, Descrizione, Tutto };

// The search a key code asks for: F2 (113) and the negative codes the code, F3 (114) the
// description, F4 to F12 any column.
ModoRicerca modoDaTasto(int16_t tasto);

class ElencoAiuto {
public:
    // Reads the rows of the lookup that meet the filter (an SQL condition, "" for none), ordered
    // by code. `colonne` names the columns to show; names the table does not have are left out,
    // and with none left the lookup's own columns are shown. `colonnaImmagine`, when given and
    // present, is read too (the picture of each row).
    void carica(ConnessioneDb &db, const QString &nomeConn, const TipoAiuto &tipo, const QStringList &colonne,
                const QString &filtro, const QString &colonnaImmagine = {});

    const TipoAiuto *tipo() const { return m_tipo; }
    const QStringList &intestazioni() const { return m_intestazioni; }
    int righe() const { return static_cast<int>(m_righe.size()); }
    QString valore(int riga, int colonna) const { return m_righe.at(static_cast<size_t>(riga)).celle.value(colonna); }
    // The code as the code control shows it, and the description.
    QString codice(int riga) const { return m_righe.at(static_cast<size_t>(riga)).codice; }
    QString descrizione(int riga) const { return m_righe.at(static_cast<size_t>(riga)).descrizione; }
    QString immagine(int riga) const { return m_righe.at(static_cast<size_t>(riga)).immagine; }

    // The rows that match, in list order (every row for an empty text); letter case ignored.
    std::vector<int> cerca(const QString &testo, ModoRicerca modo) const;

private:
    struct Riga {
        QStringList celle;
        QString codice;      // as shown
        QString chiave;      // the code fields joined, for the code search
        QString descrizione;
        QString immagine;
    };
    bool corrisponde(const Riga &r, const QString &testo, ModoRicerca modo) const;

    const TipoAiuto *m_tipo = nullptr;
    QStringList m_intestazioni;
    std::vector<Riga> m_righe;
};

// The column names of a comma-separated list, blanks around each taken out, empty entries left out.
QStringList colonneDaElenco(const QString &elenco);
