// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListGrid.h"

#include "ui/Twips.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>

void ListModel::setColumns(const QList<ListColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void ListModel::setRows(std::unique_ptr<GridRows> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_rowCount = m_rows ? m_rows->rowsRead() : 0;
    endResetModel();
}

int ListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int ListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

bool ListModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_rows && m_rows->canReadMore();
}

void ListModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !m_rows)
        return;
    m_rows->readMore();
    const int read = m_rows->rowsRead();
    if (read <= m_rowCount)
        return;
    beginInsertRows({}, m_rowCount, read - 1);
    m_rowCount = read;
    endInsertRows();
}

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    if (!m_rows || !index.isValid() || index.column() >= m_columns.size()
        || index.row() >= m_rowCount)
        return {};
    if (role == Qt::DisplayRole)
        return m_rows->cell(index.row(), index.column());
    if (role == Qt::ToolTipRole)
        return m_rows->toolTip(index.row(), index.column());
    if (role == Qt::FontRole && m_rows->standsOut(index.row())) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[index.column()].alignment | Qt::AlignVCenter);
    if (role == Qt::CheckStateRole) {
        if (const std::optional<bool> on = m_rows->checked(index.row(), index.column()))
            return int(*on ? Qt::Checked : Qt::Unchecked);
    }
    return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_rows && index.isValid() && index.row() < m_rowCount
        && m_rows->checked(index.row(), index.column()))
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool ListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !m_rows || !index.isValid() || index.row() >= m_rowCount)
        return false;
    const bool on = Qt::CheckState(value.toInt()) == Qt::Checked;
    if (!m_rows->setChecked(index.row(), index.column(), on))
        return false;
    // The whole row: other cells may say what the tick means.
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

bool ListModel::toggleRow(int row)
{
    if (!m_rows || row < 0 || row >= m_rowCount)
        return false;
    for (int c = 0; c < columnCount(); ++c)
        if (const std::optional<bool> on = m_rows->checked(row, c))
            return setData(index(row, c), int(*on ? Qt::Unchecked : Qt::Checked),
                           Qt::CheckStateRole);
    return false;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[section].alignment | Qt::AlignVCenter);
    return {};
}

ListGrid::ListGrid(QWidget *parent)
    : QTableView(parent)
{
    setModel(&m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setFixedWidth(tw(250));
    horizontalHeader()->setHighlightSections(false);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                emit currentRowChanged(current.isValid() ? current.row() : -1);
            });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowActivated(index.row());
    });
}

void ListGrid::setColumns(const QList<ListColumn> &columns)
{
    const int current = currentRow();
    m_model.setColumns(columns);
    applyColumnLayout();
    setCurrentRow(current);
}

void ListGrid::applyColumnLayout()
{
    const QList<ListColumn> &columns = m_model.columns();
    for (int c = 0; c < columns.size(); ++c) {
        setColumnWidth(c, tw(columns[c].widthTwips));
        setColumnHidden(c, !columns[c].visible);
    }
}

void ListGrid::setRows(std::unique_ptr<GridRows> rows, int current)
{
    m_model.setRows(std::move(rows));
    // The header forgets its sections' widths when the model is reset.
    applyColumnLayout();
    setCurrentRow(current);
}

int ListGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ListGrid::setCurrentRow(int row)
{
    // A row not yet read is read first, so that a list can be shown at any of its rows.
    while (row >= m_model.rowCount() && m_model.canFetchMore({}))
        m_model.fetchMore({});
    if (row < 0 || row >= m_model.rowCount()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex current = currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    selectionModel()->setCurrentIndex(m_model.index(row, column),
                                      QItemSelectionModel::ClearAndSelect
                                          | QItemSelectionModel::Rows);
}

void ListGrid::setColors(const QColor &background, const QColor &text)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::Text, text);
    setPalette(p);
}

void ListGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit rowActivated(currentRow());
        return;
    }
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier
        && m_model.toggleRow(currentRow()))
        return;
    QTableView::keyPressEvent(event);
}
