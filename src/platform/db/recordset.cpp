#include "recordset.h"

#include "connessione.h"
#include "currency.h"
#include "errori.h"
#include "esecuzione.h"
#include "istruzionisqlite.h"
#include "valoricampo.h"

#include <QSqlField>
#include <QSqlRecord>

namespace {

// Whether a value to write stores what the cell read holds: the same engine type and value (a
// currency compared as an amount; a date and time never, as the drivers give it in another zone).
bool stessoValore(const QVariant &scritto, const QVariant &letto, TipoCampo tipo)
{
    const bool a = valoreLegatoNullo(scritto), b = valoreLegatoNullo(letto);
    if (a || b) return a == b;
    const auto intero = [](const QVariant &v) {
        switch (v.typeId()) {
        case QMetaType::Int: case QMetaType::LongLong: case QMetaType::Short: case QMetaType::UInt:
        case QMetaType::UShort: return true;
        default: return false;
        }
    };
    if (intero(scritto) && intero(letto)) return scritto.toLongLong() == letto.toLongLong();
    if (scritto.typeId() == QMetaType::Double && letto.typeId() == QMetaType::QString) {
        // ODBC gives a double as text, in the server's exact shortest form
        bool ok = false;
        const double d = letto.toString().toDouble(&ok);
        return ok && d == scritto.toDouble();
    }
    if (scritto.typeId() != letto.typeId()) return false;
    switch (scritto.typeId()) {
    case QMetaType::QString:
        if (tipo == TipoCampo::Valuta) {
            const auto x = Currency::parse(scritto.toString()), y = Currency::parse(letto.toString());
            return x && y && x->units() == y->units();
        }
        return scritto.toString() == letto.toString();
    case QMetaType::Double: return scritto.toDouble() == letto.toDouble();
    case QMetaType::QDate: return scritto.toDate() == letto.toDate();
    case QMetaType::Bool: return scritto.toBool() == letto.toBool();
    default: return false;
    }
}

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
    if (IstruzioniSqlite *letture = c.istruzioniSqlite()) {
        leggiSqlite(*t, *letture);
        return;
    }
    // A set that never has a row is described once; then opened without a round trip.
    std::shared_ptr<void> *senzaRighe = t->senzaRighe ? &c.formaSenzaRighe(t->sql) : nullptr;
    if (senzaRighe && *senzaRighe) {
        m_f = std::static_pointer_cast<Forma>(*senzaRighe);
        m_colonne = static_cast<int>(m_f->campi.size());
        m_celle.imposta(m_colonne);
        return;
    }
    if (c.viaLibpq()) {
        leggiPg(*t, c);
    } else {
        QSqlQuery q = c.nuovaQuery();
        c.eseguiIstruzione(q, false, &t->sql);
        const QSqlRecord r = q.record();
        m_f = std::make_shared<Forma>();
        preparaCampi(*t, r.count(), [&](int i) { return r.fieldName(i); }, [&](int i) { return r.field(i).metaType(); });
        m_celle.imposta(m_colonne);
        const int n = m_colonne;
        while (q.next()) {
            QVariant *riga = m_celle.aggiungi();
            for (int i = 0; i < n; ++i)
                riga[i] = q.value(i);
        }
        q.finish();
    }
    if (senzaRighe && righe() == 0) *senzaRighe = m_f;
}

void Recordset::leggiPg(const Traduzione &t, Connessione &c)
{
    IstruzioniPg::Istruzione *istr = nullptr;
    const RisultatoPg r = c.eseguiPg(t.sql, false, false, &istr);
    const int n = r.colonne();
    m_f = std::static_pointer_cast<Forma>(istr->forma);
    if (!m_f || static_cast<int>(m_f->campi.size()) != n) {
        m_f = std::make_shared<Forma>();
        preparaCampi(t, n, [&](int i) { return r.nome(i); }, [&](int i) { return r.meta(i); });
        istr->forma = m_f;
    }
    m_colonne = n;
    m_celle.imposta(n);
    const int righe = r.righe();
    for (int k = 0; k < righe; ++k) {
        QVariant *riga = m_celle.aggiungi();
        for (int i = 0; i < n; ++i)
            riga[i] = r.valore(k, i);
    }
}

