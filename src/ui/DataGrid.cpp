#include "ui/DataGrid.h"

#include "data/DataSource.h"
#include "ui/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>

DataSourceModel::DataSourceModel(DataSource &source, QObject *parent)
    : QAbstractTableModel(parent)
    , m_source(&source)
{
    connect(&source, &DataSource::resetDone, this, [this] {
        beginResetModel();
        bindFields();
        m_rows = m_source ? m_source->rowsRead() : 0;
        endResetModel();
    });
    // The source has already changed when it tells; the count the views see changes between
    // begin and end.
    connect(&source, &DataSource::keysRead, this, [this](int first, int last) {
        beginInsertRows({}, first, last);
        m_rows += last - first + 1;
        endInsertRows();
    });
    connect(&source, &DataSource::rowInserted, this, [this](int row) {
        beginInsertRows({}, row, row);
        ++m_rows;
        endInsertRows();
    });
    // The count drops before the views hear of it: a view then never picks the row after the
    // last one as its new current row and moves the source there.
    connect(&source, &DataSource::rowRemoved, this, [this](int row) {
        --m_rows;
        beginRemoveRows({}, row, row);
        endRemoveRows();
    });
    connect(&source, &DataSource::rowChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); });
    // The pointer is already null here; the views learn that there are no rows left.
    connect(&source, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_fieldColumns.clear();
        m_rows = 0;
        endResetModel();
    });
}

void DataSourceModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    bindFields();
    m_rows = m_source ? m_source->rowsRead() : 0;
    endResetModel();
}

void DataSourceModel::bindFields()
{
    m_fieldColumns.clear();
    if (!m_source)
        return;
    for (const GridColumn &c : std::as_const(m_columns))
        m_fieldColumns << m_source->fieldIndex(c.field);
}

int DataSourceModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_source ? 0 : m_rows;
}

bool DataSourceModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_source && m_source->canReadMore();
}

void DataSourceModel::fetchMore(const QModelIndex &parent)
{
    if (!parent.isValid() && m_source)
        m_source->readMore();
}

int DataSourceModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSourceModel::data(const QModelIndex &index, int role) const
{
    if (!m_source || !index.isValid() || index.column() >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const QVariant v = m_source->valueAt(index.row(), m_fieldColumns[index.column()]);
        return v.isNull() ? QString() : v.toString();
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[index.column()].alignment | Qt::AlignVCenter);
    return {};
}

QVariant DataSourceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[section].alignment | Qt::AlignVCenter);
    return {};
}

DataGrid::DataGrid(DataSource &source, QWidget *parent)
    : QTableView(parent)
    , m_source(&source)
    , m_model(source)
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
                if (m_source && current.isValid() && current.row() != m_source->currentIndex())
                    m_source->moveTo(current.row());
            });
    connect(&source, &DataSource::currentChanged, this, &DataGrid::followSource);
    connect(&m_model, &QAbstractItemModel::modelReset, this,
            [this] { followSource(m_source ? m_source->currentIndex() : -1); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowActivated();
    });
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model.setColumns(columns);
    for (int c = 0; c < columns.size(); ++c) {
        setColumnWidth(c, tw(columns[c].widthTwips));
        setColumnHidden(c, !columns[c].visible);
    }
    followSource(m_source ? m_source->currentIndex() : -1);
}

void DataGrid::setColors(const QColor &background, const QColor &text)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::Text, text);
    setPalette(p);
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && currentIndex().isValid()) {
        emit rowActivated();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::followSource(int row)
{
    const QModelIndex current = currentIndex();
    if (row < 0) {
        return;
    }
    if (!current.isValid() || current.row() != row) {
        const int column = current.isValid() ? current.column() : 0;
        selectionModel()->setCurrentIndex(m_model.index(row, column),
                                          QItemSelectionModel::ClearAndSelect
                                              | QItemSelectionModel::Rows);
    }
}
