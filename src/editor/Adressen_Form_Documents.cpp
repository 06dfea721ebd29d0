// SPDX-License-Identifier: GPL-3.0-or-later
// The tab "  Dokumente  ": files on disk linked to the race. Only their paths are stored; the
// files themselves are never copied, moved or deleted.
#include "editor/Adressen_Form.h"

#include "common/TextCut.h"
#include "context/AppContext.h"
#include "editor/EditorValues.h"
#include "ui/DataGrid.h"
#include "ui/FormBuilder.h"
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
// Longest path the table keeps for a link.
constexpr qsizetype kPathLength = 255;

QString documentsStatement(const QString &raceNumber)
{
    return QStringLiteral("select * from ereignisse_dokumente where val(ed_nummer)= '")
        + numberOfText(raceNumber) + QStringLiteral("' order by erd_nummer desc");
}

// An existing file (not a folder) at a full path: only such a path can be handed on.
bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isAbsolute() && info.isFile();
}
} // namespace

void Adressen_Form::buildDocuments()
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

    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { SSTab1_Click(); });
    connect(ad_c_neu_doc, &QPushButton::clicked, this, [this] { ad_c_neu_doc_Click(); });
    connect(ad_c_oeffnen_doc, &QPushButton::clicked, this, [this] { ad_c_oeffnen_doc_Click(); });
    connect(ad_c_bearbeiten_doc, &QPushButton::clicked, this,
            [this] { ad_c_bearbeiten_doc_Click(); });
    connect(ad_c_loeschen_doc, &QPushButton::clicked, this, [this] { ad_c_loeschen_doc_Click(); });
    connect(db_ok_doc, &QPushButton::clicked, this, [this] { db_ok_doc_Click(); });
    connect(db_abbr_doc, &QPushButton::clicked, this, [this] { db_abbr_doc_Click(); });
    connect(DBGrid1_Dokumente, &DataGrid::rowActivated, this, [this] { ad_c_oeffnen_doc_Click(); });
}

bool Adressen_Form::hasSelectedDocument() const
{
    return ereignisse_dokumente_db.currentIndex() >= 0;
}

void Adressen_Form::SSTab1_Click()
{
    ctx.guard([this] {
        // Leaving or entering a tab discards a description being edited.
        Picture2->hide();
        if (SSTab1->currentIndex() != kDocumentsTab)
            return;
        DBGrid1_Dokumente->setColumns({
            { QStringLiteral("Beschreibung"), QStringLiteral("ed_dateiname"), 4000, Qt::AlignLeft,
              true },
            { QStringLiteral("Lagerort"), QStringLiteral("ed_datei"), 10000, Qt::AlignLeft, true },
        });
    });
}

void Adressen_Form::ad_c_neu_doc_Click()
{
    ctx.guard([this] {
        SharedVars &v = ctx.vars;
        Ui::FileRequest request;
        request.title = QStringLiteral("Lagerort des Dokumentes bestimmen");
        request.initialDir = ctx.paths.documentFolder();
        request.fileName = QStringLiteral("*.*");
        request.filter = QStringLiteral("Alle Dateien|*.*");
        const Ui::FileAnswer chosen = ctx.ui.openFile(request);
        if (!chosen.accepted || chosen.fileName.isEmpty()
            || chosen.fileName == QLatin1String("*.*"))
            return;

        DataSource &docs = ereignisse_dokumente_db;
        docs.setDatabaseName(ctx.paths.database());
        docs.setRecordSource(documentsStatement(v.akt_ad_nummer));
        docs.refresh();
        docs.addNew();
        docs.setValue(QStringLiteral("ed_nummer"), v.akt_ad_nummer);
        docs.setValue(QStringLiteral("ed_datei"), leftWhole(chosen.fileName, kPathLength));
        // Described by the race's name until the user writes something better.
        docs.setValue(QStringLiteral("ed_dateiname"), aw_Combo1(7)->currentText());
        docs.update();

        // Newest first: the new link is the first row.
        docs.refresh();
        if (docs.recordCount() > 0)
            docs.moveFirst();
    });
}

void Adressen_Form::ad_c_oeffnen_doc_Click()
{
    ctx.guard([this] {
        if (!hasSelectedDocument())
            return;
        const QString path = ereignisse_dokumente_db.value(QStringLiteral("ed_datei")).toString();
        if (fileExists(path)) {
            // The desktop starts the application registered for the file's type.
            ctx.ui.openUrl(QUrl::fromLocalFile(path));
            return;
        }
        const QString shownText
            = QStringLiteral("Die Dokumentendatei befindet sich nicht mehr an dem angegebenen "
                             "Ort, sie wurde entweder umbenannt, verschoben oder gelöscht!\n"
                             "Sie sollten den Eintrag aktualisieren oder die Zuordnung löschen");
        ctx.ui.message(shownText, Ui::Icon::None, Ui::Buttons::Ok);
    });
}

void Adressen_Form::ad_c_bearbeiten_doc_Click()
{
    ctx.guard([this] {
        if (!hasSelectedDocument())
            return;
        Picture2->show();
        Picture2->raise();
        ad_t_beschreibung_doc->setText(
            ereignisse_dokumente_db.value(QStringLiteral("ed_dateiname")).toString());
    });
}

void Adressen_Form::db_ok_doc_Click()
{
    ctx.guard([this] {
        Picture2->hide();
        if (!hasSelectedDocument())
            return;
        DataSource &docs = ereignisse_dokumente_db;
        docs.edit();
        docs.setValue(QStringLiteral("ed_dateiname"), ad_t_beschreibung_doc->text());
        docs.update();
    });
}

void Adressen_Form::db_abbr_doc_Click()
{
    Picture2->hide();
}

void Adressen_Form::ad_c_loeschen_doc_Click()
{
    ctx.guard([this] {
        if (!hasSelectedDocument())
            return;
        DataSource &docs = ereignisse_dokumente_db;
        const QString shownText
            = QStringLiteral("Soll die Zuordnung dieses Dokumentes wirklich gelöscht werden ?");
        if (ctx.ui.message(shownText, Ui::Icon::Question, Ui::Buttons::YesNo)
            == Ui::Answer::Yes)
            docs.deleteCurrent(); // the link only; the file stays where it is
        if (docs.recordCount() > 0)
            docs.moveFirst();
    });
}
