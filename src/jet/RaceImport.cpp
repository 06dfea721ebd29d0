#include "jet/RaceImport.h"

#include "common/DbError.h"
#include "data/Sqlite.h"
#include "jet/JetErrors.h"
#include "model/RaceColumns.h"
#include "model/Records.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

#include <vector>

namespace {

// What a column of ours holds, and so which Jet types can fill it.
enum class Want {
    Number, // automatic number: Integer
    Text, // Text or Memo; a whole number becomes its digits
    DateText, // "dd.mm.yyyy": Text, Memo or DateTime
    TimeText, // "hh:mm": Text, Memo or DateTime
    Bool // Yes/No
};

struct ColumnLayout
{
    QString name;
    Want want;
};

struct TableLayout
{
    QString name;
    std::vector<ColumnLayout> columns;
};

constexpr Want T = Want::Text;

Want wantOf(RaceColumns::Kind kind)
{
    switch (kind) {
    case RaceColumns::Kind::Date:
        return Want::DateText;
    case RaceColumns::Kind::Time:
        return Want::TimeText;
    case RaceColumns::Kind::YesNo:
        return Want::Bool;
    case RaceColumns::Kind::Text:
        break;
    }
    return T;
}

// The number, then every column the model knows.
const TableLayout &racesLayout()
{
    static const TableLayout layout = [] {
        TableLayout races { QLatin1String(RaceColumns::kTable),
                            { { QLatin1String(RaceColumns::kNumber), Want::Number } } };
        const QStringList &names = RaceColumns::names();
        for (qsizetype c = 0; c < names.size(); ++c)
            races.columns.push_back({ names[c], wantOf(RaceColumns::kinds()[size_t(c)]) });
        return races;
    }();
    return layout;
}

const TableLayout &documentsLayout()
{
    using namespace DocumentColumns;
    static const TableLayout layout { QLatin1String(kTable),
                                      { { QLatin1String(kNumber), Want::Number },
                                        { QLatin1String(kRaceNumber), T },
                                        { QLatin1String(kPath), T },
                                        { QLatin1String(kName), T } } };
    return layout;
}

const TableLayout &postalLayout()
{
    using namespace PostalColumns;
    static const TableLayout layout { QLatin1String(kTable),
                                      { { QLatin1String(kNumber), Want::Number },
                                        { QLatin1String(kTown), T },
                                        { QLatin1String(kPostcode), T },
                                        { QLatin1String(kDialCode), T } } };
    return layout;
}

// The pick lists, in the order their problems are told; the first column is what makes an
// entry the same.
const std::vector<TableLayout> &pickListLayouts()
{
    static const std::vector<TableLayout> layouts = [] {
        std::vector<TableLayout> lists;
        for (PickList list : { PickList::Salutation, PickList::Title, PickList::Street,
                               PickList::Country, PickList::Race, PickList::Timing }) {
            const PickListTable &table = pickListTable(list);
            TableLayout layout { QLatin1String(table.table),
                                 { { QLatin1String(table.column), T } } };
            if (table.nameColumn)
                layout.columns.push_back({ QLatin1String(table.nameColumn), T });
            lists.push_back(std::move(layout));
        }
        return lists;
    }();
    return layouts;
}

QString typeName(JetType type)
{
    switch (type) {
    case JetType::Text:
        return QStringLiteral("Text");
    case JetType::Memo:
        return QStringLiteral("Memo");
    case JetType::Bool:
        return QStringLiteral("Ja/Nein");
    case JetType::Integer:
        return QStringLiteral("Zahl");
    case JetType::Real:
        return QStringLiteral("Kommazahl");
    case JetType::DateTime:
        return QStringLiteral("Datum/Uhrzeit");
    case JetType::Other:
        break;
    }
    return QStringLiteral("anderer Typ");
}

bool accepts(Want want, JetType type)
{
    switch (want) {
    case Want::Number:
        return type == JetType::Integer;
    case Want::Text:
        return type == JetType::Text || type == JetType::Memo || type == JetType::Integer;
    case Want::DateText:
    case Want::TimeText:
        return type == JetType::Text || type == JetType::Memo || type == JetType::DateTime;
    case Want::Bool:
        return type == JetType::Bool;
    }
    return false;
}

QString expectedType(Want want)
{
    switch (want) {
    case Want::Number:
        return typeName(JetType::Integer);
    case Want::Bool:
        return typeName(JetType::Bool);
    case Want::DateText:
    case Want::TimeText:
        return typeName(JetType::Text) + QStringLiteral(" oder ") + typeName(JetType::DateTime);
    case Want::Text:
        break;
    }
    return typeName(JetType::Text);
}

// A table of the file with each of our columns found (or not) among its columns.
struct Mapped
{
    const TableLayout *layout;
    JetTable table;
    std::vector<int> source; // per column of ours: index in the file's table, -1 when missing