void Recordset::leggiSqlite(const Traduzione &t, IstruzioniSqlite &letture)
{
    const TestoLegato legato = legaLetterali(t.sql);
    IstruzioniSqlite::Lettura &l = letture.prepara(legato.sql);
    const int n = numeroColonne(l.stmt);
    m_f = std::static_pointer_cast<Forma>(l.forma);
    if (!m_f || static_cast<int>(m_f->campi.size()) != n) {
        m_f = std::make_shared<Forma>();
        preparaCampi(t, n, [&](int i) { return nomeColonna(l.stmt, i); }, [](int) { return QMetaType(); });
        l.forma = m_f;
    }
    m_colonne = n;
    m_celle.imposta(n);
    letture.leggi(l, legato.valori, [&](sqlite3_stmt *s) {
        QVariant *riga = m_celle.aggiungi();
        for (int i = 0; i < n; ++i)
            riga[i] = valoreColonna(s, i);
    });
}

void Recordset::preparaCampi(const Traduzione &t, int n, const std::function<QString(int)> &nome,
                             const std::function<QMetaType(int)> &meta)
{
    m_colonne = n;
    const std::vector<ColonnaRisultato> colonne = t.colonneNote ? colonneRisultato(t) : std::vector<ColonnaRisultato>();
    bool noti = t.colonneNote && static_cast<int>(colonne.size()) == n;
    std::vector<QString> nomi(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) nomi[static_cast<size_t>(i)] = nome(i);
    // The statement's own description must agree with what the engine returned.
    for (int i = 0; noti && i < n; ++i) {
        const ColonnaRisultato &c = colonne[static_cast<size_t>(i)];
        const QString &atteso = c.qualificatore.isEmpty() ? c.nome : c.colonnaBase;
        if (!atteso.isEmpty() && !stessoNome(atteso, nomi[static_cast<size_t>(i)]))
            noti = false;
    }
    m_f->campi.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        Campo &c = m_f->campi[static_cast<size_t>(i)];
        if (noti) c.info = colonne[static_cast<size_t>(i)];
        if (c.info.nome.isEmpty()) c.info.nome = nomi[static_cast<size_t>(i)];
        c.tipo = c.info.tipo;
        if (c.tipo == TipoCampo::Sconosciuto && m_motore == MotoreDb::PostgreSQL)
            c.tipo = tipoDaMeta(meta(i));
        m_f->nomi.aggiungi(c.info.qualificatore, c.info.nome);
    }
    // The base tables that writes go to: one per table (or alias) of the statement.
    Connessione &cn = conn();
    for (int i = 0; i < n; ++i) {
        Campo &c = m_f->campi[static_cast<size_t>(i)];
        if (c.info.tabellaBase.isEmpty()) continue;
        int b = -1;
        for (size_t k = 0; k < m_f->basi.size(); ++k)
            if (stessoNome(m_f->basi[k].fonte, c.info.fonte) && stessoNome(m_f->basi[k].tabella, c.info.tabellaBase))
                b = static_cast<int>(k);
        if (b < 0) {
            Base nuova;
            nuova.fonte = c.info.fonte;
            nuova.tabella = c.info.tabellaBase;
            nuova.catalogo = cn.catalogo().tabella(nuova.tabella);
            if (nuova.catalogo)
                for (int k : nuova.catalogo->chiave())
                    nuova.nomiChiave.push_back(nuova.catalogo->colonne()[static_cast<size_t>(k)].nome);
            nuova.chiave.assign(nuova.nomiChiave.size(), -1);
            m_f->basi.push_back(std::move(nuova));
            b = static_cast<int>(m_f->basi.size()) - 1;
        }
        Base &base = m_f->basi[static_cast<size_t>(b)];
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
        return [this, riga](int c) { return daMotore(cella(riga, c), m_f->campi[static_cast<size_t>(c)].tipo); };
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
        c->collega([this](QStringView nome) { return m_f->nomi.trova(nome); });
        m_criterio = std::move(c);
    }
    cercaDa(0);
}

void Recordset::FindNext(const QString &criterio)
{
    if (!m_criterio || m_criterio->testo() != criterio) {
        auto c = std::make_unique<Criterio>(criterio);
        c->collega([this](QStringView nome) { return m_f->nomi.trova(nome); });
        m_criterio = std::move(c);
    }
    cercaDa(haRigaCorrente() ? m_pos + 1 : (m_correnteEliminata ? m_pos : 0));
}

