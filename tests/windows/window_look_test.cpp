// SPDX-License-Identifier: GPL-3.0-or-later
// Every window, in each of its states, as the user sees it: no input control lies on another,
// every control lies inside its parent, and every caption fits its space at the default font.
#include "ProgramFixture.h"
#include "about/AboutBox.h"
#include "about/ProductsBox.h"
#include "calendar/CalendarDialog.h"
#include "calendar/CalendarWidgets.h"
#include "editor/DateLabel.h"
#include "editor/RaceEditor.h"
#include "editor/WrapCheckBox.h"
#include "picklists/PickListEditor.h"
#include "postal/PostalDirectoryDialog.h"
#include "racelist/RaceListWindow.h"
#include "startscreen/StartScreen.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

#include <memory>

#include <gtest/gtest.h>

namespace {
QString nameOf(const QWidget *w)
{
    if (!w->objectName().isEmpty())
        return w->objectName();
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return QStringLiteral("label \"%1\"").arg(label->text());
    return QString::fromLatin1(w->metaObject()->className());
}

QString withoutMnemonics(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(u'\x01', u'&');
}

bool isInput(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w)
        || qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractScrollArea *>(w)
        || qobject_cast<const QAbstractSlider *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QTabWidget *>(w) || qobject_cast<const DateLabel *>(w)
        || qobject_cast<const DayCell *>(w) || qobject_cast<const DayDropLabel *>(w);
}

// Controls whose children are their own parts, not controls of the window.
bool isClosed(const QWidget *w)
{
    return isInput(w) && !qobject_cast<const QTabWidget *>(w);
}

// A field may keep part of its width free for a button that sits inside its right end.
bool reservedFor(const QWidget *field, const QRect &overlap)
{
    const auto *edit = qobject_cast<const QLineEdit *>(field);
    if (!edit || edit->textMargins().right() == 0)
        return false;
    const QRect g = edit->geometry();
    const QRect margin(g.right() + 1 - edit->textMargins().right(), g.top(),
                       edit->textMargins().right(), g.height());
    return margin.contains(overlap);
}

// Where the caption does not fit, a text saying so; otherwise empty.
QString captionFault(const QWidget *w)
{
    const QFontMetrics fm(w->font());
    const QStyle *style = w->style();
    auto tooWide = [&](int needed) {
        return needed > w->width()
            ? QStringLiteral("caption needs %1 px, has %2").arg(needed).arg(w->width())
            : QString();
    };
    if (const auto *box = qobject_cast<const WrapCheckBox *>(w)) {
        const int textLeft = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w)
            + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        const int needed = fm.boundingRect(QRect(0, 0, w->width() - textLeft, 10000),
                                           Qt::TextWordWrap, withoutMnemonics(box->text()))
                               .height();
        return needed > w->height()
            ? QStringLiteral("caption needs %1 px height, has %2").arg(needed).arg(w->height())
            : QString();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(w);
        button && !qobject_cast<const QCheckBox *>(w) && !qobject_cast<const QRadioButton *>(w)) {
        if (button->text().isEmpty())
            return {};
        // Push and tool buttons draw their caption inside their frame.
        return tooWide(fm.horizontalAdvance(withoutMnemonics(button->text()))
                       + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w));
    }
    if (qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w))
        return tooWide(w->sizeHint().width());
    if (const auto *group = qobject_cast<const QGroupBox *>(w))
        return tooWide(fm.horizontalAdvance(withoutMnemonics(group->title())) + 2 * fm.height());
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        if (label->text().isEmpty())
            return {};
        if (label->wordWrap()) {
            const int needed = label->heightForWidth(label->width());
            return needed > label->height()
                ? QStringLiteral("text needs %1 px height, has %2").arg(needed).arg(label->height())
                : QString();
        }
        return tooWide(label->sizeHint().width());
    }
    return {};
}

// Checks the controls inside one container and then inside each of their own containers.
void checkContainer(const QWidget *window, const QWidget *container, QStringList &faults)
{
    QList<const QWidget *> controls;
    for (const QObject *child : container->children()) {
        const auto *w = qobject_cast<const QWidget *>(child);
        if (!w || w->isWindow() || !w->isVisibleTo(window)
            || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        controls << w;
    }
    const QRect inside(QPoint(0, 0), container->size());
    for (const QWidget *w : controls) {
        if (!inside.contains(w->geometry()))
            faults << QStringLiteral("%1 leaves %2").arg(nameOf(w), nameOf(container));
        if (const QString fault = captionFault(w); !fault.isEmpty())
            faults << QStringLiteral("%1: %2").arg(nameOf(w), fault);
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QWidget *a = controls[i];
            const QWidget *b = controls[j];
            if (!isInput(a) || !isInput(b))
                continue;
            const QRect overlap = a->geometry() & b->geometry();
            if (overlap.isEmpty() || reservedFor(a, overlap) || reservedFor(b, overlap))
                continue;
            faults << QStringLiteral("%1 lies on %2").arg(nameOf(a), nameOf(b));
        }
    }
    for (const QWidget *w : controls) {
        if (const auto *tabs = qobject_cast<const QTabWidget *>(w))
            checkContainer(window, tabs->currentWidget(), faults);
        else if (!isClosed(w))
            checkContainer(window, w, faults);
    }
}

