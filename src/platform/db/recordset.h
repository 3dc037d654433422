#pragma once
// One open record set: the rows of a statement read at opening (so the count is exact and the
// set can be walked both ways), fields found by the suite's names, and, for an updatable set,
// writes that go to each field's own base table by its primary key, checked against the values
// read (a row changed by another user since is refused with 3197, not overwritten).
#include "celle.h"
#include "criterio.h"
#include "motoredb.h"
#include "nomicampi.h"
#include "tipicampo.h"
#include "traduttoresql.h"
#include "variant.h"

#include <QString>
#include <QVariant>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class TabellaCatalogo;

class Connessione;
class IstruzioniSqlite;

// The mark of a cell of a row added by the set whose value the table has not given yet.
struct CampoDaRileggere {};
inline constexpr QMetaType kDaRileggere = QMetaType::fromType<CampoDaRileggere>();
inline bool daRileggere(const QVariant &v) { return v.data_ptr().typeInterface() == kDaRileggere.iface(); }

// A stored value that is Null; the flag alone, as the engines give Null as a typed null value.
inline bool cellaNulla(const QVariant &v) { return v.data_ptr().is_null; }

// Record-set types of the suite.
inline constexpr int16_t dbOpenDynaset = 2;  // updatable
inline constexpr int16_t dbOpenSnapshot = 4; // read-only

class Recordset {
public:
    Recordset(std::shared_ptr<Connessione> connessione, const QString &sql, int16_t tipo);
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // --- navigation
    bool NessunRecord() const { return righe() == 0; }
    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    int32_t RecordCount() const { return righe(); }
    // 0-based position of the current row; -1 when there is none.
    int32_t AbsolutePosition() const;
    void VaiAPosizione(int32_t posizione);
    // The first row that meets the criterion (the suite's expression syntax); NoMatch tells
    // whether one did. Without a match the current row does not move.
    void FindFirst(const QString &criterio);
    void FindNext(const QString &criterio);
    bool NoMatch() const { return m_nessunaCorrispondenza; }

    // --- fields
    // The field of the current row, Null given as the neutral value of the field's type (or of
    // the type code when given: 2, 3, 5, 7, 8 ...); an absent field or no current row gives the
    // neutral value too (Empty without a type code). A name two fields share raises 3265.
    Variant LeggiCampo(QStringView campo, int16_t tipo = 0) const;
    // The field as stored, Null kept; Empty where LeggiCampo gives a neutral value for an absent
    // field or row.
    Variant ValoreCampo(QStringView campo) const;
    int FieldsCount() const { return static_cast<int>(m_f->campi.size()); }
    QString NomeCampo(int i) const;
    TipoCampo TipoDelCampo(int i) const;
    bool EsisteCampo(QStringView campo) const { return m_f->nomi.trova(campo) >= 0; }
    Variant Valore(int riga, int colonna) const;

    // --- writes (type 2 only; a read-only set raises 3027)
    void AddNew();
    void Edit();
    // Null, or "" and Empty into a field that is not text, store Null; into a text field "" stores
    // the empty text and a Null text read with LeggiCampo stores Null again. An unknown or
    // ambiguous field raises 3265.
    void ScriviCampo(QStringView campo, const Variant &valore);
    void Update();
    void CancelUpdate();
    void Delete();
    // Makes the row last stored the current row.
    void VaiUltimoModificato();
    bool InModifica() const { return m_modo != Modo::Nessuno; }

    // Appends the current row of another set as a new row of this one, field by field where
    // this set has a field of the same name.
    void AggiungiDaRecord(const Recordset &da);

private:
    enum class Modo : uint8_t { Nessuno, Modifica, Nuovo };

    struct Campo {
        ColonnaRisultato info;
        TipoCampo tipo = TipoCampo::Sconosciuto;
        int base = -1;        // index of the base table a write goes to
    };
    struct Base {
        QString fonte;        // table or alias in the statement
        QString tabella;      // the table itself
        std::vector<int> colonne;      // fields of the set from this table
        std::vector<int> chiave;       // for each key column, the field holding it (-1 missing)
        std::vector<QString> nomiChiave;
        std::shared_ptr<const TabellaCatalogo> catalogo;
    };

