#pragma once
// A grid of the picking form on its model: floating cell editor, record selectors, one row
// selected at a time, arrows between cells, Tab out of the grid. Leaving a row saves its
// pending edits; the keys released in the grid, a click and a double click go to the form.
#include <QTableView>

class ModelloGriglia;

class GrigliaEvaManu : public QTableView {
    Q_OBJECT
public:
    GrigliaEvaManu(int indice, QWidget *parent = nullptr);

    int Indice() const { return m_indice; }
    ModelloGriglia &modello() const { return *m_modello; }
    // The column settings of the model applied to the view (widths, hidden columns).
    void ApplicaColonne();
    // An edit still open in a cell is taken into the row, as when the cell is left.
    void ChiudiEditor();
    // The width that shows every visible column whole: the columns, the record selectors, the
    // frame and a vertical scroll bar.
    int LarghezzaIntera() const;
    // The row of the current cell, -1 when none.
    int RigaCorrente() const;
    // Moves the current cell to the column in the current row (the first row when none).
    void VaiAColonna(int colonna);

signals:
    // The current row changed, with the row left.
    void rigaLasciata(int riga);
    void tastoRilasciato(int tasto);

protected:
    void keyReleaseEvent(QKeyEvent *e) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    int m_indice;
    ModelloGriglia *m_modello;
};
