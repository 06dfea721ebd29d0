#pragma once

#include "KeyTyping.h"
#include "ProgramFixture.h"
#include "data/Sqlite.h"
#include "postal/PostalDirectoryDialog.h"
#include "ui/ListGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>

// A program folder with a real database holding a small directory, and the directory window
// opened over a parent window.
class PostalTest : public ::testing::Test, protected ProgramRun
{
protected:
    PostalTest()
        : ProgramRun(TestFolder::Content::Empty, QDateTime(QDate(2026, 5, 7), QTime(10, 0)))
    {
    }

    qlonglong addPlace(const QString &port, const QString &plz, const QString &pvw) const
    {
        SqliteDb db(folder.dbPath(), SqliteDb::Open::ReadWrite);
        Statement st(db, "insert into aw_plzort (port, plz, pvw) values (?, ?, ?)");
        st.bind(1, port);
        st.bind(2, plz);
        st.bind(3, pvw);
        st.step();
        return db.scalar("select max(pov_nummer) from aw_plzort").toLongLong();
    }

    // Places that begin alike, in different cases, with umlauts and with an apostrophe.
    void addDirectory()
    {
        stuttgart = addPlace("Stuttgart", "70173", "0711");
        addPlace("Überlingen", "88662", "07551");
        addPlace("stutensee", "76297", "07244");
        addPlace("Aachen", "52062", "0241");
        addPlace("Sankt Peter's Hof", "79271", "07660");
        addPlace("Sankt Peter", "79271", "07660");
        addPlace("Ulm", "89073", "0731");
        addPlace("Bonn", "53111", "0228");
        addPlace("Ohnevorwahl", "12345", "");
    }

    PostalDirectoryDialog &open()
    {
        form = std::make_unique<PostalDirectoryDialog>(ctx, &parent);
        form->show();
        // Focus changes (entering a search field) need an active window.
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    // What the grid shows, top to bottom, in its "Ort" column.
    QStringList gridPlaces() const
    {
        const auto *model = form->DBGrid1->model();
        QStringList places;
        for (int r = 0; r < model->rowCount(); ++r)
            places << model->data(model->index(r, 0)).toString();
        return places;
    }
    int gridCurrentRow() const { return form->DBGrid1->currentRow(); }
    QString currentPlace() const
    {
        const auto place = form->currentPlace();
        return place ? place->town : QString();
    }

    static void typeInto(QLineEdit *field, const QString &text) { typeKeys(field, text); }
    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    static void selectRow(PostalDirectoryDialog &window, const QString &port)
    {
        auto *rows = window.DBGrid1->rows();
        for (int r = 0; rows && r < rows->rowsRead(); ++r) {
            if (rows->cell(r, 0) == port) {
                window.DBGrid1->setCurrentRow(r);
                return;
            }
        }
        FAIL() << port.toStdString() << " is not listed";
    }
    void selectRow(const QString &port) { selectRow(*form, port); }

    // What OK handed back, as "place|postcode|area code"; "-" when nothing was taken.
    QString chosen() const
    {
        const auto &p = form->chosenPlace();
        return p ? p->town + '|' + p->postcode + '|' + p->dialCode : QStringLiteral("-");
    }

    QVariantMap place(qlonglong key) const
    {
        return folder.firstRow(
            QStringLiteral("select port, plz, pvw from aw_plzort where pov_nummer = ?"), key);
    }

    QWidget parent;
    std::unique_ptr<PostalDirectoryDialog> form;
    qlonglong stuttgart = 0;
};
