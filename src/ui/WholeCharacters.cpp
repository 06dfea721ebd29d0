#include "ui/WholeCharacters.h"

#include <QLineEdit>

namespace {

// The text without surrogates that have lost their partner.
QString withoutHalves(const QString &text)
{
    QString whole;
    whole.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            whole += c;
            whole += text.at(++i);
        } else if (!c.isSurrogate()) {
            whole += c;
        }
    }
    return whole;
}

} // namespace

void keepWholeCharacters(QLineEdit *field)
{
    QObject::connect(field, &QLineEdit::textChanged, field, [field](const QString &text) {
        const QString whole = withoutHalves(text);
        if (whole.size() == text.size())
            return;
        const int cursor = field->cursorPosition();
        field->setText(whole);
        field->setCursorPosition(qMin(cursor, int(whole.size())));
    });
}
