#pragma once

#include "editor/ControlArray.h"
#include "model/Race.h"
#include "model/Records.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

class AppContext;
class ListGrid;
class DateLabel;
class FieldBehaviours;
class PickListCombos;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

enum class EditorMode { New, Edit, Delete, Copy };

// What became of the race the editor was opened with.
struct EditorOutcome
{
    enum class Result {
        Cancelled, // nothing changed; a new race or copy added on opening is gone again
        Saved,
        Deleted
    };
    Result result = Result::Cancelled;
    std::optional<Race> saved; // the race as stored
    qlonglong deleted = 0; // the number of the deleted race
};

// Opens the race editor modally on `race` (none for a new race) and hands back what the user
// did. A new race and a copy are in the file from the moment the editor opens, so that
// documents can be linked to their number; cancelling removes them again.
EditorOutcome editRace(AppContext &ctx, QWidget *parent, EditorMode mode, std::optional<Race> race);

// The race editor "Laufdaten verwalten"; editRace() opens it.
class RaceEditor : public QDialog
{
    Q_OBJECT
public:
    RaceEditor(AppContext &ctx, EditorMode mode, std::optional<Race> race,
               QWidget *parent = nullptr);
    ~RaceEditor() override;

    EditorMode mode() const { return m_mode; }
    // The number of the race being edited: the new one for a new race or a copy, 0 when that
    // could not be added.
    qlonglong raceNumber() const { return m_asRead.number; }
    const EditorOutcome &outcome() const { return m_outcome; }

    // Fills the six pick lists once per opening; runs whenever the window becomes active.
    void fillPickLists();

    void onSaveClicked();
    void onCancelClicked();
    void onPaidToggled();
    void onDistanceChosen(int option);

    // Tab change, and the tab "  Dokumente  "
    void onTabChanged();
    void onLinkDocumentClicked();
    void onOpenDocumentClicked(); // also the list's row activation
    void onDescribeDocumentClicked();
    void onDeleteDocumentClicked();
    void onDescriptionOkClicked();
    void onDescriptionCancelClicked();

    // Escape and closing the window are the cancel button.
    void reject() override;

    // The documents of the shown race, as the tab "  Dokumente  " lists them.
    const std::vector<DocumentLink> &documents() const { return m_documents; }

protected:
    bool event(QEvent *event) override;

private:
    // The helpers that make up the window work on its controls; nothing else does.
    friend class FieldBehaviours;
    friend class PictureTab;

    // Background and areas
    QWidget *ad_p_adresse = nullptr;
    QGroupBox *Frame9 = nullptr; // "Lauf"
    QGroupBox *Frame10 = nullptr; // "Veranstalter"
    QGroupBox *Frame1 = nullptr; // "Startgelder"
    QGroupBox *Frame4 = nullptr; // "Ansprechpartner"
    QWidget *Picture1 = nullptr;
    QTabWidget *SSTab1 = nullptr;

    // Pick lists: 1 title, 3 salutation, 6 street, 7 race name, 9 country, 10 timing system
    ControlArray<QComboBox> aw_Combo1;

    // Frame "Lauf"
    QLineEdit *ad_t_lauf_ort = nullptr;
    QToolButton *ad_c_lauf_ort = nullptr;
    DateLabel *ad_l_lauf_datum = nullptr;
    QComboBox *t_termin_stunde = nullptr;
    QComboBox *t_termin_minuten = nullptr;
    ControlArray<QRadioButton> ad_o_strecke; // 0 Marathon, 1 Halb-Marathon, 2 andere Strecke
    QLineEdit *ad_t_strecke = nullptr;
    QCheckBox *ad_check_angemeldet = nullptr;
    DateLabel *ad_l_angemeldet = nullptr;
    QCheckBox *ad_check_vorgemerkt = nullptr;
    QCheckBox *ad_check_gelaufen = nullptr;
    QLabel *ad_l_zeit_bez = nullptr;
    QLineEdit *ad_t_zeit = nullptr;

    // Frame "Veranstalter"
    QLineEdit *ad_name2 = nullptr;
    QLineEdit *ad_telefon1 = nullptr;
    QLineEdit *ad_fax = nullptr;
    QLineEdit *ad_internet = nullptr;
    QLineEdit *ad_email = nullptr;
    QLineEdit *ad_konto1 = nullptr;
    QLineEdit *ad_blz1 = nullptr;
    QLineEdit *ad_bank1 = nullptr;

