#include "Controls.h"
#include "ProgramFixture.h"
#include "StatisticsFixture.h"
#include "racelist/RaceListWindow.h"
#include "statistics/StatisticsWindow.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QMenuBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace {
struct StatistikFormTest : ProgramTest
{
    std::unique_ptr<StatisticsWindow> form;

    void open()
    {
        addKnownRaces(folder);
        form = std::make_unique<StatisticsWindow>(ctx);
    }
    static QStringList row(const QTableView *grid, int r)
    {
        QStringList texts;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            texts << grid->model()->index(r, c).data().toString();
        return texts;
    }
    template<class T> static T *series(QChartView *view, int index)
    {
        return qobject_cast<T *>(view->chart()->series().value(index));
    }
    template<class T> static T *axis(QChartView *view, Qt::Alignment where)
    {
        const auto axes = view->chart()->axes(
            where == Qt::AlignLeft || where == Qt::AlignRight ? Qt::Vertical : Qt::Horizontal);
        for (QAbstractAxis *a : axes)
            if (a->alignment() == where)
                return qobject_cast<T *>(a);
        return nullptr;
    }
    static QList<QPointF> points(const QXYSeries *s) { return s ? s->points() : QList<QPointF> {}; }
    static qreal day(int y, int m, int d)
    {
        return qreal(QDateTime(QDate(y, m, d), QTime(12, 0)).toMSecsSinceEpoch());
    }
    QString exportFile(const QString &name) const { return folder.path() + "/Export/" + name; }
    void saveAs(const QString &path)
    {
        ui.fileAnswers.push_back({ true, path, 1 });
        QTest::mouseClick(control<QPushButton>(*form, "stat_c_bild"), Qt::LeftButton);
    }
};
} // namespace

// The figures are kept between openings; a race changed since is counted anew.
TEST_F(StatistikFormTest, OpenedAgainAfterAChangeShowsIt)
{
    open();
    form.reset();
    folder.exec("update adressen set ad_zeit = '3:30:00' where ad_lauf = 'Silvesterlauf'");
    form = std::make_unique<StatisticsWindow>(ctx);
    EXPECT_EQ(row(control<QTableView>(*form, "stat_g_best"), 0),
              (QStringList { "Marathon", "3:30:00", "Silvesterlauf", "Trier", "31.12.2019", "3" }));
}

TEST_F(StatistikFormTest, ShowsBestTimesAndYearsInGrids)
{
    open();
    EXPECT_EQ(form->windowTitle(), "Statistik");
    EXPECT_EQ(control<QTabWidget>(*form, "stat_tabs")->tabText(0), "Bestzeiten");
    EXPECT_EQ(control<QTabWidget>(*form, "stat_tabs")->tabText(1), "Läufe pro Jahr");
    EXPECT_EQ(control<QTabWidget>(*form, "stat_tabs")->tabText(2), "Zeitentwicklung");

    ASSERT_EQ(control<QTableView>(*form, "stat_g_best")->model()->rowCount(), 4);
    EXPECT_EQ(
        row(control<QTableView>(*form, "stat_g_best"), 0),
        (QStringList { "Marathon", "3:41:07", "Neujahrsmarathon", "Zürich", "01.01.2020", "3" }));
    EXPECT_EQ(row(control<QTableView>(*form, "stat_g_best"), 2),
              (QStringList { "10 km", "0:46:30", "Brückenlauf", "Würzburg", "10.06.2020", "3" }));

    ASSERT_EQ(control<QTableView>(*form, "stat_g_jahre")->model()->rowCount(), 3); // none in 2021
    EXPECT_EQ(row(control<QTableView>(*form, "stat_g_jahre"), 0),
              (QStringList { "2019", "2", "2", "1", "52,2", "0,00" }));
    EXPECT_EQ(row(control<QTableView>(*form, "stat_g_jahre"), 2),
              (QStringList { "2022", "1", "1", "1", "70,0", "0,00" }));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join('\n').toStdString();
}

TEST_F(StatistikFormTest, SaysWhatIsLeftOutAndNamesTheRaces)
{
    open();
    EXPECT_EQ(control<QLabel>(*form, "stat_l_hinweis")->text(),
              "Nicht ausgewertet: 2 gelaufene Läufe ohne lesbare Zielzeit, 2 Läufe ohne lesbares "
              "Datum, 1 gelaufener Lauf ohne Strecke (nur in den Jahreszahlen). Welche, zeigt der "
              "Tooltip.");
    const QStringList tip = control<QLabel>(*form, "stat_l_hinweis")->toolTip().split('\n');
    ASSERT_EQ(tip.size(), 4);
    EXPECT_EQ(tip[0], "Nachtlauf (11.07.2020): „DNF“ – Zeit nicht lesbar");
}

