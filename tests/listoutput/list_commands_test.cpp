// SPDX-License-Identifier: GPL-3.0-or-later
// The list output as the user reaches it: the "Datei" menu, its dialogs and messages.
#include "MainWindowFixture.h"
#include "Readers.h"
#include "listoutput/ListOutputCommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

QChar accessKey(const QString &text)
{
    const qsizetype at = text.indexOf(u'&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

struct ListCommandsTest : MainWindowFixture
{
    void SetUp() override
    {
        for (const char *name : { "Stadtlauf", "Waldlauf" }) {
            Race race;
            race.name = QString::fromLatin1(name);
            race.date = StoredDate::fromDate(QDate(2027, name[0] == 'S' ? 5 : 6, 1));
            race.notes = name[0] == 'W' ? QString(40000, u'x') : QString();
            addRace(race);
        }
        start();
        ui.messages.clear();
    }
    QAction *item(const char *name) const { return window->findChild<QAction *>(name); }
    QString target(const QString &name) const { return folder.file("Export/" + name); }
    void choose(const QString &path, int filterIndex = 1)
    {
        ui.fileAnswers.push_back({ true, path, filterIndex });
    }
    void writeOld(const QString &path) const
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    QByteArray contentOf(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST(ListFileNameTest, HeadlinesBecomeNamesAFileCanHave)
{
    const struct
    {
        QString headline, name;
    } cases[] = {
        { "Alle zukünftigen Läufe", "Läufe Alle zukünftigen Läufe.pdf" },
        { "Alle Läufe, die gelaufen wurden", "Läufe Alle Läufe, die gelaufen wurden.pdf" },
        { "a/b\\c:d*e?f\"g<h>i|j\tk", "Läufe a-b-c-d-e-f-g-h-i-j-k.pdf" },
        { "Ende. ", "Läufe Ende.pdf" },
        { QString(200, u'x'), "Läufe " + QString(114, u'x') + ".pdf" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(listFileName(c.headline, "pdf"), c.name) << c.headline.toStdString();
}

TEST(ListExportTargetTest, TheNameDecidesTheTypeAndTheDialogsChoiceAddsOne)
{
    const struct
    {
        QString chosen;
        int filterIndex;
        QString path;
        ListFileType type;
        bool added;
    } cases[] = {
        { "/x/Liste.csv", 1, "/x/Liste.csv", ListFileType::Csv, false },
        { "/x/Liste.csv", 2, "/x/Liste.csv", ListFileType::Csv, false },
        { "/x/Liste.XLSX", 1, "/x/Liste.XLSX", ListFileType::Xlsx, false },
        { "/x/Liste", 1, "/x/Liste.csv", ListFileType::Csv, true },
        { "/x/Liste", 2, "/x/Liste.xlsx", ListFileType::Xlsx, true },
        { "/x/soll. Fristen ab!", 2, "/x/soll. Fristen ab!.xlsx", ListFileType::Xlsx, true },
        { "/x/Liste.txt", 1, "/x/Liste.txt.csv", ListFileType::Csv, true },
    };
    for (const auto &c : cases) {
        const ListExportTarget t = listExportTarget(c.chosen, c.filterIndex);
        EXPECT_EQ(t.path, c.path);
        EXPECT_EQ(t.type, c.type) << c.chosen.toStdString();
        EXPECT_EQ(t.extensionAdded, c.added) << c.chosen.toStdString();
    }
}

TEST_F(ListCommandsTest, TheFileMenuAndItsNewItemsHaveAccessKeysOfTheirOwn)
{
    auto *datei = window->findChild<QMenu *>("m_datei");
    ASSERT_NE(datei, nullptr);
    EXPECT_EQ(datei->title(), "&Datei ");
    const struct
    {
        const char *name;
        QString text;
    } items[] = {
        { "m_drucken", "Liste &drucken..." },
        { "m_pdf", "Liste als &PDF speichern..." },
        { "m_liste_export", "Liste e&xportieren (CSV, Excel-Arbeitsmappe)..." },
    };
    for (const auto &i : items) {
        ASSERT_NE(item(i.name), nullptr) << i.name;
        EXPECT_EQ(item(i.name)->text(), i.text);
        EXPECT_TRUE(datei->actions().contains(item(i.name)));
    }
    // No two entries of one menu, nor two titles of the menu bar, share a key.
    for (const QList<QAction *> &actions : { datei->actions(), window->menuBar()->actions() }) {
        QList<QChar> keys;
        for (QAction *a : actions) {
            const QChar key = accessKey(a->text());
            if (key.isNull())
                continue;
            EXPECT_FALSE(keys.contains(key)) << a->text().toStdString();
            keys << key;
        }
    }
}

TEST_F(ListCommandsTest, ExportAsksWithBothTypesAndWritesTheChosenOne)
{
    choose(target("Meine Liste"), 2); // typed without extension, workbook chosen
    item("m_liste_export")->trigger();

    ASSERT_EQ(ui.fileRequests.size(), 1);
    const Ui::FileRequest &request = ui.fileRequests.first();
    EXPECT_EQ(request.title, "Speichern unter");
    EXPECT_EQ(request.initialDir, ctx.paths.exportFolder());
    EXPECT_EQ(request.fileName, "Läufe Alle zukünftigen Läufe.csv");
    EXPECT_EQ(request.filter, "CSV für Excel und LibreOffice|*.csv|Excel-Arbeitsmappe|*.xlsx");
    EXPECT_TRUE(request.confirmOverwrite);

    const QJsonArray rows
        = readXlsxWithOpenpyxl(target("Meine Liste.xlsx")).object()["rows"].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].toArray()[0].toArray()[1].toString(), "Waldlauf");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.first().icon, Ui::Icon::Information);
    EXPECT_TRUE(ui.messages.first().text.startsWith(
        "2 Läufe in die Datei \u201EMeine Liste.xlsx\u201C exportiert.\n\nIn einer Zelle war der "
        "Text länger als die 32.767 Zeichen"))
        << ui.messages.first().text.toStdString();
    EXPECT_FALSE(ui.busyNow);

    ui.messages.clear();
    choose(target("Meine Liste.csv"), 2); // the name's own extension wins
    item("m_liste_export")->trigger();
    EXPECT_EQ(readCsvWithPython(target("Meine Liste.csv")).array().size(), 3);
    EXPECT_EQ(ui.messageTexts(),
              QStringList { "2 Läufe in die Datei \u201EMeine Liste.csv\u201C exportiert." });
}

TEST_F(ListCommandsTest, ANameTheDialogDidNotAskAboutIsReplacedOnlyAfterAQuestion)
{
    const QString path = target("Liste.csv");
    writeOld(path);
    const QString question = "Die Datei " + QDir::toNativeSeparators(path)
        + " gibt es schon. Soll sie ersetzt werden ?";

    ui.answers.push_back(Ui::Answer::No);
    choose(target("Liste"));
    item("m_liste_export")->trigger();
    EXPECT_EQ(ui.messageTexts(), QStringList { question });
    EXPECT_EQ(ui.messages.first().icon, Ui::Icon::Question);
    EXPECT_EQ(contentOf(path), "alt");

    ui.messages.clear();
    ui.answers.push_back(Ui::Answer::Yes);
    choose(target("Liste"));
    item("m_liste_export")->trigger();
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_TRUE(contentOf(path).startsWith("\xEF\xBB\xBF"
                                           "ad_lauf;"));

    // The dialog asked itself about a name with its extension.
    ui.messages.clear();
    choose(path);
    item("m_liste_export")->trigger();
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(QDir(folder.file("Export")).entryList(QDir::Files | QDir::Hidden),
              QStringList { "Liste.csv" });
}

TEST_F(ListCommandsTest, PdfIsSavedUnderTheProposedNameWithTheRacesShown)
{
    const QString name = "Läufe Alle zukünftigen Läufe.pdf";
    choose(target(name));
    item("m_pdf")->trigger();
    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests.first().fileName, name);
    EXPECT_EQ(ui.fileRequests.first().filter, "PDF-Dokument|*.pdf");
    EXPECT_EQ(ui.fileRequests.first().initialDir, ctx.paths.exportFolder());
    EXPECT_EQ(ui.messageTexts(),
              QStringList { "Die Liste wurde als PDF gespeichert: 2 Läufe auf 1 Seite." });
    const QString text = pdfText(target(name));
    EXPECT_LT(text.indexOf("Waldlauf"), text.indexOf("Stadtlauf"));
    EXPECT_TRUE(text.contains("Alle zukünftigen Läufe"));
    EXPECT_TRUE(text.contains("Seite 1 von 1"));

    ui.messages.clear();
    item("m_pdf")->trigger(); // cancelled
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ListCommandsTest, PrintOpensThePreviewOfTheListAcrossTheA4Page)
{
    int pages = 0;
    QPageLayout layout;
    ui.onModal = [&](QDialog &dialog) {
        auto *preview = dialog.findChild<QPrintPreviewWidget *>();
        EXPECT_NE(qobject_cast<QPrintPreviewDialog *>(&dialog), nullptr);
        if (preview) {
            preview->updatePreview();
            pages = preview->pageCount();
        }
        if (auto *p = qobject_cast<QPrintPreviewDialog *>(&dialog))
            layout = p->printer()->pageLayout();
        return int(QDialog::Rejected);
    };
    item("m_drucken")->trigger();
    EXPECT_EQ(ui.modalWindows, QStringList { "druckvorschau" });
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(layout.orientation(), QPageLayout::Landscape);
    EXPECT_EQ(layout.pageSize().id(), QPageSize::A4);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ListCommandsTest, AnEmptyListIsSaidSoAndNothingIsAsked)
{
    window->findChild<QAbstractButton *>("h_o_auswahl(4)")->click(); // paid: none
    for (const char *name : { "m_drucken", "m_pdf", "m_liste_export" }) {
        ui.messages.clear();
        item(name)->trigger();
        EXPECT_EQ(ui.messageTexts(), QStringList { "Die Liste zeigt keine Läufe." }) << name;
    }
    EXPECT_TRUE(ui.fileRequests.isEmpty());
    EXPECT_TRUE(ui.modalWindows.isEmpty());
}
