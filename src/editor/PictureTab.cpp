#include "editor/PictureTab.h"

#include "common/DbError.h"
#include "context/AppContext.h"
#include "editor/DateLabel.h"
#include "editor/RaceEditor.h"
#include "startscreen/StartScreen.h"
#include "ui/FormBuilder.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

#include <utility>

PictureTab::PictureTab(AppContext &ctx, RaceEditor &editor)
    : QObject(&editor)
    , m_ctx(ctx)
    , m_editor(editor)
{
    // The buttons sit on the tab page beside the picture label, measured from the same origin.
    QLabel *path = editor.a_l_datei;
    FormBuilder b(path->parentWidget());
    b.shifted(path->geometry().topLeft() - b.rect({ 585, 3690, 0, 0 }).topLeft());
    m_chooseButton
        = b.commandButton(QStringLiteral("a_c_durchsuchen"), QStringLiteral("Bilddatei zuordnen"),
                          { 2835, 4095, 1635, 345 });
    m_dropButton = b.commandButton(QStringLiteral("a_c_aufheben"),
                                   QStringLiteral("Zuordnung aufheben"), { 4545, 4095, 1635, 345 });
    m_previewButton = b.commandButton(QStringLiteral("a_c_öffnen"), QStringLiteral("Vorschau"),
                                      { 6255, 4095, 1635, 345 });
    // Wider fonts than the drawn ones must not clip a caption: the row grows to the left
    // and keeps its right edge under the path label.
    int right = m_previewButton->geometry().right();
    for (QPushButton *b : { m_previewButton, m_dropButton, m_chooseButton }) {
        QRect r = b->geometry();
        r.setWidth(std::max(r.width(), b->sizeHint().width()));
        r.moveRight(right);
        b->setGeometry(r);
        right = r.left() - tw(75);
    }
    connect(m_chooseButton, &QPushButton::clicked, this, &PictureTab::onChoosePictureClicked);
    connect(m_dropButton, &QPushButton::clicked, this, &PictureTab::onDropPictureClicked);
    connect(m_previewButton, &QPushButton::clicked, this, &PictureTab::onPreviewClicked);
}

void PictureTab::setPicturePath(const QString &path)
{
    m_editor.a_l_datei->setText(path);
    m_editor.a_l_datei->setAccessibleName(path);
}

void PictureTab::onChoosePictureClicked()
{
    m_ctx.guard([this] {
        Ui::FileRequest request;
        request.initialDir = m_ctx.paths.documentFolder();
        request.title = QStringLiteral("Lagerort des Bildes bestimmen");
        request.fileName = QString();
        request.filter = QStringLiteral("Bilder(*.bmp;*.ico;*.wmf;*.jpg;*.gif;*.cur)|"
                                        "*.bmp;*.ico;*.wmf;*.jpg;*.gif;*.cur");
        const Ui::FileAnswer answer = m_ctx.ui.openFile(request);
        const QString name = answer.accepted ? answer.fileName : QString();
        if (name.isEmpty() || name == QStringLiteral("*.*"))
            return;
        // Only the path is kept; it must name a file that is there.
        if (!QFileInfo(name).isFile())
            throw DbError(ErrNo::FileNotFound, QStringLiteral("Datei nicht gefunden"));
        m_previewButton->setEnabled(true);
        m_dropButton->setEnabled(true);
        setPicturePath(name);
    });
}

void PictureTab::onDropPictureClicked()
{
    m_ctx.guard([this] {
        setPicturePath(QString());
        m_previewButton->setEnabled(false);
        m_dropButton->setEnabled(false);
    });
}

void PictureTab::onPreviewClicked()
{
    m_ctx.guard([this] {
        const StartPreview preview { m_editor.ad_l_lauf_datum->text(),
                                     m_editor.aw_Combo1(7)->currentText(),
                                     m_editor.a_l_datei->text() };
        StartScreen start(m_ctx, preview, &m_editor);
        m_ctx.ui.runModal(start);
    });
}
