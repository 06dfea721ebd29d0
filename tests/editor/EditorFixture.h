#pragma once

#include "KeyTyping.h"
#include "ProgramFixture.h"
#include "data/RaceStore.h"
#include "data/Sqlite.h"
#include "editor/RaceEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

// A program folder with a real database and the editor opened on one of its races, as
// editRace() opens it; the test then works the window itself.
class EditorTest : public ::testing::Test, protected ProgramRun
{
protected:
    EditorTest()
        : ProgramRun(TestFolder::Content::Empty, QDateTime(QDate(2026, 5, 7), QTime(10, 0)))
    {
    }

    RaceEditor &open(EditorMode mode, qlonglong chosen = 0)
    {
        std::optional<Race> race;
        if (chosen)
            race = ctx.races().race(chosen);
        form.reset();
        form = std::make_unique<RaceEditor>(ctx, mode, race);
        form->fillPickLists();
        return *form;
    }

    template<class T = QWidget> T *control(const char *name) const
    {
        T *w = form->findChild<T *>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox *combo(int index) const
    {
        return control<QComboBox>(QStringLiteral("aw_Combo1(%1)").arg(index).toUtf8().constData());
    }
    QString labelText(const char *name) const { return control<QLabel>(name)->text(); }
    QString fieldText(const char *name) const { return control<QLineEdit>(name)->text(); }

    // Replaces the field's text key by key, as a user types over it.
    static void typeInto(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        typeKeys(field, text);
    }
    void type(const char *name, const QString &text) { typeInto(control<QLineEdit>(name), text); }
    void typeCombo(int index, const QString &text) { typeInto(combo(index)->lineEdit(), text); }
    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    // Check boxes and option buttons react where their indicator is.
    void toggle(const char *name)
    {
        auto *button = control<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    void save() { click("db_ok(3)"); }

    // The stops of Tab and Enter from the race name to the save button. The distance options
    // are one stop, entered at the chosen option.
    static QStringList stopsToSave(const QString &chosenDistance
                                   = QStringLiteral("ad_o_strecke(0)"))
    {
        return { "aw_Combo1(7)",
                 "ad_t_lauf_ort",
                 "t_termin_stunde",
                 "t_termin_minuten",
                 "ad_check_vorgemerkt",
                 "ad_check_angemeldet",
                 "ad_check_gelaufen",
                 chosenDistance,
                 "ad_t_zeit",
                 "ad_name2",
                 "ad_telefon1",
                 "ad_fax",
                 "ad_internet",
                 "ad_email",
                 "ad_konto1",
                 "ad_blz1",
                 "ad_bank1",
                 "aw_Combo1(10)",
                 "ad_t_sg11",
                 "ad_t_sg12",
                 "ad_t_sg13",
                 "ad_t_sg21",
                 "ad_t_sg22",
                 "ad_t_sg23",
                 "ad_t_sg31",
                 "ad_t_sg32",
                 "ad_t_sg33",
                 "ad_check_alarm",
                 "ad_check_bezahlt",
                 "ad_name1",
                 "ad_vorname",
                 "aw_Combo1(3)",
                 "aw_Combo1(1)",
                 "aw_Combo1(6)",
                 "ad_plz",
                 "ad_ort",
                 "ad_pfplz",
                 "ad_postfach",
                 "aw_Combo1(9)",
                 "ad_direkt",
                 "ad_funk",
                 "ad_email_ansprech",
                 "db_ok(3)" };
    }
    void cancel() { click("db_abbr(3)"); }

    // The stored row as the file holds it.
    QVariantMap row(qlonglong key) const
    {
        return folder.firstRow(QStringLiteral("select * from adressen where ad_nummer = ?"), key);
    }
    qlonglong lastKey() const
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
        return db.scalar("select max(ad_nummer) from adressen").toLongLong();
    }

    std::unique_ptr<RaceEditor> form;
};
