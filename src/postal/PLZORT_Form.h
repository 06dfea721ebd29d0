#pragma once

#include "data/DataSource.h"
#include "postal/PostalDirectory.h"

#include <QDialog>

#include <array>

class AppContext;
class DataGrid;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Auswahl von Ort, PLZ und Vorwahl": searches the postal directory, lets the user take a row
// and maintains the directory. The caller sets plz_aufruf, runs the window modally and then
// reads chosenPlace().
class PLZORT_Form : public QDialog
{
    Q_OBJECT
public:
    PLZORT_Form(AppContext &ctx, QWidget *parent);

    DataSource plzort_db;

    // Browse mode
    QGroupBox *p_f_suche = nullptr;
    QLabel *p_l_ort = nullptr;
    QLabel *p_l_plz = nullptr;
    QLabel *p_l_vw = nullptr;
    QLineEdit *p_t_ort = nullptr;
    QLineEdit *p_t_plz = nullptr;
    QLineEdit *p_t_vw = nullptr;
    DataGrid *DBGrid1 = nullptr;
    QFrame *p_f_command = nullptr;
    std::array<QPushButton *, 4> db_neu_plz {};
    QFrame *p_f_ok = nullptr;
    QPushButton *p_c_ok = nullptr;
    QPushButton *p_c_abbr = nullptr;

    // Edit mode, in the places of the command row and the OK row
    QFrame *p_f_edit = nullptr;
    QLineEdit *p_t_ort_edit = nullptr;
    QLineEdit *p_t_plz_edit = nullptr;
    QLineEdit *p_t_vw_edit = nullptr;
    QFrame *p_f_ok_edit = nullptr;
    QPushButton *p_c_ok_edit = nullptr;
    QPushButton *p_c_abbr_edit = nullptr;

    void Form_Load();
    void p_t_ort_Change();
    void p_t_plz_Change();
    void p_t_vw_Change();
    void p_t_ort_GotFocus();
    void p_t_plz_GotFocus();
    void p_t_vw_GotFocus();
    void p_c_ok_Click();
    void DBGrid1_DblClick();
    void p_c_abbr_Click();
    void db_neu_plz_Click(int index);
    void p_c_ok_edit_Click();
    void p_c_abbr_edit_Click();

    bool isEditing() const;
    // The row taken with OK or a double click; empty until then, and after OK on an empty list.
    const std::optional<PostalPlace> &chosenPlace() const { return m_chosen; }
    // pov_nummer of the row being edited (0: none yet).
    qlonglong bearbNummer() const { return bearb_nummer; }

    // The window closed without OK is "&Abbrechen".
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildForm();
    void search(QLineEdit *field, const char *column);
    void searchAgainOnRelease(QLineEdit *field, const char *column);
    void emptyOtherSearchFields(QLineEdit *entered);
    void enterEditMode();
    void backToBrowseMode();
    void fillEditFields();
    void findEditedRow();
    void alignEditRow();

    AppContext &m_ctx;
    std::optional<PostalPlace> m_chosen;
    qlonglong bearb_nummer = 0;
    // The list was read since the last key press in a search field.
    bool m_readSinceKeyPress = false;
};
