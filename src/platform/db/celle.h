#pragma once
// The cells of a record set's rows. Rows live in blocks, so a set read row by row grows without
// moving or copying what it already holds, and the cost of a row is the same at any size; the
// first blocks hold 1, 2, 4 ... rows, up to the full size of the later ones, so a set of one row
// (most are) makes and clears the cells of that row alone. The rows' order is kept apart, so a
// row deleted leaves the others in place. The cells of one row are contiguous.
#include <QVariant>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

class CelleRighe {
public:
    explicit CelleRighe(int colonne = 0) { imposta(colonne); }
    // Empties the storage for rows of `colonne` cells.
    void imposta(int colonne);

    int righe() const { return static_cast<int>(m_ordine.size()); }
    // A new row after the last one, its cells invalid, for the caller to fill.
    QVariant *aggiungi();
    QVariant *riga(int r) { return posto(m_ordine[static_cast<size_t>(r)]); }
    const QVariant *riga(int r) const { return posto(m_ordine[static_cast<size_t>(r)]); }
    const QVariant &cella(int r, int c) const { return riga(r)[c]; }
    QVariant &cella(int r, int c) { return riga(r)[c]; }
    // Gives up the row last added (its place is taken again by the next one).
    void togliUltima();
    // Removes the row; the rows after it move up one place.
    void elimina(int r);

private:
    QVariant *posto(uint32_t p) const
    {
        if (p < m_primi) {
            const unsigned b = static_cast<unsigned>(std::bit_width(p + 1)) - 1;
            return m_blocchi[b].get() + static_cast<size_t>(p + 1 - (1u << b)) * m_colonne;
        }
        const uint32_t q = p - m_primi;
        return m_blocchi[m_scarto + (q >> m_scarto)].get() + static_cast<size_t>(q & m_maschera) * m_colonne;
    }

    size_t m_colonne = 0;
    unsigned m_scarto = 0;       // rows per full block = 1 << m_scarto
    uint32_t m_maschera = 0;
    uint32_t m_primi = 0;        // places in the growing blocks before the full ones
    uint32_t m_posti = 0;        // places taken in the blocks, deleted rows' included
    std::vector<std::unique_ptr<QVariant[]>> m_blocchi;
    std::vector<uint32_t> m_ordine; // the place of each row, in the set's order
};
