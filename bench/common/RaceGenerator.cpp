#include "RaceGenerator.h"

#include "common/GermanText.h"
#include "data/MakeDb.h"
#include "data/Sqlite.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace benchgen {

namespace {

const QStringList raceNames {
    QStringLiteral("Berlin-Marathon"),      QStringLiteral("Hamburg-Marathon"),
    QStringLiteral("Köln-Marathon"),        QStringLiteral("Frankfurt-Marathon"),
    QStringLiteral("München-Marathon"),     QStringLiteral("Silvesterlauf"),
    QStringLiteral("Rennsteiglauf"),        QStringLiteral("Stadtlauf"),
    QStringLiteral("Brückenlauf"),          QStringLiteral("Volkslauf am Baggersee"),
    QStringLiteral("Nikolauslauf"),         QStringLiteral("Halbmarathon Würzburg"),
    QStringLiteral("Drei-Länder-Marathon"), QStringLiteral("Zugspitz-Berglauf"),
};
const QStringList places {
    QStringLiteral("Berlin"),
    QStringLiteral("Hamburg"),
    QStringLiteral("München"),
    QStringLiteral("Köln"),
    QStringLiteral("Frankfurt am Main"),
    QStringLiteral("Düsseldorf"),
    QStringLiteral("Würzburg"),
    QStringLiteral("Bregenz"),
    QStringLiteral("Oberhof"),
    QStringLiteral("Garmisch-Partenkirchen"),
    QStringLiteral("Lörrach"),
    QStringLiteral("Gießen"),
};
const QStringList distances { QStringLiteral("Marathon"), QStringLiteral("Halb-Marathon"),
                              QStringLiteral("10 km"), QStringLiteral("Ultra 70 km") };
const QStringList timings { QStringLiteral("ChampionChip"), QStringLiteral("Transponder am Schuh"),
                            QStringLiteral("Startnummer mit Chip"),
                            QStringLiteral("Handzeitnahme") };
const QStringList surnames { QStringLiteral("Müller"),   QStringLiteral("Schäfer"),
                             QStringLiteral("Weiß"),     QStringLiteral("Becker"),
                             QStringLiteral("Hoffmann"), QStringLiteral("Schröder") };
const QStringList firstNames { QStringLiteral("Anna"),   QStringLiteral("Jürgen"),
                               QStringLiteral("Sabine"), QStringLiteral("Klaus"),
                               QStringLiteral("Björn"),  QStringLiteral("Ute") };
const QStringList streets { QStringLiteral("Hauptstraße 12"), QStringLiteral("Am Sportplatz 3"),
                            QStringLiteral("Lindenallee 47"), QStringLiteral("Bahnhofstraße 1a") };
const QString memoText
    = QStringLiteral("Anreise mit der Bahn, Startunterlagen am Vortag in der Messehalle abholen. "
                     "Verpflegung alle fünf Kilometer, Zielschluss nach sechs Stunden. ");

// The columns in the order of the values below.
const char *const insertRace
    = "insert into adressen (ad_lauf, ad_lauf_ort, ad_lauf_datum, ad_lauf_wotag, ad_strecke, "
      "ad_start, ad_ang_jn, ad_ang_datum, ad_vorgemerkt_jn, ad_gelaufen_jn, ad_zeit, "
      "ad_name_veranst, ad_telefon1_veranst, ad_fax_veranst, ad_email_veranst, "
      "ad_internet_veranst, ad_bank1, ad_blz1, ad_konto1, ad_zeitmessung, ad_strecke_sg, "
      "ad_sg1_datum, ad_sg2_datum, ad_sg3_datum, ad_sg11, ad_sg12, ad_sg13, ad_sg21, ad_sg22, "
      "ad_sg23, ad_sg31, ad_sg32, ad_sg33, ad_alarm_jn, ad_alarm_datum, ad_bezahlt_jn, "
      "ad_bezahlt_datum, ad_startbild_jn, ad_startbild, ad_name_ansprech, "
      "ad_vorname_ansprech, ad_anrede_ansprech, ad_titel_ansprech, ad_ort_ansprech, "
      "ad_strasse_ansprech, ad_pfplz_ansprech, ad_plz_ansprech, ad_postfach_ansprech, "
      "ad_land_ansprech, ad_direkt_ansprech, ad_mobil_ansprech, ad_email_ansprech, "
      "ad_memo_jn, ad_memo) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,"
      "?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";

class Generator
{
public:
    explicit Generator(unsigned seed)
        : m_random(seed)
    {
    }

