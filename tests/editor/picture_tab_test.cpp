#include "EditorFixture.h"

#include <QImage>

namespace {
class PictureTabTest : public EditorTest
{
protected:
    QString picture(const char *name) const
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const QString path = folder.file(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    bool enabled(const char *name) const { return control<QPushButton>(name)->isEnabled(); }
};
} // namespace

TEST_F(PictureTabTest, ChoosingAndDroppingThePicture)
{
    const QString first = picture("erster.bmp");
    const qlonglong key = folder.addRace({ { "ad_lauf", "Bilderlauf" },
                                           { "ad_lauf_datum", "01.06.2026" },
                                           { "ad_startbild", first } });
    open(EditorMode::Edit, key);
    EXPECT_EQ(labelText("a_l_datei"), first);
    EXPECT_TRUE(enabled("a_c_aufheben"));
    EXPECT_TRUE(enabled("a_c_öffnen"));

    // Cancel and "*.*" change nothing.
    click("a_c_durchsuchen");
    ui.fileAnswers.push_back({ true, "*.*", 1 });
    click("a_c_durchsuchen");
    ASSERT_EQ(ui.fileRequests.size(), 2);
    EXPECT_EQ(ui.fileRequests[0].title, "Lagerort des Bildes bestimmen");
    EXPECT_EQ(ui.fileRequests[0].initialDir, folder.path() + "/Dokumente/");
    EXPECT_EQ(ui.fileRequests[0].fileName, QString());
    EXPECT_EQ(ui.fileRequests[0].filter,
              "Bilder(*.bmp;*.ico;*.wmf;*.jpg;*.gif;*.cur)|*.bmp;*.ico;*.wmf;*.jpg;*.gif;*.cur");
    EXPECT_EQ(labelText("a_l_datei"), first);
    EXPECT_TRUE(ui.messages.isEmpty());

    // A typed name of a file that is not there: error box, nothing changes.
    ui.fileAnswers.push_back({ true, folder.file("gibt_es_nicht.jpg"), 1 });
    click("a_c_durchsuchen");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "Datei nicht gefunden 53");
    EXPECT_EQ(labelText("a_l_datei"), first);

    // Dropping greys out both buttons until a picture is chosen again.
    click("a_c_aufheben");
    EXPECT_EQ(labelText("a_l_datei"), QString());
    EXPECT_FALSE(enabled("a_c_aufheben"));
    EXPECT_FALSE(enabled("a_c_öffnen"));
    const QString second = picture("zweiter.bmp");
    ui.fileAnswers.push_back({ true, second, 1 });
    click("a_c_durchsuchen");
    EXPECT_EQ(labelText("a_l_datei"), second);
    EXPECT_TRUE(enabled("a_c_aufheben"));
    EXPECT_TRUE(enabled("a_c_öffnen"));
    EXPECT_FALSE(control<QCheckBox>("ad_check_startbild")->isChecked()); // left alone

    save();
    EXPECT_EQ(row(key).value("ad_startbild").toString(), second);
}

TEST_F(PictureTabTest, PreviewShowsTheEditorsValuesWithoutSaving)
{
    open(EditorMode::New);
    EXPECT_TRUE(enabled("a_c_öffnen"));
    QStringList shown;
    ui.onModal = [&](QDialog &dialog) {
        for (const char *name : { "k_l_datdiff", "st_l_laufname", "st_l_laufdatum" })
            shown << dialog.findChild<QLabel *>(name)->text();
        shown << QString::number(dialog.findChild<QPushButton *>("Command2")->isVisibleTo(&dialog));
        dialog.accept();
        return int(QDialog::Accepted);
    };
    click("a_c_öffnen");
    EXPECT_EQ(ui.modalWindows, QStringList { "Start_Form" });
    EXPECT_EQ(shown, (QStringList { "???", "??????", "??.??.????", "0" }));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join('\n').toStdString();

    shown.clear();
    typeCombo(7, QStringLiteral("Vorschaulauf"));
    control<QLabel>("ad_l_lauf_datum")->setText(QStringLiteral("17.05.2026, Sonntag"));
    click("a_c_öffnen");
    EXPECT_EQ(shown, (QStringList { " 10", "Vorschaulauf", "17.05.2026", "0" }));
}
