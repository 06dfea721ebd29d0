#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>

class DataSource;

struct GridColumn
{
    QString caption;
    QString field;
    int widthTwips = 1000;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool visible = true;
};

// Shows a data source's result set; columns are bound to fields by name. A long result shows
// the rows read so far and grows as the view scrolls to its end.
// Lifetime: a grid may outlive its source in any order of destruction (members, children,
// hand-made); when the source goes the grid empties and never reads it again.
class DataSourceModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DataSourceModel(DataSource &source, QObject *parent = nullptr);

    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    void bindFields();

    QPointer<DataSource> m_source;
    QList<GridColumn> m_columns;
    QList<int> m_fieldColumns;
    int m_rows = 0; // the rows the views know of
};

// A grid over a data source; its current row and the data source's current row are kept the same.
class DataGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DataGrid(DataSource &source, QWidget *parent = nullptr);

    void setColumns(const QList<GridColumn> &columns);
    void setColors(const QColor &background, const QColor &text);
    DataSourceModel &dataModel() { return m_model; }

signals:
    // The row-activation gesture: a double click on a row, or Enter.
    void rowActivated();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void followSource(int row);

    QPointer<DataSource> m_source;
    DataSourceModel m_model;
};
