#pragma once
// No error may leave a slot, timer or socket callback: every entry from the event loop runs
// its body through guarded(), which hands an escaped error to the reporter.
#include "apperror.h"

#include <functional>

using ErrorReporter = std::function<void(const AppError &)>;

// The reporter for errors that reach an event-loop boundary. The default writes a warning.
void setUncaughtErrorReporter(ErrorReporter reporter);
void reportUncaughtError(const AppError &e);

template <typename F>
void guarded(const char *where, F &&body) noexcept
{
    try {
        body();
    } catch (const AppError &e) {
        AppError copy = e;
        if (copy.source().isEmpty())
            copy.setSource(QString::fromLatin1(where));
        reportUncaughtError(copy);
    } catch (const std::exception &e) {
        reportUncaughtError(AppError(ErrNum::InvalidCall, QString::fromLocal8Bit(e.what()), QString::fromLatin1(where)));
    } catch (...) {
        reportUncaughtError(AppError(ErrNum::InvalidCall, QStringLiteral("Errore non previsto"), QString::fromLatin1(where)));
    }
}
