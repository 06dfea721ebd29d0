#include "ui/FieldLimit.h"

#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace {
constexpr char kLimit[] = "typingLimit";

int limitOf(const QLineEdit &field)
{
    const QVariant limit = field.property(kLimit);
    return limit.isValid() ? limit.toInt() : field.maxLength();
}
} // namespace

void FieldLimit::setLimit(QLineEdit &field, int limit)
{
    field.setProperty(kLimit, limit);
    field.setMaxLength(limit);
    QObject::connect(&field, &QLineEdit::textEdited, &field, [&field] {
        const int allowed = std::max(limitOf(field), int(field.text().size()));
        if (allowed >= field.maxLength())
            return;
        // A shorter maximum puts the cursor at the end; the user keeps typing where they were.
        const int cursor = field.cursorPosition();
        field.setMaxLength(allowed);
        field.setCursorPosition(cursor);
    });
}

void FieldLimit::showWhole(QLineEdit &field, const QString &text)
{
    field.setMaxLength(std::max(limitOf(field), int(text.size())));
    field.setText(text);
}
