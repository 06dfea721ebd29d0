#include "jet/JetWire.h"

#include <QDateTime>
#include <QStringDecoder>

#include <cstring>

namespace jetwire {

namespace {

// How a value travels; its column's type decides which kinds may come.
enum class Kind : quint8 { Null, False, True, Integer, Real, DateTime, Text };

constexpr int kMaxColumns = 4096; // Jet allows 255

class Out
{
public:
    void u8(quint8 v) { m_bytes.append(char(v)); }
    void u32(quint32 v)
    {
        for (int i = 0; i < 4; ++i)
            u8(quint8(v >> (8 * i)));
    }
    void i64(qint64 v)
    {
        for (int i = 0; i < 8; ++i)
            u8(quint8(quint64(v) >> (8 * i)));
    }
    void text(const QString &s)
    {
        const QByteArray utf8 = s.toUtf8();
        u32(quint32(utf8.size()));
        m_bytes.append(utf8);
    }
    QByteArray frame(Tag tag) const
    {
        Out framed;
        framed.u8(quint8(tag));
        framed.u32(quint32(m_bytes.size()));
        return framed.m_bytes + m_bytes;
    }

private:
    QByteArray m_bytes;
};

class In
{
public:
    explicit In(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }
    bool atEnd() const { return m_pos == m_bytes.size(); }
    QByteArrayView take(qsizetype n)
    {
        if (n < 0 || n > m_bytes.size() - m_pos)
            throw Malformed(QStringLiteral("eine Angabe ist abgeschnitten"));
        const QByteArrayView part = m_bytes.sliced(m_pos, n);
        m_pos += n;
        return part;
    }
    quint8 u8() { return quint8(take(1)[0]); }
    quint32 u32()
    {
        const QByteArrayView b = take(4);
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | quint8(b[i]);
        return v;
    }
    qint64 i64()
    {
        const QByteArrayView b = take(8);
        quint64 v = 0;
        for (int i = 7; i >= 0; --i)
            v = v << 8 | quint8(b[i]);
        return qint64(v);
    }
    QString text()
    {
        const QByteArrayView utf8 = take(u32());
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString s = decode(utf8);
        if (decode.hasError())
            throw Malformed(QStringLiteral("ein Text ist kein gültiges UTF-8"));
        return s;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

struct Frame
{
    Tag tag;
    QByteArrayView payload;
};

QList<Frame> framesOf(const QByteArray &answer)
{
    QList<Frame> frames;
    In in(answer);
    while (!in.atEnd()) {
        const quint8 tag = in.u8();
        const quint32 size = in.u32();
        if (size > kMaxFrame)
            throw Malformed(QStringLiteral("ein Block ist zu groß"));
        frames.append({ Tag(tag), in.take(size) });
    }
    return frames;
}

// The error the reader sent, when the answer ends with one.
void throwReportedError(const QList<Frame> &frames)
{
    if (frames.isEmpty() || frames.last().tag != Tag::Error)
        return;
    In in(frames.last().payload);
    const auto number = qint32(in.u32());
    const QString description = in.text();
    if (!in.atEnd() || description.isEmpty())
        throw Malformed(QStringLiteral("eine Fehlermeldung ist unvollständig"));
    throw DbError(number, description);
}

Kind kindOf(const QVariant &v)
{
    if (v.isNull())
        return Kind::Null;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? Kind::True : Kind::False;
    case QMetaType::LongLong:
    case QMetaType::Int:
        return Kind::Integer;
    case QMetaType::Double:
        return Kind::Real;
    case QMetaType::QDateTime:
        return Kind::DateTime;
    default:
        return Kind::Text;
    }
}

bool fits(Kind kind, JetType type)
{
    switch (type) {
    case JetType::Bool:
        return kind == Kind::False || kind == Kind::True;
    case JetType::Integer:
        return kind == Kind::Null || kind == Kind::Integer;
    case JetType::Real:
        return kind == Kind::Null || kind == Kind::Real;
    case JetType::DateTime:
        return kind == Kind::Null || kind == Kind::DateTime;
    case JetType::Text:
    case JetType::Memo:
    case JetType::Other:
        return kind == Kind::Null || kind == Kind::Text;
    }
    return false;
}

QVariant valueFrom(In &in, JetType type)
{
    const auto kind = Kind(in.u8());
    if (!fits(kind, type))
        throw Malformed(QStringLiteral("ein Wert passt nicht zum Typ seiner Spalte"));
    switch (kind) {
    case Kind::Null:
        return {};
    case Kind::False:
        return false;
    case Kind::True:
        return true;
    case Kind::Integer:
        return in.i64();
    case Kind::Real: {
        const qint64 bits = in.i64();
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    case Kind::DateTime: {
        const QDate date = QDate::fromJulianDay(in.i64());
        const QTime time = QTime::fromMSecsSinceStartOfDay(int(qint32(in.u32())));
        if (!date.isValid() || !time.isValid())
            throw Malformed(QStringLiteral("ein Datum ist ungültig"));
        return QDateTime(date, time);
    }
    case Kind::Text:
        return in.text();
    }
    return {};
}

void expect(bool condition, const char *why)
{
    if (!condition)
        throw Malformed(QString::fromUtf8(why));
}

} // namespace

QByteArray tablesFrame(const QStringList &names)
{
    Out out;
    out.u32(quint32(names.size()));
    for (const QString &name : names)
        out.text(name);
    return out.frame(Tag::Tables);
}

QByteArray headFrame(const JetTable &table)
{
    Out out;
    out.text(table.name);
    out.i64(table.headerRowCount);
    out.u32(quint32(table.columns.size()));
    for (const JetColumn &column : table.columns) {
        out.u8(quint8(column.type));
        out.text(column.name);
    }
    return out.frame(Tag::Head);
}

QByteArray rowFrame(const QVariantList &row)
{
    Out out;
    for (const QVariant &v : row) {
        const Kind kind = kindOf(v);
        out.u8(quint8(kind));
        switch (kind) {
        case Kind::Integer:
            out.i64(v.toLongLong());
            break;
        case Kind::Real: {
            const double d = v.toDouble();
            qint64 bits = 0;
            std::memcpy(&bits, &d, sizeof d);
            out.i64(bits);
            break;
        }
        case Kind::DateTime: {
            const QDateTime at = v.toDateTime();
            out.i64(at.date().toJulianDay());
            out.u32(quint32(at.time().msecsSinceStartOfDay()));
            break;
        }
        case Kind::Text:
            out.text(v.toString());
            break;
        case Kind::Null:
        case Kind::False:
        case Kind::True:
            break;
        }
    }
    return out.frame(Tag::Row);
}

QByteArray endFrame(qsizetype rows)
{
    Out out;
    out.i64(rows);
    return out.frame(Tag::End);
}

QByteArray errorFrame(const DbError &error)
{
    Out out;
    out.u32(quint32(error.number()));
    out.text(error.description());
    return out.frame(Tag::Error);
}

QStringList decodeTables(const QByteArray &answer)
{
    const QList<Frame> frames = framesOf(answer);
    throwReportedError(frames);
    expect(frames.size() == 1 && frames[0].tag == Tag::Tables, "die Tabellenliste fehlt");
    In in(frames[0].payload);
    const quint32 count = in.u32();
    QStringList names;
    for (quint32 i = 0; i < count; ++i) {
        names.append(in.text());
        expect(!names.last().isEmpty(), "eine Tabelle hat keinen Namen");
    }
    expect(in.atEnd(), "die Tabellenliste hat überzählige Angaben");
    return names;
}

JetTable decodeTable(const QByteArray &answer, const QString &requested)
{
    const QList<Frame> frames = framesOf(answer);
    throwReportedError(frames);
    expect(frames.size() >= 2 && frames.first().tag == Tag::Head && frames.last().tag == Tag::End,
           "die Tabelle ist unvollständig");
    JetTable table;
    In head(frames.first().payload);
    table.name = head.text();
    expect(table.name.compare(requested, Qt::CaseInsensitive) == 0,
           "es kam eine andere Tabelle als verlangt");
    table.headerRowCount = head.i64();
    expect(table.headerRowCount >= -1, "die Zeilenzahl ist ungültig");
    const quint32 columns = head.u32();
    expect(columns <= kMaxColumns, "die Tabelle hat zu viele Spalten");
    for (quint32 c = 0; c < columns; ++c) {
        const quint8 type = head.u8();
        expect(type <= quint8(JetType::Other), "eine Spalte hat einen unbekannten Typ");
        table.columns.append({ head.text(), JetType(type) });
    }
    expect(head.atEnd(), "der Tabellenkopf hat überzählige Angaben");

    for (qsizetype f = 1; f + 1 < frames.size(); ++f) {
        expect(frames[f].tag == Tag::Row, "ein Block steht an falscher Stelle");
        In in(frames[f].payload);
        QVariantList row;
        row.reserve(table.columns.size());
        for (const JetColumn &column : std::as_const(table.columns))
            row.append(valueFrom(in, column.type));
        expect(in.atEnd(), "eine Zeile hat mehr Werte als die Tabelle Spalten");
        table.rows.append(std::move(row));
    }
    In end(frames.last().payload);
    expect(end.i64() == table.rows.size() && end.atEnd(), "die Zahl der Zeilen stimmt nicht");
    return table;
}

} // namespace jetwire
