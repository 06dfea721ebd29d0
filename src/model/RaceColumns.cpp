#include "model/RaceColumns.h"

#include <algorithm>
#include <variant>

namespace RaceColumns {

namespace {

using Field = std::variant<QString *, StoredDate *, Flag *>;

struct Column
{
    const char *name;
    Field (*field)(Race &);
};

// Every column once, in the table's order.
const Column kColumns[] = {
    { kName, [](Race &r) -> Field { return &r.name; } },
    { "ad_lauf_ort", [](Race &r) -> Field { return &r.place; } },
    { kDate, [](Race &r) -> Field { return &r.date; } },
    { "ad_lauf_wotag", [](Race &r) -> Field { return &r.weekday; } },
    { "ad_strecke", [](Race &r) -> Field { return &r.distance; } },
    { "ad_start", [](Race &r) -> Field { return &r.start; } },
    { kRegistered, [](Race &r) -> Field { return &r.registered; } },
    { "ad_ang_datum", [](Race &r) -> Field { return &r.registrationDate; } },
    { kNoted, [](Race &r) -> Field { return &r.noted; } },
    { kRun, [](Race &r) -> Field { return &r.run; } },
    { "ad_zeit", [](Race &r) -> Field { return &r.finishTime; } },
    { "ad_name_veranst", [](Race &r) -> Field { return &r.organiser.name; } },
    { "ad_telefon1_veranst", [](Race &r) -> Field { return &r.organiser.phone; } },
    { "ad_fax_veranst", [](Race &r) -> Field { return &r.organiser.fax; } },
    { "ad_email_veranst", [](Race &r) -> Field { return &r.organiser.email; } },
    { "ad_internet_veranst", [](Race &r) -> Field { return &r.organiser.web; } },
    { "ad_bank1", [](Race &r) -> Field { return &r.organiser.bank; } },
    { "ad_blz1", [](Race &r) -> Field { return &r.organiser.bankCode; } },
    { "ad_konto1", [](Race &r) -> Field { return &r.organiser.account; } },
    { "ad_zeitmessung", [](Race &r) -> Field { return &r.timing; } },
    { "ad_strecke_sg", [](Race &r) -> Field { return &r.fees.thirdDistance; } },
    { "ad_sg1_datum", [](Race &r) -> Field { return &r.fees.deadlines[0]; } },
    { "ad_sg2_datum", [](Race &r) -> Field { return &r.fees.deadlines[1]; } },
    { "ad_sg3_datum", [](Race &r) -> Field { return &r.fees.deadlines[2]; } },
    // ad_sgDR: deadline D, distance row R.
    { "ad_sg11", [](Race &r) -> Field { return &r.fees.fees[0][0]; } },
    { "ad_sg12", [](Race &r) -> Field { return &r.fees.fees[0][1]; } },
    { "ad_sg13", [](Race &r) -> Field { return &r.fees.fees[0][2]; } },
    { "ad_sg21", [](Race &r) -> Field { return &r.fees.fees[1][0]; } },
    { "ad_sg22", [](Race &r) -> Field { return &r.fees.fees[1][1]; } },
    { "ad_sg23", [](Race &r) -> Field { return &r.fees.fees[1][2]; } },
    { "ad_sg31", [](Race &r) -> Field { return &r.fees.fees[2][0]; } },
    { "ad_sg32", [](Race &r) -> Field { return &r.fees.fees[2][1]; } },
    { "ad_sg33", [](Race &r) -> Field { return &r.fees.fees[2][2]; } },
    { kReminder, [](Race &r) -> Field { return &r.reminder; } },
    { kReminderDate, [](Race &r) -> Field { return &r.reminderDate; } },
    { kPaid, [](Race &r) -> Field { return &r.paid; } },
    { "ad_bezahlt_datum", [](Race &r) -> Field { return &r.paidDate; } },
    { kOnStartScreen, [](Race &r) -> Field { return &r.onStartScreen; } },
    { "ad_startbild", [](Race &r) -> Field { return &r.picture; } },
    { "ad_name_ansprech", [](Race &r) -> Field { return &r.contact.surname; } },
    { "ad_vorname_ansprech", [](Race &r) -> Field { return &r.contact.firstName; } },
    { "ad_anrede_ansprech", [](Race &r) -> Field { return &r.contact.salutation; } },
    { "ad_titel_ansprech", [](Race &r) -> Field { return &r.contact.title; } },
    { "ad_ort_ansprech", [](Race &r) -> Field { return &r.contact.town; } },
    { "ad_strasse_ansprech", [](Race &r) -> Field { return &r.contact.street; } },
    { "ad_pfplz_ansprech", [](Race &r) -> Field { return &r.contact.poBoxPostcode; } },
    { "ad_plz_ansprech", [](Race &r) -> Field { return &r.contact.postcode; } },
    { "ad_postfach_ansprech", [](Race &r) -> Field { return &r.contact.poBox; } },
    { "ad_land_ansprech", [](Race &r) -> Field { return &r.contact.country; } },
    { "ad_direkt_ansprech", [](Race &r) -> Field { return &r.contact.directPhone; } },
    { "ad_mobil_ansprech", [](Race &r) -> Field { return &r.contact.mobile; } },
    { "ad_email_ansprech", [](Race &r) -> Field { return &r.contact.email; } },
    { "ad_memo_jn", [](Race &r) -> Field { return &r.hasNotes; } },
    { "ad_memo", [](Race &r) -> Field { return &r.notes; } },
};

template<class... Ts> struct Overloaded : Ts...
{
    using Ts::operator()...;
};
template<class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

QString textOf(const QVariant &stored)
{
    if (stored.isNull())
        return {};
    QString text = stored.toString();
    return text.isNull() ? QStringLiteral("") : text;
}

QVariant storedText(const QString &text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

const QStringList &names()
{
    static const QStringList all = [] {
        QStringList list;
        for (const Column &c : kColumns)
            list << QLatin1String(c.name);
        return list;
    }();
    return all;
}

QStringList holding(const Race &race, std::initializer_list<const void *> fields)
{
    Race &r = const_cast<Race &>(race); // only the addresses are compared
    QStringList list;
    for (const Column &c : kColumns) {
        const void *field = std::visit([](auto *f) -> const void * { return f; }, c.field(r));
        if (std::find(fields.begin(), fields.end(), field) != fields.end())
            list << QLatin1String(c.name);
    }
    return list;
}

QStringList feeTable()
{
    const Race r;
    QStringList list = holding(r, { &r.fees.thirdDistance });
    for (size_t deadline = 0; deadline < 3; ++deadline) {
        list += holding(r, { &r.fees.deadlines[deadline] });
        for (const QString &fee : r.fees.fees[deadline])
            list += holding(r, { &fee });
    }
    return list;
}

const std::vector<Kind> &kinds()
{
    static const std::vector<Kind> all = [] {
        Race probe;
        std::vector<Kind> list;
        for (const Column &c : kColumns)
            list.push_back(std::visit(
                Overloaded {
                    [&](QString *t) { return t == &probe.start ? Kind::Time : Kind::Text; },
                    [](StoredDate *) { return Kind::Date; },
                    [](Flag *f) {
                        return f->kind() == Flag::Kind::Boolean ? Kind::YesNo : Kind::Text;
                    } },
                c.field(probe)));
        return list;
    }();
    return all;
}

std::vector<QVariant> toStored(const Race &race)
{
    // The accessors hand out pointers for writing; reading through them changes nothing.
    Race &r = const_cast<Race &>(race);
    std::vector<QVariant> values;
    values.reserve(std::size(kColumns));
    for (const Column &c : kColumns)
        values.push_back(
            std::visit(Overloaded { [](QString *t) { return storedText(*t); },
                                    [](StoredDate *d) { return storedText(d->stored()); },
                                    [](Flag *f) { return f->stored(); } },
                       c.field(r)));
    return values;
}

void setStored(Race &race, qsizetype column, const QVariant &value)
{
    std::visit(Overloaded { [&](QString *t) { *t = textOf(value); },
                            [&](StoredDate *d) { *d = StoredDate(textOf(value)); },
                            [&](Flag *f) { *f = Flag::fromStored(f->kind(), value); } },
               kColumns[column].field(race));
}

Race fromStored(qlonglong number, const std::vector<QVariant> &values)
{
    Race race;
    race.number = number;
    for (size_t i = 0; i < std::size(kColumns); ++i)
        setStored(race, qsizetype(i), i < values.size() ? values[i] : QVariant());
    return race;
}

} // namespace RaceColumns
