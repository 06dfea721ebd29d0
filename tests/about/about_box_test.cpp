#include "Controls.h"
#include "ProgramFixture.h"
#include "about/AboutBox.h"
#include "about/LinkLabel.h"
#include "about/ProductsBox.h"
#include "about/VersionLine.h"
#include "ui/ProgramIdentity.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

// Readable failures.
void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

QDateTime fileDate(const QString &path)
{
    return QFileInfo(path).lastModified();
}

TEST(VersionLine, EachNumberGetsItsBlankAndTheDateFollowsVom)
{
    const QDateTime march5(QDate(2004, 3, 5), QTime(23, 10));
    EXPECT_EQ(versionLine(1, 2, 7, march5), QStringLiteral("Version:  1. 2. 7  vom  05.03.2004"));
    EXPECT_EQ(versionLine(2, 0, 0, march5), QStringLiteral("Version:  2. 0. 0  vom  05.03.2004"));
    EXPECT_EQ(versionLine(10, 11, 120, QDateTime(QDate(2026, 12, 31), QTime(0, 0))),
              QStringLiteral("Version:  10. 11. 120  vom  31.12.2026"));
    EXPECT_EQ(versionLine(1, 2, 7, QDateTime()), QStringLiteral("Version"));
}

TEST(VersionLine, TakesTheModificationDateOfTheProgramFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("Strivo"));
    QFile file(program);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2004, 3, 5), QTime(12, 0)),
                                 QFileDevice::FileModificationTime));
    file.close();

    EXPECT_EQ(versionLineForFile(1, 2, 7, program),
              QStringLiteral("Version:  1. 2. 7  vom  05.03.2004"));
    // A program stored under another name keeps the plain design text.
    EXPECT_EQ(versionLineForFile(1, 2, 7, dir.filePath(QStringLiteral("Strivo.exe"))),
              QStringLiteral("Version"));
    EXPECT_EQ(versionLineForFile(1, 2, 7, QString()), QStringLiteral("Version"));
}

using AboutTest = ProgramTest;

