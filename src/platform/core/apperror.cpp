#include "apperror.h"

AppError::AppError(int32_t number, QString description, QString source)
    : m_number(number), m_description(std::move(description)), m_source(std::move(source)),
      m_what(QStringLiteral("%1: %2").arg(number).arg(m_description).toStdString())
{
}

AppError AppError::standard(int32_t number, QString source)
{
    return AppError(number, standardErrorText(number), std::move(source));
}

QString standardErrorText(int32_t number)
{
    switch (number) {
    case ErrNum::InvalidCall: return QStringLiteral("Chiamata di routine o argomento non validi");
    case ErrNum::Overflow: return QStringLiteral("Overflow");
    case 7: return QStringLiteral("Memoria esaurita");
    case ErrNum::Subscript: return QStringLiteral("Indice non incluso nell'intervallo");
    case ErrNum::DivByZero: return QStringLiteral("Divisione per zero");
    case ErrNum::TypeMismatch: return QStringLiteral("Tipo non corrispondente");
    case ErrNum::FileNotFound: return QStringLiteral("Impossibile trovare il file");
    case ErrNum::InvalidNull: return QStringLiteral("Utilizzo non valido di Null");
    case ErrNum::ObjectRequired: return QStringLiteral("Necessario oggetto");
    default: return {};
    }
}
