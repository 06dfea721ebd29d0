#pragma once

#include <QObject>

class AppContext;
class RaceEditor;
class QPushButton;

// The buttons of the editor's tab "  Startbild  ": choose the picture of the start screen,
// drop it, and preview the start screen for the race as it stands in the editor.
class PictureTab : public QObject
{
    Q_OBJECT
public:
    PictureTab(AppContext &ctx, RaceEditor &editor);

    void onChoosePictureClicked();
    void onDropPictureClicked();
    void onPreviewClicked();

private:
    void setPicturePath(const QString &path);

    QPushButton *m_chooseButton;
    QPushButton *m_dropButton;
    QPushButton *m_previewButton;

    AppContext &m_ctx;
    RaceEditor &m_editor;
};
