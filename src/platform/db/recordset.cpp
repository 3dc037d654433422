#include "recordset.h"

#include "connessione.h"
#include "errori.h"
#include "esecuzione.h"
#include "valoricampo.h"

#include <QSqlField>
#include <QSqlRecord>

namespace {

bool stessoNome(QStringView a, QStringView b) { return UgualeNome()(a, b); }

} // namespace

Recordset::Recordset(std::shared_ptr<Connessione> connessione, const QString &sql, int16_t tipo)
    : m_connessione(connessione), m_motore(connessione->motore()), m_tipo(tipo)
{
    leggi(sql);
}

Recordset::~Recordset() = default;

Connessione &Recordset::conn() const
{
    const auto c = m_connessione.lock();
    if (!c)
        throw erroreDb(ErrDb::OdbcFallito, QStringLiteral("la connessione del recordset è chiusa"));
    return *c;
}

void Recordset::leggi(const QString &sql)
{
    Connessione &c = conn();
    const auto t = c.traduttore().traduci(sql);
    if (t->tipo != TipoIstruzione::Select)
        throw erroreSintassi(QStringLiteral("un recordset si apre su una SELECT"));
    QSqlQuery q = c.nuovaQuery();
    eseguiTesto(q, m_motore, t->sql);
    preparaCampi(*t, q.record());
    const int n = m_colonne;
    while (q.next())
        for (int i = 0; i < n; ++i)
            m_celle.push_back(q.value(i));
    q.finish();
}

void Recordset::preparaCampi(const Traduzione &t, const QSqlRecord &r)
{
    const int n = r.count();
    m_colonne = n;
    bool noti = t.colonneNote && static_cast<int>(t.colonne.size()) == n;
    // The statement's own description must agree with what the engine returned.
    for (int i = 0; noti && i < n; ++i) {
        const ColonnaRisultato &c = t.colonne[static_cast<size_t>(i)];
        const QString &atteso = c.qualificatore.isEmpty() ? c.nome : c.colonnaBase;
        if (!atteso.isEmpty() && !stessoNome(atteso, r.fieldName(i)))
            noti = false;
    }
    m_campi.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        Campo &c = m_campi[static_cast<size_t>(i)];
        if (noti) c.info = t.colonne[static_cast<size_t>(i)];
        if (c.info.nome.isEmpty()) c.info.nome = r.fieldName(i);
        c.tipo = c.info.tipo;
        if (c.tipo == TipoCampo::Sconosciuto && m_motore == MotoreDb::PostgreSQL)
            c.tipo = tipoDaMeta(r.field(i).metaType());
        m_nomi.aggiungi(c.info.qualificatore, c.info.nome);
    }
    // The base tables that writes go to: one per table (or alias) of the statement.
    Connessione &cn = conn();
    for (int i = 0; i < n; ++i) {
        Campo &c = m_campi[static_cast<size_t>(i)];
        if (c.info.tabellaBase.isEmpty()) continue;
        int b = -1;
        for (size_t k = 0; k < m_basi.size(); ++k)
            if (stessoNome(m_basi[k].fonte, c.info.fonte) && stessoNome(m_basi[k].tabella, c.info.tabellaBase))
                b = static_cast<int>(k);
        if (b < 0) {
            Base nuova;
            nuova.fonte = c.info.fonte;
            nuova.tabella = c.info.tabellaBase;
            if (const TabellaCatalogo *cat = cn.catalogo().tabella(nuova.tabella))
                for (int k : cat->chiave()) nuova.nomiChiave.push_back(cat->colonne()[static_cast<size_t>(k)].nome);
            nuova.chiave.assign(nuova.nomiChiave.size(), -1);
            m_basi.push_back(std::move(nuova));
            b = static_cast<int>(m_basi.size()) - 1;
        }
        Base &base = m_basi[static_cast<size_t>(b)];
        base.colonne.push_back(i);
        for (size_t k = 0; k < base.nomiChiave.size(); ++k)
            if (base.chiave[k] < 0 && stessoNome(base.nomiChiave[k], c.info.colonnaBase))
                base.chiave[k] = i;
        c.base = b;
    }
}