TEST_F(AboutTest, InfoShowsNameAndTheRunningProgramsVersionLine)
{
    AboutBox w(ctx);
    EXPECT_EQ(w.objectName(), QStringLiteral("Info_Form"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(control<QGroupBox>(w, "Frame3")->title(), QStringLiteral("Programmname und Version"));
    EXPECT_EQ(control<QLabel>(w, "Label2")->text(), QStringLiteral("Strivo"));
    const QString expected = QStringLiteral("Version: ") + u' '
        + QString::number(STRIVO_VERSION_MAJOR) + QStringLiteral(". ")
        + QString::number(STRIVO_VERSION_MINOR) + QStringLiteral(". ")
        + QString::number(STRIVO_VERSION_PATCH) + QStringLiteral("  vom  ")
        + fileDate(QCoreApplication::applicationFilePath()).toString(QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(control<QLabel>(w, "i_l_versionsnummer")->text(), expected);
    EXPECT_EQ(control<QLabel>(w, "i_l_versionsnummer")->accessibleName(), expected);
    EXPECT_FALSE(control<QLabel>(w, "i_l_nutzung")->text().isEmpty());
    EXPECT_EQ(control<QPushButton>(w, "Info_c_ok")->text(), QStringLiteral("&Schliessen"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(AboutTest, InfoStatesTheLicenceInGermanAndShowsTheProgramsMark)
{
    AboutBox w(ctx);
    w.show();
    const QString terms = control<QLabel>(w, "i_l_nutzung")->text();
    for (const QString &part :
         { QStringLiteral("freie Software"), QStringLiteral("GNU General Public License"),
           QStringLiteral("Version 3 oder (nach Ihrer Wahl) jeder späteren Version"),
           QStringLiteral("ohne jede Gewährleistung") })
        EXPECT_TRUE(terms.contains(part)) << part.toStdString();
    EXPECT_FALSE(terms.contains(QStringLiteral("private Zwecke")));
    // All of it is readable in the frame: the wrapped text fits the label's height.
    EXPECT_LE(control<QLabel>(w, "i_l_nutzung")
                  ->heightForWidth(control<QLabel>(w, "i_l_nutzung")->width()),
              control<QLabel>(w, "i_l_nutzung")->height());

    const QPixmap logo = control<QLabel>(w, "Picture2")->pixmap();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.toImage().convertToFormat(QImage::Format_ARGB32),
              renderMark(logo.width()).convertToFormat(QImage::Format_ARGB32))
        << "the about box shows the icon of the menu entry";
}

TEST(ProgramMark, IsDrawnFromTheBuiltInSvgAtEverySize)
{
    for (const int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        const QImage mark = renderMark(size);
        ASSERT_EQ(mark.size(), QSize(size, size));
        // The rounded tile: transparent corners, an opaque middle.
        EXPECT_EQ(qAlpha(mark.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(mark.pixel(size / 2, size / 2)), 255) << size;
    }
    EXPECT_TRUE(renderSvg("<html>kein Bild</html>", 48).isNull());
    EXPECT_TRUE(renderMark(0).isNull());

    const QList<QSize> sizes = builtInIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(256, 256)));
    EXPECT_EQ(applicationId(), QStringLiteral("org.example.Strivo"));
}

TEST_F(AboutTest, InfoLinksHandTheirAddressesToTheDesktop)
{
    AboutBox w(ctx);
    w.show();
    EXPECT_EQ(control<LinkLabel>(w, "i_l_email")->toolTip(),
              QStringLiteral("Klick zum Start Ihres Standard E-Mail-Programms"));
    EXPECT_EQ(control<LinkLabel>(w, "i_l_homepage")->toolTip(),
              QStringLiteral("Klick zum Start Ihres Standard-Browsers"));
    EXPECT_EQ(control<LinkLabel>(w, "i_l_email")->text(), QStringLiteral("info@example.org"));
    EXPECT_EQ(control<LinkLabel>(w, "i_l_homepage")->text(),
              QStringLiteral("https://www.example.org/"));

    QTest::mouseClick(control<LinkLabel>(w, "i_l_email"), Qt::LeftButton);
    QTest::mouseClick(control<LinkLabel>(w, "i_l_homepage"), Qt::LeftButton);
    // Keyboard users reach the links too.
    QTest::keyClick(control<LinkLabel>(w, "i_l_homepage"), Qt::Key_Return);
    ASSERT_EQ(ui.openedUrls.size(), 3);
    EXPECT_EQ(ui.openedUrls[0], QUrl(QStringLiteral("mailto:info@example.org")));
    EXPECT_EQ(ui.openedUrls[1], QUrl(QStringLiteral("https://www.example.org/")));
    EXPECT_EQ(ui.openedUrls[2], ui.openedUrls[1]);
}

TEST_F(AboutTest, CloseButtonsCloseTheModalWindows)
{
    ui.onModal = [](QDialog &dialog) {
        auto *close = dialog.findChild<QPushButton *>(
            dialog.objectName() == QLatin1String("Info_Form") ? QStringLiteral("Info_c_ok")
                                                              : QStringLiteral("pr_c_ok"));
        EXPECT_NE(close, nullptr);
        EXPECT_EQ(close->text(), QStringLiteral("&Schliessen"));
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(close, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        return 0;
    };
    {
        AboutBox w(ctx);
        ctx.ui.runModal(w);
    }
    {
        ProductsBox w(ctx);
        ctx.ui.runModal(w);
    }
    EXPECT_EQ(ui.modalWindows, (QStringList { "Info_Form", "Produkte_Form" }));
}

TEST_F(AboutTest, ProductPageLinksOpenTheirPagesUnderThePlaceholderDomain)
{
    ProductsBox w(ctx);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("weitere Produkte"));
    const auto products = ProductsBox::products();
    ASSERT_GE(products.size(), 1);
    ASSERT_EQ(w.findChildren<LinkLabel *>().size(), products.size());
    const QList<QLabel *> names = controls<QLabel>(w, "pr_l_produkt", products.size());
    const QList<LinkLabel *> links = controls<LinkLabel>(w, "pr_l_link", products.size());
    for (int i = 0; i < products.size(); ++i) {
        EXPECT_EQ(names[i]->text(), products[i].name);
        EXPECT_EQ(links[i]->text(), products[i].address);
        QTest::mouseClick(links[i], Qt::LeftButton);
        ASSERT_EQ(ui.openedUrls.size(), i + 1);
        EXPECT_EQ(ui.openedUrls[i], QUrl(products[i].address));
        EXPECT_EQ(ui.openedUrls[i].host(), QStringLiteral("www.example.org"));
    }
}

} // namespace
