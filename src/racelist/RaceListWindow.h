#pragma once

#include "data/RaceStore.h"

#include <QMainWindow>

#include <optional>

class AppContext;
class ListGrid;
enum class EditorMode;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class RaceListRows;

// The main window: start-up work, the race list with its filters, and the commands.
class RaceListWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit RaceListWindow(AppContext &ctx, QWidget *parent = nullptr);

    // Start-up, before the window is first shown. Returns false when the user ended the
    // program on the start screen.
    bool load();

    // Lists the races the filter controls choose, under their headline; the reminder list
    // gives way to it.
    void showList();
    // An "Auswahl" option: ticks the time filter it implies, then lists.
    void onOptionChosen(int index);

    // The buttons db_neu(0..5): new, edit, delete, copy, (none), export.
    void onCommandClicked(int index);
    void onPickListsClicked();
    void onStatisticsClicked();
    void onFeesClicked();
    void onProductsClicked();
    void onInfoClicked();

    // The filter the controls set.
    RaceListFilter filter() const;
    bool reminderShown() const;
    // The race of the grid's current row; none when the list is empty.
    std::optional<qlonglong> currentRaceNumber() const;

private:
    void buildForm();
    void buildMenu();
    void setGridHeight(int twips);
    void showRows(RaceList races);
    const RaceListRows *shownRows() const;
    // Reads the list shown again, after the editor may have changed it.
    void reloadList();
    void openEditor(EditorMode mode, std::optional<qlonglong> race);
    // false when the export ended early (empty list, dialog cancelled, name too long).
    bool exportRaces();

    AppContext &m_ctx;
    QWidget *m_central;
    QFrame *m_headlinePanel;
    QLabel *m_headline;
    ListGrid *m_grid;
    QFrame *m_reminderPanel;
    QCheckBox *m_timeFilter[3];
    QGroupBox *m_optionBox;
    QRadioButton *m_options[6];
    QFrame *m_commandPanel;
    QPushButton *m_commands[6] = {};
    QPushButton *m_quitButton;
};
