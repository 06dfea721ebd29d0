#include "fees/FeesWindow.h"

#include "context/AppContext.h"
#include "data/RaceStore.h"
#include "editor/RaceEditor.h"
#include "ui/FormBuilder.h"
#include "ui/ListGrid.h"
#include "ui/Style.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kWidth = 12000;
constexpr int kHeight = 7200;

// In the order of FeeColumn.
QList<ListColumn> feeColumns()
{
    return {
        { QStringLiteral("Datum"), 1400, Qt::AlignLeft },
        { QStringLiteral("Lauf"), 3000, Qt::AlignLeft },
        { QStringLiteral("Strecke"), 1800, Qt::AlignLeft },
        { QStringLiteral("Startgeld heute"), 1600, Qt::AlignRight },
        { QStringLiteral("gilt bis"), 1400, Qt::AlignLeft },
        { QStringLiteral("danach"), 1300, Qt::AlignRight },
        { QStringLiteral("Tage"), 600, Qt::AlignRight },
    };
}

class FeeRows : public GridRows
{
public:
    explicit FeeRows(FeeList list)
        : m_list(std::move(list))
    {
    }

    const FeeList &list() const { return m_list; }

    int rowsRead() const override { return int(m_list.rows.size()); }
    QString cell(int row, int column) const override
    {
        return m_list.rows[size_t(row)].text(FeeColumn(column));
    }
    bool standsOut(int row) const override { return m_list.rows[size_t(row)].risesSoon(); }
    QString toolTip(int row, int column) const override
    {
        const FeeListRow &r = m_list.rows[size_t(row)];
        return r.risesSoon() ? r.riseNote() : cell(row, column);
    }

private:
    FeeList m_list;
};

} // namespace

FeesWindow::FeesWindow(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    load();
}

const FeeList &FeesWindow::list() const
{
    static const FeeList none;
    const auto *rows = static_cast<const FeeRows *>(m_grid->rows());
    return rows ? rows->list() : none;
}

void FeesWindow::buildForm()
{
    setObjectName(QStringLiteral("Startgelder_Form"));
    setWindowTitle(QStringLiteral("Startgelder und Fristen"));
    setFixedSize(twSize(kWidth, kHeight));

    FormBuilder b(this);
    m_sumLine = b.label({}, { 120, 120, kWidth - 240, 315 }, nullptr, QStringLiteral("sg_l_summe"));
    m_sumLine->setAccessibleDescription(QStringLiteral("Summe der heutigen Startgelder"));
    QFont bold = m_sumLine->font();
    bold.setBold(true);
    m_sumLine->setFont(bold);

    m_grid = b.make<ListGrid>(QStringLiteral("sg_g_liste"), { 120, 540, kWidth - 240, 5880 });
    m_grid->setAccessibleName(QStringLiteral("Noch zu bezahlende Startgelder"));
    m_grid->setColumns(feeColumns());
    // The race's name takes the room the others leave.
    m_grid->horizontalHeader()->setSectionResizeMode(int(FeeColumn::Race), QHeaderView::Stretch);
    m_grid->setColors(Style::GridBlue, Qt::white);
    connect(m_grid, &ListGrid::rowActivated, this, &FeesWindow::onRowActivated);

    auto *commandRow
        = b.commandRow(QStringLiteral("sg_f_command"), { 120, 6540, kWidth - 240, 555 });
    m_closeButton = b.on(commandRow)
                        .commandButton(QStringLiteral("db_abbr"), QStringLiteral("&Schliessen"),
                                       { kWidth - 240 - 2205, 60, 2205, 435 });
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabChain({ m_grid, m_closeButton });
}

void FeesWindow::load(qlonglong race)
{
    m_ctx.guard([this, race] {
        FeeList list = readFeeList(m_ctx.races(), m_ctx.clock.today());
        const QString sum = feeSumLine(list);
        int current = 0;
        for (size_t i = 0; i < list.rows.size(); ++i)
            if (list.rows[i].race == race)
                current = int(i);
        m_grid->setRows(std::make_unique<FeeRows>(std::move(list)), current);
        m_sumLine->setText(sum);
        m_sumLine->setAccessibleName(sum);
    });
}

void FeesWindow::onRowActivated(int row)
{
    if (row < 0 || size_t(row) >= list().rows.size())
        return;
    const qlonglong number = list().rows[size_t(row)].race;
    m_ctx.guard([this, number] {
        if (std::optional<Race> race = m_ctx.races().race(number))
            editRace(m_ctx, this, EditorMode::Edit, std::move(race));
    });
    load(number);
}