// ------------------------------------------------------------------ navigation

bool Recordset::Eof() const { return !m_correnteEliminata && m_pos >= righe(); }

bool Recordset::Bof() const { return righe() == 0 || (m_pos < 0 && !m_correnteEliminata); }

void Recordset::MoveFirst()
{
    m_pos = 0;
    m_correnteEliminata = false;
}

void Recordset::MoveLast()
{
    m_pos = righe() > 0 ? righe() - 1 : 0;
    m_correnteEliminata = false;
}

void Recordset::MoveNext()
{
    if (m_correnteEliminata) {
        m_correnteEliminata = false; // the row after the deleted one now stands at its place
        return;
    }
    if (m_pos >= righe())
        throw erroreDb(ErrDb::NessunRecordCorrente);
    ++m_pos;
}

void Recordset::MovePrevious()
{
    if (m_correnteEliminata) {
        m_correnteEliminata = false;
        --m_pos;
        return;
    }
    if (m_pos < 0)
        throw erroreDb(ErrDb::NessunRecordCorrente);
    --m_pos;
}

int32_t Recordset::AbsolutePosition() const { return haRigaCorrente() ? m_pos : -1; }

void Recordset::VaiAPosizione(int32_t posizione)
{
    if (posizione < 0 || posizione >= righe())
        throw erroreDb(ErrDb::NessunRecordCorrente);
    m_pos = posizione;
    m_correnteEliminata = false;
}

bool Recordset::cercaDa(int inizio)
{
    const auto valore = [&](int riga) {
        return [this, riga](int c) { return daMotore(cella(riga, c), m_campi[static_cast<size_t>(c)].tipo); };
    };
    for (int r = std::max(inizio, 0); r < righe(); ++r) {
        if (m_criterio->soddisfatto(valore(r))) {
            m_pos = r;
            m_correnteEliminata = false;
            m_nessunaCorrispondenza = false;
            return true;
        }
    }
    m_nessunaCorrispondenza = true;
    return false;
}

void Recordset::FindFirst(const QString &criterio)
{
    if (!m_criterio || m_criterio->testo() != criterio) {
        auto c = std::make_unique<Criterio>(criterio);
        c->collega([this](QStringView nome) { return m_nomi.trova(nome); });
        m_criterio = std::move(c);
    }
    cercaDa(0);
}

void Recordset::FindNext(const QString &criterio)
{
    if (!m_criterio || m_criterio->testo() != criterio) {
        auto c = std::make_unique<Criterio>(criterio);
        c->collega([this](QStringView nome) { return m_nomi.trova(nome); });
        m_criterio = std::move(c);
    }
    cercaDa(haRigaCorrente() ? m_pos + 1 : (m_correnteEliminata ? m_pos : 0));
}

// ------------------------------------------------------------------ fields

int Recordset::campo(QStringView nome) const
{
    const int i = m_nomi.trova(nome);
    if (i == IndiceNomi::Ambiguo)
        throw erroreDb(ErrDb::ElementoNonTrovato,
                       QStringLiteral("%1 (più tabelle hanno un campo con questo nome: indicare la tabella)").arg(nome));
    return i;
}

QString Recordset::NomeCampo(int i) const
{
    const Campo &c = m_campi.at(static_cast<size_t>(i));
    return c.info.qualificatore.isEmpty() ? c.info.nome : c.info.qualificatore + QLatin1Char('.') + c.info.nome;
}

TipoCampo Recordset::TipoDelCampo(int i) const { return m_campi.at(static_cast<size_t>(i)).tipo; }

Variant Recordset::Valore(int riga, int colonna) const
{
    return daMotore(cella(riga, colonna), m_campi.at(static_cast<size_t>(colonna)).tipo);
}

