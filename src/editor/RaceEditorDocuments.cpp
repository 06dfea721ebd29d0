// SPDX-License-Identifier: GPL-3.0-or-later
// The tab "  Dokumente  ": files on disk linked to the race. Only their paths are stored; the
// files themselves are never copied, moved or deleted.
#include "editor/RaceEditor.h"

#include "common/TextCut.h"
#include "context/AppContext.h"
#include "data/RaceStore.h"
#include "ui/FormBuilder.h"
#include "ui/ListGrid.h"
#include "ui/Style.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

#include <algorithm>

namespace {
constexpr int kDocumentsTab = 1;

// The links as the list shows them: description, then the path.
class DocumentRows : public GridRows
{
public:
    explicit DocumentRows(std::vector<DocumentLink> links)
        : m_links(std::move(links))
    {
    }
    int rowsRead() const override { return int(m_links.size()); }
    QString cell(int row, int column) const override
    {
        const DocumentLink &link = m_links[size_t(row)];
        return column == 0 ? link.name : link.path;
    }

private:
    std::vector<DocumentLink> m_links;
};

// An existing file (not a folder) at a full path: only such a path can be handed on.
bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isAbsolute() && info.isFile();
}
} // namespace

void RaceEditor::buildDocuments()
{
    QWidget *page = DBGrid1_Dokumente->parentWidget();
    FormBuilder b = FormBuilder::tabPage(page);

    // All drawn at the row's start; they are spread out below.
    const TwBox rowStart { 135, 4050, 1995, 375 };
    ad_c_neu_doc = b.commandButton(QStringLiteral("ad_c_neu_doc"),
                                   QStringLiteral("Neues Dokument zuordnen"), rowStart);
    ad_c_loeschen_doc = b.commandButton(QStringLiteral("ad_c_löschen_doc"),
                                        QStringLiteral("Zuordnung löschen"), rowStart);
    ad_c_oeffnen_doc = b.commandButton(QStringLiteral("ad_c_öffnen_doc"),
                                       QStringLiteral("Dokument öffnen"), rowStart);
    ad_c_bearbeiten_doc = b.commandButton(QStringLiteral("ad_c_bearbeiten_doc"),
                                          QStringLiteral("Beschreibung bearbeiten"), rowStart);
    // One row under the list, as wide as the list: each button as wide as its caption needs,
    // the rest of the width shared out between them.
    QPushButton *const row[]
        = { ad_c_neu_doc, ad_c_loeschen_doc, ad_c_oeffnen_doc, ad_c_bearbeiten_doc };
    int captions = 0;
    for (const QPushButton *b : row)
        captions += b->sizeHint().width();
    const QRect list = DBGrid1_Dokumente->geometry();
    const int gap = std::max(tw(60), (list.width() - captions) / 3);
    int left = list.left();
    for (QPushButton *b : row) {
        const int width = b->sizeHint().width();
        b->setGeometry(left, b->y(), width, b->height());
        left += width + gap;
    }

    // The description editor lies over the hint while it is shown; the list stays in view.
    Picture2 = b.make<QWidget>(QStringLiteral("Picture2"), { 135, 540, 8295, 1200 });
    Style::setColor(Picture2, QPalette::Window, Style::LightYellow);
    FormBuilder inEditor(Picture2);
    ad_t_beschreibung_doc = inEditor.make<QLineEdit>(QStringLiteral("ad_t_beschreibung_doc"),
                                                     { 120, 210, 8055, 315 });
    ad_t_beschreibung_doc->setAccessibleName(QStringLiteral("Beschreibung des Dokumentes"));
    db_ok_doc = inEditor.button(QStringLiteral("db_ok_doc"), QStringLiteral("OK"),
                                { 5670, 690, 1185, 375 }, Style::LightGreen);
    db_abbr_doc = inEditor.button(QStringLiteral("db_abbr_doc"), QStringLiteral("Abbrechen"),
                                  { 6990, 690, 1185, 375 }, Style::LightRed);
    Picture2->hide();

    // After the list, in the order the controls are seen.
    setTabChain({ DBGrid1_Dokumente, ad_t_beschreibung_doc, db_ok_doc, db_abbr_doc, ad_c_neu_doc,
                  ad_c_loeschen_doc, ad_c_oeffnen_doc, ad_c_bearbeiten_doc });

    connect(SSTab1, &QTabWidget::currentChanged, this, &RaceEditor::onTabChanged);
    connect(ad_c_neu_doc, &QPushButton::clicked, this, &RaceEditor::onLinkDocumentClicked);
    connect(ad_c_oeffnen_doc, &QPushButton::clicked, this, &RaceEditor::onOpenDocumentClicked);
    connect(ad_c_bearbeiten_doc, &QPushButton::clicked, this,
            &RaceEditor::onDescribeDocumentClicked);
    connect(ad_c_loeschen_doc, &QPushButton::clicked, this, &RaceEditor::onDeleteDocumentClicked);
    connect(db_ok_doc, &QPushButton::clicked, this, &RaceEditor::onDescriptionOkClicked);
    connect(db_abbr_doc, &QPushButton::clicked, this, &RaceEditor::onDescriptionCancelClicked);
    connect(DBGrid1_Dokumente, &ListGrid::rowActivated, this, &RaceEditor::onOpenDocumentClicked);
}

