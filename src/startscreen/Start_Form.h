#pragma once

#include <QDialog>

class AppContext;
class QLabel;
class QPushButton;

// What the race editor shows when it asks for a preview of the start screen.
struct StartPreview
{
    QString raceDateLabel; // the editor's race-date label, "dd.mm.yyyy, dddd" or empty
    QString raceName;
    QString picturePath; // the editor's picture label
};

// Countdown to the next races marked for the start screen. At start-up it reads the main
// window's Lauf_db, which then holds the marked races from today on, nearest first; opened from
// the editor (aufruf_form "adressen_form") it previews the race being edited.
class Start_Form : public QDialog
{
    Q_OBJECT
public:
    // Result of runModal when "Beenden" ended the program.
    static constexpr int QuitProgram = 2;

    explicit Start_Form(AppContext &ctx, QWidget *parent = nullptr,
                        const StartPreview &preview = {});

    bool isPreview() const { return m_preview; }
    bool showsDefaultPicture() const { return m_defaultPicture; }

    void Command1_Click(); // "Ich weiß"
    void Command2_Click(); // "nächster Lauf"
    void Command3_Click(); // "Beenden"

private:
    void buildForm();
    void openForStartUp();
    void openAsPreview(const StartPreview &preview);
    void showRace(); // the current row of Lauf_db
    void setLabel(QLabel *label, const QString &text);
    void showDefaultPicture();
    // Throws ErrNo::FileNotFound when the file does not exist; a file that cannot be shown leaves
    // the picture as it is.
    void loadPicture(const QString &path);
    void pictureMissingInPreview();

    AppContext &m_ctx;
    bool m_preview = false;
    bool m_defaultPicture = true;
    QLabel *k_l_datdiff;
    QLabel *st_l_laufdatum;
    QLabel *st_l_laufname;
    QLabel *Image1;
    QLabel *Label2;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command3;
};
