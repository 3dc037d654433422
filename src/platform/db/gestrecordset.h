#pragma once
// The record-set manager of the suite's library: record sets kept under text aliases, every
// operation addressed by alias. The program holds several managers (one per module or
// object); closing an alias, or dropping the manager, drops what was not stored.
#include "connessionedb.h"
#include "nomi.h"
#include "recordset.h"

#include <QString>
#include <array>
#include <memory>
#include <unordered_map>

class GestRecordset {
public:
    // The record set under the alias (3265 when there is none).
    ::Recordset &Recordset(const QString &alias) { return rs(alias); }

    GestRecordset() = default;
    ~GestRecordset();
    GestRecordset(const GestRecordset &) = delete;
    GestRecordset &operator=(const GestRecordset &) = delete;

    // Opens the statement under the alias ("" lets the manager choose one; an alias in use is
    // opened anew) and returns the alias. `tipo`: 2 updatable, 4 read-only.
    QString Apri(ConnessioneDb &connessione, const QString &nomeConn, const QString &alias, const QString &sql,
                 bool opzione = false, int16_t tipo = dbOpenSnapshot);
    // Opens the alias's record set anew on another statement, on the same connection.
    void Riapri(const QString &alias, const QString &sql, int16_t tipo = dbOpenDynaset);
    // Closes the alias; an unknown alias is no error (clean-up paths call it freely).
    void Chiudi(const QString &alias) noexcept;
    void ChiudiTutti() noexcept;
    bool Aperto(const QString &alias) const;

    bool NessunRecord(const QString &alias) const { return rs(alias).NessunRecord(); }
    bool Eof(const QString &alias) const { return rs(alias).Eof(); }
    bool Bof(const QString &alias) const { return rs(alias).Bof(); }
    void MoveFirst(const QString &alias) { rs(alias).MoveFirst(); }
    void MoveNext(const QString &alias) { rs(alias).MoveNext(); }
    void MovePrevious(const QString &alias) { rs(alias).MovePrevious(); }
    void MoveLast(const QString &alias) { rs(alias).MoveLast(); }
    int32_t RecordCount(const QString &alias) const { return rs(alias).RecordCount(); }
    int32_t AbsolutePosition(const QString &alias) const { return rs(alias).AbsolutePosition(); }
    void VaiAPosizione(const QString &alias, int32_t posizione) { rs(alias).VaiAPosizione(posizione); }
    void FindFirst(const QString &alias, const QString &criterio) { rs(alias).FindFirst(criterio); }
    void FindNext(const QString &alias, const QString &criterio) { rs(alias).FindNext(criterio); }
    bool NoMatch(const QString &alias) const { return rs(alias).NoMatch(); }

    Variant LeggiCampo(const QString &alias, QStringView campo, int16_t tipo = 0) const { return rs(alias).LeggiCampo(campo, tipo); }
    Variant ValoreCampo(const QString &alias, QStringView campo) const { return rs(alias).ValoreCampo(campo); }

    void AddNew(const QString &alias) { rs(alias).AddNew(); }
    void Edit(const QString &alias) { rs(alias).Edit(); }
    void ScriviCampo(const QString &alias, QStringView campo, const Variant &valore) { rs(alias).ScriviCampo(campo, valore); }
    void Update(const QString &alias) { rs(alias).Update(); }
    void CancelUpdate(const QString &alias) { rs(alias).CancelUpdate(); }
    void Delete(const QString &alias) { rs(alias).Delete(); }
    void VaiUltimoModificato(const QString &alias) { rs(alias).VaiUltimoModificato(); }

    // The current row of `aliasDa` added to `aliasA` (fields matched by name); 0 when done.
    int32_t AggiungiDaRecord(const QString &aliasDa, const QString &aliasA, bool = true, bool = true, bool = false);
    // Every row of `aliasDa` added to `aliasA`; 0 when done.
    int32_t CopiaDaRecord(const QString &aliasDa, const QString &aliasA, bool = true, bool = true, bool = true);

private:
    ::Recordset &rs(const QString &alias) const;

    struct Voce {
        std::unique_ptr<::Recordset> recordset;
        std::weak_ptr<Connessione> connessione;
    };
    std::unordered_map<QString, Voce, HashNome, UgualeNome> m_insiemi;
    // The last aliases used and their sets: a run reads field after field of the same few sets,
    // and a name compared is cheaper than one hashed ignoring case. Emptied by every open and close.
    struct Recente {
        QString alias;
        ::Recordset *recordset = nullptr;
    };
    mutable std::array<Recente, 4> m_recenti;
    mutable unsigned m_prossimo = 0;
    void dimenticaRecenti() noexcept;
};
