#pragma once

#include <QDialog>

class AppContext;
class QLabel;

// The about box: program name, version line, terms of use and the maker's contact links.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(AppContext &ctx, QWidget *parent = nullptr);

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
    QLabel *m_versionLine = nullptr;
};