// ------------------------------------------------------------------ fields

int Recordset::campo(QStringView nome) const
{
    const uint64_t indirizzo = reinterpret_cast<uintptr_t>(nome.data()) ^ static_cast<uint64_t>(nome.size());
    NomeRecente &r = m_f->recenti[static_cast<size_t>((indirizzo * 0x9E3779B97F4A7C15ull) >> 56)];
    int i;
    if (r.indirizzo == nome.data() && QStringView(r.nome) == nome) {
        i = r.campo;
    } else {
        const auto visto = m_f->nomiVisti.find(nome);
        if (visto != m_f->nomiVisti.end()) {
            i = visto->second;
        } else {
            i = m_f->nomi.trova(nome);
            if (m_f->nomiVisti.size() < 512) m_f->nomiVisti.emplace(nome.toString(), i);
        }
        r.indirizzo = nome.data();
        r.nome.resize(nome.size()); // keeps the slot's storage when it is large enough
        std::copy(nome.begin(), nome.end(), r.nome.begin());
        r.campo = i;
    }
    if (i == IndiceNomi::Ambiguo)
        throw erroreDb(ErrDb::ElementoNonTrovato,
                       QStringLiteral("%1 (più tabelle hanno un campo con questo nome: indicare la tabella)").arg(nome));
    return i;
}

QString Recordset::NomeCampo(int i) const
{
    const Campo &c = m_f->campi.at(static_cast<size_t>(i));
    return c.info.qualificatore.isEmpty() ? c.info.nome : c.info.qualificatore + QLatin1Char('.') + c.info.nome;
}

TipoCampo Recordset::TipoDelCampo(int i) const { return m_f->campi.at(static_cast<size_t>(i)).tipo; }

Variant Recordset::Valore(int riga, int colonna) const
{
    return daMotore(cella(riga, colonna), m_f->campi.at(static_cast<size_t>(colonna)).tipo);
}

Variant Recordset::valore(int c) const
{
    const size_t k = static_cast<size_t>(c);
    if (m_modo != Modo::Nessuno) {
        if (m_scritto[k]) return m_buffer[k];
        if (m_modo == Modo::Nuovo) return Variant::null();
    }
    if (m_correnteEliminata)
        throw erroreDb(ErrDb::RecordEliminato);
    if (!haRigaCorrente())
        return Variant();
    return daMotore(cella(m_pos, c), m_f->campi[k].tipo);
}

Variant Recordset::ValoreCampo(QStringView nome) const
{
    const int c = campo(nome);
    return c < 0 ? Variant() : valore(c);
}

Variant Recordset::LeggiCampo(QStringView nome, int16_t tipo) const
{
    const int c = campo(nome);
    if (c < 0)
        return tipo ? neutroCodice(tipo) : Variant();
    Variant v = valore(c);
    if (v.isEmpty())
        return tipo ? neutroCodice(tipo) : v;
    if (v.isNull())
        return tipo ? neutroCodice(tipo) : neutro(m_f->campi[static_cast<size_t>(c)].tipo);
    return v;
}

// ------------------------------------------------------------------ writes

void Recordset::richiediAggiornabile() const
{
    if (m_tipo != dbOpenDynaset)
        throw erroreDb(ErrDb::SolaLettura);
}

// Only the fields written last time are cleared: a wide set writing a few fields a row pays
// for those few.
void Recordset::iniziaScrittura(Modo modo)
{
    if (m_scritto.size() != m_f->campi.size()) {
        m_buffer.assign(m_f->campi.size(), Variant::null());
        m_legati.assign(m_f->campi.size(), QVariant());
        m_scritto.assign(m_f->campi.size(), false);
    } else {
        for (int c : m_scritti) {
            const size_t k = static_cast<size_t>(c);
            m_buffer[k] = Variant::null();
            m_legati[k] = QVariant();
            m_scritto[k] = false;
        }
    }
    m_scritti.clear();
    m_modo = modo;
}

