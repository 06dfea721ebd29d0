#pragma once

#include "data/DataSource.h"
#include "editor/ControlArray.h"

#include <QDialog>

#include <memory>

class AppContext;
class DataGrid;
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

// The race editor "Laufdaten verwalten": shows one race of the main list, the current row of
// ctx.Lauf_db, and edits it in place. The caller sets the hand-over variables (bearb_modus,
// neu_jn, akt_ad_nummer, ...), constructs the window (which loads the record) and runs it
// modally; the save and cancel buttons close it.
class Adressen_Form : public QDialog
{
    Q_OBJECT
public:
    explicit Adressen_Form(AppContext &ctx, QWidget *parent = nullptr);
    ~Adressen_Form() override;

    // Fills the six pick lists once per opening; runs whenever the window becomes active.
    void Form_Activate();

    void db_ok_Click(int index);
    void db_abbr_Click(int index);
    void ad_check_bezahlt_Click();
    void ad_o_strecke_Click(int index);

    // Tab change, and the tab "  Dokumente  "
    void SSTab1_Click();
    void ad_c_neu_doc_Click();
    void ad_c_oeffnen_doc_Click(); // also the list's row activation
    void ad_c_bearbeiten_doc_Click();
    void ad_c_loeschen_doc_Click();
    void db_ok_doc_Click();
    void db_abbr_doc_Click();

    // Escape and closing the window are the cancel button.
    void reject() override;

    // The documents of the shown race, as the tab "  Dokumente  " lists them.
    const DataSource &documents() const { return ereignisse_dokumente_db; }

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
    DataSource ereignisse_dokumente_db;
    DataGrid *DBGrid1_Dokumente = nullptr;
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

    // Buttons (each the only element, index 3, of its array)
    ControlArray<QPushButton> db_ok;
    ControlArray<QPushButton> db_abbr;
    QProgressBar *ProgressBar1 = nullptr;

    void buildForm();
    void buildLauf();
    void buildVeranstalter();
    void buildStartgelder();
    void buildAnsprechpartner();
    void buildTabs();
    void buildButtons();
    void buildTabOrder();
    void buildDocuments();
    bool hasSelectedDocument() const;

    void Form_Load();
    void clearForNewRace();
    void addBlankRace();
    void showRecord();
    void writeRecord();
    void writeDistance();
    void stepProgress();
    void finish(bool saved);

    AppContext &ctx;
    // Destroyed before the controls, so that they never see a half-destroyed window.
    std::unique_ptr<FieldBehaviours> m_fieldBehaviours;
    std::unique_ptr<PickListCombos> m_pickLists;
    // The row this opening added to the list (new race, copy); only that row may be
    // removed again by cancelling.
    QVariant m_addedRow;
};
