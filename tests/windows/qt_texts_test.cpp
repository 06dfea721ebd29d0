#include "ui/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

// The standard buttons and the file dialog come from Qt; with its German texts loaded as the
// program loads them, nothing in them is English.
TEST(QtTexts, StandardButtonsAndFileDialogsSpeakGerman)
{
    ASSERT_TRUE(installGermanQtTranslations(*qApp));

    QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::Open
                         | QDialogButtonBox::Yes | QDialogButtonBox::No);
    EXPECT_EQ(box.button(QDialogButtonBox::Save)->text(), "Speichern");
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), "Abbrechen");
    EXPECT_EQ(box.button(QDialogButtonBox::Open)->text(), "Öffnen");
    EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text(), "&Ja");
    EXPECT_EQ(box.button(QDialogButtonBox::No)->text(), "&Nein");

    QFileDialog dialog(nullptr, QStringLiteral("Exportdatei"), QString(),
                       QStringLiteral("Excel 97 (*.xls)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto label = [&](const char *name) {
        const auto *l = dialog.findChild<QLabel *>(QLatin1String(name));
        return l ? l->text() : QStringLiteral("(missing)");
    };
    EXPECT_EQ(label("lookInLabel"), "Suchen in:");
    EXPECT_EQ(label("fileNameLabel"), "Datei&name:");
    EXPECT_EQ(label("fileTypeLabel"), "Dateien des Typs:");
    const auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    QStringList captions;
    for (const QAbstractButton *b : buttons->buttons())
        captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, (QStringList { "Abbrechen", "S&peichern" }));
}