Variant Recordset::ValoreCampo(QStringView nome) const
{
    const int c = campo(nome);
    if (c < 0)
        return Variant();
    const size_t k = static_cast<size_t>(c);
    if (m_modo != Modo::Nessuno) {
        if (m_scritto[k]) return m_buffer[k];
        if (m_modo == Modo::Nuovo) return Variant::null();
    }
    if (m_correnteEliminata)
        throw erroreDb(ErrDb::RecordEliminato);
    if (!haRigaCorrente())
        return Variant();
    return daMotore(cella(m_pos, c), m_campi[k].tipo);
}

Variant Recordset::LeggiCampo(QStringView nome, int16_t tipo) const
{
    const Variant v = ValoreCampo(nome);
    if (v.isEmpty())
        return tipo ? neutroCodice(tipo) : v;
    if (v.isNull()) {
        if (tipo) return neutroCodice(tipo);
        const int c = campo(nome);
        return neutro(m_campi[static_cast<size_t>(c)].tipo);
    }
    return v;
}

// ------------------------------------------------------------------ writes

void Recordset::richiediAggiornabile() const
{
    if (m_tipo != dbOpenDynaset)
        throw erroreDb(ErrDb::SolaLettura);
}

void Recordset::AddNew()
{
    richiediAggiornabile();
    m_modo = Modo::Nuovo;
    m_buffer.assign(m_campi.size(), Variant::null());
    m_scritto.assign(m_campi.size(), false);
}

void Recordset::Edit()
{
    richiediAggiornabile();
    if (!haRigaCorrente())
        throw erroreDb(ErrDb::NessunRecordCorrente);
    m_modo = Modo::Modifica;
    m_buffer.assign(m_campi.size(), Variant::null());
    m_scritto.assign(m_campi.size(), false);
}

void Recordset::ScriviCampo(QStringView nome, const Variant &valore)
{
    if (m_modo == Modo::Nessuno)
        throw erroreDb(ErrDb::SenzaAddNewEdit);
    const int c = campo(nome);
    if (c < 0)
        throw erroreDb(ErrDb::ElementoNonTrovato, nome.toString());
    const Campo &f = m_campi[static_cast<size_t>(c)];
    if (f.base < 0)
        throw erroreDb(ErrDb::SolaLettura, nome.toString());
    versoMotore(valore, f.tipo, m_motore); // a value the field cannot hold fails here, as on assignment
    m_buffer[static_cast<size_t>(c)] = valore;
    m_scritto[static_cast<size_t>(c)] = true;
}

void Recordset::CancelUpdate() { m_modo = Modo::Nessuno; }

