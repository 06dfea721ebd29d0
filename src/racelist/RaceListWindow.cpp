#include "racelist/RaceListWindow.h"

#include "accessimport/AccessImport.h"
#include "context/AppContext.h"
#include "data/DocumentLinkIndex.h"
#include "data/PlaceNameIndex.h"
#include "data/RaceDateIndex.h"
#include "data/Sqlite.h"
#include "data/StartupMaintenance.h"
#include "icalexport/CalendarExportCommand.h"
#include "icalimport/CalendarImportCommand.h"
#include "listoutput/ListOutputCommands.h"
#include "racelist/RaceListHeadline.h"
#include "racelist/RaceListRows.h"
#include "startscreen/StartScreen.h"
#include "ui/ListGrid.h"
#include "ui/Style.h"
#include "ui/Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr int kGridTop = 720;
constexpr int kGridHeightList = 6200;
constexpr int kGridHeightReminder = 4000;
constexpr int kWidth = 14040;
} // namespace

RaceListWindow::RaceListWindow(AppContext &ctx, QWidget *parent)
    : QMainWindow(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("Haupt_Form"));
    setWindowTitle(QStringLiteral("Strivo"));
    buildForm();
    buildMenu();
}

void RaceListWindow::buildForm()
{
    m_central = new QWidget(this);
    setCentralWidget(m_central);
    m_central->setFixedSize(twSize(kWidth + 240, 8880));

    m_headlinePanel = new QFrame(m_central);
    m_headlinePanel->setObjectName(QStringLiteral("h_p_headline"));
    m_headlinePanel->setGeometry(twRect(120, 120, kWidth, 500));
    m_headlinePanel->setFrameShape(QFrame::StyledPanel);
    m_headline = new QLabel(m_headlinePanel);
    m_headline->setObjectName(QStringLiteral("h_l_headline"));
    m_headline->setGeometry(twRect(60, 30, kWidth - 120, 440));
    m_headline->setAccessibleDescription(QStringLiteral("Was die Liste zeigt"));
    QFont headlineFont = m_headline->font();
    headlineFont.setPointSize(headlineFont.pointSize() + 2);
    headlineFont.setBold(true);
    m_headline->setFont(headlineFont);

    m_grid = new ListGrid(m_central);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setAccessibleName(QStringLiteral("Liste der Läufe"));
    connect(m_grid, &ListGrid::rowActivated, this, [this] { onCommandClicked(1); });
    setGridHeight(kGridHeightList);
    m_grid->setColumns(raceListColumns());
    m_grid->setColors(Style::GridBlue, Qt::white);

    m_reminderPanel = new QFrame(m_central);
    m_reminderPanel->setObjectName(QStringLiteral("h_p_alarm"));
    m_reminderPanel->setGeometry(twRect(120, kGridTop + kGridHeightReminder + 120, kWidth,
                                        kGridHeightList - kGridHeightReminder - 120));
    m_reminderPanel->setFrameShape(QFrame::Box);
    Style::setColor(m_reminderPanel, QPalette::Window, QColor(255, 255, 128));
    auto *alarmText = new QLabel(
        QStringLiteral("Achtung, für die aufgelisteten Läufe sollte an das zu bezahlende "
                       "Startgeld erinnert werden"),
        m_reminderPanel);
    alarmText->setObjectName(QStringLiteral("h_l_alarm"));
    alarmText->setWordWrap(true);
    alarmText->setAlignment(Qt::AlignCenter);
    QFont alarmFont = alarmText->font();
    alarmFont.setPointSize(alarmFont.pointSize() + 4);
    alarmFont.setBold(true);
    alarmText->setFont(alarmFont);
    QPalette red = alarmText->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    alarmText->setPalette(red);
    alarmText->setGeometry(QRect(QPoint(0, 0), m_reminderPanel->size()).adjusted(8, 4, -8, -4));
    m_reminderPanel->hide();

    const int filterTop = kGridTop + kGridHeightList + 120;
    const char16_t *checkCaptions[]
        = { u"zukünftige Läufe", u"vergangene Läufe", u"dummy zum aufruf der prozedur" };
    for (int i = 0; i < 3; ++i) {
        m_timeFilter[i] = new QCheckBox(QString::fromUtf16(checkCaptions[i]), m_central);
        m_timeFilter[i]->setObjectName(QStringLiteral("ad_check1(%1)").arg(i));
        m_timeFilter[i]->setGeometry(twRect(240, filterTop + 120 + i * 300, 2200, 285));
        connect(m_timeFilter[i], &QCheckBox::clicked, this, [this] { showList(); });
    }
    m_timeFilter[0]->setChecked(true);
    m_timeFilter[2]->hide();

    m_optionBox = new QGroupBox(QStringLiteral("Auswahl"), m_central);
    m_optionBox->setObjectName(QStringLiteral("Frame1"));
    m_optionBox->setGeometry(twRect(2640, filterTop, kWidth - 2520, 960));
    auto *options = new QButtonGroup(this);
    const char16_t *optionCaptions[]
        = { u"alle Läufe",        u"bereits angemeldete", u"noch zu bezahlende",
            u"bereits gelaufene", u"schon bezahlte",      u"vorgemerkte" };
    // Two rows of three, so that every caption has room at any font size.
    for (int i = 0; i < 6; ++i) {
        m_options[i] = new QRadioButton(QString::fromUtf16(optionCaptions[i]), m_optionBox);
        m_options[i]->setObjectName(QStringLiteral("h_o_auswahl(%1)").arg(i));
        m_options[i]->setGeometry(twRect(240 + (i % 3) * 3700, 320 + (i / 3) * 300, 3500, 285));
        options->addButton(m_options[i], i);
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { onOptionChosen(i); });
    }

    m_commandPanel = new QFrame(m_central);
    m_commandPanel->setObjectName(QStringLiteral("h_f_neu_usw"));
    m_commandPanel->setGeometry(twRect(120, filterTop + 1080, kWidth, 660));
    m_commandPanel->setFrameShape(QFrame::StyledPanel);
    Style::setColor(m_commandPanel, QPalette::Window, Style::LightYellow);
    struct Command
    {
        int index;
        const char16_t *caption;
        const char16_t *tooltip;
    };
    const Command commands[] = {
        { 0, u"Neuen Lauf erfassen", u"neuen Datensatz erfassen" },
        { 1, u"Lauf bearbeiten", u"ausgewählten Datensatz anzeigen bzw. ändern" },
        { 2, u"Lauf löschen", u"ausgewählten Datensatz löschen" },
        { 3, u"Lauf kopieren", u"Kopie vom ausgewählten Datensatz erzeugen" },
        { 5, u"&Export nach Excel", nullptr },
    };
    int left = 120;
    for (const Command &c : commands) {
        auto *b = Style::makeButton(m_commandPanel, QStringLiteral("db_neu(%1)").arg(c.index),
                                    QString::fromUtf16(c.caption), twRect(left, 120, 2200, 420),
                                    Style::LightYellow);
        if (c.tooltip)
            b->setToolTip(QString::fromUtf16(c.tooltip));
        m_commands[c.index] = b;
        connect(b, &QPushButton::clicked, this, [this, i = c.index] { onCommandClicked(i); });
        left += 2300;
    }
    m_quitButton
        = Style::makeButton(m_commandPanel, QStringLiteral("I_c_ende"), QStringLiteral("&Beenden"),
                            twRect(kWidth - 1800, 120, 1680, 420), Style::LightRed);
    m_quitButton->setToolTip(QStringLiteral("Programm beenden"));
    connect(m_quitButton, &QPushButton::clicked, this, [this] { m_ctx.ui.quitProgram(); });
}

