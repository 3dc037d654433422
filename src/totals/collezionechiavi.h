#pragma once
// The keyed collections of the VAT breakdown: items under a text key (letter case ignored),
// kept and walked in the order of adding, a key at most once. The footer's stages rely on
// that order for their rounding remainders (the last counterpart of a code, the last code
// liable to VAT), so it is never re-sorted.
//
// As the run-time's collections: reading or removing a missing key raises 5, adding a present
// one raises 457 and leaves the collection as it was.
#include "apperror.h"
#include "textcompare.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

inline AppError erroreChiaveDuplicata()
{
    return AppError(457, QStringLiteral("Questa chiave è già associata a un elemento dell'insieme"));
}

template <typename T>
class CollezioneChiavi {
public:
    // Walks the items, not the pointers that own them.
    class Iteratore {
    public:
        using Base = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit Iteratore(Base b) : m_b(b) {}
        T &operator*() const { return **m_b; }
        T *operator->() const { return m_b->get(); }
        Iteratore &operator++()
        {
            ++m_b;
            return *this;
        }
        bool operator==(const Iteratore &o) const { return m_b == o.m_b; }

    private:
        Base m_b;
    };

    bool Esiste(const QString &chiave) const { return trova(chiave) != nullptr; }
    int Count() const { return static_cast<int>(m_voci.size()); }

    T &Item(const QString &chiave) const
    {
        T *voce = trova(chiave);
        if (!voce)
            throw AppError::standard(ErrNum::InvalidCall);
        return *voce;
    }
    // By position, counted from 1.
    T &Item(int posizione) const
    {
        if (posizione < 1 || posizione > Count())
            throw AppError::standard(ErrNum::Subscript);
        return *m_voci[static_cast<size_t>(posizione - 1)];
    }

    T &Add(const QString &chiave, std::unique_ptr<T> voce)
    {
        QString k = piega(chiave);
        if (m_indice.contains(k))
            throw erroreChiaveDuplicata();
        T &rif = *voce;
        m_voci.push_back(std::move(voce));
        m_indice.insert(std::move(k), &rif);
        return rif;
    }

    void Remove(const QString &chiave)
    {
        const auto it = m_indice.find(piega(chiave));
        if (it == m_indice.end())
            throw AppError::standard(ErrNum::InvalidCall);
        const T *voce = it.value();
        m_indice.erase(it);
        m_ultima = nullptr;
        for (auto v = m_voci.begin(); v != m_voci.end(); ++v)
            if (v->get() == voce) {
                m_voci.erase(v);
                break;
            }
    }

    void Clear()
    {
        m_ultima = nullptr;
        m_indice.clear();
        m_voci.clear();
    }

    Iteratore begin() const { return Iteratore(m_voci.cbegin()); }
    Iteratore end() const { return Iteratore(m_voci.cend()); }

private:
    static QString piega(const QString &chiave) { return textFolded(chiave); }

    // The stages ask for the same key many times in a row (lines come grouped by code and
    // account): the last item found answers first, without folding the key again.
    T *trova(const QString &chiave) const
    {
        if (m_ultima && chiave.compare(m_chiaveUltima, Qt::CaseInsensitive) == 0)
            return m_ultima;
        const auto it = m_indice.constFind(piega(chiave));
        if (it == m_indice.constEnd())
            return nullptr;
        m_ultima = it.value();
        m_chiaveUltima = chiave;
        return m_ultima;
    }

    std::vector<std::unique_ptr<T>> m_voci;
    QHash<QString, T *> m_indice;
    mutable T *m_ultima = nullptr;
    mutable QString m_chiaveUltima;
};