void RaceEditor::showDocuments(int current)
{
    DBGrid1_Dokumente->setRows(std::make_unique<DocumentRows>(m_documents), current);
}

const DocumentLink *RaceEditor::selectedDocument() const
{
    const int row = DBGrid1_Dokumente->currentRow();
    return row >= 0 && size_t(row) < m_documents.size() ? &m_documents[size_t(row)] : nullptr;
}

void RaceEditor::onTabChanged()
{
    m_ctx.guard([this] {
        // Leaving or entering a tab discards a description being edited.
        Picture2->hide();
        if (SSTab1->currentIndex() != kDocumentsTab)
            return;
        // Without columns the list has no current row; the first showing starts at the top.
        const bool first = DBGrid1_Dokumente->listModel().columnCount() == 0;
        DBGrid1_Dokumente->setColumns({
            { QStringLiteral("Beschreibung"), 4000, Qt::AlignLeft, true },
            { QStringLiteral("Lagerort"), 10000, Qt::AlignLeft, true },
        });
        if (first)
            DBGrid1_Dokumente->setCurrentRow(0);
    });
}

void RaceEditor::onLinkDocumentClicked()
{
    m_ctx.guard([this] {
        Ui::FileRequest request;
        request.title = QStringLiteral("Lagerort des Dokumentes bestimmen");
        request.initialDir = m_ctx.paths.documentFolder();
        request.fileName = QStringLiteral("*.*");
        request.filter = QStringLiteral("Alle Dateien|*.*");
        const Ui::FileAnswer chosen = m_ctx.ui.openFile(request);
        if (!chosen.accepted || chosen.fileName.isEmpty()
            || chosen.fileName == QLatin1String("*.*"))
            return;

        RaceStore &races = m_ctx.races();
        DocumentLink link;
        link.raceNumber = QString::number(m_asRead.number);
        link.path = leftWhole(chosen.fileName, DocumentColumns::kPathLength);
        // Described by the race's name until the user writes something better.
        link.name = aw_Combo1(7)->currentText();
        if (link.name.isNull())
            link.name = QStringLiteral("");
        races.addDocument(link);

        // Newest first: the new link is the first row.
        m_documents = races.documents(m_asRead.number);
        showDocuments();
    });
}

void RaceEditor::onOpenDocumentClicked()
{
    m_ctx.guard([this] {
        const DocumentLink *link = selectedDocument();
        if (!link)
            return;
        const QString path = link->path;
        if (fileExists(path)) {
            // The desktop starts the application registered for the file's type.
            m_ctx.ui.openUrl(QUrl::fromLocalFile(path));
            return;
        }
        const QString shownText
            = QStringLiteral("Die Dokumentendatei befindet sich nicht mehr an dem angegebenen "
                             "Ort, sie wurde entweder umbenannt, verschoben oder gelöscht!\n"
                             "Sie sollten den Eintrag aktualisieren oder die Zuordnung löschen");
        m_ctx.ui.message(shownText, Ui::Icon::None, Ui::Buttons::Ok);
    });
}

void RaceEditor::onDescribeDocumentClicked()
{
    m_ctx.guard([this] {
        const DocumentLink *link = selectedDocument();
        if (!link)
            return;
        Picture2->show();
        Picture2->raise();
        ad_t_beschreibung_doc->setText(link->name);
    });
}

void RaceEditor::onDescriptionOkClicked()
{
    m_ctx.guard([this] {
        Picture2->hide();
        const int row = DBGrid1_Dokumente->currentRow();
        if (!selectedDocument())
            return;
        DocumentLink &link = m_documents[size_t(row)];
        QString name = ad_t_beschreibung_doc->text();
        if (name.isNull())
            name = QStringLiteral("");
        m_ctx.races().renameDocument(link.number, name);
        link.name = name;
        showDocuments(row);
    });
}

void RaceEditor::onDescriptionCancelClicked()
{
    Picture2->hide();
}

void RaceEditor::onDeleteDocumentClicked()
{
    m_ctx.guard([this] {
        const DocumentLink *link = selectedDocument();
        if (!link)
            return;
        const QString shownText
            = QStringLiteral("Soll die Zuordnung dieses Dokumentes wirklich gelöscht werden ?");
        if (m_ctx.ui.message(shownText, Ui::Icon::Question, Ui::Buttons::YesNo)
            == Ui::Answer::Yes) {
            m_ctx.races().removeDocument(link->number); // the link only; the file stays
            m_documents.erase(m_documents.begin() + (link - m_documents.data()));
        }
        showDocuments();
    });
}