void RaceListWindow::buildMenu()
{
    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("&Datei "));
    fileMenu->setObjectName(QStringLiteral("m_datei"));
    addListOutputItems(*fileMenu, m_ctx, this, [this] {
        return ShownList { m_headline->text(), shownRows() ? &shownRows()->list() : nullptr };
    });
    fileMenu->addSeparator();
    QAction *takeOver = fileMenu->addAction(QStringLiteral("Läufe aus Access-Datei übernehmen..."));
    takeOver->setObjectName(QStringLiteral("m_access_uebernehmen"));
    connect(takeOver, &QAction::triggered, this, [this] {
        if (importAccessFile(m_ctx))
            showList();
    });
    QAction *fromCalendar
        = fileMenu->addAction(QStringLiteral("Läufe aus &Kalenderdatei übernehmen (iCalendar)..."));
    fromCalendar->setObjectName(QStringLiteral("m_kalender_uebernehmen"));
    connect(fromCalendar, &QAction::triggered, this, [this] {
        if (importCalendarCommand(m_ctx, this))
            showList();
    });
    QAction *calendar = fileMenu->addAction(QStringLiteral("&Termine exportieren (iCalendar)..."));
    calendar->setObjectName(QStringLiteral("m_termine"));
    connect(calendar, &QAction::triggered, this, [this] { exportCalendarCommand(m_ctx); });
    QAction *quit = fileMenu->addAction(QStringLiteral("Programm beenden"));
    quit->setObjectName(QStringLiteral("m_ende"));
    connect(quit, &QAction::triggered, this, [this] { m_ctx.ui.quitProgram(); });
    const struct
    {
        const char *name;
        const char16_t *caption;
        void (RaceListWindow::*handler)();
    } items[] = {
        { "m_auswahl", u" Auswahllisten bearbeiten ", &RaceListWindow::onPickListsClicked },
        { "m_statistik", u" &Statistik ", &RaceListWindow::onStatisticsClicked },
        { "m_startgelder", u" Startgelder und &Fristen ", &RaceListWindow::onFeesClicked },
        { "m_produkte", u" weitere Produkte ", &RaceListWindow::onProductsClicked },
        { "m_info", u" Info  ", &RaceListWindow::onInfoClicked },
    };
    for (const auto &item : items) {
        QAction *action = menuBar()->addAction(QString::fromUtf16(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.handler);
    }
}