void Recordset::segnaScritto(int c)
{
    if (!m_scritto[static_cast<size_t>(c)]) {
        m_scritto[static_cast<size_t>(c)] = true;
        m_scritti.push_back(c);
    }
}

void Recordset::AddNew()
{
    richiediAggiornabile();
    iniziaScrittura(Modo::Nuovo);
}

void Recordset::Edit()
{
    richiediAggiornabile();
    if (!haRigaCorrente())
        throw erroreDb(ErrDb::NessunRecordCorrente);
    iniziaScrittura(Modo::Modifica);
}

void Recordset::ScriviCampo(QStringView nome, const Variant &valore)
{
    if (m_modo == Modo::Nessuno)
        throw erroreDb(ErrDb::SenzaAddNewEdit);
    const int c = campo(nome);
    if (c < 0)
        throw erroreDb(ErrDb::ElementoNonTrovato, nome.toString());
    const Campo &f = m_f->campi[static_cast<size_t>(c)];
    if (f.base < 0)
        throw erroreDb(ErrDb::SolaLettura, nome.toString());
    // A value the field cannot hold fails here, as on assignment.
    m_legati[static_cast<size_t>(c)] = versoMotore(valore, f.tipo, m_motore);
    m_buffer[static_cast<size_t>(c)] = valore;
    segnaScritto(c);
}

void Recordset::CancelUpdate() { m_modo = Modo::Nessuno; }