TEST_F(StatistikFormTest, YearChartHoldsTheCountsAndKilometres)
{
    open();
    control<QTabWidget>(*form, "stat_tabs")->setCurrentIndex(StatisticsWindow::YearTab);
    auto *bars = series<QBarSeries>(control<QChartView>(*form, "stat_ch_jahre"), 0);
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 3);
    const QStringList labels { "gelaufen", "angemeldet", "vorgemerkt" };
    const QList<QList<qreal>> values { { 2, 6, 1 }, { 2, 5, 1 }, { 1, 0, 1 } };
    for (int s = 0; s < 3; ++s) {
        QBarSet *set = bars->barSets().at(s);
        EXPECT_EQ(set->label(), labels[s]);
        QList<qreal> got;
        for (int i = 0; i < set->count(); ++i)
            got << set->at(i);
        EXPECT_EQ(got, values[s]) << labels[s].toStdString();
    }
    const QList<QPointF> km
        = points(series<QLineSeries>(control<QChartView>(*form, "stat_ch_jahre"), 1));
    ASSERT_EQ(km.size(), 3);
    EXPECT_NEAR(km[1].y(), 2 * 42.195 + 20 + 21.0975, 1e-9);
    EXPECT_EQ(km[2], QPointF(2, 70));

    auto *years
        = axis<QBarCategoryAxis>(control<QChartView>(*form, "stat_ch_jahre"), Qt::AlignBottom);
    ASSERT_NE(years, nullptr);
    EXPECT_EQ(years->categories(), (QStringList { "2019", "2020", "2022" }));
    EXPECT_EQ(years->titleText(), "Jahr");
    EXPECT_EQ(
        axis<QValueAxis>(control<QChartView>(*form, "stat_ch_jahre"), Qt::AlignLeft)->titleText(),
        "Anzahl Läufe");
    EXPECT_EQ(
        axis<QValueAxis>(control<QChartView>(*form, "stat_ch_jahre"), Qt::AlignRight)->titleText(),
        "Kilometer");
}

TEST_F(StatistikFormTest, TimeChartFollowsTheChosenDistanceAndMarksTheBest)
{
    open();
    control<QTabWidget>(*form, "stat_tabs")->setCurrentIndex(StatisticsWindow::TimeTab);
    QStringList distances;
    for (int i = 0; i < control<QComboBox>(*form, "stat_k_strecke")->count(); ++i)
        distances << control<QComboBox>(*form, "stat_k_strecke")->itemText(i);
    EXPECT_EQ(distances, (QStringList { "Marathon", "Halb-Marathon", "10 km", "Ultra 70 km" }));
    EXPECT_EQ(control<QLabel>(*form, "stat_l_strecke")->buddy(),
              control<QComboBox>(*form, "stat_k_strecke"));

    EXPECT_EQ(points(series<QLineSeries>(control<QChartView>(*form, "stat_ch_zeit"), 0)),
              (QList<QPointF> { { day(2019, 12, 31), 13800 }, { day(2020, 1, 1), 13267 } }));
    auto *best = series<QScatterSeries>(control<QChartView>(*form, "stat_ch_zeit"), 1);
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(points(best), (QList<QPointF> { { day(2020, 1, 1), 13267 } }));
    EXPECT_EQ(best->name(), "Bestzeit 3:41:07 am 01.01.2020");

    auto *dates = axis<QDateTimeAxis>(control<QChartView>(*form, "stat_ch_zeit"), Qt::AlignBottom);
    ASSERT_NE(dates, nullptr);
    EXPECT_EQ(dates->format(), "dd.MM.yyyy");
    EXPECT_EQ(dates->titleText(), "Datum");
    auto *times = axis<QCategoryAxis>(control<QChartView>(*form, "stat_ch_zeit"), Qt::AlignLeft);
    ASSERT_NE(times, nullptr);
    EXPECT_EQ(times->categoriesLabels(),
              (QStringList { "3:40:00", "3:42:00", "3:44:00", "3:46:00", "3:48:00", "3:50:00",
                             "3:52:00" }));

    control<QComboBox>(*form, "stat_k_strecke")->setCurrentIndex(2);
    EXPECT_EQ(control<QChartView>(*form, "stat_ch_zeit")->chart()->title(),
              "Zeitentwicklung: 10 km");
    EXPECT_EQ(points(series<QLineSeries>(control<QChartView>(*form, "stat_ch_zeit"), 0)),
              (QList<QPointF> { { day(2019, 5, 5), 2880 }, { day(2020, 6, 10), 2790 } }));
}

