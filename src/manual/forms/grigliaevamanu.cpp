#include "grigliaevamanu.h"

#include "modellogriglia.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

GrigliaEvaManu::GrigliaEvaManu(int indice, QWidget *parent)
    : QTableView(parent), m_indice(indice), m_modello(new ModelloGriglia(this))
{
    setObjectName(QStringLiteral("dbgLista"));
    setProperty("Index", indice);
    setModel(m_modello);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // a double click belongs to the form (quantity from dimensions), not to the editor
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    QFont titoli = horizontalHeader()->font();
    titoli.setBold(true);
    horizontalHeader()->setFont(titoli);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(m_modello, &QAbstractItemModel::layoutChanged, this, &GrigliaEvaManu::ApplicaColonne);
    connect(m_modello, &QAbstractItemModel::modelReset, this, &GrigliaEvaManu::ApplicaColonne);
}

void GrigliaEvaManu::ApplicaColonne()
{
    for (int c = 0; c < m_modello->columnCount(); ++c) {
        const ColonnaGriglia &col = m_modello->colonna(c);
        setColumnHidden(c, !col.visibile);
        if (col.larghezza > 0)
            setColumnWidth(c, col.larghezza);
    }
}

void GrigliaEvaManu::ChiudiEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    QWidget *editor = QApplication::focusWidget();
    if (editor && isAncestorOf(editor)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

int GrigliaEvaManu::LarghezzaIntera() const
{
    int larghezza = 2 * frameWidth() + verticalHeader()->sizeHint().width() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < m_modello->columnCount(); ++c)
        if (!isColumnHidden(c))
            larghezza += columnWidth(c);
    return larghezza;
}

int GrigliaEvaManu::RigaCorrente() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void GrigliaEvaManu::VaiAColonna(int colonna)
{
    if (colonna < 0 || colonna >= m_modello->columnCount() || m_modello->rowCount() == 0)
        return;
    const int riga = RigaCorrente() < 0 ? 0 : RigaCorrente();
    setCurrentIndex(m_modello->index(riga, colonna));
}

void GrigliaEvaManu::keyReleaseEvent(QKeyEvent *e)
{
    QTableView::keyReleaseEvent(e);
    if (!e->isAutoRepeat())
        emit tastoRilasciato(e->key());
}

void GrigliaEvaManu::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (previous.isValid() && (!current.isValid() || current.row() != previous.row()))
        emit rigaLasciata(previous.row());
}
