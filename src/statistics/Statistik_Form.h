#pragma once

#include "statistics/RaceStatistics.h"

#include <QDialog>

class AppContext;
class QChartView;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;

// The statistics of the races run: best time per distance, races per year, and the
// development of the finish time at one distance. Reads the database once when it opens.
class Statistik_Form : public QDialog
{
    Q_OBJECT
public:
    explicit Statistik_Form(AppContext &ctx, QWidget *parent = nullptr);

    enum Tab { BestTab = 0, YearTab = 1, TimeTab = 2 };

    QTabWidget *stat_tabs = nullptr;
    QTableView *stat_g_best = nullptr;
    QChartView *stat_ch_jahre = nullptr;
    QTableView *stat_g_jahre = nullptr;
    QLabel *stat_l_strecke = nullptr;
    QComboBox *stat_k_strecke = nullptr;
    QChartView *stat_ch_zeit = nullptr;
    QLabel *stat_l_hinweis = nullptr;
    QFrame *stat_f_command = nullptr;
    QPushButton *stat_c_bild = nullptr;
    QPushButton *db_abbr = nullptr;

    const RaceStatistics &statistics() const { return m_stats; }

    void Form_Load();
    void stat_k_strecke_Click();
    void stat_tabs_Click();
    void stat_c_bild_Click();

private:
    void buildForm();
    QTableView *makeGrid(QWidget *parent, const QString &name, const QString &accessibleName);
    void fillBestGrid();
    void fillYearGrid();
    void showLeftOut();
    QChartView *shownChart() const;

    AppContext &m_ctx;
    RaceStatistics m_stats;
    QStandardItemModel *m_bestModel = nullptr;
    QStandardItemModel *m_yearModel = nullptr;
};
