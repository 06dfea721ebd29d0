#pragma once

#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

// A stand-in for the race editor: just the text fields the directory writes into.
class EditorStandIn : public QWidget
{
public:
    EditorStandIn()
    {
        auto *layout = new QVBoxLayout(this);
        for (const char *name :
             { "ad_t_lauf_ort", "ad_ort", "ad_plz", "ad_direkt", "ad_telefon1", "ad_fax" }) {
            auto *field = new QLineEdit(this);
            field->setObjectName(QLatin1String(name));
            layout->addWidget(field);
        }
    }
    QLineEdit *field(const char *name) const { return findChild<QLineEdit *>(QLatin1String(name)); }
    QString text(const char *name) const { return field(name)->text(); }
    void set(const char *name, const QString &value) { field(name)->setText(value); }
};
