#pragma once

#include "model/Race.h"

#include <QDialog>

#include <vector>

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

// Countdown to the next races marked for the start screen: at start-up it steps through the
// races it is given; opened with the editor's values it previews the race being edited.
class StartScreen : public QDialog
{
    Q_OBJECT
public:
    // Result of runModal when "Beenden" ended the program.
    static constexpr int QuitProgram = 2;

    // At start-up: the races marked for the start screen from today on, nearest first.
    StartScreen(AppContext &ctx, std::vector<Race> races, QWidget *parent = nullptr);
    // The editor's preview.
    StartScreen(AppContext &ctx, const StartPreview &preview, QWidget *parent = nullptr);

    bool isPreview() const { return m_preview; }
    bool showsDefaultPicture() const { return m_defaultPicture; }

    void onGotItClicked(); // "Ich weiß"
    void onNextClicked(); // "nächster Lauf"
    void onQuitClicked(); // "Beenden"

private:
    void buildForm();
    void openForStartUp();
    void openAsPreview(const StartPreview &preview);
    void showRace(const Race &race);
    void setLabel(QLabel *label, const QString &text);
    void showDefaultPicture();
    // Throws ErrNo::FileNotFound when the file does not exist; a file that cannot be shown leaves
    // the picture as it is.
    void loadPicture(const QString &path);
    void pictureMissingInPreview();

    AppContext &m_ctx;
    std::vector<Race> m_races;
    std::size_t m_shown = 0; // index in m_races
    bool m_preview = false;
    bool m_defaultPicture = true;
    QLabel *m_daysLeft;
    QLabel *m_raceDate;
    QLabel *m_raceName;
    QLabel *m_picture;
    QLabel *m_pictureHint;
    QPushButton *m_gotIt;
    QPushButton *m_next;
    QPushButton *m_quit;
};
