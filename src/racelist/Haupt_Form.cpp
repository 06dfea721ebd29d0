#include "racelist/Haupt_Form.h"

#include "accessimport/AccessImport.h"
#include "context/AppContext.h"
#include "data/DocumentLinkIndex.h"
#include "data/PlaceNameIndex.h"
#include "data/RaceDateIndex.h"
#include "data/Sqlite.h"
#include "data/StartupMaintenance.h"
#include "icalexport/CalendarExportCommand.h"
#include "startscreen/Start_Form.h"
#include "ui/DataGrid.h"
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

Haupt_Form::Haupt_Form(AppContext &ctx, QWidget *parent)
    : QMainWindow(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("Haupt_Form"));
    setWindowTitle(QStringLiteral("Strivo"));
    buildForm();
    buildMenu();
}

void Haupt_Form::buildForm()
{
    m_central = new QWidget(this);
    setCentralWidget(m_central);
    m_central->setFixedSize(twSize(kWidth + 240, 8880));

    h_p_headline = new QFrame(m_central);
    h_p_headline->setObjectName(QStringLiteral("h_p_headline"));
    h_p_headline->setGeometry(twRect(120, 120, kWidth, 500));
    h_p_headline->setFrameShape(QFrame::StyledPanel);
    h_l_headline = new QLabel(h_p_headline);
    h_l_headline->setObjectName(QStringLiteral("h_l_headline"));
    h_l_headline->setGeometry(twRect(60, 30, kWidth - 120, 440));
    h_l_headline->setAccessibleDescription(QStringLiteral("Was die Liste zeigt"));
    QFont headlineFont = h_l_headline->font();
    headlineFont.setPointSize(headlineFont.pointSize() + 2);
    headlineFont.setBold(true);
    h_l_headline->setFont(headlineFont);

    DBGrid1 = new DataGrid(m_ctx.Lauf_db, m_central);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setAccessibleName(QStringLiteral("Liste der Läufe"));
    connect(DBGrid1, &DataGrid::rowActivated, this, [this] { db_neu_Click(1); });
    setGridHeight(kGridHeightList);
    // The start-up sets these again in its order; a start-up step that fails must not leave a
    // grid whose rows show without columns.
    configureGridColumns();
    DBGrid1->setColors(Style::GridBlue, Qt::white);

    h_p_alarm = new QFrame(m_central);
    h_p_alarm->setObjectName(QStringLiteral("h_p_alarm"));
    h_p_alarm->setGeometry(twRect(120, kGridTop + kGridHeightReminder + 120, kWidth,
                                  kGridHeightList - kGridHeightReminder - 120));
    h_p_alarm->setFrameShape(QFrame::Box);
    Style::setColor(h_p_alarm, QPalette::Window, QColor(255, 255, 128));
    auto *alarmText = new QLabel(
        QStringLiteral("Achtung, für die aufgelisteten Läufe sollte an das zu bezahlende "
                       "Startgeld erinnert werden"),
        h_p_alarm);
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
    alarmText->setGeometry(QRect(QPoint(0, 0), h_p_alarm->size()).adjusted(8, 4, -8, -4));
    h_p_alarm->hide();

    const int filterTop = kGridTop + kGridHeightList + 120;
    const char16_t *checkCaptions[]
        = { u"zukünftige Läufe", u"vergangene Läufe", u"dummy zum aufruf der prozedur" };
    for (int i = 0; i < 3; ++i) {
        ad_check1[i] = new QCheckBox(QString::fromUtf16(checkCaptions[i]), m_central);
        ad_check1[i]->setObjectName(QStringLiteral("ad_check1(%1)").arg(i));
        ad_check1[i]->setGeometry(twRect(240, filterTop + 120 + i * 300, 2200, 285));
        connect(ad_check1[i], &QCheckBox::clicked, this, [this, i] { ad_check1_Click(i); });
    }
    ad_check1[0]->setChecked(true);
    ad_check1[2]->hide();

    Frame1 = new QGroupBox(QStringLiteral("Auswahl"), m_central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twRect(2640, filterTop, kWidth - 2520, 960));
    auto *options = new QButtonGroup(this);
    const char16_t *optionCaptions[]
        = { u"alle Läufe",        u"bereits angemeldete", u"noch zu bezahlende",
            u"bereits gelaufene", u"schon bezahlte",      u"vorgemerkte" };
    // Two rows of three, so that every caption has room at any font size.
    for (int i = 0; i < 6; ++i) {
        h_o_auswahl[i] = new QRadioButton(QString::fromUtf16(optionCaptions[i]), Frame1);
        h_o_auswahl[i]->setObjectName(QStringLiteral("h_o_auswahl(%1)").arg(i));
        h_o_auswahl[i]->setGeometry(twRect(240 + (i % 3) * 3700, 320 + (i / 3) * 300, 3500, 285));
        options->addButton(h_o_auswahl[i], i);
        connect(h_o_auswahl[i], &QRadioButton::clicked, this, [this, i] { h_o_auswahl_Click(i); });
    }

    h_f_neu_usw = new QFrame(m_central);
    h_f_neu_usw->setObjectName(QStringLiteral("h_f_neu_usw"));
    h_f_neu_usw->setGeometry(twRect(120, filterTop + 1080, kWidth, 660));
    h_f_neu_usw->setFrameShape(QFrame::StyledPanel);
    Style::setColor(h_f_neu_usw, QPalette::Window, Style::LightYellow);
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
        auto *b = Style::makeButton(h_f_neu_usw, QStringLiteral("db_neu(%1)").arg(c.index),
                                    QString::fromUtf16(c.caption), twRect(left, 120, 2200, 420),
                                    Style::LightYellow);
        if (c.tooltip)
            b->setToolTip(QString::fromUtf16(c.tooltip));
        db_neu[c.index] = b;
        connect(b, &QPushButton::clicked, this, [this, i = c.index] { db_neu_Click(i); });
        left += 2300;
    }
    I_c_ende
        = Style::makeButton(h_f_neu_usw, QStringLiteral("I_c_ende"), QStringLiteral("&Beenden"),
                            twRect(kWidth - 1800, 120, 1680, 420), Style::LightRed);
    I_c_ende->setToolTip(QStringLiteral("Programm beenden"));
    connect(I_c_ende, &QPushButton::clicked, this, [this] { m_ctx.ui.quitProgram(); });
}

