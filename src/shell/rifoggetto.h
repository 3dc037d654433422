#pragma once
// An object variable as the run-time has it: it holds an object or nothing, and is copied by
// reference. Using it while it holds nothing raises 91 instead of crashing, so that the
// caller's error handler sees the fault as the run-time's own error.
#include "apperror.h"

#include <cstddef>
#include <memory>

inline constexpr int32_t kErrOggettoNonImpostato = 91;

inline AppError erroreOggettoNonImpostato()
{
    return AppError(kErrOggettoNonImpostato, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"));
}

template <typename T>
class RifOggetto {
public:
    RifOggetto() = default;
    RifOggetto(std::nullptr_t) {}
    RifOggetto(std::shared_ptr<T> oggetto) : m_oggetto(std::move(oggetto)) {}

    RifOggetto &operator=(std::shared_ptr<T> oggetto)
    {
        m_oggetto = std::move(oggetto);
        return *this;
    }

    T &operator*() const
    {
        if (!m_oggetto)
            throw erroreOggettoNonImpostato();
        return *m_oggetto;
    }
    T *operator->() const { return &**this; }

    explicit operator bool() const { return static_cast<bool>(m_oggetto); }
    T *get() const { return m_oggetto.get(); }
    const std::shared_ptr<T> &condiviso() const { return m_oggetto; }
    void reset() { m_oggetto.reset(); }

private:
    std::shared_ptr<T> m_oggetto;
};
