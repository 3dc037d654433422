#include "elencoaiuto.h"

#include "gestrecordset.h"
#include "utilgenerali.h"

ModoRicerca modoDaTasto(int16_t tasto)
{
    if (tasto == 114)
        return ModoRicerca::Descrizione;
    if (tasto > 114)
        return ModoRicerca::Tutto;
    return ModoRicerca::Codice;
}

QStringList colonneDaElenco(const QString &elenco)
{
    QStringList nomi;
    for (const QString &parte : elenco.split(QLatin1Char(','))) {
        const QString nome = parte.trimmed();
        if (!nome.isEmpty())
            nomi << nome;
    }
    return nomi;
}

void ElencoAiuto::carica(ConnessioneDb &db, const QString &nomeConn, const TipoAiuto &tipo, const QStringList &colonne,
                         const QString &filtro, const QString &colonnaImmagine)
{
    m_tipo = &tipo;
    m_righe.clear();
    m_intestazioni.clear();

    QString sql = QStringLiteral("Select * from ") + tipo.tabella;
    if (!filtro.trimmed().isEmpty())
        sql += QStringLiteral(" where ") + filtro;
    sql += QStringLiteral(" order by ") + tipo.campiCodice.join(QStringLiteral(", "));

    GestRecordset rs;
    const QString alias = rs.Apri(db, nomeConn, QStringLiteral("ElencoAiuto"), sql, false, dbOpenSnapshot);
    const ::Recordset &insieme = rs.Recordset(alias);
    for (const QString &c : colonne) {
        if (insieme.EsisteCampo(c) && !m_intestazioni.contains(c, Qt::CaseInsensitive))
            m_intestazioni << c;
    }
    if (m_intestazioni.isEmpty())
        m_intestazioni = tipo.colonne;
    const bool conImmagine = !colonnaImmagine.isEmpty() && insieme.EsisteCampo(colonnaImmagine);

    m_righe.reserve(static_cast<size_t>(rs.RecordCount(alias)));
    for (; !rs.Eof(alias); rs.MoveNext(alias)) {
        Riga r;
        for (const QString &c : std::as_const(m_intestazioni))
            r.celle << rs.LeggiCampo(alias, c).text();
        QStringList valori;
        for (const QString &c : tipo.campiCodice)
            valori << rs.LeggiCampo(alias, c).text();
        r.chiave = valori.join(QString());
        r.codice = codiceDaValori(tipo, valori);
        r.descrizione = rs.LeggiCampo(alias, tipo.campoDescrizione).text();
        if (conImmagine)
            r.immagine = rs.LeggiCampo(alias, colonnaImmagine).text();
        m_righe.push_back(std::move(r));
    }
    rs.Chiudi(alias);
}

bool ElencoAiuto::corrisponde(const Riga &r, const QString &testo, ModoRicerca modo) const
{
    switch (modo) {
    case ModoRicerca::Codice: {
        const QString cercato = m_tipo && m_tipo->conto() ? UtilGenerali::CodiceConto(Variant(testo)) : testo;
        return r.chiave.startsWith(cercato, Qt::CaseInsensitive);
    }
    case ModoRicerca::Descrizione:
        return r.descrizione.contains(testo, Qt::CaseInsensitive);
    case ModoRicerca::Tutto:
        for (const QString &c : r.celle) {
            if (c.contains(testo, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }
    return false;
}

std::vector<int> ElencoAiuto::cerca(const QString &testo, ModoRicerca modo) const
{
    const QString t = testo.trimmed();
    std::vector<int> trovate;
    for (size_t i = 0; i < m_righe.size(); ++i) {
        if (t.isEmpty() || corrisponde(m_righe[i], t, modo))
            trovate.push_back(static_cast<int>(i));
    }
    return trovate;
}
