#include "data/series/SeriesModels.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

// ---------------------------------------------------------------- texts

Series_String_Model::Series_String_Model(const QString& title, QObject* parent)
    : QAbstractTableModel(parent), m_title(title)
{
}

void Series_String_Model::setValues(const QStringList& values)
{
    beginResetModel();
    m_values = values;
    endResetModel();
}

void Series_String_Model::append(const QStringList& values)
{
    if (values.isEmpty())
        return;
    const int first = int(m_values.size());
    beginInsertRows(QModelIndex(), first, first + int(values.size()) - 1);
    m_values += values;
    endInsertRows();
}

void Series_String_Model::replaceAt(int row, const QString& value)
{
    if (row < 0 || row >= m_values.size())
        return;
    m_values[row] = value;
    emit dataChanged(index(row, 0), index(row, 0));
}

void Series_String_Model::removeRowsAt(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return;
    QStringList kept;
    kept.reserve(m_values.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (next < rows.size() && rows.at(next) == i) {
            ++next;
            continue;
        }
        kept << m_values.at(i);
    }
    setValues(kept);
}

int Series_String_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_values.size());
}

int Series_String_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant Series_String_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_values.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_values.at(index.row());
    return {};
}

QVariant Series_String_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return m_title;
    return {};
}

// ---------------------------------------------------------------- worksheet columns

Excel_Column_Model::Excel_Column_Model(bool withHeader, QObject* parent)
    : QAbstractTableModel(parent), m_withHeader(withHeader)
{
}

void Excel_Column_Model::setEntries(const QList<Excel_Column_Entry>& entries)
{
    beginResetModel();
    m_entries = entries;
    endResetModel();
}

void Excel_Column_Model::setState(int row, bool state)
{
    if (row < 0 || row >= m_entries.size())
        return;
    m_entries[row].State = state;
    emit dataChanged(index(row, StateColumn), index(row, StateColumn));
}

void Excel_Column_Model::setHeader(int row, const QString& header)
{
    if (row < 0 || row >= m_entries.size() || !m_withHeader)
        return;
    m_entries[row].Header = header;
    emit dataChanged(index(row, HeaderColumn), index(row, HeaderColumn));
}

int Excel_Column_Model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int Excel_Column_Model::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : (m_withHeader ? 3 : 2);
}

QVariant Excel_Column_Model::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const Excel_Column_Entry& e = m_entries.at(index.row());
    switch (index.column()) {
    case StateColumn:
        if (role == Qt::CheckStateRole)
            return e.State ? Qt::Checked : Qt::Unchecked;
        return {};
    case ExtensionColumn:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return e.Extension;
        return {};
    case HeaderColumn:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return e.Header;
        return {};
    }
    return {};
}

bool Excel_Column_Model::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return false;
    if (index.column() == StateColumn && role == Qt::CheckStateRole) {
        setState(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    if (index.column() == HeaderColumn && role == Qt::EditRole && m_withHeader) {
        setHeader(index.row(), value.toString());
        return true;
    }
    return false;
}

Qt::ItemFlags Excel_Column_Model::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == StateColumn)
        f |= Qt::ItemIsUserCheckable;
    if (index.column() == HeaderColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant Excel_Column_Model::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case StateColumn:
        return QString();
    case ExtensionColumn:
        return QStringLiteral("Column");
    case HeaderColumn:
        return QStringLiteral("Series name");
    }
    return {};
}

// ---------------------------------------------------------------- tables

void Setup_Series_Table(QTableView* table, bool multiSelection)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(multiSelection ? QAbstractItemView::ExtendedSelection
                                           : QAbstractItemView::SingleSelection);
    table->setShowGrid(false);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QList<int> Selected_Table_Rows(const QTableView* table)
{
    QList<int> rows;
    if (!table->selectionModel())
        return rows;
    for (const QModelIndex& i : table->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void Select_Only_Row(QTableView* table, int row)
{
    if (!table->model() || !table->selectionModel())
        return;
    table->clearSelection();
    if (row < 0 || row >= table->model()->rowCount())
        return;
    const QModelIndex i = table->model()->index(row, 0);
    table->selectionModel()->setCurrentIndex(
        i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table->scrollTo(i);
    table->setFocus();
}
