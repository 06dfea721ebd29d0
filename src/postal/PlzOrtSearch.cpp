#include "PlzOrtSearch.h"

#include "SqlTranslator.h"

#include <QLineEdit>
#include <QWidget>

namespace PlzOrt {

QString directoryStatement()
{
    return QStringLiteral("select * from aw_plzort  order by port");
}

QString searchStatement(const QString &field, const QString &text)
{
    // The length counts characters as left() does, not UTF-16 units.
    const auto length = text.toUcs4().size();
    return QStringLiteral("select * from aw_plzort  where left(") + field + QStringLiteral(",'")
        + QString::number(length) + QStringLiteral("' )  = ") + sqlQuoted(text)
        + QStringLiteral(" order by port");
}

namespace {

QLineEdit *editorField(QWidget *editor, const char *name)
{
    if (!editor)
        return nullptr;
    // The directory window itself may be a child of the editor; its fields never count.
    const auto fields = editor->findChildren<QLineEdit *>(QLatin1String(name));
    for (QLineEdit *field : fields)
        if (field->window() == editor->window())
            return field;
    return nullptr;
}

void put(QWidget *editor, const char *name, const QString &value)
{
    if (QLineEdit *field = editorField(editor, name))
        field->setText(value);
}

// Fills a field only while it is empty and there is something to put in.
void complete(QWidget *editor, const char *name, const QString &value)
{
    QLineEdit *field = editorField(editor, name);
    if (field && field->text().isEmpty() && !value.isEmpty())
        field->setText(value);
}

} // namespace

void writeIntoEditor(QWidget *editor, const QString &aufruf, const QString &port,
                     const QString &plz, const QString &pvw)
{
    // The area code starts a telephone number; the user types the rest.
    const QString dialling = pvw + QStringLiteral(" / ");
    if (aufruf == QLatin1String("lauf_ort")) {
        put(editor, "ad_t_lauf_ort", port);
        complete(editor, "ad_ort", port);
        complete(editor, "ad_plz", plz);
        if (!pvw.isEmpty()) {
            complete(editor, "ad_direkt", dialling);
            complete(editor, "ad_telefon1", dialling);
            complete(editor, "ad_fax", dialling);
        }
        return;
    }
    put(editor, "ad_ort", port);
    put(editor, "ad_plz", plz);
    put(editor, "ad_direkt", dialling);
}

} // namespace PlzOrt
