#pragma once

#include "data/PostalStore.h"
#include "postal/PostalDirectory.h"
#include "ui/BrowseEdit.h"

#include <QDialog>

#include <array>

class AppContext;
class ListGrid;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Auswahl von Ort, PLZ und Vorwahl": searches the postal directory, lets the user take a row
// and maintains the directory. The caller runs the window modally and then reads chosenPlace().
class PostalDirectoryDialog : public QDialog
{
    Q_OBJECT
public:
    PostalDirectoryDialog(AppContext &ctx, QWidget *parent);
    ~PostalDirectoryDialog() override;

    // Browse mode
    QGroupBox *p_f_suche = nullptr;
    QLabel *p_l_ort = nullptr;
    QLabel *p_l_plz = nullptr;
    QLabel *p_l_vw = nullptr;
    QLineEdit *p_t_ort = nullptr;
    QLineEdit *p_t_plz = nullptr;
    QLineEdit *p_t_vw = nullptr;
    ListGrid *DBGrid1 = nullptr;
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

    bool isEditing() const;
    // The row taken with OK or a double click; empty until then, and after OK on an empty list.
    const std::optional<PostalPlace> &chosenPlace() const { return m_chosen; }
    // The place of the grid's current row; none in an empty list.
    std::optional<PostalPlace> currentPlace() const;
    // Number of the place being edited (0: none yet).
    qlonglong editedNumber() const { return m_editedNumber; }

    // The window closed without OK is "&Abbrechen".
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct Search
    {
        PostalField field;
        QString text;
        bool operator==(const Search &) const = default;
    };

    void buildForm();
    void showDirectory();
    void search(QLineEdit *field);
    void searchAgainOnRelease(QLineEdit *field);
    Search searchOf(QLineEdit *field) const;
    PostalList readList();
    void emptyOtherSearchFields(QLineEdit *entered);
    void onOkClicked();
    void onRowActivated();
    void onCancelClicked();
    void onCommandClicked(int index);
    void onSaveClicked();
    void onCancelEditClicked();
    void enterEditMode();
    void backToBrowseMode();
    void fillEditFields(const PostalPlace &place);
    PostalPlace editedPlace() const;
    void showEditedRow();
    void alignEditRow();

    AppContext &m_ctx;
    PostalStore m_store;
    // The search in force; none: the whole directory.
    std::optional<Search> m_search;
    std::optional<PostalPlace> m_chosen;
    RecordEditing<PostalPlace> m_editing;
    qlonglong m_editedNumber = 0;
    // The list was read since the last key press in a search field.
    bool m_readSinceKeyPress = false;
};
