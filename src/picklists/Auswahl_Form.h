#pragma once

#include "data/DataSource.h"

#include <QDialog>

#include <array>

class AppContext;
class DataGrid;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The window in which the six pick lists of the race editor are maintained: one list at a
// time in a grid, one entry at a time in the edit line below it.
class Auswahl_Form : public QDialog
{
    Q_OBJECT
public:
    explicit Auswahl_Form(AppContext &ctx, QWidget *parent = nullptr);

    DataSource auswahl_db;

    QLabel *ausw_l_hinweis = nullptr;
    QGroupBox *ausw_f_tabelle = nullptr;
    QComboBox *ausw_co_tabelle = nullptr;
    DataGrid *DBGrid1 = nullptr;
    QLineEdit *ausw_t_edit = nullptr;
    QLineEdit *ausw_t_edit_land = nullptr;
    QLabel *ausw_l_laenge = nullptr;
    QFrame *ausw_f_command = nullptr;
    std::array<QPushButton *, 4> db_neu_ausw {};
    QFrame *ausw_f_ok = nullptr;
    QPushButton *ausw_c_ok = nullptr;
    QPushButton *ausw_c_abbr = nullptr;
    QFrame *ausw_f_ende = nullptr;
    QPushButton *db_abbr = nullptr;

    void Form_Load();
    void ausw_co_tabelle_Click();
    void db_neu_ausw_Click(int index);
    void DBGrid1_DblClick();
    void ausw_c_ok_Click();
    void ausw_c_abbr_Click();
    void db_abbr_Click();

    bool isEditing() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildForm();
    void setEditLineNarrow(bool narrow);
    void enterEditMode();
    void fillFromCurrent();
    void backToBrowseMode();
    void offerChangesToEditor();
    bool isLand() const { return !m_feld2.isEmpty(); }

    AppContext &m_ctx;

    // The list being shown.
    QString m_tabelle;
    QString m_feld;
    QString m_spalte;
    int m_maxLaenge = 35;
    QString m_feld2;
    QString m_spalte2;
    int m_maxLaenge2 = 0;
};