    // The value of our column `c` in row `r`, converted to what our table stores.
    QVariant value(int r, size_t c) const
    {
        const Want want = layout->columns[c].want;
        if (source[c] < 0)
            return want == Want::Bool ? QVariant(false) : QVariant();
        const QVariant &v = table.rows[r][source[c]];
        if (v.isNull())
            return want == Want::Bool ? QVariant(false) : QVariant();
        switch (want) {
        case Want::Bool:
            return QVariant(v.toBool());
        case Want::Number:
            return QVariant(v.toLongLong());
        case Want::DateText:
            if (v.typeId() == QMetaType::QDateTime)
                return v.toDateTime().date().toString(QStringLiteral("dd.MM.yyyy"));
            break;
        case Want::TimeText:
            if (v.typeId() == QMetaType::QDateTime)
                return v.toDateTime().time().toString(QStringLiteral("hh:mm"));
            break;
        case Want::Text:
            break;
        }
        return v.toString();
    }
    QString text(int r, size_t c) const { return value(r, c).toString(); }
    int rowCount() const { return int(table.rows.size()); }
};

QString findTable(const QStringList &names, const QString &wanted)
{
    for (const QString &name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

// Reads every table and checks its columns; collects what is wrong before saying it.
class Reader
{
public:
    explicit Reader(JetRowSource &source)
        : m_source(source)
        , m_names(source.tableNames())
    {
    }

    Mapped read(const TableLayout &layout, ImportResult &found)
    {
        Mapped mapped { &layout, {}, {} };
        const QString name = findTable(m_names, layout.name);
        if (name.isEmpty()) {
            m_missingTables << layout.name;
            mapped.source.assign(layout.columns.size(), -1);
            return mapped;
        }
        mapped.table = m_source.readTable(name);
        checkNames(mapped.table);
        if (mapped.table.headerRowCount == 0 && !mapped.table.rows.isEmpty())
            found.rowsBeyondCount << QStringLiteral("%1 (%2 Zeilen)")
                                         .arg(mapped.table.name)
                                         .arg(mapped.table.rows.size());
        QSet<int> used;
        for (const ColumnLayout &column : layout.columns) {
            const int index = mapped.table.columnIndex(column.name);
            mapped.source.push_back(index);
            const QString qualified = layout.name + u'.' + column.name;
            if (index < 0) {
                found.missingColumns << qualified;
                continue;
            }
            used.insert(index);
            const JetType type = mapped.table.columns[index].type;
            if (!accepts(column.want, type))
                m_wrongTypes << QStringLiteral("%1 (%2 statt %3)")
                                    .arg(qualified, typeName(type), expectedType(column.want));
        }
        for (int i = 0; i < mapped.table.columns.size(); ++i) {
            if (!used.contains(i))
                m_extraColumns << layout.name + u'.' + mapped.table.columns[i].name;
        }
        return mapped;
    }

    void throwIfBad() const
    {
        const auto list = [](const QStringList &items) { return items.join(QStringLiteral(", ")); };
        if (!m_missingTables.isEmpty())
            throw DbError(JetErr::TableMissing,
                          QStringLiteral("Die Access-Datei enthält nicht die Tabellen eines "
                                         "Lauf-Verzeichnisses; es fehlen: %1. Es wurde nichts "
                                         "übernommen.")
                              .arg(list(m_missingTables)));
        if (!m_wrongTypes.isEmpty())
            throw DbError(JetErr::TypeMismatch,
                          QStringLiteral("In der Access-Datei haben Spalten einen anderen Typ als "
                                         "erwartet: %1. Es wurde nichts übernommen.")
                              .arg(list(m_wrongTypes)));
        if (!m_extraColumns.isEmpty())
            throw DbError(JetErr::ColumnMismatch,
                          QStringLiteral("Die Access-Datei enthält Spalten, die dieses Programm "
                                         "nicht kennt und deren Inhalt verloren ginge: %1. Es "
                                         "wurde nichts übernommen.")
                              .arg(list(m_extraColumns)));
    }

private:
    // A Jet column always has a name; without one the table's definition is damaged, and what
    // its columns hold cannot be told.
    static void checkNames(const JetTable &table)
    {
        qsizetype unnamed = 0;
        for (const JetColumn &column : table.columns)
            unnamed += column.name.trimmed().isEmpty();
        if (unnamed > 0)
            throw DbError(ErrNo::DatabaseCorrupt,
                          QStringLiteral("Die Access-Datei ist beschädigt und kann nicht gelesen "
                                         "werden: %1 Spalten der Tabelle '%2' haben keinen Namen. "
                                         "Es wurde nichts übernommen.")
                              .arg(unnamed)
                              .arg(table.name));
    }

    JetRowSource &m_source;
    QStringList m_names;
    QStringList m_missingTables;
    QStringList m_wrongTypes;
    QStringList m_extraColumns;
};

// Two races are the same when every field but the number is; the key says so in one text.
QString keyOf(const std::vector<QVariant> &values, const TableLayout &layout)
{
    QString key;
    for (size_t c = 0; c < values.size(); ++c) {
        const QVariant &v = values[c];
        if (layout.columns[c + 1].want == Want::Bool)
            key += v.toLongLong() != 0 || v.toString() == QLatin1String("true") ? u'1' : u'0';
        else if (v.isNull())
            key += u'\x01';
        else
            key += u'"' + v.toString();
        key += u'\x1f';
    }
    return key;
}

std::string columnList(const TableLayout &layout, size_t from)
{
    std::string list;
    for (size_t c = from; c < layout.columns.size(); ++c)
        list += (list.empty() ? "" : ", ") + layout.columns[c].name.toStdString();
    return list;
}

// An insert of the columns from `from` on.
std::string insertInto(const TableLayout &layout, size_t from)
{
    std::string marks;
    for (size_t c = from; c < layout.columns.size(); ++c)
        marks += c > from ? ",?" : "?";
    return "insert into " + layout.name.toStdString() + " (" + columnList(layout, from)
        + ") values (" + marks + ")";
}

qlonglong leadingNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    while (end < trimmed.size() && trimmed[end].isDigit())
        ++end;
    bool ok = false;
    const qlonglong n = trimmed.left(end).toLongLong(&ok);
    return ok ? n : -1;
}

class Writer
{
public:
    Writer(SqliteDb &db, const ImportHook &hook, ImportResult &result)
        : m_db(db)
        , m_hook(hook)
        , m_result(result)
    {
    }

    // Adds the races; returns the number each race of the file has now, by its old number.
    QHash<qlonglong, qlonglong> races(const Mapped &races)
    {
        const TableLayout &layout = *races.layout;
        const size_t fields = layout.columns.size() - 1;
        QHash<QString, qlonglong> present;
        {
            Statement st(m_db,
                         "select " + columnList(layout, 0) + " from " + layout.name.toStdString());
            std::vector<QVariant> values(fields);
            while (st.step()) {
                for (size_t c = 0; c < fields; ++c)
                    values[c] = st.column(int(c) + 1);
                present.insert(keyOf(values, layout), st.column(0).toLongLong());
            }
        }
        QHash<qlonglong, qlonglong> numbers;
        Statement insert(m_db, insertInto(layout, 1));
        std::vector<QVariant> values(fields);
        for (int r = 0; r < races.rowCount(); ++r) {
            for (size_t c = 0; c < fields; ++c)
                values[c] = races.value(r, c + 1);
            const QString key = keyOf(values, layout);
            qlonglong number = present.value(key, -1);
            if (number >= 0) {
                ++m_result.racesPresent;
            } else {
                insert.reset();
                for (size_t c = 0; c < fields; ++c)
                    insert.bind(int(c) + 1, values[c]);
                insert.step();
                number = m_db.scalar("select last_insert_rowid()").toLongLong();
                present.insert(key, number);
                ++m_result.racesAdded;
                notify("race");
            }
            if (races.source[0] >= 0)
                numbers.insert(races.value(r, 0).toLongLong(), number);
        }
        return numbers;
    }

    void documents(const Mapped &docs, const QHash<qlonglong, qlonglong> &numbers)
    {
        QSet<QString> present;
        const auto key = [](const QString &nr, const QVariant &file, const QVariant &name) {
            return nr + u'\x1f' + file.toString() + u'\x1f' + name.toString();
        };
        {
            Statement st(m_db,
                         "select " + columnList(*docs.layout, 1) + " from "
                             + docs.layout->name.toStdString());
            while (st.step())
                present.insert(key(QString::number(leadingNumber(st.column(0).toString())),
                                   st.column(1), st.column(2)));
        }
        Statement insert(m_db, insertInto(*docs.layout, 1));
        for (int r = 0; r < docs.rowCount(); ++r) {
            const auto found = numbers.constFind(leadingNumber(docs.text(r, 1)));
            if (found == numbers.constEnd()) {
                ++m_result.documentsWithoutRace;
                continue;
            }
            const QString nr = QString::number(found.value());
            const QVariant file = docs.value(r, 2), name = docs.value(r, 3);
            if (!present.contains(key(nr, file, name))) {
                present.insert(key(nr, file, name));
                insert.reset();
                insert.bind(1, nr);
                insert.bind(2, file);
                insert.bind(3, name);
                insert.step();
                ++m_result.documentsAdded;
            }
        }
    }

    // Adds the entries whose key (the first `keyColumns` columns from `from`) is not there yet.
    int entries(const Mapped &list, size_t from, size_t keyColumns)
    {
        const TableLayout &layout = *list.layout;
        const size_t count = layout.columns.size() - from;
        const auto key = [&](const std::vector<QVariant> &v) {
            QString k;
            for (size_t c = 0; c < keyColumns; ++c)
                k += v[c].toString() + u'\x1f';
            return k;
        };
        QSet<QString> present;
        std::vector<QVariant> values(count);
        {
            Statement st(
                m_db, "select " + columnList(layout, from) + " from " + layout.name.toStdString());
            while (st.step()) {
                for (size_t c = 0; c < count; ++c)
                    values[c] = st.column(int(c));
                present.insert(key(values));
            }
        }
        Statement insert(m_db, insertInto(layout, from));
        int added = 0;
        for (int r = 0; r < list.rowCount(); ++r) {
            for (size_t c = 0; c < count; ++c)
                values[c] = list.value(r, from + c);
            if (values[0].toString().trimmed().isEmpty() || present.contains(key(values)))
                continue;
            present.insert(key(values));
            insert.reset();
            for (size_t c = 0; c < count; ++c)
                insert.bind(int(c) + 1, values[c]);
            insert.step();
            ++added;
        }
        return added;
    }

    void notify(const char *point)
    {
        if (m_hook)
            m_hook(point, m_db);
    }

private:
    SqliteDb &m_db;
    const ImportHook &m_hook;
    ImportResult &m_result;
};

} // namespace

struct RaceLog::Tables
{
    ImportResult found;
    Mapped races;
    Mapped docs;
    Mapped postal;
    std::vector<Mapped> pickLists;
};

RaceLog::RaceLog(JetRowSource &source)
    : m_tables(std::make_unique<Tables>())
{
    Tables &t = *m_tables;
    Reader reader(source);
    t.races = reader.read(racesLayout(), t.found);
    t.docs = reader.read(documentsLayout(), t.found);
    t.postal = reader.read(postalLayout(), t.found);
    t.pickLists.reserve(pickListLayouts().size());
    for (const TableLayout &layout : pickListLayouts())
        t.pickLists.push_back(reader.read(layout, t.found));
    reader.throwIfBad();
}

RaceLog::~RaceLog() = default;

ImportResult importRaces(JetRowSource &source, const QString &databasePath, const ImportHook &hook)
{
    return importRaces(RaceLog(source), databasePath, hook);
}

ImportResult importRaces(const RaceLog &log, const QString &databasePath, const ImportHook &hook)
{
    const RaceLog::Tables &t = log.tables();
    ImportResult result = t.found;
    SqliteDb db(databasePath, SqliteDb::Open::ReadWrite);
    try {
        db.exec("begin immediate");
        Writer writer(db, hook, result);
        writer.notify("begin");
        const QHash<qlonglong, qlonglong> numbers = writer.races(t.races);
        writer.documents(t.docs, numbers);
        for (const Mapped &list : t.pickLists)
            result.pickListEntriesAdded += writer.entries(list, 0, 1);
        result.postalEntriesAdded = writer.entries(t.postal, 1, 2);
        db.exec("commit");
    } catch (const DbError &e) {
        try {
            db.exec("rollback");
        } catch (const DbError &) {
            // SQLite has already rolled back on its own (for example after a full disk).
        }
        throw DbError(e.number(),
                      QStringLiteral("Die Läufe konnten nicht in die Datenbank '%1' übernommen "
                                     "werden: %2. Die Datenbank bleibt unverändert.")
                          .arg(QDir::toNativeSeparators(databasePath), e.description()));
    }
    return result;
}

QString importReport(const ImportResult &r)
{
    QString text = QStringLiteral("Aus der Access-Datei wurden übernommen:\n\n"
                                  "%1 Läufe neu hinzugefügt\n"
                                  "%2 Läufe waren bereits vorhanden\n"
                                  "%3 Dokumente\n"
                                  "%4 Einträge der Auswahllisten\n"
                                  "%5 Einträge des Postleitzahlenverzeichnisses")
                       .arg(r.racesAdded)
                       .arg(r.racesPresent)
                       .arg(r.documentsAdded)
                       .arg(r.pickListEntriesAdded)
                       .arg(r.postalEntriesAdded);
    if (r.documentsWithoutRace > 0)
        text += QStringLiteral("\n\n%1 Dokumente gehören zu keinem Lauf der Access-Datei und "
                               "wurden nicht übernommen.")
                    .arg(r.documentsWithoutRace);
    if (!r.missingColumns.isEmpty())
        text += QStringLiteral("\n\nIn der Access-Datei fehlen die Spalten %1; sie wurden wie bei "
                               "einem neuen Eintrag gefüllt.")
                    .arg(r.missingColumns.join(QStringLiteral(", ")));
    if (!r.rowsBeyondCount.isEmpty())
        text += QStringLiteral("\n\nDie Access-Datei wurde wohl nicht ordnungsgemäß geschlossen: "
                               "ihre Tabellen %1 gaben 0 Zeilen an. Übernommen wurden alle "
                               "lesbaren Zeilen.")
                    .arg(r.rowsBeyondCount.join(QStringLiteral(", ")));
    return text;
}