Recordset::Piano &Recordset::piano(int indiceBase, bool nuovo)
{
    const Base &b = m_f->basi[static_cast<size_t>(indiceBase)];
    // A plan is for the base, the kind of write, the fields written and, for a change, the
    // fields read as Null (checked with IS NULL, not bound: a wide row is mostly Null).
    m_scrittiBase.clear();
    for (int c : m_scritti)
        if (m_f->campi[static_cast<size_t>(c)].base == indiceBase) m_scrittiBase.push_back(c);
    std::sort(m_scrittiBase.begin(), m_scrittiBase.end());
    const QVariant *letta = nuovo ? nullptr : m_celle.riga(m_pos);
    const auto nulla = [&](int i) { return cellaNulla(letta[i]); };
    const auto stesso = [&](const Piano &p) {
        return p.base == indiceBase && p.nuovo == nuovo && p.scritti == m_scrittiBase &&
               (nuovo || (std::all_of(p.nulli.begin(), p.nulli.end(), nulla) && std::none_of(p.controllo.begin(), p.controllo.end(), nulla)));
    };
    for (size_t k = 0; k < m_f->piani.size(); ++k)
        if (stesso(*m_f->piani[k])) {
            if (k > 0) std::swap(m_f->piani[k], m_f->piani[0]); // the plan of the last write is tried first
            return *m_f->piani[0];
        }

    const auto base = [&](int i) -> const QString & { return m_f->campi[static_cast<size_t>(i)].info.colonnaBase; };
    // Each base column once (a statement may name a field twice, "T.*, T.Field"); the last
    // write of a doubled field wins.
    std::vector<int> colonne;
    for (int i : b.colonne) {
        bool doppia = false;
        for (int j : colonne)
            if (stessoNome(base(j), base(i))) doppia = true;
        if (!doppia) colonne.push_back(i);
    }
    auto nuovoPiano = std::make_unique<Piano>();
    Piano &p = *nuovoPiano;
    p.base = indiceBase;
    p.nuovo = nuovo;
    p.scritti = m_scrittiBase;
    // A new row's fields not written take the table's defaults. Found again by its key, the row
    // is read back only when one of them is wanted: most rows added are never read again. A key
    // field not written (or a table without a key among the fields) is read back at once.
    // A field the catalogue knows starts as Null (no default, no trigger) is not read at all.
    const bool chiaveLetta = !b.chiave.empty() && std::find(b.chiave.begin(), b.chiave.end(), -1) == b.chiave.end();
    const auto nullaSeTaciuta = [&](int i) {
        if (!b.catalogo || std::find(b.chiave.begin(), b.chiave.end(), i) != b.chiave.end()) return false;
        const int c = b.catalogo->indice(base(i));
        return c >= 0 && b.catalogo->colonne()[static_cast<size_t>(c)].nullaSeTaciuta;
    };
    for (int i : colonne) {
        int ultima = -1;
        for (int j : b.colonne)
            if (m_scritto[static_cast<size_t>(j)] && stessoNome(base(j), base(i))) ultima = j;
        if (ultima >= 0) p.scritte.push_back(ultima);
        else if (nuovo && nullaSeTaciuta(i)) p.nulle.push_back(i);
        else if (nuovo) (chiaveLetta ? p.rinviate : p.ritorno).push_back(i);
    }
    if (nuovo && chiaveLetta) {
        for (int k : b.chiave) {
            const auto it = std::find(p.rinviate.begin(), p.rinviate.end(), k);
            if (it != p.rinviate.end()) {
                p.rinviate.erase(it);
                p.ritorno.push_back(k);
            }
        }
    }
    if (nuovo) {
        p.sql = QStringLiteral("INSERT INTO ") + b.tabella;
        if (p.scritte.empty()) {
            p.sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            QString valori;
            p.sql += QStringLiteral(" (");
            for (size_t k = 0; k < p.scritte.size(); ++k) {
                if (k) {
                    p.sql += QStringLiteral(", ");
                    valori += QStringLiteral(", ");
                }
                p.sql += base(p.scritte[k]);
                valori += QLatin1Char('?');
            }
            p.sql += QStringLiteral(") VALUES (") + valori + QLatin1Char(')');
        }
        if (!p.ritorno.empty()) {
            p.sql += QStringLiteral(" RETURNING ");
            for (size_t k = 0; k < p.ritorno.size(); ++k) {
                if (k) p.sql += QStringLiteral(", ");
                p.sql += base(p.ritorno[k]);
            }
        }
    } else {
        for (size_t k = 0; k < b.chiave.size(); ++k)
            if (b.chiave[k] < 0)
                throw erroreDb(ErrDb::SolaLettura,
                               QStringLiteral("la chiave %1.%2 non è tra i campi letti").arg(b.tabella, b.nomiChiave[k]));
        if (b.chiave.empty())
            throw erroreDb(ErrDb::SolaLettura, QStringLiteral("la tabella %1 non ha chiave primaria").arg(b.tabella));
        p.sql = QStringLiteral("UPDATE ") + b.tabella + QStringLiteral(" SET ");
        for (size_t k = 0; k < p.scritte.size(); ++k) {
            if (k) p.sql += QStringLiteral(", ");
            p.sql += base(p.scritte[k]) + QStringLiteral(" = ?");
        }
        p.sql += QStringLiteral(" WHERE ");
        for (size_t k = 0; k < b.chiave.size(); ++k) {
            if (k) p.sql += QStringLiteral(" AND ");
            p.sql += base(b.chiave[k]) + QStringLiteral(" = ?");
        }
        // Every other field as read: a row changed by another user since is not overwritten.
        const QString uguale = m_motore == MotoreDb::SQLite ? QStringLiteral(" IS ?") : QStringLiteral(" IS NOT DISTINCT FROM ?");
        for (int i : colonne) {
            if (std::find(b.chiave.begin(), b.chiave.end(), i) != b.chiave.end()) continue;
            if (cellaNulla(cella(m_pos, i))) {
                p.sql += QStringLiteral(" AND ") + base(i) + QStringLiteral(" IS NULL");
                p.nulli.push_back(i);
            } else {
                p.sql += QStringLiteral(" AND ") + base(i) + uguale;
                p.controllo.push_back(i);
            }
        }
    }
    // The row kept holds what was written and read back, every copy of a doubled field included.
    const auto copie = [&](const std::vector<int> &da, std::vector<std::pair<int, int>> &dove) {
        for (int i : da)
            for (int j : b.colonne)
                if (j == i || stessoNome(base(j), base(i))) dove.emplace_back(i, j);
    };
    copie(p.scritte, p.copieScritte);
    copie(p.ritorno, p.copieRitorno);
    copie(p.rinviate, p.copieRinviate);
    copie(p.nulle, p.copieNulle);
    m_f->piani.insert(m_f->piani.begin(), std::move(nuovoPiano));
    return *m_f->piani.front();
}

