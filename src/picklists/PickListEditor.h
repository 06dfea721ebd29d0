#pragma once

#include "data/PickListStore.h"
#include "ui/BrowseEdit.h"

#include <QDialog>

#include <array>

class AppContext;
class ListGrid;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The window in which the six pick lists of the race editor are maintained: one list at a
// time in a grid, one entry at a time in the edit line below it. The race editor reads the lists
// each time it opens, so it offers what was stored here.
class PickListEditor : public QDialog
{
    Q_OBJECT
public:
    explicit PickListEditor(AppContext &ctx, QWidget *parent = nullptr);

    QLabel *ausw_l_hinweis = nullptr;
    QGroupBox *ausw_f_tabelle = nullptr;
    QComboBox *ausw_co_tabelle = nullptr;
    ListGrid *DBGrid1 = nullptr;
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

    bool isEditing() const;
    // The list shown and what the save button will do.
    PickList shownList() const { return m_list; }
    RecordEdit pendingEdit() const { return m_editing.pending(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using EntryRows = RecordRows<PickListEntry>;

    void buildForm();
    void showFirstList();
    void onListChosen();
    void onCommandClicked(int index);
    void onSaveClicked();
    void onCancelClicked();
    void showEntries();
    void setEditLineNarrow(bool narrow);
    void enterEditMode();
    void fillFrom(const PickListEntry &entry);
    void saveEntry();
    void backToBrowseMode();
    bool isLand() const { return m_list == PickList::Country; }
    int entryCount() const;

    AppContext &m_ctx;
    PickListStore m_store;
    PickList m_list = PickList::Race;
    RecordEditing<PickListEntry> m_editing;
};
