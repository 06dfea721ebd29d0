#include "statistics/Statistik_Form.h"

#include "common/GermanText.h"
#include "context/AppContext.h"
#include "data/RaceStore.h"
#include "statistics/FinishTime.h"
#include "statistics/StatisticsCharts.h"
#include "ui/FormBuilder.h"
#include "ui/Style.h"
#include "ui/Twips.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QSaveFile>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

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

// A file name without characters that a folder name could take for a separator.
QString fileNameFor(const QString &title)
{
    QString name = QStringLiteral("Statistik ") + title;
    name.replace(QStringLiteral(": "), QStringLiteral(" "));
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        name.replace(c, u'-');
    return name + QStringLiteral(".png");
}

} // namespace

Statistik_Form::Statistik_Form(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    Form_Load();
}

QTableView *Statistik_Form::makeGrid(QWidget *parent, const QString &name,
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

void Statistik_Form::buildForm()
{
    setObjectName(QStringLiteral("Statistik_Form"));
    setWindowTitle(QStringLiteral("Statistik"));
    setFixedSize(twSize(kWidth, kHeight));

    FormBuilder b(this);
    stat_tabs = b.make<QTabWidget>(QStringLiteral("stat_tabs"), { 120, 120, kWidth - 240, 8160 });

    // Bestzeiten
    auto *bestPage = new QWidget;
    stat_g_best = makeGrid(bestPage, QStringLiteral("stat_g_best"),
                           QStringLiteral("Bestzeiten je Strecke"));
    m_bestModel = new QStandardItemModel(0, 6, this);
    m_bestModel->setHorizontalHeaderLabels(
        { QStringLiteral("Strecke"), QStringLiteral("Bestzeit"), QStringLiteral("Lauf"),
          QStringLiteral("Ort"), QStringLiteral("Datum"), QStringLiteral("Zielankünfte") });
    stat_g_best->setModel(m_bestModel);
    (new QVBoxLayout(bestPage))->addWidget(stat_g_best);
    stat_tabs->addTab(bestPage, QStringLiteral("Bestzeiten"));

    // Läufe pro Jahr
    auto *yearPage = new QWidget;
    stat_ch_jahre = makeChartView(yearPage, QStringLiteral("stat_ch_jahre"),
                                  QStringLiteral("Diagramm Läufe pro Jahr"));
    stat_g_jahre = makeGrid(yearPage, QStringLiteral("stat_g_jahre"),
                            QStringLiteral("Läufe und Kilometer je Jahr"));
    m_yearModel = new QStandardItemModel(0, 5, this);
    m_yearModel->setHorizontalHeaderLabels(
        { QStringLiteral("Jahr"), QStringLiteral("gelaufen"), QStringLiteral("angemeldet"),
          QStringLiteral("vorgemerkt"), QStringLiteral("Kilometer gelaufen") });
    stat_g_jahre->setModel(m_yearModel);
    auto *yearLayout = new QVBoxLayout(yearPage);
    yearLayout->addWidget(stat_ch_jahre, 3);
    yearLayout->addWidget(stat_g_jahre, 1);
    stat_tabs->addTab(yearPage, QStringLiteral("Läufe pro Jahr"));

    // Zeitentwicklung
    auto *timePage = new QWidget;
    stat_l_strecke = new QLabel(QStringLiteral("S&trecke:"), timePage);
    stat_l_strecke->setObjectName(QStringLiteral("stat_l_strecke"));
    stat_k_strecke = new QComboBox(timePage);
    stat_k_strecke->setObjectName(QStringLiteral("stat_k_strecke"));
    stat_k_strecke->setMinimumWidth(tw(3600));
    stat_l_strecke->setBuddy(stat_k_strecke);
    stat_ch_zeit = makeChartView(timePage, QStringLiteral("stat_ch_zeit"),
                                 QStringLiteral("Diagramm Zeitentwicklung"));
    auto *timeLayout = new QVBoxLayout(timePage);
    auto *choice = new QHBoxLayout;
    choice->addWidget(stat_l_strecke);
    choice->addWidget(stat_k_strecke);
    choice->addStretch();
    timeLayout->addLayout(choice);
    timeLayout->addWidget(stat_ch_zeit, 1);
    stat_tabs->addTab(timePage, QStringLiteral("Zeitentwicklung"));

    stat_l_hinweis
        = b.label({}, { 120, 8340, kWidth - 240, 480 }, nullptr, QStringLiteral("stat_l_hinweis"));
    stat_l_hinweis->setWordWrap(true);
    stat_l_hinweis->setAccessibleDescription(QStringLiteral("nicht ausgewertete Läufe"));

    stat_f_command
        = b.commandRow(QStringLiteral("stat_f_command"), { 120, 8940, kWidth - 240, 555 });
    FormBuilder row = b.on(stat_f_command);
    stat_c_bild = row.commandButton(QStringLiteral("stat_c_bild"),
                                    QStringLiteral("&Bild speichern..."), { 0, 60, 2205, 435 });
    stat_c_bild->setToolTip(QStringLiteral("Das gezeigte Diagramm als PNG-Bild speichern"));
    db_abbr = row.commandButton(QStringLiteral("db_abbr"), QStringLiteral("&Schliessen"),
                                { kWidth - 240 - 2205, 60, 2205, 435 });

    connect(stat_c_bild, &QPushButton::clicked, this, &Statistik_Form::stat_c_bild_Click);
    connect(db_abbr, &QPushButton::clicked, this, &QDialog::reject);

    setTabChain({ stat_tabs, stat_g_best, stat_g_jahre, stat_k_strecke, stat_c_bild, db_abbr });
}

void Statistik_Form::Form_Load()
{
    m_ctx.guard([this] {
        RaceStore store(m_ctx.paths.database());
        m_stats = computeStatistics(statisticsRaces(store));
        fillBestGrid();
        fillYearGrid();
        stat_ch_jahre->setChart(StatisticsCharts::yearChart(m_stats.years));
        for (const Progression &p : m_stats.progressions)
            stat_k_strecke->addItem(p.distance, p.distanceKey);
        showLeftOut();
        stat_k_strecke_Click();
        connect(stat_k_strecke, &QComboBox::currentIndexChanged, this,
                &Statistik_Form::stat_k_strecke_Click);
        connect(stat_tabs, &QTabWidget::currentChanged, this, &Statistik_Form::stat_tabs_Click);
        stat_tabs_Click();
    });
}

void Statistik_Form::fillBestGrid()
{
    for (const BestTime &b : m_stats.bests) {
        const bool known = b.ms.has_value();
        m_bestModel->appendRow(
            { cell(b.distance),
              cell(known ? formatFinishTime(*b.ms) : QStringLiteral("–"), Qt::AlignRight),
              cell(b.race), cell(b.place), cell(known ? formatDate(b.date) : QString()),
              number(b.finishes) });
    }
    stat_g_best->resizeColumnsToContents();
    // Race and place take the room that is left.
    stat_g_best->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    stat_g_best->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
}

void Statistik_Form::fillYearGrid()
{
    for (const YearFigures &y : m_stats.years) {
        m_yearModel->appendRow({ cell(QString::number(y.year)), number(y.run), number(y.registered),
                                 number(y.noted),
                                 cell(kGerman.toString(y.km, 'f', 1), Qt::AlignRight) });
    }
    stat_g_jahre->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

// Says how many races the figures leave out; the tooltip names them.
void Statistik_Form::showLeftOut()
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
    if (m_stats.runWithoutDistance > 0)
        parts << count(m_stats.runWithoutDistance,
                       u"1 gelaufener Lauf ohne Strecke (nur in den Jahreszahlen)",
                       u"%1 gelaufene Läufe ohne Strecke (nur in den Jahreszahlen)");
    if (parts.isEmpty()) {
        stat_l_hinweis->setText(QStringLiteral("Alle Läufe sind ausgewertet."));
        stat_l_hinweis->setToolTip(QString());
        return;
    }
    stat_l_hinweis->setText(QStringLiteral("Nicht ausgewertet: ") + parts.join(QStringLiteral(", "))
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
    stat_l_hinweis->setToolTip(lines.join(u'\n'));
}

void Statistik_Form::stat_k_strecke_Click()
{
    const int index = stat_k_strecke->currentIndex();
    const Progression none { {}, QStringLiteral("keine lesbaren Zielzeiten"), {}, -1 };
    const Progression &shown = index >= 0 ? m_stats.progressions[size_t(index)] : none;
    QChart *old = stat_ch_zeit->chart();
    stat_ch_zeit->setChart(StatisticsCharts::timeChart(shown));
    delete old;
}

void Statistik_Form::stat_tabs_Click()
{
    stat_c_bild->setEnabled(shownChart() != nullptr);
}

QChartView *Statistik_Form::shownChart() const
{
    switch (stat_tabs->currentIndex()) {
    case YearTab:
        return stat_ch_jahre;
    case TimeTab:
        return stat_ch_zeit;
    default:
        return nullptr;
    }
}

void Statistik_Form::stat_c_bild_Click()
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
        if (QFileInfo::exists(path)) {
            const QString shownText
                = QStringLiteral("Die Datei %1 gibt es schon. Soll sie ersetzt werden ?")
                      .arg(QDir::toNativeSeparators(path));
            if (m_ctx.ui.message(shownText, Ui::Icon::Question, Ui::Buttons::YesNo)
                != Ui::Answer::Yes)
                return;
        }
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
