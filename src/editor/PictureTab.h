#pragma once

#include <QObject>

class AppContext;
class Adressen_Form;
class QPushButton;

// The buttons of the editor's tab "  Startbild  ": choose the picture of the start screen,
// drop it, and preview the start screen for the race as it stands in the editor.
class PictureTab : public QObject
{
    Q_OBJECT
public:
    PictureTab(AppContext &ctx, Adressen_Form &editor);

    void a_c_durchsuchen_Click();
    void a_c_aufheben_Click();
    void a_c_oeffnen_Click();

    QPushButton *a_c_durchsuchen;
    QPushButton *a_c_aufheben;
    QPushButton *a_c_oeffnen;

private:
    void setPicturePath(const QString &path);

    AppContext &m_ctx;
    Adressen_Form &m_editor;
};
