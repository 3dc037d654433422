#include "modellogriglia.h"

#include "recordset.h"
#include "textcompare.h"
#include "utilgenerali.h"

namespace {

QString nomeSemplice(const QString &nome)
{
    const qsizetype punto = nome.lastIndexOf(QLatin1Char('.'));
    return punto < 0 ? nome : nome.mid(punto + 1);
}

// The value a typed text stands for in a field of the type.
Variant valoreDaTesto(const QString &testo, TipoCampo tipo)
{
    if (eNumero(tipo))
        return testo.trimmed().isEmpty() ? Variant::null() : Variant(UtilGenerali::ValoreNumerico(Variant(testo), true));
    if (eData(tipo))
        return UtilGenerali::ValoreData(Variant(testo), true);
    return Variant(testo);
}

} // namespace

ModelloGriglia::ModelloGriglia(QObject *parent) : QAbstractTableModel(parent) {}

void ModelloGriglia::Imposta(Recordset *rs)
{
    beginResetModel();
    m_rs = rs;
    m_pendenti.clear();
    m_rigaInModifica = -1;
    m_colonne.clear();
    if (m_rs) {
        for (int c = 0; c < m_rs->FieldsCount(); ++c) {
            ColonnaGriglia col;
            col.campo = nomeSemplice(m_rs->NomeCampo(c));
            col.intestazione = col.campo;
            m_colonne.push_back(col);
        }
    }
    endResetModel();
}

int ModelloGriglia::Colonna(const QString &campo) const
{
    if (!m_rs)
        return -1;
    const QString semplice = nomeSemplice(campo);
    const bool qualificato = semplice.size() != campo.size();
    for (int c = 0; c < static_cast<int>(m_colonne.size()); ++c) {
        if (qualificato ? textEquals(m_rs->NomeCampo(c), campo) || textEquals(m_colonne[static_cast<size_t>(c)].campo, campo)
                        : textEquals(m_colonne[static_cast<size_t>(c)].campo, semplice))
            return c;
    }
    return -1;
}

void ModelloGriglia::LayoutCambiato()
{
    if (!m_colonne.empty())
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_colonne.size()) - 1);
    emit layoutChanged();
}

Variant ModelloGriglia::Valore(int riga, const QString &campo) const
{
    const int c = Colonna(campo);
    if (c < 0 || riga < 0 || riga >= rowCount())
        return {};
    if (riga == m_rigaInModifica) {
        const auto it = m_pendenti.find(c);
        if (it != m_pendenti.end())
            return valoreDaTesto(it->second, m_rs->TipoDelCampo(c));
    }
    return m_rs->Valore(riga, c);
}

QString ModelloGriglia::Testo(int riga, const QString &campo) const
{
    const int c = Colonna(campo);
    return c < 0 || riga < 0 || riga >= rowCount() ? QString() : testoVisto(riga, c, true);
}

void ModelloGriglia::ImpostaTesto(int riga, const QString &campo, const QString &testo)
{
    const int c = Colonna(campo);
    if (c < 0 || riga < 0 || riga >= rowCount())
        return;
    if (m_rigaInModifica != riga) {
        // a grid holds the edits of one row at a time
        SalvaRiga();
        m_rigaInModifica = riga;
    }
    m_pendenti[c] = testo;
    emit dataChanged(index(riga, c), index(riga, c));
}

