// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <memory>
#include <optional>

// The rows a grid shows: those read so far, and more when the view reaches the end of them.
// A store's list is shown through one of these; the grid never reads the file itself.
class GridRows
{
public:
    virtual ~GridRows() = default;
    virtual int rowsRead() const = 0;
    virtual bool canReadMore() const { return false; }
    // Reads the next part; rowsRead() grows.
    virtual void readMore() { }
    virtual QString cell(int row, int column) const = 0;
    // A row that stands out is shown in bold.
    virtual bool standsOut(int /*row*/) const { return false; }
    // A cell's tooltip: its text, unless the rows say more.
    virtual QString toolTip(int row, int column) const { return cell(row, column); }
    // A cell with a tick box: ticked or not; nothing for a cell without one. The model makes
    // such a cell checkable, so screen readers announce its state.
    virtual std::optional<bool> checked(int /*row*/, int /*column*/) const { return {}; }
    // The user ticked or cleared the box; false when the cell has none.
    virtual bool setChecked(int /*row*/, int /*column*/, bool /*on*/) { return false; }
};

struct ListColumn
{
    QString caption;
    int widthTwips = 1000;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool visible = true;
};

// The one table model of the program's grids: columns with captions, rows from a GridRows.
class ListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setColumns(const QList<ListColumn> &columns);
    const QList<ListColumn> &columns() const { return m_columns; }
    // Shows other rows (or none); the views start again at the top.
    void setRows(std::unique_ptr<GridRows> rows);
    GridRows *rows() const { return m_rows.get(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    // Ticks or clears the first tick box of the row; false when it has none.
    bool toggleRow(int row);
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    QList<ListColumn> m_columns;
    std::unique_ptr<GridRows> m_rows;
    int m_rowCount = 0; // the rows the views know of
};

// A read-only grid of whole rows over a ListModel; Enter or a double click activates a row, the
// space bar ticks or clears the row's tick box where it has one.
class ListGrid : public QTableView
{
    Q_OBJECT
public:
    explicit ListGrid(QWidget *parent = nullptr);

    void setColumns(const QList<ListColumn> &columns);
    // Shows the rows and makes `current` the current row (none when there is no such row).
    void setRows(std::unique_ptr<GridRows> rows, int current = 0);
    GridRows *rows() const { return m_model.rows(); }
    // The current row, or -1 when the grid has none.
    int currentRow() const;
    void setCurrentRow(int row);
    void setColors(const QColor &background, const QColor &text);
    ListModel &listModel() { return m_model; }

signals:
    void rowActivated(int row);
    void currentRowChanged(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyColumnLayout();

    ListModel m_model;
};
