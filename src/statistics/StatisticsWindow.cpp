#include "statistics/StatisticsWindow.h"

#include "common/FileChoice.h"
#include "common/GermanText.h"
#include "context/AppContext.h"
#include "statistics/FinishTime.h"
#include "statistics/StatisticsCharts.h"
#include "ui/FormBuilder.h"
#include "ui/Style.h"
#include "ui/Twips.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QSaveFile>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

constexpr int kWidth = 14400;
constexpr int kHeight = 9840;
constexpr int kShownLeftOut = 40; // more would not fit on the screen

const QLocale kGerman(QLocale::German, QLocale::Germany);

QStandardItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QStandardItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setEditable(false);
    return item;
}

QStandardItem *number(int n)
{
    return cell(QString::number(n), Qt::AlignRight);
}

QChartView *makeChartView(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *view = new QChartView(parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setAccessibleName(accessibleName);
    return view;
}

// The view gives up its chart without deleting it.
void replaceChart(QChartView *view, QChart *chart)
{
    QChart *old = view->chart();
    view->setChart(chart);
    delete old;
}

QString fileNameFor(const QString &title)
{
    QString name = QStringLiteral("Statistik ") + title;
    name.replace(QStringLiteral(": "), QStringLiteral(" "));
    return safeFileName(name) + QStringLiteral(".png");
}

} // namespace

StatisticsWindow::StatisticsWindow(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    load();
}

StatisticsWindow::~StatisticsWindow()
{
#ifdef __GLIBC__
    // A long log leaves megabytes of small blocks that malloc would keep for the process; handed
    // back once the window and its charts are gone, on the next turn of the event loop.
    QTimer::singleShot(0, [] { malloc_trim(0); });
#endif
}

QTableView *StatisticsWindow::makeGrid(QWidget *parent, const QString &name,
                                       const QString &accessibleName)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setAccessibleName(accessibleName);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    QPalette p = grid->palette();
    p.setColor(QPalette::Base, Style::GridBlue);
    p.setColor(QPalette::Window, Style::GridBlue);
    p.setColor(QPalette::Text, Qt::white);
    grid->setPalette(p);
    return grid;
}

