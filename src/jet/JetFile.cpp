#include "jet/JetFile.h"

#include "common/DbError.h"
#include "data/FileError.h"
#include "jet/JetErrors.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

// mdbtools.h pulls in glib inside its extern "C" block; glib's C++ parts must come first.
#include <glib.h>
#include <mdbtools.h>

#include <array>
#include <cmath>

namespace {

constexpr int kHeaderSize = 0x80;

// The password field of the first page is hidden under a fixed key stream.
constexpr std::array<quint8, 18> kJet3Mask { 0x86, 0xfb, 0xec, 0x37, 0x5d, 0x44, 0x9c, 0xfa, 0xc6,
                                             0x5e, 0x28, 0xe6, 0x13, 0xb6, 0x8a, 0x60, 0x54, 0x94 };
constexpr std::array<quint16, 19> kJet4Mask { 0x6aba, 0x37ec, 0xd561, 0xfa9c, 0xcffa,
                                              0xe628, 0x272f, 0x608a, 0x0568, 0x367b,
                                              0xe3c9, 0xb1df, 0x654b, 0x4313, 0x3ef3,
                                              0x33b1, 0xf008, 0x5b79, 0x24ae };

quint16 word(const QByteArray &head, int offset)
{
    return quint16(quint8(head[offset]) | quint8(head[offset + 1]) << 8);
}

bool hasPassword(const QByteArray &head, int version)
{
    if (version == 0)
        return (quint8(head[0x42]) ^ kJet3Mask[0]) != 0;
    quint16 first = word(head, 0x42) ^ kJet4Mask[0];
    if (first > 0xff)
        first ^= word(head, 0x42 + 2 * 18) ^ kJet4Mask[18];
    return first != 0;
}

// Checks what can be told from the first page before libmdb sees the file.
int checkHeader(const QString &path)
{
    const QString file = shownPath(path);
    QFile in(path);
    if (!in.exists())
        throw DbError(ErrNo::FileNotFound,
                      QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(file));
    if (!in.open(QIODevice::ReadOnly))
        throw DbError(ErrNo::CannotOpenFile,
                      QStringLiteral("Die Datei '%1' kann nicht gelesen werden: %2.")
                          .arg(file, in.errorString()));
    const QByteArray head = in.read(kHeaderSize);
    const bool access = head.size() == kHeaderSize && head.startsWith(QByteArray("\0\1\0\0", 4));
    const QByteArray engine = head.mid(4, 15);
    if (!access || (engine != "Standard Jet DB" && engine != "Standard ACE DB"))
        throw DbError(ErrNo::UnknownFormat,
                      QStringLiteral("Die Datei '%1' ist keine Access-Datenbank.").arg(file));
    const int version = int(word(head, 0x14));
    if (engine != "Standard Jet DB")
        throw DbError(ErrNo::UnknownFormat,
                      QStringLiteral("Die Datei '%1' ist eine Access-Datenbank ab Access 2007; "
                                     "übernommen werden können nur Dateien von Access 97 bis "
                                     "Access 2003 (Jet 3 und Jet 4).")
                          .arg(file));
    const qint64 pageSize = version == 0 ? 2048 : 4096;
    if (in.size() < 3 * pageSize)
        throw JetErr::damaged(path, QStringLiteral("die Datei ist unvollständig"));
    // The version decides the page size, and with it where everything else lies: page 2 holds
    // the definition of the catalogue, marked "VC" in Jet 3 only. A damaged version would read
    // the rest as garbage.
    const QByteArray catalogue = in.seek(2 * pageSize) ? in.read(4) : QByteArray();
    if (version > 1 || !catalogue.startsWith(QByteArray("\2\1", 2))
        || (catalogue.mid(2) == "VC") != (version == 0))
        throw JetErr::damaged(path,
                              QStringLiteral("die Angabe ihrer Jet-Version passt nicht zu ihrem "
                                             "Inhalt"));
    if (hasPassword(head, version))
        throw DbError(JetErr::Password,
                      QStringLiteral("Die Access-Datenbank '%1' ist mit einem Kennwort geschützt. "
                                     "Bitte entfernen Sie das Kennwort in Access und versuchen Sie "
                                     "es erneut.")
                          .arg(file));
    if (in.size() % pageSize != 0)
        throw JetErr::damaged(path, QStringLiteral("die Datei ist unvollständig"));
    return version;
}

QString decoded(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

JetType typeOf(const MdbColumn &column)
{
    switch (column.col_type) {
    case MDB_TEXT:
        return JetType::Text;
    case MDB_MEMO:
        return JetType::Memo;
    case MDB_BOOL:
        return JetType::Bool;
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return JetType::Integer;
    case MDB_FLOAT:
    case MDB_DOUBLE:
        return JetType::Real;
    case MDB_DATETIME:
        return JetType::DateTime;
    default:
        return JetType::Other;
    }
}

// Jet keeps a point in time as days since 30.12.1899; before that day the whole days count
// backwards while the time of day still counts forwards.
QDateTime fromJetDate(double value)
{
    const double days = std::trunc(value);
    const qint64 msecs = std::llround(std::fabs(value - days) * 86400000.0);
    return QDateTime(QDate(1899, 12, 30).addDays(qint64(days)), QTime(0, 0).addMSecs(int(msecs)));
}

// libmdb gives a memo as much room as its bind size. What it can copy is bounded by where the
// memo lies, not by the length the value claims: within the row (inline), one long-value row of
// a page, or a chain of them whose length has 24 bits.
void makeRoomFor(MdbHandle *mdb, const MdbColumn &column)
{
    size_t size = MDB_BIND_SIZE;
    if (column.col_type == MDB_MEMO) {
        const auto claimed = quint32(mdb_get_int32(mdb->pg_buf, column.cur_value_start));
        size_t bytes = claimed & 0x00ffffff;
        if (claimed & 0x80000000)
            bytes = size_t(column.cur_value_len);
        else if (claimed & 0x40000000)
            bytes = size_t(mdb->fmt->pg_size);
        size = std::max(size, bytes * 3 + 16); // UTF-8 needs at most three bytes per byte read
    }
    mdb_set_bind_size(mdb, size);
}

QVariant valueOf(MdbHandle *mdb, MdbColumn &column)
{
    // A Yes/No column keeps its value in the row's null mask: libmdb reports "null" for false.
    if (column.col_type == MDB_BOOL)
        return QVariant(column.cur_value_len == 0);
    if (column.cur_value_len == 0)
        return {};
    switch (typeOf(column)) {
    case JetType::DateTime:
        return fromJetDate(mdb_get_double(mdb->pg_buf, column.cur_value_start));
    case JetType::Real:
        return column.col_type == MDB_FLOAT
            ? double(mdb_get_single(mdb->pg_buf, column.cur_value_start))
            : mdb_get_double(mdb->pg_buf, column.cur_value_start);
    default:
        break;
    }
    makeRoomFor(mdb, column);
    char *text = mdb_col_to_string(mdb, mdb->pg_buf, column.cur_value_start, column.col_type,
                                   column.cur_value_len);
    const QString value = decoded(text);
    g_free(text);
    if (typeOf(column) == JetType::Integer)
        return value.toLongLong();
    return value;
}

struct TableDef
{
    explicit TableDef(MdbTableDef *def)
        : def(def)
    {
    }
    ~TableDef()
    {
        if (def)
            mdb_free_tabledef(def);
    }
    TableDef(const TableDef &) = delete;
    TableDef &operator=(const TableDef &) = delete;
    MdbTableDef *def;
};

} // namespace

struct JetFile::Handle
{
    explicit Handle(MdbHandle *mdb)
        : mdb(mdb)
    {
    }
    ~Handle() { mdb_close(mdb); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    MdbHandle *mdb;
};

bool looksLikeAccessFile(const QString &path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = in.read(19);
    const QByteArray engine = head.mid(4, 15);
    return head.startsWith(QByteArray("\0\1\0\0", 4))
        && (engine == "Standard Jet DB" || engine == "Standard ACE DB");
}

JetFile::JetFile(const QString &path)
    : m_path(path)
{
    checkHeader(path);
    // Text arrives as UTF-8 whatever the user's environment asks libmdb for.
    qputenv("MDBICONV", "UTF-8");
    MdbHandle *mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb)
        throw JetErr::damaged(path, QStringLiteral("sie lässt sich nicht öffnen"));
    m_handle = std::make_unique<Handle>(mdb);
    if (mdb->f->db_key != 0)
        throw DbError(JetErr::Encrypted,
                      QStringLiteral("Die Access-Datenbank '%1' ist verschlüsselt. Bitte "
                                     "entschlüsseln Sie sie in Access und versuchen Sie es erneut.")
                          .arg(shownPath(path)));
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        throw JetErr::damaged(path, QStringLiteral("ihr Inhaltsverzeichnis ist nicht lesbar"));
}

JetFile::~JetFile() = default;

int JetFile::jetVersion() const
{
    return m_handle->mdb->f->jet_version == MDB_VER_JET3 ? 3 : 4;
}

QStringList JetFile::tableNames()
{
    QStringList names;
    for (unsigned i = 0; i < m_handle->mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(m_handle->mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            names << decoded(entry->object_name);
    }
    return names;
}

JetTable JetFile::readTable(const QString &name)
{
    JetTable result;
    readTable(
        name, [&](const JetTable &, QVariantList &&row) { result.rows.append(std::move(row)); },
        &result);
    return result;
}

void JetFile::readTable(const QString &name, const RowSink &sink, JetTable *head)
{
    QByteArray utf8 = name.toUtf8();
    TableDef table(mdb_read_table_by_name(m_handle->mdb, utf8.data(), MDB_TABLE));
    if (!table.def || !mdb_read_columns(table.def))
        throw JetErr::damaged(m_path,
                              QStringLiteral("die Tabelle '%1' ist nicht lesbar").arg(name));
    mdb_rewind_table(table.def);
    JetTable own;
    JetTable &result = head ? *head : own;
    result.name = decoded(table.def->name);
    result.headerRowCount = table.def->num_rows;
    for (unsigned c = 0; c < table.def->num_cols; ++c) {
        auto *column = static_cast<MdbColumn *>(g_ptr_array_index(table.def->columns, c));
        result.columns.append({ decoded(column->name), typeOf(*column) });
    }
    qint64 rows = 0;
    while (mdb_fetch_row(table.def)) {
        QVariantList row;
        row.reserve(result.columns.size());
        for (unsigned c = 0; c < table.def->num_cols; ++c)
            row.append(
                valueOf(m_handle->mdb,
                        *static_cast<MdbColumn *>(g_ptr_array_index(table.def->columns, c))));
        sink(result, std::move(row));
        ++rows;
    }
    mdb_set_bind_size(m_handle->mdb, MDB_BIND_SIZE);
    // libmdb ends a scan quietly at a page it cannot read; the table's own count tells. A count
    // of 0 is what Access leaves when it was not closed properly: then every row read counts.
    if (rows < result.headerRowCount)
        throw JetErr::damaged(m_path,
                              QStringLiteral("von den %1 Zeilen der Tabelle '%2' sind "
                                             "nur %3 lesbar")
                                  .arg(result.headerRowCount)
                                  .arg(name)
                                  .arg(rows));
    if (result.headerRowCount != 0 && rows > result.headerRowCount)
        throw JetErr::damaged(m_path,
                              QStringLiteral("die Tabelle '%1' gibt %2 Zeilen an, enthält aber %3")
                                  .arg(name)
                                  .arg(result.headerRowCount)
                                  .arg(rows));
}