bool ModelloGriglia::SalvaRiga()
{
    if (m_inSalvataggio || m_rigaInModifica < 0 || m_pendenti.empty() || !m_rs) {
        m_rigaInModifica = m_pendenti.empty() ? -1 : m_rigaInModifica;
        return false;
    }
    m_inSalvataggio = true;
    const int riga = m_rigaInModifica;
    const std::map<int, QString> pendenti = std::move(m_pendenti);
    m_pendenti.clear();
    m_rigaInModifica = -1;
    try {
        m_rs->VaiAPosizione(riga);
        m_rs->Edit();
        for (const auto &[c, testo] : pendenti)
            m_rs->ScriviCampo(m_colonne[static_cast<size_t>(c)].campo, valoreDaTesto(testo, m_rs->TipoDelCampo(c)));
        m_rs->Update();
    } catch (...) {
        if (m_rs->InModifica())
            m_rs->CancelUpdate();
        m_inSalvataggio = false;
        emit dataChanged(index(riga, 0), index(riga, columnCount() - 1));
        throw;
    }
    m_inSalvataggio = false;
    emit dataChanged(index(riga, 0), index(riga, columnCount() - 1));
    if (m_salvata)
        m_salvata(riga);
    return true;
}

void ModelloGriglia::AnnullaRiga()
{
    const int riga = m_rigaInModifica;
    m_pendenti.clear();
    m_rigaInModifica = -1;
    if (riga >= 0 && riga < rowCount())
        emit dataChanged(index(riga, 0), index(riga, columnCount() - 1));
}

void ModelloGriglia::Rinfresca()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int ModelloGriglia::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_rs ? 0 : m_rs->RecordCount();
}

int ModelloGriglia::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_colonne.size());
}

QString ModelloGriglia::testoVisto(int riga, int col, bool modifica) const
{
    if (riga == m_rigaInModifica) {
        const auto it = m_pendenti.find(col);
        if (it != m_pendenti.end()) {
            if (modifica)
                return it->second;
            const Variant v = valoreDaTesto(it->second, m_rs->TipoDelCampo(col));
            const QString &formato = m_colonne[static_cast<size_t>(col)].formato;
            return v.isNumber() && !formato.isEmpty() ? UtilGenerali::FormattaValore(v, formato) : it->second;
        }
    }
    const Variant v = m_rs->Valore(riga, col);
    if (v.isBlank())
        return {};
    if (v.isDate())
        return UtilGenerali::FormattaValore(v, QStringLiteral("dd/mm/yyyy"));
    const QString &formato = m_colonne[static_cast<size_t>(col)].formato;
    if (v.isNumber() && !formato.isEmpty() && !modifica)
        return UtilGenerali::FormattaValore(v, formato);
    return v.toString();
}

QVariant ModelloGriglia::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_rs || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return testoVisto(index.row(), index.column(), false);
    case Qt::EditRole:
        return testoVisto(index.row(), index.column(), true);
    case Qt::TextAlignmentRole: {
        const Qt::Alignment a = m_colonne[static_cast<size_t>(index.column())].allineamento;
        if (a)
            return QVariant::fromValue(a);
        return QVariant::fromValue(eNumero(m_rs->TipoDelCampo(index.column())) ? Qt::AlignRight | Qt::AlignVCenter
                                                                                : Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

bool ModelloGriglia::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int riga = index.row();
    const QString campo = m_colonne[static_cast<size_t>(index.column())].campo;
    QString testo = value.toString();
    if (testo == testoVisto(riga, index.column(), true) && m_rigaInModifica != riga)
        return true; // left unchanged: nothing to save
    if (m_rigaInModifica != riga) {
        SalvaRiga();
        m_rigaInModifica = riga;
    }
    if (m_regola && !m_regola(riga, campo, testo))
        return false;
    m_pendenti[index.column()] = testo;
    emit dataChanged(this->index(riga, 0), this->index(riga, columnCount() - 1));
    return true;
}

QVariant ModelloGriglia::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < static_cast<int>(m_colonne.size()))
        return m_colonne[static_cast<size_t>(section)].intestazione;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ModelloGriglia::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_modificabile && !m_colonne[static_cast<size_t>(index.column())].bloccata &&
        !(m_cellaBloccata && m_cellaBloccata(index.row(), m_colonne[static_cast<size_t>(index.column())].campo)))
        f |= Qt::ItemIsEditable;
    return f;
}