void StatisticsWindow::buildForm()
{
    setObjectName(QStringLiteral("Statistik_Form"));
    setWindowTitle(QStringLiteral("Statistik"));
    setFixedSize(twSize(kWidth, kHeight));

    FormBuilder b(this);
    m_tabs = b.make<QTabWidget>(QStringLiteral("stat_tabs"), { 120, 120, kWidth - 240, 8160 });

    // Bestzeiten
    auto *bestPage = new QWidget;
    m_bestGrid = makeGrid(bestPage, QStringLiteral("stat_g_best"),
                          QStringLiteral("Bestzeiten je Strecke"));
    m_bestModel = new QStandardItemModel(0, 6, this);
    m_bestModel->setHorizontalHeaderLabels(
        { QStringLiteral("Strecke"), QStringLiteral("Bestzeit"), QStringLiteral("Lauf"),
          QStringLiteral("Ort"), QStringLiteral("Datum"), QStringLiteral("Zielankünfte") });
    m_bestGrid->setModel(m_bestModel);
    (new QVBoxLayout(bestPage))->addWidget(m_bestGrid);
    m_tabs->addTab(bestPage, QStringLiteral("Bestzeiten"));

    // Läufe pro Jahr
    auto *yearPage = new QWidget;
    m_yearChart = makeChartView(yearPage, QStringLiteral("stat_ch_jahre"),
                                QStringLiteral("Diagramm Läufe pro Jahr"));
    m_yearGrid = makeGrid(yearPage, QStringLiteral("stat_g_jahre"),
                          QStringLiteral("Läufe, Kilometer und Startgeld je Jahr"));
    m_yearModel = new QStandardItemModel(0, 6, this);
    m_yearModel->setHorizontalHeaderLabels(
        { QStringLiteral("Jahr"), QStringLiteral("gelaufen"), QStringLiteral("angemeldet"),
          QStringLiteral("vorgemerkt"), QStringLiteral("Kilometer gelaufen"),
          QStringLiteral("Startgeld (€)") });
    m_yearGrid->setModel(m_yearModel);
    auto *yearLayout = new QVBoxLayout(yearPage);
    yearLayout->addWidget(m_yearChart, 3);
    yearLayout->addWidget(m_yearGrid, 1);
    m_tabs->addTab(yearPage, QStringLiteral("Läufe pro Jahr"));

    // Zeitentwicklung
    auto *timePage = new QWidget;
    auto *distanceLabel = new QLabel(QStringLiteral("S&trecke:"), timePage);
    distanceLabel->setObjectName(QStringLiteral("stat_l_strecke"));
    m_distanceChoice = new QComboBox(timePage);
    m_distanceChoice->setObjectName(QStringLiteral("stat_k_strecke"));
    m_distanceChoice->setMinimumWidth(tw(3600));
    distanceLabel->setBuddy(m_distanceChoice);
    m_timeChart = makeChartView(timePage, QStringLiteral("stat_ch_zeit"),
                                QStringLiteral("Diagramm Zeitentwicklung"));
    auto *timeLayout = new QVBoxLayout(timePage);
    auto *choice = new QHBoxLayout;
    choice->addWidget(distanceLabel);
    choice->addWidget(m_distanceChoice);
    choice->addStretch();
    timeLayout->addLayout(choice);
    timeLayout->addWidget(m_timeChart, 1);
    m_tabs->addTab(timePage, QStringLiteral("Zeitentwicklung"));

    m_leftOutNote
        = b.label({}, { 120, 8340, kWidth - 240, 480 }, nullptr, QStringLiteral("stat_l_hinweis"));
    m_leftOutNote->setWordWrap(true);
    m_leftOutNote->setAccessibleDescription(QStringLiteral("nicht ausgewertete Läufe"));

    auto *commandRow
        = b.commandRow(QStringLiteral("stat_f_command"), { 120, 8940, kWidth - 240, 555 });
    FormBuilder row = b.on(commandRow);
    m_savePictureButton = row.commandButton(
        QStringLiteral("stat_c_bild"), QStringLiteral("&Bild speichern..."), { 0, 60, 2205, 435 });
    m_savePictureButton->setToolTip(QStringLiteral("Das gezeigte Diagramm als PNG-Bild speichern"));
    auto *closeButton = row.commandButton(QStringLiteral("db_abbr"), QStringLiteral("&Schliessen"),
                                          { kWidth - 240 - 2205, 60, 2205, 435 });

    connect(m_savePictureButton, &QPushButton::clicked, this,
            &StatisticsWindow::onSavePictureClicked);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabChain(
        { m_tabs, m_bestGrid, m_yearGrid, m_distanceChoice, m_savePictureButton, closeButton });
}

void StatisticsWindow::load()
{
    m_ctx.guard([this] {
        m_stats = m_ctx.statistics().current();
        fillBestGrid();
        fillYearGrid();
        for (const Progression &p : m_stats.progressions)
            m_distanceChoice->addItem(p.distance, p.distanceKey);
        showLeftOut();
        connect(m_distanceChoice, &QComboBox::currentIndexChanged, this,
                &StatisticsWindow::showTimeChart);
        connect(m_tabs, &QTabWidget::currentChanged, this, &StatisticsWindow::onTabChanged);
        onTabChanged();
    });
}

void StatisticsWindow::fillBestGrid()
{
    for (const BestTime &b : m_stats.bests) {
        const bool known = b.ms.has_value();
        m_bestModel->appendRow(
            { cell(b.distance),
              cell(known ? formatFinishTime(*b.ms) : QStringLiteral("–"), Qt::AlignRight),
              cell(b.race), cell(b.place), cell(known ? formatDate(b.date) : QString()),
              number(b.finishes) });
    }
    m_bestGrid->resizeColumnsToContents();
    // Race and place take the room that is left.
    m_bestGrid->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_bestGrid->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
}