void RaceListWindow::setGridHeight(int twips)
{
    m_grid->setGeometry(twRect(120, kGridTop, kWidth, twips));
}

bool RaceListWindow::reminderShown() const
{
    return !m_reminderPanel->isHidden();
}

RaceListFilter RaceListWindow::filter() const
{
    RaceListFilter filter;
    filter.future = m_timeFilter[0]->isChecked();
    filter.past = m_timeFilter[1]->isChecked();
    for (int i = 0; i < 6; ++i)
        if (m_options[i]->isChecked())
            filter.option = RaceSelection(i);
    return filter;
}

const RaceListRows *RaceListWindow::shownRows() const
{
    return static_cast<const RaceListRows *>(m_grid->rows());
}

std::optional<qlonglong> RaceListWindow::currentRaceNumber() const
{
    const RaceListRows *rows = shownRows();
    const int row = m_grid->currentRow();
    if (!rows || row < 0 || !rows->list().hasRow(row))
        return std::nullopt;
    return rows->list().number(row);
}

void RaceListWindow::showRows(RaceList races)
{
    m_grid->setRows(std::make_unique<RaceListRows>(std::move(races)));
    // After every change the list is read again; the statistics follow when the user pauses.
    m_ctx.statistics().updateWhenIdle();
}

namespace {
// Once the file has passed its checks. The lists and the editor work without the indexes, only
// slower, so a file that cannot take them (read-only, full disk) is used as it is.
void addIndexes(const QString &mainFile)
{
    for (void (*ensure)(SqliteDb &) :
         { &RaceDateIndex::ensure, &DocumentLinkIndex::ensure, &PlaceNameIndex::ensure }) {
        try {
            SqliteDb db(mainFile, SqliteDb::Open::ReadWrite);
            ensure(db);
        } catch (const DbError &) {
        }
    }
}
} // namespace

bool RaceListWindow::load()
{
    bool quit = false;
    m_ctx.guard([&] {
        const MaintenancePaths paths = MaintenancePaths::inFolder(m_ctx.paths.folder);
        offerAccessTakeover(m_ctx); // a file maintained early is no Access file
        m_ctx.maintenance.finish(paths);
        addIndexes(paths.mainFile);

        m_headline->setText(kReminderHeadline);
        m_headline->setAccessibleName(kReminderHeadline);

        const QDate today = m_ctx.clock.today();
        RaceStore &store = m_ctx.races();
        std::vector<Race> marked = store.startScreenRaces(today).all();
        if (!marked.empty()) {
            StartScreen start(m_ctx, std::move(marked), this);
            if (m_ctx.ui.runModal(start) == StartScreen::QuitProgram) {
                quit = true;
                return;
            }
        }

        RaceList reminders = store.dueReminders(today);
        if (!reminders.isEmpty()) {
            showRows(std::move(reminders));
            m_reminderPanel->show();
            setGridHeight(kGridHeightReminder);
        } else {
            showList();
        }
    });
    return !quit;
}

void RaceListWindow::showList()
{
    m_ctx.guard([this] {
        m_reminderPanel->hide();
        setGridHeight(kGridHeightList);
        const RaceListFilter chosen = filter();
        // A list that cannot be read leaves the grid and the headline as they were.
        showRows(m_ctx.races().list(chosen, m_ctx.clock.today()));
        const QString headline = raceListHeadline(chosen);
        m_headline->setText(headline);
        m_headline->setAccessibleName(headline);
    });
}

void RaceListWindow::reloadList()
{
    const QDate today = m_ctx.clock.today();
    showRows(reminderShown() ? m_ctx.races().dueReminders(today)
                             : m_ctx.races().list(filter(), today));
}

void RaceListWindow::onOptionChosen(int index)
{
    m_ctx.guard([this, index] {
        m_reminderPanel->hide();
        setGridHeight(kGridHeightList);
        if (index == 1 || index == 2 || index == 5)
            m_timeFilter[0]->setChecked(true);
        else if (index == 3)
            m_timeFilter[1]->setChecked(true);
        showList();
    });
}
