#include "EdgeCaseRaces.h"

#include "data/DocumentLinkIndex.h"
#include "data/MakeDb.h"
#include "data/RaceDateIndex.h"
#include "data/Sqlite.h"

namespace EdgeCaseRaces {

namespace {

const QVariant null;

QVariant text(const char *s)
{
    return QString::fromUtf8(s);
}

void insert(SqliteDb &db, const QString &sql, const std::vector<QVariant> &values)
{
    Statement st(db, sql.toStdString());
    int i = 1;
    for (const QVariant &v : values)
        st.bind(i++, v);
    st.step();
}

} // namespace

void make(const QString &path, bool irregularDates)
{
    makeDatabase(path, { QStringLiteral(STRIVO_SOURCE_DIR "/db/schema.sql") });
    SqliteDb db(path, SqliteDb::Open::ReadWrite);
    RaceDateIndex::ensure(db);
    DocumentLinkIndex::ensure(db);

    const std::vector<QVariant> names = {
        text("Köln-Marathon"),
        text("Ölberg-Lauf"),
        text("Oberhausen"),
        text("Zürich"),
        text("Ärzte-Lauf"),
        text("Äpfel"),
        text("äpfel"),
        text(""),
        null,
        text(" "),
        text("Straße"),
        text("Strasse"),
        text("Bonn"),
    };
    std::vector<QVariant> dates = {
        text("05.03.2004"), text("29.02.2004"),
        text("29.02.2003"), text("31.04.2010"),
        text("01.01.1850"), text("31.12.2150"),
        text("01.01.0033"), text("01.01.0000"),
        text(""),           null,
        text("Ja"),         text("15.06.2025"),
        text("14.06.2025"), text("16.06.2025"),
        text("29.02.2024"), text("28.02.2024"),
        text("01.03.2024"), text("10.01.2003"),
        text("09.12.2002"), text("15.06.2025"),
        text("31.12.2099"), text("01.01.2100"),
        text("31.12.1899"), text("01.01.1900"),
    };
    if (irregularDates)
        for (const char *lenient : { " 5.3.2004", "05.03.2004, Freitag", "5.3.2004", "1.7.2025" })
            dates.push_back(text(lenient));
    const std::vector<QVariant> textFlags
        = { text("Ja"), text("ja"), text("nein"), text(" "), null, text("JA"), text("") };
    const std::vector<QVariant> yesNo
        = { qlonglong(0), qlonglong(1), qlonglong(2), qlonglong(-1), qlonglong(1) };
    const std::vector<QVariant> reminderDates = {
        text("01.01.1900"), text("10.06.2025"), text("15.06.2025"), text("20.06.2025"),
        text("29.02.2024"), text(" 5.3.2004"),  text("30.02.2020"), null,
        text(""),
    };

    // One transaction: a write to the disk per race would take seconds.
    db.exec("begin");
    const int races = 150;
    for (int i = 0; i < races; ++i) {
        const auto pick = [i](const std::vector<QVariant> &values, int step) {
            return values[size_t((i * step + i / 7) % int(values.size()))];
        };
        insert(db,
               QStringLiteral("insert into adressen (ad_lauf, ad_lauf_ort, ad_lauf_datum, "
                              "ad_strecke, ad_zeit, ad_gelaufen_jn, ad_ang_jn, ad_vorgemerkt_jn, "
                              "ad_startbild_jn, ad_alarm_jn, ad_alarm_datum, ad_bezahlt_jn, "
                              "ad_ang_datum, ad_memo_jn, ad_memo) values (?, ?, ?, ?, ?, ?, ?, "
                              "?, ?, ?, ?, ?, ?, ?, ?)"),
               { pick(names, 1), i % 5 ? QVariant(QStringLiteral("Ort %1").arg(i)) : null,
                 pick(dates, 5), i % 3 ? text("Marathon") : text("10 km"),
                 i % 4 ? text("3:59:59") : text(" "), pick(textFlags, 3), pick(yesNo, 2),
                 pick(yesNo, 3), pick(yesNo, 1), pick(textFlags, 1), pick(reminderDates, 2),
                 pick(textFlags, 4), i % 6 ? text("Ja") : text(" "), i % 2 ? text("Ja") : text(""),
                 i % 2 ? text("Notiz\nmit Zeilen | und Strich") : null });
    }
    // Numbers with gaps, as deleting races leaves them.
    db.exec("delete from adressen where ad_nummer in (17, 18, 60)");

    const std::vector<QVariant> owners
        = { text("1"), text(" 1"), text("01"), text("1a"), text("1.5"), null,
            text("2"), text(""),   text("3"),  text("2 "), text("+3") };
    for (size_t i = 0; i < owners.size(); ++i)
        insert(db,
               QStringLiteral("insert into ereignisse_dokumente (ed_nummer, ed_datei, "
                              "ed_dateiname) values (?, ?, ?)"),
               { owners[i], QStringLiteral("/home/läufer/Dokument %1.pdf").arg(i),
                 i % 3 ? QVariant(QStringLiteral("Anmeldung %1").arg(i)) : null });
    db.exec("commit");
}

void forEachDatabase(const QString &folder,
                     const std::function<void(const QString &name, const QString &path)> &use)
{
    for (bool irregular : { false, true }) {
        const QString name = irregular ? QStringLiteral("irregular") : QStringLiteral("regular");
        const QString path = folder + u'/' + name + QStringLiteral(".mdb");
        make(path, irregular);
        use(name, path);
    }
}

std::vector<QDate> todays()
{
    return { QDate(2025, 6, 15), QDate(2024, 2, 29) };
}

QString ListCase::key() const
{
    return QStringLiteral("future=%1 past=%2 option=%3")
        .arg(int(future))
        .arg(int(past))
        .arg(option);
}

std::vector<ListCase> listCases()
{
    std::vector<ListCase> cases;
    for (int times = 0; times < 4; ++times)
        for (int option = -1; option <= 5; ++option)
            cases.push_back({ (times & 1) != 0, (times & 2) != 0, option });
    return cases;
}

std::vector<qlonglong> documentOwners()
{
    return { 1, 2, 3, 4 };
}

QString cell(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.typeId() == QMetaType::QString)
        return textCell(value.toString());
    return value.toString();
}

QString textCell(const QString &text)
{
    if (text.isNull())
        return QStringLiteral("NULL");
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
    return u'"' + escaped + u'"';
}

QString line(const QStringList &cells)
{
    return cells.join(u'|');
}

QString numberLine(const QList<qlonglong> &numbers)
{
    QStringList listed;
    for (qlonglong n : numbers)
        listed << QString::number(n);
    return listed.isEmpty() ? QStringLiteral("(none)") : listed.join(u' ');
}

} // namespace EdgeCaseRaces

#include <QFile>
#include <QTextStream>

namespace EdgeCaseRaces {

QString flagCell(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

void write(const Results &results, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    QTextStream out(&file);
    for (const auto &[key, lines] : results) {
        out << "== " << key << '\n';
        for (const QString &l : lines)
            out << l << '\n';
    }
}

Results read(const QString &path)
{
    QFile file(path);
    Results results;
    if (!file.open(QIODevice::ReadOnly))
        return results;
    QStringList *current = nullptr;
    for (const QString &l : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (l.startsWith(QLatin1String("== ")))
            current = &results[l.mid(3)];
        else if (current && !l.isEmpty())
            *current << l;
    }
    return results;
}

} // namespace EdgeCaseRaces
