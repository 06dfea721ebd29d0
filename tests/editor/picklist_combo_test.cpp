#include "EditorFixture.h"

#include <QApplication>

namespace {
class PickListTest : public EditorTest
{
protected:
    RaceEditor &openShown(EditorMode mode = EditorMode::New)
    {
        RaceEditor &f = open(mode);
        showActive();
        return f;
    }
    void showActive()
    {
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // A new race the way the main window opens the next editor.
    void openNextNewRace()
    {
        form = std::make_unique<RaceEditor>(ctx, EditorMode::New, std::nullopt);
        form->fillPickLists();
        showActive();
    }

    // Types into the combo and leaves it with Tab.
    void enter(int index, const QString &text)
    {
        combo(index)->setFocus(Qt::MouseFocusReason);
        typeCombo(index, text);
        QTest::keyClick(combo(index), Qt::Key_Tab);
    }
    // Picks an entry from the list with the keyboard, as a user does in a closed combo.
    void pick(int index, const QString &entry)
    {
        QComboBox *c = combo(index);
        c->setFocus(Qt::MouseFocusReason);
        const int target = c->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(target, 0) << entry.toStdString();
        c->setCurrentIndex(target - 1);
        QTest::keyClick(c, Qt::Key_Down);
        ASSERT_EQ(c->currentIndex(), target);
    }
    void shiftDelete(int index)
    {
        QTest::keyClick(combo(index), Qt::Key_Delete, Qt::ShiftModifier);
    }

    QStringList items(int index) const
    {
        QStringList list;
        for (int i = 0; i < combo(index)->count(); ++i)
            list << combo(index)->itemText(i);
        return list;
    }
    QStringList table(const char *name, const char *field) const
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadOnly);
        Statement st(db, std::string("select ") + field + " from " + name + " order by rowid");
        QStringList rows;
        while (st.step())
            rows << st.column(0).toString();
        return rows;
    }
};
} // namespace