void Recordset::scriviBase(const Base &b, bool nuovo, std::vector<QVariant> &riga)
{
    Connessione &cn = conn();
    // Each base column once: the statement may name a field twice ("T.*, T.Field").
    std::vector<int> colonne, scritte;
    for (int i : b.colonne) {
        bool doppia = false;
        for (int j : colonne)
            if (stessoNome(m_campi[static_cast<size_t>(j)].info.colonnaBase, m_campi[static_cast<size_t>(i)].info.colonnaBase))
                doppia = true;
        if (doppia) continue;
        colonne.push_back(i);
    }
    for (int i : colonne) {
        // the last write of a doubled field wins
        int ultima = -1;
        for (int j : b.colonne)
            if (m_scritto[static_cast<size_t>(j)] &&
                stessoNome(m_campi[static_cast<size_t>(j)].info.colonnaBase, m_campi[static_cast<size_t>(i)].info.colonnaBase))
                ultima = j;
        if (ultima >= 0) scritte.push_back(ultima);
    }
    const auto base = [&](int i) -> const QString & { return m_campi[static_cast<size_t>(i)].info.colonnaBase; };
    QString ritorno;
    for (size_t k = 0; k < colonne.size(); ++k) {
        if (k) ritorno += QStringLiteral(", ");
        ritorno += base(colonne[k]);
    }
    QString sql;
    std::vector<QVariant> legati;
    if (nuovo) {
        sql = QStringLiteral("INSERT INTO ") + b.tabella;
        if (scritte.empty()) {
            sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            QString valori;
            sql += QStringLiteral(" (");
            for (size_t k = 0; k < scritte.size(); ++k) {
                if (k) {
                    sql += QStringLiteral(", ");
                    valori += QStringLiteral(", ");
                }
                sql += base(scritte[k]);
                valori += QLatin1Char('?');
                const Campo &f = m_campi[static_cast<size_t>(scritte[k])];
                legati.push_back(versoMotore(m_buffer[static_cast<size_t>(scritte[k])], f.tipo, m_motore));
            }
            sql += QStringLiteral(") VALUES (") + valori + QLatin1Char(')');
        }
    } else {
        for (size_t k = 0; k < b.chiave.size(); ++k)
            if (b.chiave[k] < 0)
                throw erroreDb(ErrDb::SolaLettura,
                               QStringLiteral("la chiave %1.%2 non è tra i campi letti").arg(b.tabella, b.nomiChiave[k]));
        if (b.chiave.empty())
            throw erroreDb(ErrDb::SolaLettura, QStringLiteral("la tabella %1 non ha chiave primaria").arg(b.tabella));
        sql = QStringLiteral("UPDATE ") + b.tabella + QStringLiteral(" SET ");
        for (size_t k = 0; k < scritte.size(); ++k) {
            if (k) sql += QStringLiteral(", ");
            sql += base(scritte[k]) + QStringLiteral(" = ?");
            const Campo &f = m_campi[static_cast<size_t>(scritte[k])];
            legati.push_back(versoMotore(m_buffer[static_cast<size_t>(scritte[k])], f.tipo, m_motore));
        }
        sql += QStringLiteral(" WHERE ");
        for (size_t k = 0; k < b.chiave.size(); ++k) {
            if (k) sql += QStringLiteral(" AND ");
            sql += base(b.chiave[k]) + QStringLiteral(" = ?");
            legati.push_back(cella(m_pos, b.chiave[k]));
        }
        // Every other field as read: a row changed by another user since is not overwritten.
        const QString uguale = m_motore == MotoreDb::SQLite ? QStringLiteral(" IS ?") : QStringLiteral(" IS NOT DISTINCT FROM ?");
        for (int i : colonne) {
            if (std::find(b.chiave.begin(), b.chiave.end(), i) != b.chiave.end()) continue;
            sql += QStringLiteral(" AND ") + base(i) + uguale;
            const QVariant &orig = cella(m_pos, i);
            legati.push_back(orig.isNull() ? nulloPer(m_campi[static_cast<size_t>(i)].tipo, m_motore) : orig);
        }
    }
    if (!colonne.empty())
        sql += QStringLiteral(" RETURNING ") + ritorno;
    QSqlQuery &q = cn.preparata(sql);
    for (size_t k = 0; k < legati.size(); ++k)
        q.bindValue(static_cast<int>(k), legati[k]);
    eseguiPreparata(q, m_motore);
    if (colonne.empty()) {
        q.finish();
        return;
    }
    if (!q.next()) {
        q.finish();
        if (!nuovo)
            throw erroreDb(ErrDb::ModificatoDaAltri, b.tabella);
        return;
    }
    for (size_t k = 0; k < colonne.size(); ++k) {
        const QVariant v = q.value(static_cast<int>(k));
        for (int j : b.colonne)
            if (stessoNome(base(j), base(colonne[k]))) riga[static_cast<size_t>(j)] = v;
    }
    q.finish();
}

