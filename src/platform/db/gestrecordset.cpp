#include "gestrecordset.h"

#include "connessione.h"
#include "errori.h"

#include <atomic>

namespace {
std::atomic<int> gAlias{0};
}

GestRecordset::~GestRecordset() { ChiudiTutti(); }

::Recordset &GestRecordset::rs(const QString &alias) const
{
    for (const Recente &r : m_recenti)
        if (r.recordset && (r.alias.constData() == alias.constData() || stessoNome(r.alias, alias)))
            return *r.recordset;
    const auto it = m_insiemi.find(alias);
    if (it == m_insiemi.end() || !it->second.recordset)
        throw erroreDb(ErrDb::ElementoNonTrovato, QStringLiteral("recordset %1").arg(alias));
    Recente &r = m_recenti[m_prossimo++ % m_recenti.size()];
    r.alias = alias;
    r.recordset = it->second.recordset.get();
    return *r.recordset;
}

void GestRecordset::dimenticaRecenti() noexcept
{
    for (Recente &r : m_recenti) r.recordset = nullptr;
}

QString GestRecordset::Apri(ConnessioneDb &connessione, const QString &nomeConn, const QString &alias, const QString &sql,
                            bool, int16_t tipo)
{
    QString nome = alias.trimmed();
    if (nome.isEmpty()) nome = QStringLiteral("Rs%1").arg(++gAlias);
    Chiudi(nome);
    auto c = connessione.condivisa(nomeConn);
    dimenticaRecenti();
    Voce v;
    v.recordset = std::make_unique<::Recordset>(c, sql, tipo);
    v.connessione = c;
    m_insiemi[nome] = std::move(v);
    return nome;
}

void GestRecordset::Riapri(const QString &alias, const QString &sql, int16_t tipo)
{
    const auto it = m_insiemi.find(alias);
    if (it == m_insiemi.end())
        throw erroreDb(ErrDb::ElementoNonTrovato, QStringLiteral("recordset %1").arg(alias));
    auto c = it->second.connessione.lock();
    if (!c)
        throw erroreDb(ErrDb::OdbcFallito, QStringLiteral("la connessione del recordset è chiusa"));
    dimenticaRecenti();
    it->second.recordset.reset();
    it->second.recordset = std::make_unique<::Recordset>(c, sql, tipo);
}

void GestRecordset::Chiudi(const QString &alias) noexcept
{
    dimenticaRecenti();
    m_insiemi.erase(alias);
}

void GestRecordset::ChiudiTutti() noexcept
{
    dimenticaRecenti();
    m_insiemi.clear();
}

bool GestRecordset::Aperto(const QString &alias) const
{
    const auto it = m_insiemi.find(alias);
    return it != m_insiemi.end() && it->second.recordset;
}

int32_t GestRecordset::AggiungiDaRecord(const QString &aliasDa, const QString &aliasA, bool, bool, bool)
{
    rs(aliasA).AggiungiDaRecord(rs(aliasDa));
    return 0;
}

int32_t GestRecordset::CopiaDaRecord(const QString &aliasDa, const QString &aliasA, bool, bool, bool)
{
    ::Recordset &da = rs(aliasDa);
    ::Recordset &a = rs(aliasA);
    if (da.NessunRecord()) return 0;
    da.MoveFirst();
    while (!da.Eof()) {
        a.AggiungiDaRecord(da);
        da.MoveNext();
    }
    return 0;
}
