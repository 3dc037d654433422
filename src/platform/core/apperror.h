#pragma once
// The error object of the run-time: every failing library call throws one, and each
// procedure's handler catches it and does what that procedure promises (message, stop
// flag, error line, rollback).
#include <QString>
#include <cstdint>
#include <exception>
#include <string>

// Run-time error numbers the system's code compares or raises.
namespace ErrNum {
inline constexpr int32_t InvalidCall = 5;      // "Chiamata di routine o argomento non validi"
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t Subscript = 9;
inline constexpr int32_t DivByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t InvalidNull = 94;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t ObjectRequired = 424;
} // namespace ErrNum

class AppError : public std::exception {
public:
    AppError(int32_t number, QString description, QString source = {});

    // An error with the run-time's standard Italian description for the number.
    static AppError standard(int32_t number, QString source = {});

    int32_t number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const QString &source() const noexcept { return m_source; }
    void setSource(const QString &s) { m_source = s; }

    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int32_t m_number;
    QString m_description;
    QString m_source;
    std::string m_what;
};

// The run-time's Italian text for a standard error number ("" when it has none).
QString standardErrorText(int32_t number);