QStringList layoutFaults(const QWidget &window)
{
    QStringList faults;
    if (const auto *main = qobject_cast<const QMainWindow *>(&window))
        checkContainer(&window, main->centralWidget(), faults);
    else
        checkContainer(&window, &window, faults);
    return faults;
}

class WindowTest : public ProgramTest
{
protected:
    std::unique_ptr<RaceListWindow> mainWindow()
    {
        auto w = std::make_unique<RaceListWindow>(ctx);
        EXPECT_TRUE(w->load());
        return w;
    }
    std::unique_ptr<RaceEditor> newRace()
    {
        return std::make_unique<RaceEditor>(ctx, EditorMode::New, std::nullopt);
    }
    std::unique_ptr<StartScreen> startScreen()
    {
        folder.addRace({ { "ad_lauf", "Stadtlauf Esslingen" },
                         { "ad_lauf_datum", "18.12.2026" },
                         { "ad_startbild_jn", true } });
        return std::make_unique<StartScreen>(ctx,
                                             ctx.races().startScreenRaces(ctx.clock.today()).all());
    }
    std::unique_ptr<PostalDirectoryDialog> postalDirectory()
    {
        return std::make_unique<PostalDirectoryDialog>(ctx, &parent);
    }

    void expectSound(QWidget &window, const QString &state)
    {
        // Laid-out parts of a window take their places when it is shown.
        window.show();
        QCoreApplication::processEvents();
        const QStringList faults = layoutFaults(window);
        EXPECT_TRUE(faults.isEmpty())
            << state.toStdString() << ":\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
    }

    QWidget parent;
};
} // namespace

TEST_F(WindowTest, NoControlLiesOnAnotherOrOutsideItsParentAndEveryCaptionFits)
{
    expectSound(*mainWindow(), QStringLiteral("Haupt_Form"));
    {
        auto w = newRace();
        auto *tabs = w->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
        ASSERT_NE(tabs, nullptr);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            expectSound(*w, QStringLiteral("Adressen_Form, tab %1").arg(tab));
        }
        w->onCancelClicked();
    }
    expectSound(*startScreen(), QStringLiteral("Start_Form"));
    {
        CalendarDialog w(ctx, QDate(2026, 12, 8));
        expectSound(w, QStringLiteral("Kalender_Form, small"));
        w.k_c_mehr->click();
        expectSound(w, QStringLiteral("Kalender_Form, large"));
    }
    {
        PickListEditor w(ctx);
        expectSound(w, QStringLiteral("Auswahl_Form"));
        w.db_neu_ausw[0]->click();
        expectSound(w, QStringLiteral("Auswahl_Form, new entry"));
    }
    {
        auto w = postalDirectory();
        expectSound(*w, QStringLiteral("PLZORT_Form"));
        w->db_neu_plz[0]->click();
        expectSound(*w, QStringLiteral("PLZORT_Form, new place"));
    }
    {
        AboutBox w(ctx);
        expectSound(w, QStringLiteral("Info_Form"));
    }
    {
        ProductsBox w(ctx);
        expectSound(w, QStringLiteral("Produkte_Form"));
    }
}

TEST_F(WindowTest, EveryRowOfCommandButtonsIsLightYellow)
{
    auto expectYellow = [](const QWidget &window, const QStringList &names) {
        for (const QString &name : names) {
            const auto *button = window.findChild<QPushButton *>(name);
            ASSERT_NE(button, nullptr) << name.toStdString();
            EXPECT_EQ(button->palette().color(QPalette::Button), QColor(255, 255, 192))
                << name.toStdString();
        }
    };
    expectYellow(*mainWindow(),
                 { "db_neu(0)", "db_neu(1)", "db_neu(2)", "db_neu(3)", "db_neu(5)" });
    {
        auto w = newRace();
        expectYellow(*w,
                     { "ad_c_neu_doc", "ad_c_löschen_doc", "ad_c_öffnen_doc", "ad_c_bearbeiten_doc",
                       "a_c_durchsuchen", "a_c_aufheben", "a_c_öffnen" });
        w->onCancelClicked();
    }
    expectYellow(*startScreen(), { "Command1", "Command2", "Command3" });
    {
        PickListEditor w(ctx);
        expectYellow(w, { "db_neu_ausw(0)", "db_neu_ausw(1)", "db_neu_ausw(2)", "db_neu_ausw(3)" });
    }
    expectYellow(*postalDirectory(),
                 { "db_neu_plz(0)", "db_neu_plz(1)", "db_neu_plz(2)", "db_neu_plz(3)" });
}
