#include "celle.h"

namespace {

// About 64 KiB of cells a block: small enough to come from the allocator's reused memory, large
// enough that a row costs one allocation in many.
constexpr size_t kCelleBlocco = 2048;

} // namespace

void CelleRighe::imposta(int colonne)
{
    m_colonne = static_cast<size_t>(colonne > 0 ? colonne : 1);
    m_scarto = 0;
    while ((size_t{2} << m_scarto) * m_colonne <= kCelleBlocco) ++m_scarto;
    m_maschera = (1u << m_scarto) - 1;
    m_primi = m_maschera;
    m_posti = 0;
    m_blocchi.clear();
    m_ordine.clear();
}

QVariant *CelleRighe::aggiungi()
{
    const uint32_t p = m_posti++;
    const unsigned blocco = p < m_primi ? static_cast<unsigned>(std::bit_width(p + 1)) - 1
                                        : m_scarto + ((p - m_primi) >> m_scarto);
    if (blocco >= m_blocchi.size()) {
        const size_t righe = size_t{1} << (p < m_primi ? blocco : m_scarto);
        m_blocchi.push_back(std::make_unique<QVariant[]>(righe * m_colonne));
    }
    m_ordine.push_back(p);
    return posto(p);
}

void CelleRighe::elimina(int r)
{
    QVariant *c = riga(r);
    for (size_t i = 0; i < m_colonne; ++i) c[i] = QVariant(); // its values go now, the place stays unused
    m_ordine.erase(m_ordine.begin() + r);
}

void CelleRighe::togliUltima()
{
    QVariant *c = riga(righe() - 1);
    for (size_t i = 0; i < m_colonne; ++i) c[i] = QVariant();
    m_ordine.pop_back();
    --m_posti;
}
