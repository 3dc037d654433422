#include "dittaaiuto.h"

#include "rowwriter.h"

#include <QFile>

namespace {

QString nomeDb(const ScratchDb &s)
{
    return s.engine() == Engine::SQLite ? s.location() : QStringLiteral("ODBC;") + s.location();
}

} // namespace

bool DittaAiuto::apri(Engine engine)
{
    scratch = ScratchDb::create(engine);
    if (!scratch)
        return false;
    {
        QSqlDatabase q = scratch->open(QStringLiteral("fixture_aiuto"));
        suite::buildCompany(q, {.orders = 2, .linesPerOrder = 2, .customers = 4, .articles = 8});
        q.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture_aiuto"));
    conn = db->Connetti(nomeDb(*scratch));
    QWidget *principale = nullptr;
    std::shared_ptr<ContestoAiuto> contesto;
    aiuto->Inizializza(principale, nullptr, contesto, db, conn, db, static_cast<int32_t>(0x80000005u), 255,
                       QStringLiteral("p"), QStringLiteral("dd/mm/yyyy"));
    return true;
}

void DittaAiuto::inserisci(const QString &tabella, const suite::FieldValues &valori)
{
    {
        QSqlDatabase q = scratch->open(QStringLiteral("righe_aiuto"));
        suite::insertRow(q, tabella, valori);
        q.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("righe_aiuto"));
}
