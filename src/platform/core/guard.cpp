#include "guard.h"

#include <QtGlobal>

namespace {
ErrorReporter &reporter()
{
    static ErrorReporter r;
    return r;
}
} // namespace

void setUncaughtErrorReporter(ErrorReporter r)
{
    reporter() = std::move(r);
}

void reportUncaughtError(const AppError &e)
{
    try {
        if (reporter()) {
            reporter()(e);
            return;
        }
    } catch (...) {
        // the reporter itself failed: fall through to the warning
    }
    qWarning("Errore(%d): %s - %s", e.number(), qUtf8Printable(e.description()), qUtf8Printable(e.source()));
}