void Recordset::scriviBase(int indiceBase, bool nuovo, QVariant *riga)
{
    Connessione &cn = conn();
    const Base &b = m_f->basi[static_cast<size_t>(indiceBase)];
    Piano &p = piano(indiceBase, nuovo);
    if (!p.query || p.generazione != cn.generazione()) {
        p.query = &cn.preparata(p.sql);
        p.generazione = cn.generazione();
    }
    QSqlQuery &q = *p.query;
    const size_t n = p.scritte.size() + (nuovo ? 0 : b.chiave.size() + p.controllo.size());
    QVariant *v = valoriLegati(q, static_cast<qsizetype>(n));
    for (int i : p.scritte) *v++ = m_legati[static_cast<size_t>(i)];
    if (!nuovo) {
        for (int i : b.chiave) *v++ = cella(m_pos, i);
        for (int i : p.controllo) *v++ = cella(m_pos, i);
    }
    if (cn.viaLibpq()) {
        const RisultatoPg r = cn.eseguiPg(p.sql, q.boundValues(), true);
        if (!nuovo && r.modificate() == 0)
            throw erroreDb(ErrDb::ModificatoDaAltri, b.tabella);
        if (!p.ritorno.empty() && r.righe() > 0)
            for (size_t k = 0; k < p.ritorno.size(); ++k) riga[static_cast<size_t>(p.ritorno[k])] = r.valore(0, static_cast<int>(k));
    } else {
        cn.eseguiIstruzione(q, true);
        if (!nuovo && q.numRowsAffected() == 0) {
            q.finish();
            throw erroreDb(ErrDb::ModificatoDaAltri, b.tabella);
        }
        if (!p.ritorno.empty() && q.next())
            for (size_t r = 0; r < p.ritorno.size(); ++r) riga[static_cast<size_t>(p.ritorno[r])] = q.value(static_cast<int>(r));
        q.finish();
    }
    for (const auto &[i, j] : p.copieScritte) riga[static_cast<size_t>(j)] = m_legati[static_cast<size_t>(i)];
    for (const auto &[i, j] : p.copieRitorno)
        if (i != j) riga[static_cast<size_t>(j)] = riga[static_cast<size_t>(i)];
    const QVariant nulla(QMetaType::fromType<QString>()); // Null, as the engines give it
    for (const auto &[i, j] : p.copieNulle) riga[static_cast<size_t>(j)] = nulla;
    const QVariant daLeggere(kDaRileggere);
    for (const auto &[i, j] : p.copieRinviate) riga[static_cast<size_t>(j)] = daLeggere;
    if (!p.copieRinviate.empty()) m_rinvii = true;
}

