#include "PlzOrtGenerator.h"

#include "data/Sqlite.h"

#include <array>
#include <random>

namespace benchgen {

void addPostalDirectory(const QString &databasePath, int count, unsigned seed)
{
    static const std::array<const char16_t *, 24> starts = {
        u"Bad ", u"Alt",  u"Neu",  u"Ober",  u"Unter", u"Groß",  u"Klein",  u"Sankt ",
        u"Über", u"Ött",  u"Äsch", u"Stutt", u"Frei",  u"Hohen", u"Nieder", u"Wald",
        u"Mühl", u"Berg", u"Rott", u"Lauf",  u"Kirch", u"Wies",  u"Brück",  u"Roß",
    };
    static const std::array<const char16_t *, 20> middles = {
        u"en", u"el",    u"ber", u"har",  u"lin",  u"sel", u"ting", u"mar",  u"kirch", u"dorf",
        u"au", u"stein", u"ach", u"wang", u"heim", u"hof", u"reut", u"fels", u"loh",   u"eck",
    };
    static const std::array<const char16_t *, 12> ends = {
        u"",     u"en",    u"ingen",  u"hausen", u"bach",   u"burg",
        u"feld", u"stadt", u"weiler", u"berg",   u"'s Hof", u" am See",
    };
    std::mt19937 random(seed);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };

    SqliteDb db(databasePath, SqliteDb::Open::ReadWrite);
    db.exec("begin");
    Statement insert(db, "insert into aw_plzort (port, plz, pvw) values (?, ?, ?)");
    for (int i = 0; i < count; ++i) {
        QString port = QString::fromUtf16(starts[size_t(pick(int(starts.size())))])
            + QString::fromUtf16(middles[size_t(pick(int(middles.size())))])
            + QString::fromUtf16(ends[size_t(pick(int(ends.size())))]);
        if (pick(20) == 0)
            port = port.toLower();
        const QString plz = QString::number(1000 + pick(98000)).rightJustified(5, u'0');
        const QString pvw
            = pick(25) == 0 ? QString() : u'0' + QString::number(20 + pick(9980)).left(2 + pick(3));
        insert.reset();
        insert.bind(1, port);
        insert.bind(2, plz);
        insert.bind(3, pvw);
        insert.step();
    }
    db.exec("commit");
}

} // namespace benchgen
