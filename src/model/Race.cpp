#include "model/Race.h"

const QString kNoReminderDate = QStringLiteral("01.01.1900");

std::optional<QTime> Race::startTime() const
{
    if (start.size() != 5 || start[2] != u':')
        return std::nullopt;
    const QTime time = QTime::fromString(start, QStringLiteral("hh:mm"));
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

bool Race::registeredWithoutDate() const
{
    return registrationDate.stored() == QLatin1String("Ja");
}

std::optional<QDate> Race::reminderDay() const
{
    if (reminderDate.stored() == kNoReminderDate || !reminderDate.isDate())
        return std::nullopt;
    return reminderDate.date();
}