    // Frame "Startgelder"
    QLineEdit *ad_t_strecke_sg = nullptr;
    DateLabel *ad_l_start1 = nullptr;
    DateLabel *ad_l_start2 = nullptr;
    DateLabel *ad_l_start3 = nullptr;
    QLineEdit *ad_t_sg11 = nullptr, *ad_t_sg12 = nullptr, *ad_t_sg13 = nullptr;
    QLineEdit *ad_t_sg21 = nullptr, *ad_t_sg22 = nullptr, *ad_t_sg23 = nullptr;
    QLineEdit *ad_t_sg31 = nullptr, *ad_t_sg32 = nullptr, *ad_t_sg33 = nullptr;
    QWidget *Line1 = nullptr;
    QCheckBox *ad_check_alarm = nullptr;
    DateLabel *ad_l_alarm = nullptr;
    QCheckBox *ad_check_bezahlt = nullptr;
    DateLabel *ad_l_ueberwiesen = nullptr;

    // Frame "Ansprechpartner"
    QLineEdit *ad_name1 = nullptr;
    QLineEdit *ad_vorname = nullptr;
    QLineEdit *ad_plz = nullptr;
    QToolButton *ad_c_plz = nullptr;
    QLineEdit *ad_ort = nullptr;
    QToolButton *ad_c_ort = nullptr;
    QLineEdit *ad_pfplz = nullptr;
    QLineEdit *ad_postfach = nullptr;
    QLineEdit *ad_direkt = nullptr;
    QLineEdit *ad_funk = nullptr;
    QLineEdit *ad_email_ansprech = nullptr;

    // Tab "  Notizen  "
    QPlainTextEdit *ad_t_notiz = nullptr;
    // Tab "  Dokumente  "
    QGroupBox *Frame2 = nullptr;
    ListGrid *DBGrid1_Dokumente = nullptr;
    QPushButton *ad_c_neu_doc = nullptr;
    QPushButton *ad_c_loeschen_doc = nullptr;
    QPushButton *ad_c_oeffnen_doc = nullptr;
    QPushButton *ad_c_bearbeiten_doc = nullptr;
    QWidget *Picture2 = nullptr; // the description editor, shown only while it is in use
    QLineEdit *ad_t_beschreibung_doc = nullptr;
    QPushButton *db_ok_doc = nullptr;
    QPushButton *db_abbr_doc = nullptr;
    // Tab "  Startbild  "
    QGroupBox *Frame6 = nullptr;
    ControlArray<QLabel> Label1;
    QCheckBox *ad_check_startbild = nullptr;
    QLabel *a_l_datei = nullptr;

    // Buttons (each drawn as the only element, index 3, of its array)
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    void buildForm();
    void buildRaceFrame();
    void buildOrganiserFrame();
    void buildFeesFrame();
    void buildContactFrame();
    void buildTabs();
    void buildButtons();
    void buildTabOrder();
    void buildDocuments();

    // The race's texts that plain fields show, each with its field.
    struct TextField
    {
        QLineEdit *control;
        QString *value;
    };
    std::vector<TextField> textFields(Race &race) const;
    // The race's texts that pick-list boxes show: box index, longest text stored, the text.
    struct ListField
    {
        int index;
        int maxLength;
        QString *value;
    };
    std::vector<ListField> listFields(Race &race) const;
    // The controls that Tab and Enter visit from the race name to the last field.
    QList<QWidget *> fieldStops() const;

    void load(std::optional<Race> race);
    void clearForNewRace();
    void addRace(const std::optional<Race> &source);
    void showRace(const Race &race);
    void writeRace(Race &race);
    void writeDistance(Race &race);
    void stepProgress();
    void finish(bool accepted);

    void showDocuments(int current = 0);
    // The link of the list's current row, if there is one.
    const DocumentLink *selectedDocument() const;

    AppContext &m_ctx;
    const EditorMode m_mode;
    // The race as it was read when the editor opened; saving refuses to overwrite a race
    // changed in the file since.
    Race m_asRead;
    // The number of the race this opening added (new race, copy); only that race may be
    // removed again by cancelling.
    qlonglong m_addedNumber = 0;
    std::vector<DocumentLink> m_documents;
    EditorOutcome m_outcome;
    // Destroyed before the controls, so that they never see a half-destroyed window.
    std::unique_ptr<FieldBehaviours> m_fieldBehaviours;
    std::unique_ptr<PickListCombos> m_pickLists;
};