    int below(int n) { return int(m_random.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }
    const QString &pick(const QStringList &list) { return list.at(below(int(list.size()))); }
    QString digits(int n)
    {
        QString text;
        for (int i = 0; i < n; ++i)
            text += QChar(u'0' + below(10));
        return text;
    }
    QString flag(bool yes) { return yes ? QStringLiteral("Ja") : QStringLiteral(" "); }

    QVariantList race()
    {
        const QDate date = QDate(2000, 1, 1).addDays(below(11000));
        const QString day = formatDate(date);
        const bool registered = chance(50);
        const bool run = date < QDate(2026, 1, 1) && chance(60);
        const bool reminder = chance(10);
        const bool paid = registered && chance(70);
        const QString name = pick(raceNames);
        const QString organiser = name + QStringLiteral(" e. V.");
        const QString domain = QStringLiteral("lauf-") + digits(4) + QStringLiteral(".de");
        const QString memo = chance(40) ? memoText.repeated(1 + below(4)) : QString();
        const QString fee = QStringLiteral("%1,00 EUR");
        return {
            name,
            pick(places),
            day,
            weekdayShort(date.dayOfWeek()),
            (registered || run) ? pick(distances) : QStringLiteral(" "),
            QStringLiteral("%1:%2")
                .arg(7 + below(6), 2, 10, QChar(u'0'))
                .arg(below(4) * 15, 2, 10, QChar(u'0')),
            registered,
            registered ? formatDate(date.addDays(-below(200))) : QStringLiteral(" "),
            chance(30),
            flag(run),
            run ? QStringLiteral("%1:%2:%3")
                      .arg(3 + below(3))
                      .arg(below(60), 2, 10, QChar(u'0'))
                      .arg(below(60), 2, 10, QChar(u'0'))
                : QStringLiteral(" "),
            organiser,
            QStringLiteral("0") + digits(3) + QStringLiteral(" ") + digits(6),
            QStringLiteral("0") + digits(3) + QStringLiteral(" ") + digits(6),
            QStringLiteral("info@") + domain,
            QStringLiteral("http://www.") + domain,
            QStringLiteral("Sparkasse ") + pick(places),
            digits(8),
            digits(10),
            pick(timings),
            QStringLiteral("10 km"),
            formatDate(date.addDays(-90)),
            formatDate(date.addDays(-30)),
            formatDate(date.addDays(-1)),
            fee.arg(40 + below(30)),
            fee.arg(25 + below(15)),
            fee.arg(10 + below(10)),
            fee.arg(50 + below(30)),
            fee.arg(30 + below(15)),
            fee.arg(15 + below(10)),
            fee.arg(60 + below(30)),
            fee.arg(35 + below(15)),
            fee.arg(20 + below(10)),
            flag(reminder),
            reminder ? formatDate(date.addDays(-40)) : QStringLiteral("01.01.1900"),
            flag(paid),
            paid ? formatDate(date.addDays(-35)) : QString(),
            chance(5),
            QStringLiteral("/home/laeufer/Bilder/start_") + digits(5) + QStringLiteral(".jpg"),
            pick(surnames),
            pick(firstNames),
            chance(50) ? QStringLiteral("Herr") : QStringLiteral("Frau"),
            chance(10) ? QStringLiteral("Dr.") : QString(),
            pick(places),
            pick(streets),
            digits(5),
            digits(5),
            chance(20) ? digits(4) : QString(),
            QStringLiteral("D"),
            QStringLiteral("0") + digits(4) + QStringLiteral(" ") + digits(5),
            QStringLiteral("01") + digits(2) + QStringLiteral(" ") + digits(7),
            QStringLiteral("kontakt@") + domain,
            memo.isEmpty() ? QString() : QStringLiteral("Ja"),
            memo,
        };
    }

private:
    QRandomGenerator m_random;
};

} // namespace

namespace {

// Inserts `count` races from the generator; `adjust` may change each race's values first.
void insertRaces(const QString &databasePath, int count, Generator &gen,
                 const std::function<void(int, QVariantList &)> &adjust = {})
{
    SqliteDb db(databasePath, SqliteDb::Open::ReadWrite);
    db.exec("begin");
    Statement race(db, insertRace);
    Statement document(db,
                       "insert into ereignisse_dokumente (ed_nummer, ed_datei, ed_dateiname) "
                       "values (?, ?, ?)");
    for (int i = 0; i < count; ++i) {
        QVariantList values = gen.race();
        if (adjust)
            adjust(i, values);
        for (int column = 0; column < values.size(); ++column)
            race.bind(column + 1, values.at(column));
        race.step();
        race.reset();
        if (!gen.chance(33))
            continue;
        const QString number = db.scalar("select last_insert_rowid()").toString();
        for (int d = 1 + gen.below(3); d > 0; --d) {
            document.bind(1, number);
            document.bind(2,
                          QStringLiteral("/home/laeufer/Dokumente/Ausschreibung_%1_%2.pdf")
                              .arg(number)
                              .arg(d));
            document.bind(3, QStringLiteral("Ausschreibung %1").arg(d));
            document.step();
            document.reset();
        }
    }
    db.exec("commit");
}

struct HistoryDistance
{
    const char16_t *text;
    double km; // 0: not a length
    double paceFactor; // slower on long distances
    int weight;
};
const HistoryDistance historyDistances[] = {
    { u"Marathon", 42.195, 1.08, 20 },
    { u"Halb-Marathon", 21.0975, 1.02, 20 },
    { u"Halbmarathon", 21.0975, 1.02, 5 },
    { u"10 km", 10, 0.95, 20 },
    { u"10km", 10, 0.95, 8 },
    { u"10 KM", 10, 0.95, 5 },
    { u"5 km", 5, 0.92, 10 },
    { u"Ultra 70 km", 70, 1.35, 4 },
    { u"Crosslauf", 9, 1.1, 8 },
};

QString typedTime(Generator &gen, int seconds)
{
    const int h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    const int form = gen.below(100);
    if (form < 3)
        return gen.chance(50) ? QStringLiteral("DNF")
                              : QStringLiteral("%1:%2%3").arg(h).arg(m).arg(s);
    if (form < 8)
        return QStringLiteral("%1h %2min %3s").arg(h).arg(m).arg(s);
    if (form < 12)
        return QStringLiteral("%1.%2.%3")
            .arg(h)
            .arg(m, 2, 10, QChar(u'0'))
            .arg(s, 2, 10, QChar(u'0'));
    if (h == 0 && form < 60)
        return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QChar(u'0'));
    return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QChar(u'0')).arg(s, 2, 10, QChar(u'0'));
}

} // namespace