void StatisticsWindow::fillYearGrid()
{
    for (const YearFigures &y : m_stats.years) {
        m_yearModel->appendRow(
            { cell(QString::number(y.year)), number(y.run), number(y.registered), number(y.noted),
              cell(kGerman.toString(y.km, 'f', 1), Qt::AlignRight),
              cell(kGerman.toString(double(y.feeCents) / 100.0, 'f', 2), Qt::AlignRight) });
    }
    m_yearGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

// Says how many races the figures leave out; the tooltip names them.
void StatisticsWindow::showLeftOut()
{
    const auto count = [](int n, const char16_t *one, const char16_t *many) {
        return n == 1 ? QString::fromUtf16(one) : QString::fromUtf16(many).arg(n);
    };
    QStringList parts;
    if (m_stats.unreadableTimes > 0)
        parts << count(m_stats.unreadableTimes, u"1 gelaufener Lauf ohne lesbare Zielzeit",
                       u"%1 gelaufene Läufe ohne lesbare Zielzeit");
    if (m_stats.damagedDates > 0)
        parts << count(m_stats.damagedDates, u"1 Lauf ohne lesbares Datum",
                       u"%1 Läufe ohne lesbares Datum");
    if (m_stats.unreadableFees > 0)
        parts << count(m_stats.unreadableFees, u"1 bezahlter Lauf mit nicht lesbarem Startgeld",
                       u"%1 bezahlte Läufe mit nicht lesbarem Startgeld");
    if (m_stats.runWithoutDistance > 0)
        parts << count(m_stats.runWithoutDistance,
                       u"1 gelaufener Lauf ohne Strecke (nur in den Jahreszahlen)",
                       u"%1 gelaufene Läufe ohne Strecke (nur in den Jahreszahlen)");
    if (parts.isEmpty()) {
        m_leftOutNote->setText(QStringLiteral("Alle Läufe sind ausgewertet."));
        m_leftOutNote->setToolTip(QString());
        return;
    }
    m_leftOutNote->setText(QStringLiteral("Nicht ausgewertet: ") + parts.join(QStringLiteral(", "))
                           + QStringLiteral(". Welche, zeigt der Tooltip."));
    QStringList lines;
    for (const LeftOut &entry : m_stats.leftOut) {
        if (lines.size() == kShownLeftOut) {
            lines << QStringLiteral("… und %1 weitere")
                         .arg(m_stats.leftOut.size() - size_t(kShownLeftOut));
            break;
        }
        lines << describeLeftOut(entry);
    }
    m_leftOutNote->setToolTip(lines.join(u'\n'));
}

void StatisticsWindow::showTimeChart()
{
    const int index = m_distanceChoice->currentIndex();
    const Progression none { {}, QStringLiteral("keine lesbaren Zielzeiten"), {}, -1 };
    const Progression &shown = index >= 0 ? m_stats.progressions[size_t(index)] : none;
    replaceChart(m_timeChart, StatisticsCharts::timeChart(shown));
    m_timeChartBuilt = true;
}

// A chart is drawn when its tab is first shown: the window opens on the grid of best times, and
// a chart of a long log takes longer to build than the figures take to read.
void StatisticsWindow::onTabChanged()
{
    if (m_tabs->currentIndex() == YearTab && !m_yearChartBuilt) {
        replaceChart(m_yearChart, StatisticsCharts::yearChart(m_stats.years));
        m_yearChartBuilt = true;
    } else if (m_tabs->currentIndex() == TimeTab && !m_timeChartBuilt) {
        showTimeChart();
    }
    m_savePictureButton->setEnabled(shownChart() != nullptr);
}

QChartView *StatisticsWindow::shownChart() const
{
    switch (m_tabs->currentIndex()) {
    case YearTab:
        return m_yearChart;
    case TimeTab:
        return m_timeChart;
    default:
        return nullptr;
    }
}

void StatisticsWindow::onSavePictureClicked()
{
    m_ctx.guard([this] {
        QChartView *view = shownChart();
        if (!view)
            return;
        Ui::FileRequest request;
        request.title = QStringLiteral("Bild speichern");
        request.initialDir = m_ctx.paths.exportFolder();
        request.fileName = fileNameFor(view->chart()->title());
        request.filter = QStringLiteral("PNG-Bild|*.png");
        const Ui::FileAnswer answer = m_ctx.ui.saveFile(request);
        if (!answer.accepted)
            return;
        QString path = answer.fileName;
        if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
            path += QStringLiteral(".png");
        if (!mayReplace(m_ctx.ui, path))
            return;
        // Written beside the target and renamed, so a failed save leaves an older picture whole.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !view->grab().save(&file, "PNG")
            || !file.commit()) {
            const QString shownText = QStringLiteral("Das Bild konnte nicht gespeichert werden: %1")
                                          .arg(QDir::toNativeSeparators(path));
            m_ctx.ui.message(shownText, Ui::Icon::Warning);
        }
    });
}