TEST_F(StatistikFormTest, SavesTheShownChartAsPngInExport)
{
    open();
    EXPECT_FALSE(control<QPushButton>(*form, "stat_c_bild")
                     ->isEnabled()); // the grid of best times is no chart
    control<QTabWidget>(*form, "stat_tabs")->setCurrentIndex(StatisticsWindow::YearTab);
    form->show();
    ASSERT_TRUE(control<QPushButton>(*form, "stat_c_bild")->isEnabled());

    QTest::mouseClick(control<QPushButton>(*form, "stat_c_bild"), Qt::LeftButton); // cancelled
    ASSERT_EQ(ui.fileRequests.size(), 1);
    EXPECT_EQ(ui.fileRequests[0].initialDir, folder.path() + "/Export/");
    EXPECT_EQ(ui.fileRequests[0].fileName, "Statistik Läufe pro Jahr.png");
    EXPECT_EQ(ui.fileRequests[0].filter, "PNG-Bild|*.png");

    saveAs(exportFile("jahre"));
    const QImage picture(exportFile("jahre.png"));
    EXPECT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), control<QChartView>(*form, "stat_ch_jahre")->size());

    control<QTabWidget>(*form, "stat_tabs")->setCurrentIndex(StatisticsWindow::TimeTab);
    QTest::mouseClick(control<QPushButton>(*form, "stat_c_bild"), Qt::LeftButton);
    EXPECT_EQ(ui.fileRequests.last().fileName, "Statistik Zeitentwicklung Marathon.png");
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join('\n').toStdString();
}

TEST_F(StatistikFormTest, AsksBeforeReplacingAFileAndReportsAFailedSave)
{
    open();
    control<QTabWidget>(*form, "stat_tabs")->setCurrentIndex(StatisticsWindow::TimeTab);
    form->show();
    const QString path = exportFile("zeit.png");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    ui.answers.push_back(Ui::Answer::No);
    saveAs(path);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text,
              "Die Datei " + path + " gibt es schon. Soll sie ersetzt werden ?");
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Question);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "alt");
    kept.close();

    ui.answers.push_back(Ui::Answer::Yes);
    saveAs(path);
    EXPECT_FALSE(QImage(path).isNull());

    ui.messages.clear();
    const QString nowhere = folder.path() + "/fehlt/zeit.png";
    saveAs(nowhere);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, "Das Bild konnte nicht gespeichert werden: " + nowhere);
    EXPECT_EQ(ui.messages[0].icon, Ui::Icon::Warning);
}

TEST_F(StatistikFormTest, EmptyLogOpensWithEmptyCharts)
{
    form = std::make_unique<StatisticsWindow>(ctx);
    control<QTabWidget>(*form, "stat_tabs")->setCurrentIndex(StatisticsWindow::TimeTab);
    EXPECT_EQ(control<QTableView>(*form, "stat_g_best")->model()->rowCount(), 0);
    EXPECT_EQ(control<QComboBox>(*form, "stat_k_strecke")->count(), 0);
    EXPECT_EQ(control<QChartView>(*form, "stat_ch_zeit")->chart()->title(),
              "Zeitentwicklung: keine lesbaren Zielzeiten");
    EXPECT_EQ(control<QLabel>(*form, "stat_l_hinweis")->text(), "Alle Läufe sind ausgewertet.");
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join('\n').toStdString();
}

TEST_F(StatistikFormTest, MainMenuOpensItAfterThePickListsAndItClosesWithEscape)
{
    RaceListWindow main(ctx);
    ASSERT_TRUE(main.load());
    QStringList menu;
    for (QAction *a : main.menuBar()->actions())
        menu << a->objectName();
    const qsizetype at = menu.indexOf("m_statistik");
    ASSERT_GT(at, 0);
    EXPECT_EQ(menu[at - 1], "m_auswahl");
    auto *action = main.findChild<QAction *>("m_statistik");
    EXPECT_EQ(action->text(), " &Statistik ");

    bool closed = false;
    ui.onModal = [&closed](QDialog &window) {
        QTest::keyClick(&window, Qt::Key_Escape);
        closed = !window.isVisible();
        return window.result();
    };
    action->trigger();
    EXPECT_EQ(ui.modalWindows, QStringList { "Statistik_Form" });
    EXPECT_TRUE(closed);
}