    int righe() const { return m_celle.righe(); }
    // The stored value of a cell; a row added by this set is read back from its table the first
    // time a field it did not write is wanted.
    const QVariant &cella(int riga, int col) const
    {
        const QVariant &v = m_celle.cella(riga, col);
        if (!m_rinvii || !daRileggere(v)) return v;
        rileggi(riga);
        return m_celle.cella(riga, col);
    }
    void rileggi(int riga) const;
    bool haRigaCorrente() const { return m_pos >= 0 && m_pos < righe() && !m_correnteEliminata; }
    int campo(QStringView nome) const; // raises 3265 when ambiguous; -1 when absent
    // The field's value on the current row, or in the row being edited; Empty when there is no
    // row (nothing read past the end fails).
    Variant valore(int c) const;
    void leggi(const QString &sql);
    void leggiSqlite(const Traduzione &t, IstruzioniSqlite &letture);
    void leggiPg(const Traduzione &t, Connessione &c);
    // `nome(i)` the engine's name of column i; `meta(i)` its Qt type (PostgreSQL).
    void preparaCampi(const Traduzione &t, int n, const std::function<QString(int)> &nome,
                      const std::function<QMetaType(int)> &meta);
    void richiediAggiornabile() const;
    Connessione &conn() const;
    void scriviBase(int base, bool nuovo, QVariant *riga);
    bool cercaDa(int inizio);

    std::weak_ptr<Connessione> m_connessione;
    MotoreDb m_motore = MotoreDb::SQLite;
    int16_t m_tipo = dbOpenSnapshot;
    int m_colonne = 0;
    // Mutable: a row added is completed from its table on first read.
    mutable CelleRighe m_celle;
    bool m_rinvii = false; // some row added has fields still to read back

    int m_pos = 0;
    bool m_correnteEliminata = false;
    bool m_nessunaCorrispondenza = false;
    int m_ultimoModificato = -1;

    Modo m_modo = Modo::Nessuno;
    std::vector<Variant> m_buffer;
    std::vector<QVariant> m_legati; // the written values as the engine takes them
    std::vector<bool> m_scritto;
    std::vector<int> m_scritti;     // the fields written since AddNew or Edit
    void iniziaScrittura(Modo modo);
    void segnaScritto(int c);

    // The statements of a base table's writes, by the fields written.
    struct Piano {
        int base = -1;
        bool nuovo = false;
        std::vector<int> scritti;  // the base's fields written, in order: the pattern the plan is for
        std::vector<int> nulli;    // a change's fields read as Null, checked with IS NULL
        QString sql;
        class QSqlQuery *query = nullptr; // prepared on the connection, while its statements last
        uint64_t generazione = 0;
        // Where each value goes in the row kept: written or read-back field, and every field
        // of the set holding the same column.
        std::vector<std::pair<int, int>> copieScritte, copieRitorno, copieRinviate, copieNulle;
        std::vector<int> scritte;  // fields bound as values, in order
        std::vector<int> ritorno;  // fields read back at once (RETURNING), in order
        std::vector<int> rinviate; // fields of a new row read back on first use
        std::vector<int> nulle;    // fields of a new row that are Null without reading them
        std::vector<int> controllo; // fields checked against their value as read
    };
    Piano &piano(int base, bool nuovo);
    std::vector<int> m_scrittiBase; // scratch: the written fields of one base
    struct NomeRecente {
        const QChar *indirizzo = nullptr;
        QString nome;
        int campo = -1;
    };
    // What follows from the statement's columns alone: the fields, their base tables, the names,
    // the write plans. On SQLite it is shared by every set read through the same prepared
    // statement of the connection, so a statement read again and again is described once.
    struct Forma {
        std::vector<Campo> campi;
        std::vector<Base> basi;
        IndiceNomi nomi;
        std::vector<std::unique_ptr<Piano>> piani;
        // Field positions of the names asked so far, by their exact spelling; the names a walk
        // asks again and again (the same texts at the same addresses) are found first by address.
        std::unordered_map<QString, int, HashVista, std::equal_to<>> nomiVisti;
        std::array<NomeRecente, 256> recenti;
    };
    std::shared_ptr<Forma> m_f;

    QString m_ultimoCriterio;
    std::unique_ptr<Criterio> m_criterio;
};