void addRaces(const QString &databasePath, int count, unsigned seed)
{
    Generator gen(seed);
    insertRaces(databasePath, count, gen);
}

void addRaceHistory(const QString &databasePath, int firstYear, int years, unsigned seed)
{
    Generator gen(seed);
    std::vector<QDate> dates;
    for (int y = 0; y < years; ++y) {
        const QDate first(firstYear + y, 1, 1);
        for (int n = 15 + gen.below(10); n > 0; --n)
            dates.push_back(first.addDays(gen.below(first.daysInYear())));
    }
    int totalWeight = 0;
    for (const HistoryDistance &d : historyDistances)
        totalWeight += d.weight;
    insertRaces(databasePath, int(dates.size()), gen, [&](int i, QVariantList &values) {
        const QDate date = dates[size_t(i)];
        const bool run = gen.chance(75);
        int pick = gen.below(totalWeight);
        const HistoryDistance *distance = historyDistances;
        while (pick >= distance->weight)
            pick -= (distance++)->weight;
        // Faster for eight years, then slowly slower again; every race a little different.
        const double t = date.year() - firstYear + date.dayOfYear() / 366.0;
        const double pace = 335.0 - 50.0 * std::min(t, 8.0) / 8.0 + 3.0 * std::max(0.0, t - 8.0);
        const double noise = 0.96 + gen.below(81) / 1000.0;
        const int seconds = int(distance->km * pace * distance->paceFactor * noise);
        values[2] = formatDate(date);
        values[3] = weekdayShort(date.dayOfWeek());
        values[4] = QString::fromUtf16(distance->text);
        values[6] = run ? gen.chance(90) : gen.chance(40);
        values[8] = gen.chance(30);
        values[9] = gen.flag(run);
        values[10] = run ? typedTime(gen, seconds) : QStringLiteral(" ");
    });
}

void makeRaceDatabase(const QString &databasePath, int count, unsigned seed)
{
    const QString db = QStringLiteral(STRIVO_SOURCE_DIR) + QStringLiteral("/db/");
    makeDatabase(databasePath,
                 { db + QStringLiteral("schema.sql"), db + QStringLiteral("seed.sql") });
    addRaces(databasePath, count, seed);
}

QString raceDatabaseIn(const QString &folder, int count)
{
    QDir().mkpath(folder);
    const QString dbPath = folder + QStringLiteral("/Strivo-DB.mdb");
    const QString sizeMark = folder + QStringLiteral("/races-%1").arg(count);
    if (!QFile::exists(dbPath) || !QFile::exists(sizeMark)) {
        QFile::remove(dbPath);
        makeRaceDatabase(dbPath, count);
        QFile(sizeMark).open(QIODevice::WriteOnly);
    }
    return dbPath;
}

} // namespace benchgen
