#pragma once

#include <QDialog>

class AppContext;
class LinkLabel;
class QGroupBox;
class QLabel;
class QPushButton;

// The about box: program name, version line, terms of use and the maker's contact links.
class Info_Form : public QDialog
{
    Q_OBJECT
public:
    explicit Info_Form(AppContext &ctx, QWidget *parent = nullptr);

    // The licence in a few German words: free software under the GNU GPL 3 or later, no warranty.
    static QString termsOfUse();

private:
    void buildForm();
    // Computed at every opening: the program file may have been replaced since.
    void showVersion();
    void onEmailClicked();
    void onHomepageClicked();
    void onCloseClicked();

    AppContext &m_ctx;
    QGroupBox *m_titleFrame = nullptr;
    QLabel *m_programName = nullptr;
    QLabel *m_versionLine = nullptr;
    QGroupBox *m_termsFrame = nullptr;
    QLabel *m_terms = nullptr;
    QGroupBox *m_makerFrame = nullptr;
    QLabel *m_mark = nullptr;
    QLabel *m_makerName = nullptr;
    QLabel *m_makerStreet = nullptr;
    QLabel *m_makerTown = nullptr;
    QLabel *m_makerPhone = nullptr;
    QLabel *m_makerFax = nullptr;
    LinkLabel *m_email = nullptr;
    LinkLabel *m_homepage = nullptr;
    QPushButton *m_closeButton = nullptr;
};
