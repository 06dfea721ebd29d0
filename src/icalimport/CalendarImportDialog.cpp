// SPDX-License-Identifier: GPL-3.0-or-later
#include "icalimport/CalendarImportDialog.h"

#include "common/BusyPointer.h"
#include "common/GermanText.h"
#include "context/AppContext.h"
#include "ui/ListGrid.h"
#include "ui/Style.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { Tick, Date, Time, Name, Place, Note };

class CandidateRows : public GridRows
{
public:
    explicit CandidateRows(std::vector<Candidate> &candidates)
        : m_candidates(candidates)
    {
    }
    int rowsRead() const override { return int(m_candidates.size()); }
    QString cell(int row, int column) const override
    {
        const Candidate &c = m_candidates[size_t(row)];
        switch (column) {
        case Date:
            return formatDate(c.event.date) + QStringLiteral(", ")
                + weekdayShort(c.event.date.dayOfWeek());
        case Time:
            return c.event.time.isValid() ? c.event.time.toString(QStringLiteral("hh:mm"))
                                          : QString();
        case Name:
            return c.name;
        case Place:
            return c.place;
        case Note:
            return noteText(c.note);
        default:
            return {};
        }
    }
    std::optional<bool> checked(int row, int column) const override
    {
        if (column != Tick)
            return {};
        return m_candidates[size_t(row)].ticked;
    }
    bool setChecked(int row, int column, bool on) override
    {
        if (column != Tick)
            return false;
        m_candidates[size_t(row)].ticked = on;
        return true;
    }

private:
    std::vector<Candidate> &m_candidates;
};

QList<ListColumn> columns()
{
    return { { QStringLiteral("übernehmen"), 1250, Qt::AlignHCenter },
             { QStringLiteral("Datum"), 1700 },
             { QStringLiteral("Zeit"), 750, Qt::AlignHCenter },
             { QStringLiteral("Lauf"), 4000 },
             { QStringLiteral("Ort"), 2800 },
             { QStringLiteral("Hinweis"), 2600 } };
}

} // namespace

CalendarImportDialog::CalendarImportDialog(AppContext &ctx, const QString &fileName,
                                           CalendarFile file, std::vector<Candidate> candidates,
                                           QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_fileName(fileName)
    , m_file(std::move(file))
    , m_candidates(std::move(candidates))
{
    setObjectName(QStringLiteral("Kalender_Import_Form"));
    setWindowTitle(QStringLiteral("Läufe aus Kalenderdatei"));
    resize(960, 560);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("ki_l_datei"));
    m_summary->setWordWrap(true);
    m_summary->setAccessibleDescription(QStringLiteral("Was die Kalenderdatei enthält"));

    m_grid = new ListGrid(this);
    m_grid->setObjectName(QStringLiteral("ki_grid"));
    m_grid->setAccessibleName(QStringLiteral("Termine der Kalenderdatei"));
    m_grid->setColumns(columns());
    m_grid->setRows(std::make_unique<CandidateRows>(m_candidates));
    connect(&m_grid->listModel(), &QAbstractItemModel::dataChanged, this,
            &CalendarImportDialog::updateSummary);

    m_takeOver = Style::makeButton(this, QStringLiteral("ki_c_uebernehmen"),
                                   QStringLiteral("&Übernehmen"), {}, Style::LightGreen);
    m_cancel = Style::makeButton(this, QStringLiteral("ki_c_abbrechen"),
                                 QStringLiteral("&Abbrechen"), {}, Style::LightRed);
    connect(m_takeOver, &QPushButton::clicked, this, &CalendarImportDialog::onTakeOverClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_takeOver);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    updateSummary();
    // Past events come first; the list starts at the first one offered.
    const auto first = std::find_if(m_candidates.begin(), m_candidates.end(),
                                    [](const Candidate &c) { return c.ticked; });
    m_grid->setCurrentRow(first == m_candidates.end() ? 0 : int(first - m_candidates.begin()));
    m_grid->setFocus();
}

void CalendarImportDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_grid->currentIndex().isValid())
        m_grid->scrollTo(m_grid->currentIndex(), QAbstractItemView::PositionAtTop);
}

CalendarImportDialog::~CalendarImportDialog()
{
    // The rows point into m_candidates, which goes before the grid (a child) does.
    m_grid->setRows(nullptr);
}

void CalendarImportDialog::updateSummary()
{
    const int all = int(m_candidates.size());
    const int ticked = int(std::count_if(m_candidates.begin(), m_candidates.end(),
                                         [](const Candidate &c) { return c.ticked; }));
    QString text = QStringLiteral("„%1“: %2, %3 zum Übernehmen angehakt.")
                       .arg(QFileInfo(m_fileName).fileName(), countText(all, u"Termin", u"Termine"))
                       .arg(ticked);
    if (m_file.cancelled > 0)
        text += m_file.cancelled == 1
            ? QStringLiteral(" 1 abgesagter Termin ist nicht aufgeführt.")
            : QStringLiteral(" %1 abgesagte Termine sind nicht aufgeführt.").arg(m_file.cancelled);
    if (!m_file.skipped.empty())
        text += QStringLiteral(" %1 fehlerhaft.").arg(m_file.skipped.size());
    m_summary->setText(text);
    m_takeOver->setEnabled(ticked > 0);
}

void CalendarImportDialog::onTakeOverClicked()
{
    // A failed write adds nothing; the dialog stays open with the ticks as they are.
    m_ctx.guard([this] {
        BusyPointer busy(m_ctx.ui);
        m_result = takeOver(m_ctx.races(), m_ctx.paths.database(), m_candidates, m_file);
        accept();
    });
}