TEST_F(PickListTest, LeavingCompletesToTheFirstEntryInAnyCase)
{
    folder.exec(QStringLiteral("insert into aw_lauf values ('Bernau-Lauf'), ('berlin-Marathon'), "
                               "('Alb-Marathon');"));
    openShown();
    ASSERT_EQ(items(7), QStringList({ "Alb-Marathon", "berlin-Marathon", "Bernau-Lauf" }));

    enter(7, QStringLiteral("BER"));
    EXPECT_EQ(combo(7)->currentText(), "berlin-Marathon");

    // Enter leaves the field as well, and moves on.
    combo(7)->setFocus(Qt::MouseFocusReason);
    typeCombo(7, QStringLiteral("bernau"));
    QTest::keyClick(combo(7), Qt::Key_Return);
    EXPECT_EQ(combo(7)->currentText(), "Bernau-Lauf");
    EXPECT_EQ(QApplication::focusWidget(), control("ad_t_lauf_ort"));

    EXPECT_EQ(table("aw_lauf", "lauf").size(), 3);
    EXPECT_EQ(items(7).size(), 3);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PickListTest, ANewTextIsAddedOnceToTableAndList)
{
    folder.exec(
        QStringLiteral("insert into aw_zeitmessung values ('ChampionChip'), ('Transponder');"));
    openShown();

    enter(10, QStringLiteral("Handzeit"));
    EXPECT_EQ(table("aw_zeitmessung", "zeitmessung"),
              QStringList({ "ChampionChip", "Transponder", "Handzeit" }));
    EXPECT_EQ(items(10), QStringList({ "ChampionChip", "Handzeit", "Transponder" }));
    EXPECT_EQ(combo(10)->currentText(), "Handzeit");

    // Leaving again with the same text: it matches itself now.
    enter(10, QStringLiteral("Handzeit"));
    // Longer than an entry: no match, so it is new.
    enter(10, QStringLiteral("ChampionChip 2"));
    // Empty: nothing.
    enter(10, QString());
    EXPECT_EQ(table("aw_zeitmessung", "zeitmessung"),
              QStringList({ "ChampionChip", "Transponder", "Handzeit", "ChampionChip 2" }));
    EXPECT_EQ(items(10).size(), 4);

    // A country keeps 35 characters in its list; the field shows what was typed.
    const QString longName = QStringLiteral("Vereinigtes Königreich Großbritannien und Nordirland");
    enter(9, longName);
    EXPECT_EQ(table("aw_land", "land"), QStringList({ longName.left(35) }));
    EXPECT_EQ(items(9), QStringList({ longName.left(35) }));
    EXPECT_EQ(combo(9)->currentText(), longName);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PickListTest, StreetsAreStoredWithoutTheHouseNumber)
{
    folder.exec(QStringLiteral("insert into aw_strasse values ('Bahnhofstraße');"));
    openShown();

    enter(6, QStringLiteral("Hauptstraße 12"));
    EXPECT_EQ(combo(6)->currentText(), "Hauptstraße 12");
    EXPECT_EQ(table("aw_strasse", "strasse"), QStringList({ "Bahnhofstraße", "Hauptstraße" }));
    EXPECT_EQ(items(6), QStringList({ "Bahnhofstraße", "Hauptstraße 12" }));

    // A known street with a number: the table has it, the list gains the full text.
    enter(6, QStringLiteral("bahnhofstraße 3a"));
    EXPECT_EQ(combo(6)->currentText(), "bahnhofstraße 3a");
    EXPECT_EQ(table("aw_strasse", "strasse").size(), 2);
    EXPECT_EQ(items(6), QStringList({ "Bahnhofstraße", "bahnhofstraße 3a", "Hauptstraße 12" }));

    // No digit: stored whole. The character before the number goes with it.
    enter(6, QStringLiteral("Am Weiher"));
    enter(6, QStringLiteral("Ringstr.5"));
    EXPECT_EQ(table("aw_strasse", "strasse"),
              QStringList({ "Bahnhofstraße", "Hauptstraße", "Am Weiher", "Ringstr" }));
    EXPECT_EQ(combo(6)->currentText(), "Ringstr.5");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PickListTest, StreetsThatBeginWithANumber)
{
    openShown();
    // Nothing stands before the number: the table gets nothing, the field and list keep it.
    enter(6, QStringLiteral("7 Eichen"));
    enter(6, QStringLiteral("1. Straße"));
    EXPECT_TRUE(table("aw_strasse", "strasse").isEmpty());
    EXPECT_EQ(combo(6)->currentText(), "1. Straße");
    EXPECT_EQ(items(6), QStringList({ "1. Straße", "7 Eichen" }));
    // One character before the number is the street.
    enter(6, QStringLiteral("B 96"));
    EXPECT_EQ(table("aw_strasse", "strasse"), QStringList({ "B" }));
    EXPECT_EQ(combo(6)->currentText(), "B 96");
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PickListTest, ShiftDeleteKeepsTheLastEntryExceptForRaceNames)
{
    folder.exec(QStringLiteral("insert into aw_titel values ('Dr.');"
                               "insert into aw_anrede values ('Frau'), ('Herr');"
                               "insert into aw_lauf values ('Citylauf');"));
    openShown();

    pick(1, QStringLiteral("Dr."));
    shiftDelete(1);
    EXPECT_EQ(table("aw_titel", "titel"), QStringList({ "Dr." }));
    EXPECT_EQ(items(1), QStringList({ "Dr." }));
    EXPECT_EQ(combo(1)->currentText(), "Dr.");

    pick(3, QStringLiteral("Herr"));
    QTest::keyClick(combo(3), Qt::Key_Delete); // without Shift: nothing
    EXPECT_EQ(table("aw_anrede", "anrede").size(), 2);
    shiftDelete(3);
    EXPECT_EQ(table("aw_anrede", "anrede"), QStringList({ "Frau" }));
    EXPECT_EQ(items(3), QStringList({ "Frau" }));

    pick(7, QStringLiteral("Citylauf"));
    shiftDelete(7);
    EXPECT_TRUE(table("aw_lauf", "lauf").isEmpty());
    EXPECT_TRUE(items(7).isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());

    // With no race name left, there is no first row to go to.
    shiftDelete(7);
    EXPECT_EQ(ui.messageTexts(), QStringList({ "Kein aktueller Datensatz. 3021" }));
}