void Haupt_Form::buildMenu()
{
    QMenu *m_datei = menuBar()->addMenu(QStringLiteral("Datei "));
    m_datei->setObjectName(QStringLiteral("m_datei"));
    QAction *m_access = m_datei->addAction(QStringLiteral("Läufe aus Access-Datei übernehmen..."));
    m_access->setObjectName(QStringLiteral("m_access_uebernehmen"));
    connect(m_access, &QAction::triggered, this, [this] {
        if (importAccessFile(m_ctx))
            ad_check1_Click(2);
    });
    QAction *m_termine = m_datei->addAction(QStringLiteral("&Termine exportieren (iCalendar)..."));
    m_termine->setObjectName(QStringLiteral("m_termine"));
    connect(m_termine, &QAction::triggered, this, [this] { exportCalendarCommand(m_ctx); });
    QAction *m_ende = m_datei->addAction(QStringLiteral("Programm beenden"));
    m_ende->setObjectName(QStringLiteral("m_ende"));
    connect(m_ende, &QAction::triggered, this, [this] { m_ctx.ui.quitProgram(); });
    const struct
    {
        const char *name;
        const char16_t *caption;
        void (Haupt_Form::*handler)();
    } items[] = {
        { "m_auswahl", u" Auswahllisten bearbeiten ", &Haupt_Form::m_auswahl_Click },
        { "m_statistik", u" &Statistik ", &Haupt_Form::m_statistik_Click },
        { "m_produkte", u" weitere Produkte ", &Haupt_Form::m_produkte_Click },
        { "m_info", u" Info  ", &Haupt_Form::m_info_Click },
    };
    for (const auto &item : items) {
        QAction *action = menuBar()->addAction(QString::fromUtf16(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, item.handler);
    }
}

void Haupt_Form::setGridHeight(int twips)
{
    DBGrid1->setGeometry(twRect(120, kGridTop, kWidth, twips));
}

bool Haupt_Form::reminderShown() const
{
    return !h_p_alarm->isHidden();
}

RaceListSelection Haupt_Form::selection() const
{
    RaceListSelection s;
    s.future = ad_check1[0]->isChecked();
    s.past = ad_check1[1]->isChecked();
    for (int i = 0; i < 6; ++i)
        if (h_o_auswahl[i]->isChecked())
            s.option = i;
    return s;
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

bool Haupt_Form::Form_Load()
{
    bool quit = false;
    m_ctx.guard([&] {
        SharedVars &v = m_ctx.vars;
        v.aufruf_form = QStringLiteral("haupt_form");

        const MaintenancePaths paths = MaintenancePaths::inFolder(m_ctx.paths.folder);
        offerAccessTakeover(m_ctx); // a file maintained early is no Access file
        m_ctx.maintenance.finish(paths);
        addIndexes(paths.mainFile);

        m_ctx.connectPickListSources();
        v.listen_geladen_jn = QStringLiteral("nein");
        h_l_headline->setText(kReminderHeadline);
        h_l_headline->setAccessibleName(kReminderHeadline);
        DBGrid1->setColors(Style::GridBlue, Qt::white);

        const QDate today = m_ctx.clock.today();
        DataSource &races = m_ctx.Lauf_db;
        races.setDatabaseName(paths.mainFile);
        races.setRecordSource(startScreenStatement(today));
        races.refresh();
        if (!races.eof()) {
            Start_Form start(m_ctx, this);
            if (m_ctx.ui.runModal(start) == Start_Form::QuitProgram) {
                quit = true;
                return;
            }
        }

        configureGridColumns();

        races.setDatabaseName(paths.mainFile);
        races.setRecordSource(reminderStatement(today));
        races.refresh();
        if (!races.eof()) {
            h_p_alarm->show();
            setGridHeight(kGridHeightReminder);
        } else {
            ad_check1_Click(2);
        }
    });
    return !quit;
}

void Haupt_Form::configureGridColumns()
{
    const Qt::Alignment centre = Qt::AlignHCenter;
    DBGrid1->setColumns({
        { QStringLiteral("Datum"), QStringLiteral("ad_lauf_datum"), 1300, centre },
        { QStringLiteral("Tag"), QStringLiteral("ad_lauf_wotag"), 500, centre },
        { QStringLiteral("Zeit"), QStringLiteral("ad_start"), 800, centre },
        { QStringLiteral("Lauf"), QStringLiteral("ad_lauf"), 3300, Qt::AlignLeft },
        { QStringLiteral("Ort"), QStringLiteral("ad_lauf_ort"), 2100, Qt::AlignLeft },
        { QStringLiteral("angemeldet"), QStringLiteral("ad_ang_datum"), 1200, centre },
        { QStringLiteral("gelaufen"), QStringLiteral("ad_gelaufen_jn"), 900, centre },
        { QStringLiteral("Strecke"), QStringLiteral("ad_strecke"), 2000, centre },
        { QStringLiteral("Zeit"), QStringLiteral("ad_zeit"), 1200, centre },
    });
}

void Haupt_Form::ad_check1_Click(int)
{
    m_ctx.guard([this] {
        h_p_alarm->hide();
        setGridHeight(kGridHeightList);
        const RaceListQuery q = buildRaceListQuery(selection(), m_ctx.clock.today());
        DataSource &races = m_ctx.Lauf_db;
        const QString previous = races.recordSource();
        races.setDatabaseName(m_ctx.paths.database());
        races.setRecordSource(q.sql_gesamt());
        try {
            races.refresh();
        } catch (...) {
            // The grid keeps its previous list, and so does the data source.
            races.setRecordSource(previous);
            throw;
        }
        h_l_headline->setText(q.headline);
        h_l_headline->setAccessibleName(q.headline);
    });
}

void Haupt_Form::h_o_auswahl_Click(int index)
{
    m_ctx.guard([this, index] {
        h_p_alarm->hide();
        setGridHeight(kGridHeightList);
        if (index == 1 || index == 2 || index == 5)
            ad_check1[0]->setChecked(true);
        else if (index == 3)
            ad_check1[1]->setChecked(true);
        ad_check1_Click(2);
    });
}
