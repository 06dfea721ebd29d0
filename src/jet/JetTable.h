#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

// The column types of an Access (Jet) table, as far as taking races over needs them.
enum class JetType {
    Text, // Text, up to 255 characters
    Memo, // long text
    Bool, // Yes/No
    Integer, // Byte, Integer, Long Integer
    Real, // Single, Double
    DateTime,
    Other // Currency, binary, OLE object and the like
};

struct JetColumn
{
    QString name;
    JetType type = JetType::Text;
};

// One table as the reader delivers it. A value is null, or by its column's type a QString
// (Text, Memo, Other), a bool, a qlonglong, a double or a QDateTime.
struct JetTable
{
    QString name;
    QList<JetColumn> columns;
    QList<QVariantList> rows;
    // The row count in the table's header: Access leaves it 0 when it was not closed properly.
    // -1 where the source keeps none.
    qint64 headerRowCount = -1;

    // Jet compares table and column names without regard to case; so do we. -1 when absent.
    int columnIndex(const QString &column) const;
};

// Where the rows of a Jet file come from: the file itself, or a test's tables.
class JetRowSource
{
public:
    virtual ~JetRowSource() = default;
    // The user tables (no system tables).
    virtual QStringList tableNames() = 0;
    // Every row of a table, read completely; a table that cannot be read completely throws.
    virtual JetTable readTable(const QString &name) = 0;
};

// Opens a Jet file as a row source; the program uses libmdb, tests give their own tables.
using JetOpener = std::function<std::unique_ptr<JetRowSource>(const QString &path)>;