TEST_F(PickListTest, ShiftDeleteLooksForTheTextLeftLast)
{
    folder.exec(QStringLiteral("insert into aw_titel values ('Dr.'), ('Prof.');"
                               "insert into aw_anrede values ('Frau'), ('Herr');"));
    openShown();
    // Left last: the salutation; no title equals it.
    enter(3, QStringLiteral("herr"));
    combo(1)->setFocus(Qt::MouseFocusReason);
    shiftDelete(1);
    EXPECT_EQ(table("aw_titel", "titel").size(), 2);
    EXPECT_EQ(table("aw_anrede", "anrede").size(), 2);

    // The list position picked last belongs to another entry by now: the entry that was
    // deleted from the table is the one that leaves the list.
    pick(1, QStringLiteral("Dr."));
    enter(3, QStringLiteral("Prof."));
    EXPECT_EQ(table("aw_anrede", "anrede"), QStringList({ "Frau", "Herr", "Prof." }));
    combo(1)->setFocus(Qt::MouseFocusReason);
    shiftDelete(1);
    EXPECT_EQ(table("aw_titel", "titel"), QStringList({ "Dr." }));
    EXPECT_EQ(items(1), QStringList({ "Dr." }));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PickListTest, AnEntryAddedOrDeletedInOneEditorCountsInTheNext)
{
    folder.exec(QStringLiteral("insert into aw_lauf values ('Citylauf'), ('Waldlauf');"
                               "insert into aw_titel values ('Dr.'), ('Prof.');"));
    openShown();
    enter(7, QStringLiteral("Stadtlauf"));
    enter(6, QStringLiteral("Hauptstraße 12"));
    pick(1, QStringLiteral("Prof."));
    shiftDelete(1);
    // The field no longer shows the deleted entry, so leaving it does not add it again.
    EXPECT_EQ(combo(1)->currentText(), "");
    cancel();
    ASSERT_FALSE(form->isVisible());

    openNextNewRace();
    EXPECT_EQ(items(7), QStringList({ "Citylauf", "Stadtlauf", "Waldlauf" }));
    EXPECT_EQ(items(6), QStringList({ "Hauptstraße" }));
    EXPECT_EQ(items(1), QStringList({ "Dr." }));
    EXPECT_EQ(combo(7)->currentText(), "");
    // The new entry completes like any other.
    enter(7, QStringLiteral("st"));
    EXPECT_EQ(combo(7)->currentText(), "Stadtlauf");
    EXPECT_EQ(table("aw_lauf", "lauf").size(), 3);
}

TEST_F(PickListTest, AnEntryTheDatabaseRefusesIsReportedAndNotListed)
{
    openShown();
    folder.exec(QStringLiteral("create trigger refuse before insert on aw_zeitmessung "
                               "begin select raise(abort, 'abgelehnt'); end;"));
    enter(10, QStringLiteral("Handzeit"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, "Strivo");
    EXPECT_TRUE(items(10).isEmpty());
    EXPECT_TRUE(table("aw_zeitmessung", "zeitmessung").isEmpty());
    EXPECT_EQ(combo(10)->currentText(), "Handzeit");
}

// However the save is started, it reads the race name as leaving the field leaves it.
TEST_F(PickListTest, SavingByAccessKeyOrClickCompletesOrAddsTheNameFirst)
{
    folder.exec(QStringLiteral("insert into aw_lauf values ('Stadtlauf Esslingen');"));
    auto saveNewRace = [&](const QString &typed, bool byAccessKey) {
        openShown();
        control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("07.06.2026, Sonntag"));
        combo(7)->setFocus(Qt::MouseFocusReason);
        typeCombo(7, typed);
        if (byAccessKey)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        else
            save();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); })) << typed.toStdString();
        return row(lastKey()).value("ad_lauf").toString();
    };
    EXPECT_EQ(saveNewRace(QStringLiteral("stadt"), true), "Stadtlauf Esslingen");
    EXPECT_EQ(saveNewRace(QStringLiteral("stadt"), false), "Stadtlauf Esslingen");
    EXPECT_EQ(saveNewRace(QStringLiteral("Mondscheinlauf"), true), "Mondscheinlauf");
    EXPECT_EQ(table("aw_lauf", "lauf"), QStringList({ "Stadtlauf Esslingen", "Mondscheinlauf" }));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PickListTest, NewEntriesAreCutBetweenWholeCharacters)
{
    const QString smile = QString::fromUtf8("😀"); // two UTF-16 units, typed as one key
    const auto enterAround = [&](int index, const QString &before, const QString &after) {
        combo(index)->setFocus(Qt::MouseFocusReason);
        typeCombo(index, before);
        QTest::sendKeyEvent(QTest::Click, combo(index)->lineEdit(), Qt::Key_unknown, smile,
                            Qt::NoModifier);
        typeKeys(combo(index)->lineEdit(), after);
        QTest::keyClick(combo(index), Qt::Key_Tab);
    };
    openShown();
    enterAround(7, QString(34, u'L'), "x");
    enterAround(1, QString(33, u'T'), "yz");
    EXPECT_EQ(table("aw_lauf", "lauf"), QStringList { QString(34, u'L') });
    EXPECT_EQ(table("aw_titel", "titel"), QStringList { QString(33, u'T') + smile });
    EXPECT_EQ(items(7), QStringList { QString(34, u'L') });
}
