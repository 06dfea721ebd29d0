#pragma once

#include "statistics/RaceStatistics.h"

#include <QDialog>

class AppContext;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;

// The statistics of the races run: best time per distance, races per year, and the
// development of the finish time at one distance. Reads the database once when it opens.
class StatisticsWindow : public QDialog
{
    Q_OBJECT
public:
    explicit StatisticsWindow(AppContext &ctx, QWidget *parent = nullptr);
    ~StatisticsWindow() override;

    enum Tab { BestTab = 0, YearTab = 1, TimeTab = 2 };

    const RaceStatistics &statistics() const { return m_stats; }

private:
    void buildForm();
    QTableView *makeGrid(QWidget *parent, const QString &name, const QString &accessibleName);
    // Reads the races once and fills the grids and the note.
    void load();
    void fillBestGrid();
    void fillYearGrid();
    void showLeftOut();
    // The time chart of the distance chosen.
    void showTimeChart();
    void onTabChanged();
    void onSavePictureClicked();
    QChartView *shownChart() const;

    AppContext &m_ctx;
    RaceStatistics m_stats;
    QStandardItemModel *m_bestModel = nullptr;
    QStandardItemModel *m_yearModel = nullptr;

    QTabWidget *m_tabs = nullptr;
    QTableView *m_bestGrid = nullptr;
    QChartView *m_yearChart = nullptr;
    QTableView *m_yearGrid = nullptr;
    QComboBox *m_distanceChoice = nullptr;
    QChartView *m_timeChart = nullptr;
    bool m_yearChartBuilt = false;
    bool m_timeChartBuilt = false;
    QLabel *m_leftOutNote = nullptr;
    QPushButton *m_savePictureButton = nullptr;
};
