#include "vettorechiavi.h"

#include "apperror.h"

void VettoreChiavi::Svuota()
{
    m_elementi.clear();
    m_indice.clear();
}

bool VettoreChiavi::Esiste(const QString &chiave) const
{
    return m_indice.contains(normalized(chiave));
}

const ElementoVettore *VettoreChiavi::Elemento(const QString &chiave) const
{
    const auto it = m_indice.constFind(normalized(chiave));
    return it == m_indice.constEnd() ? nullptr : &m_elementi[*it];
}

ElementoVettore *VettoreChiavi::trova(const QString &chiave)
{
    const auto it = m_indice.constFind(normalized(chiave));
    return it == m_indice.constEnd() ? nullptr : &m_elementi[*it];
}

ElementoVettore *VettoreChiavi::trovaOAggiungi(const QString &chiave, bool pbAggiungi, bool raiseWhenMissing)
{
    if (ElementoVettore *e = trova(chiave))
        return e;
    if (!pbAggiungi) {
        if (raiseWhenMissing)
            throw AppError::standard(ErrNum::Subscript, QStringLiteral("VettoreChiavi"));
        return nullptr;
    }
    m_indice.insert(normalized(chiave), m_elementi.size());
    m_elementi.push_back(ElementoVettore{chiave, {}, {}, 0.0, {}});
    return &m_elementi.back();
}

bool VettoreChiavi::Rimuovi(const QString &chiave)
{
    const auto it = m_indice.constFind(normalized(chiave));
    if (it == m_indice.constEnd())
        return false;
    const size_t pos = *it;
    m_elementi.erase(m_elementi.begin() + static_cast<std::ptrdiff_t>(pos));
    m_indice.clear();
    for (size_t i = 0; i < m_elementi.size(); ++i)
        m_indice.insert(normalized(m_elementi[i].Chiave), i);
    return true;
}

double VettoreChiavi::Valore(const QString &chiave, bool pbAggiungi)
{
    const ElementoVettore *e = trovaOAggiungi(chiave, pbAggiungi, false);
    return e ? e->Valore : 0.0;
}

QString VettoreChiavi::Testo(const QString &chiave, bool pbAggiungi)
{
    const ElementoVettore *e = trovaOAggiungi(chiave, pbAggiungi, false);
    return e ? e->Testo : QString();
}

Variant VettoreChiavi::Data(const QString &chiave, bool pbAggiungi)
{
    const ElementoVettore *e = trovaOAggiungi(chiave, pbAggiungi, false);
    return e ? e->Data : Variant();
}

Currency VettoreChiavi::Importo(const QString &chiave, bool pbAggiungi)
{
    const ElementoVettore *e = trovaOAggiungi(chiave, pbAggiungi, false);
    return e ? e->Importo : Currency();
}

void VettoreChiavi::setValore(const QString &chiave, bool pbAggiungi, double valore)
{
    trovaOAggiungi(chiave, pbAggiungi, true)->Valore = valore;
}

void VettoreChiavi::setTesto(const QString &chiave, bool pbAggiungi, const QString &testo)
{
    trovaOAggiungi(chiave, pbAggiungi, true)->Testo = testo;
}

void VettoreChiavi::setData(const QString &chiave, bool pbAggiungi, const Variant &data)
{
    trovaOAggiungi(chiave, pbAggiungi, true)->Data = data;
}

void VettoreChiavi::setImporto(const QString &chiave, bool pbAggiungi, Currency importo)
{
    trovaOAggiungi(chiave, pbAggiungi, true)->Importo = importo;
}