void Recordset::rileggi(int r) const
{
    Connessione &cn = conn();
    QVariant *riga = m_celle.riga(r);
    for (size_t ib = 0; ib < m_f->basi.size(); ++ib) {
        const Base &b = m_f->basi[ib];
        std::vector<int> colonne;
        for (int i : b.colonne)
            if (daRileggere(riga[i])) colonne.push_back(i);
        if (colonne.empty()) continue;
        QString sql = QStringLiteral("SELECT ");
        for (size_t k = 0; k < colonne.size(); ++k)
            sql += (k ? QStringLiteral(", ") : QString()) + m_f->campi[static_cast<size_t>(colonne[k])].info.colonnaBase;
        sql += QStringLiteral(" FROM ") + b.tabella + QStringLiteral(" WHERE ");
        for (size_t k = 0; k < b.chiave.size(); ++k)
            sql += (k ? QStringLiteral(" AND ") : QString()) + m_f->campi[static_cast<size_t>(b.chiave[k])].info.colonnaBase +
                   QStringLiteral(" = ?");
        QSqlQuery &q = cn.preparata(sql);
        QVariant *v = valoriLegati(q, static_cast<qsizetype>(b.chiave.size()));
        for (size_t k = 0; k < b.chiave.size(); ++k) v[k] = riga[b.chiave[k]];
        if (cn.viaLibpq()) {
            const RisultatoPg letti = cn.eseguiPg(sql, q.boundValues(), false);
            if (letti.righe() == 0)
                throw erroreDb(ErrDb::RecordEliminato, b.tabella);
            for (size_t k = 0; k < colonne.size(); ++k) riga[colonne[k]] = letti.valore(0, static_cast<int>(k));
            continue;
        }
        cn.eseguiIstruzione(q, false);
        if (!q.next()) {
            q.finish();
            throw erroreDb(ErrDb::RecordEliminato, b.tabella);
        }
        for (size_t k = 0; k < colonne.size(); ++k) riga[colonne[k]] = q.value(static_cast<int>(k));
        q.finish();
    }
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
    const int basi = static_cast<int>(m_f->basi.size());
    if (m_modo == Modo::Nuovo) {
        const bool allaFine = m_pos >= righe();
        // The row is written straight into its place, given up when a write fails.
        QVariant *riga = m_celle.aggiungi();
        try {
            bool fatto = false;
            for (int b = 0; b < basi; ++b)
                if (scritta(m_f->basi[static_cast<size_t>(b)])) {
                    scriviBase(b, true, riga);
                    fatto = true;
                }
            if (!fatto) {
                if (basi != 1) throw erroreDb(ErrDb::SolaLettura);
                scriviBase(0, true, riga);
            }
        } catch (...) {
            m_celle.togliUltima();
            throw;
        }
        m_ultimoModificato = righe() - 1;
        if (allaFine && !m_correnteEliminata) m_pos = righe();
    } else {
        if (!haRigaCorrente())
            throw erroreDb(ErrDb::NessunRecordCorrente);
        if (m_rinvii && std::any_of(m_celle.riga(m_pos), m_celle.riga(m_pos) + m_colonne, daRileggere))
            rileggi(m_pos); // the values to check are the table's
        // Each base table's fields take the values written once its statement has gone through;
        // a table whose fields were all given the values they hold is left alone.
        const auto cambiata = [&](const Base &b) {
            for (int i : b.colonne)
                if (m_scritto[static_cast<size_t>(i)] &&
                    !stessoValore(m_legati[static_cast<size_t>(i)], cella(m_pos, i), m_f->campi[static_cast<size_t>(i)].tipo))
                    return true;
            return false;
        };
        for (int b = 0; b < basi; ++b)
            if (scritta(m_f->basi[static_cast<size_t>(b)]) && cambiata(m_f->basi[static_cast<size_t>(b)]))
                scriviBase(b, false, m_celle.riga(m_pos));
        m_ultimoModificato = m_pos;
    }
    m_modo = Modo::Nessuno;
}

void Recordset::Delete()
{
    richiediAggiornabile();
    if (!haRigaCorrente())
        throw erroreDb(ErrDb::NessunRecordCorrente);
    if (m_f->basi.empty())
        throw erroreDb(ErrDb::SolaLettura);
    m_modo = Modo::Nessuno;
    const Base &b = m_f->basi.front();
    if (b.chiave.empty() || std::find(b.chiave.begin(), b.chiave.end(), -1) != b.chiave.end())
        throw erroreDb(ErrDb::SolaLettura, QStringLiteral("la chiave di %1 non è tra i campi letti").arg(b.tabella));
    QString sql = QStringLiteral("DELETE FROM ") + b.tabella + QStringLiteral(" WHERE ");
    for (size_t k = 0; k < b.chiave.size(); ++k) {
        if (k) sql += QStringLiteral(" AND ");
        sql += m_f->campi[static_cast<size_t>(b.chiave[k])].info.colonnaBase + QStringLiteral(" = ?");
    }
    Connessione &cn = conn();
    QSqlQuery &q = cn.preparata(sql);
    QVariant *v = valoriLegati(q, static_cast<qsizetype>(b.chiave.size()));
    for (size_t k = 0; k < b.chiave.size(); ++k) v[k] = cella(m_pos, b.chiave[k]);
    if (cn.viaLibpq()) {
        cn.eseguiPg(sql, q.boundValues(), true);
    } else {
        cn.eseguiIstruzione(q, true);
        q.finish();
    }
    m_celle.elimina(m_pos);
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
    for (size_t i = 0; i < m_f->campi.size(); ++i) {
        const Campo &f = m_f->campi[i];
        if (f.base < 0) continue;
        const int j = da.m_f->nomi.trova(f.info.nome);
        if (j < 0) continue;
        m_buffer[i] = da.ValoreCampo(da.NomeCampo(j));
        m_legati[i] = versoMotore(m_buffer[i], f.tipo, m_motore);
        segnaScritto(static_cast<int>(i));
    }
    Update();
}
