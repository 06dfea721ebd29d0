#pragma once

#include "racelist/RaceListQuery.h"

#include <QMainWindow>

class AppContext;
class DataGrid;
enum class EditorMode;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The main window: start-up work, the race list with its filters, and the commands.
class Haupt_Form : public QMainWindow
{
    Q_OBJECT
public:
    explicit Haupt_Form(AppContext &ctx, QWidget *parent = nullptr);

    // Start-up, before the window is first shown. Returns false when the user ended the
    // program on the start screen.
    bool Form_Load();

    // The list procedure; index 2 is the hidden box that other code "clicks".
    void ad_check1_Click(int index);
    void h_o_auswahl_Click(int index);

    void db_neu_Click(int index);
    void m_auswahl_Click();
    void m_statistik_Click();
    void m_produkte_Click();
    void m_info_Click();

    RaceListSelection selection() const;
    bool reminderShown() const;

private:
    void buildForm();
    void buildMenu();
    void configureGridColumns();
    void setGridHeight(int twips);
    void openEditor(EditorMode mode);
    // false when the export ended early (empty list, dialog cancelled, name too long).
    bool exportRaces();

    AppContext &m_ctx;
    QWidget *m_central;
    QFrame *h_p_headline;
    QLabel *h_l_headline;
    DataGrid *DBGrid1;
    QFrame *h_p_alarm;
    QCheckBox *ad_check1[3];
    QGroupBox *Frame1;
    QRadioButton *h_o_auswahl[6];
    QFrame *h_f_neu_usw;
    QPushButton *db_neu[6] = {};
    QPushButton *I_c_ende;
};