void Recordset::Update()
{
    if (m_modo == Modo::Nessuno)
        throw erroreDb(ErrDb::SenzaAddNewEdit);
    const auto scritta = [&](const Base &b) {
        for (int i : b.colonne)
            if (m_scritto[static_cast<size_t>(i)]) return true;
        return false;
    };
    if (m_modo == Modo::Nuovo) {
        std::vector<QVariant> riga(static_cast<size_t>(m_colonne));
        bool fatto = false;
        for (const Base &b : m_basi)
            if (scritta(b)) {
                scriviBase(b, true, riga);
                fatto = true;
            }
        if (!fatto) {
            if (m_basi.size() != 1) throw erroreDb(ErrDb::SolaLettura);
            scriviBase(m_basi.front(), true, riga);
        }
        const bool allaFine = m_pos >= righe();
        m_celle.insert(m_celle.end(), riga.begin(), riga.end());
        m_ultimoModificato = righe() - 1;
        if (allaFine && !m_correnteEliminata) m_pos = righe();
    } else {
        if (!haRigaCorrente())
            throw erroreDb(ErrDb::NessunRecordCorrente);
        std::vector<QVariant> riga(m_celle.begin() + static_cast<qsizetype>(m_pos) * m_colonne,
                                   m_celle.begin() + static_cast<qsizetype>(m_pos + 1) * m_colonne);
        for (const Base &b : m_basi)
            if (scritta(b)) scriviBase(b, false, riga);
        std::copy(riga.begin(), riga.end(), m_celle.begin() + static_cast<qsizetype>(m_pos) * m_colonne);
        m_ultimoModificato = m_pos;
    }
    m_modo = Modo::Nessuno;
}

void Recordset::Delete()
{
    richiediAggiornabile();
    if (!haRigaCorrente())
        throw erroreDb(ErrDb::NessunRecordCorrente);
    if (m_basi.empty())
        throw erroreDb(ErrDb::SolaLettura);
    m_modo = Modo::Nessuno;
    const Base &b = m_basi.front();
    if (b.chiave.empty() || std::find(b.chiave.begin(), b.chiave.end(), -1) != b.chiave.end())
        throw erroreDb(ErrDb::SolaLettura, QStringLiteral("la chiave di %1 non è tra i campi letti").arg(b.tabella));
    QString sql = QStringLiteral("DELETE FROM ") + b.tabella + QStringLiteral(" WHERE ");
    for (size_t k = 0; k < b.chiave.size(); ++k) {
        if (k) sql += QStringLiteral(" AND ");
        sql += m_campi[static_cast<size_t>(b.chiave[k])].info.colonnaBase + QStringLiteral(" = ?");
    }
    Connessione &cn = conn();
    QSqlQuery &q = cn.preparata(sql);
    for (size_t k = 0; k < b.chiave.size(); ++k)
        q.bindValue(static_cast<int>(k), cella(m_pos, b.chiave[k]));
    eseguiPreparata(q, m_motore);
    q.finish();
    const auto inizio = m_celle.begin() + static_cast<qsizetype>(m_pos) * m_colonne;
    m_celle.erase(inizio, inizio + m_colonne);
    if (m_ultimoModificato == m_pos) m_ultimoModificato = -1;
    else if (m_ultimoModificato > m_pos) --m_ultimoModificato;
    m_correnteEliminata = true;
}

void Recordset::VaiUltimoModificato()
{
    if (m_ultimoModificato < 0 || m_ultimoModificato >= righe())
        throw erroreDb(ErrDb::NessunRecordCorrente);
    m_pos = m_ultimoModificato;
    m_correnteEliminata = false;
}

void Recordset::AggiungiDaRecord(const Recordset &da)
{
    AddNew();
    for (size_t i = 0; i < m_campi.size(); ++i) {
        const Campo &f = m_campi[i];
        if (f.base < 0) continue;
        const int j = da.m_nomi.trova(f.info.nome);
        if (j < 0) continue;
        m_buffer[i] = da.ValoreCampo(da.NomeCampo(j));
        m_scritto[i] = true;
    }
    Update();
}
