#pragma once
// One grid of the picking form: the rows of an updatable record set as a table, one column per
// field in select order. It behaves as the bound grid of the suite did: a typed value passes the
// cell rule before it is taken (the rule may refuse it, rewrite it or change another cell of the
// same row), the typed values of a row stay pending until the row is saved (leaving the row, F10,
// F9, the hand-over), and the save writes them into the record set (so into the staging table)
// and then tells the form, which runs what follows a saved row.
#include "variant.h"

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class Recordset;

// How a column of a grid is shown; the layouts of the three grids set it by field name or position.
struct ColonnaGriglia {
    QString campo;        // field name without its table
    QString intestazione; // heading; the field name until the layout gives one
    int larghezza = 0;    // pixels; 0 keeps the grid's own width
    bool bloccata = false;
    bool visibile = true;
    Qt::Alignment allineamento{}; // none: the grid's own (numbers right, texts left)
    QString formato;      // number format (a mask of UtilGenerali::MascheraNumero)
};

class ModelloGriglia : public QAbstractTableModel {
    Q_OBJECT
public:
    // Called before a typed text is taken into a cell: false refuses it (the cell keeps its
    // value); the rule may rewrite the text and set other cells of the row with ImpostaTesto.
    using RegolaCella = std::function<bool(int riga, const QString &campo, QString &testo)>;
    // Called once a row has been written into the record set.
    using RigaSalvata = std::function<void(int riga)>;

    explicit ModelloGriglia(QObject *parent = nullptr);

    // Binds the record set (nullptr unbinds: done before its alias is closed).
    void Imposta(Recordset *rs);
    Recordset *recordset() const { return m_rs; }
    void ImpostaRegola(RegolaCella regola) { m_regola = std::move(regola); }
    void ImpostaRigaSalvata(RigaSalvata salvata) { m_salvata = std::move(salvata); }
    // Cells locked by their row as well as by their column (nullptr: none).
    using CellaBloccata = std::function<bool(int riga, const QString &campo)>;
    void ImpostaCellaBloccata(CellaBloccata f) { m_cellaBloccata = std::move(f); }
    // Whether cells may be typed into at all (the grid's AllowUpdate).
    void ImpostaModificabile(bool si) { m_modificabile = si; }

    // The column of a field (letter case ignored; "T.Campo" or "Campo"), -1 when none.
    int Colonna(const QString &campo) const;
    ColonnaGriglia &colonna(int c) { return m_colonne.at(static_cast<size_t>(c)); }
    const ColonnaGriglia &colonna(int c) const { return m_colonne.at(static_cast<size_t>(c)); }
    // Tells the views that the column settings changed.
    void LayoutCambiato();

    // The value of a cell as the grid holds it: a pending text, else the stored value.
    Variant Valore(int riga, const QString &campo) const;
    // The cell's text as the grid shows it while editing (no thousands separators).
    QString Testo(int riga, const QString &campo) const;
    // Sets the cell's text as pending, without a rule (a rule or a key handler setting a cell).
    void ImpostaTesto(int riga, const QString &campo, const QString &testo);

    // The row with pending texts, -1 when none.
    int RigaInModifica() const { return m_rigaInModifica; }
    // Writes the pending texts into the record set and tells the form; false when nothing was
    // pending. A write the database refuses raises, with the pending texts dropped.
    bool SalvaRiga();
    // Drops the pending texts.
    void AnnullaRiga();
    // The stored rows were changed behind the grid (a click toggle, a follow-up statement).
    void Rinfresca();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QString testoVisto(int riga, int col, bool modifica) const;

    Recordset *m_rs = nullptr;
    std::vector<ColonnaGriglia> m_colonne;
    RegolaCella m_regola;
    RigaSalvata m_salvata;
    CellaBloccata m_cellaBloccata;
    bool m_modificabile = false;
    int m_rigaInModifica = -1;
    std::map<int, QString> m_pendenti; // column -> text typed
    bool m_inSalvataggio = false;
};
