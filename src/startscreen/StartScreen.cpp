#include "startscreen/StartScreen.h"

#include "common/DbError.h"
#include "common/GermanText.h"
#include "context/AppContext.h"
#include "ui/FormBuilder.h"
#include "ui/Twips.h"

#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

namespace {
const QString kDefaultPicture = QStringLiteral(":/startbild_standard.png");
} // namespace

StartScreen::StartScreen(AppContext &ctx, std::vector<Race> races, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_races(std::move(races))
{
    buildForm();
    openForStartUp();
}

StartScreen::StartScreen(AppContext &ctx, const StartPreview &preview, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_preview(true)
{
    buildForm();
    openAsPreview(preview);
}

void StartScreen::buildForm()
{
    setObjectName(QStringLiteral("Start_Form"));
    setWindowTitle(QStringLiteral("Strivo"));
    setFixedSize(twSize(6600, 6460));

    QFont big = font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);

    FormBuilder b(this);
    // No fields here: Enter presses the button that has the focus.
    b.enterPressesFocusedButton();
    b.label(QStringLiteral("Es sind nur noch"), { 240, 240, 1900, 360 }, nullptr,
            QStringLiteral("Label1"));
    m_daysLeft = b.label({}, { 2100, 180, 1000, 420 }, nullptr, QStringLiteral("k_l_datdiff"));
    m_daysLeft->setAlignment(Qt::AlignCenter);
    m_daysLeft->setAccessibleDescription(QStringLiteral("Verbleibende Tage"));
    b.label(QStringLiteral("Tage bis zum"), { 3160, 240, 1500, 360 }, nullptr,
            QStringLiteral("Label3"));
    m_raceDate = b.label({}, { 4680, 180, 1800, 420 }, nullptr, QStringLiteral("st_l_laufdatum"));
    m_raceDate->setAccessibleDescription(QStringLiteral("Datum des Laufs"));
    m_raceName = b.label({}, { 240, 660, 6120, 420 }, nullptr, QStringLiteral("st_l_laufname"));
    m_raceName->setAlignment(Qt::AlignCenter);
    m_raceName->setAccessibleDescription(QStringLiteral("Name des Laufs"));
    for (QLabel *l : { m_daysLeft, m_raceDate, m_raceName })
        l->setFont(big);

    // The picture is stretched to the 4:3 area, as the explanation in the editor says.
    QFrame *picture = b.panel(QStringLiteral("Picture1"), { 240, 1200, 6120, 4590 }, QFrame::Panel);
    // Inside the frame the labels follow its contents, not the drawing.
    const QRect inside = picture->contentsRect();
    FormBuilder inPicture = b.on(picture);
    m_picture = inPicture.label({}, {}, nullptr, QStringLiteral("Image1"));
    m_picture->setGeometry(inside);
    m_picture->setScaledContents(true);
    m_picture->setAccessibleName(QStringLiteral("Bild zum Lauf"));
    m_pictureHint = inPicture.label(QStringLiteral("Hier könnte dein Bild erscheinen"), {}, nullptr,
                                    QStringLiteral("Label2"));
    m_pictureHint->setGeometry(
        QRect(inside.left(), inside.top() + inside.height() / 6, inside.width(), 40));
    m_pictureHint->setAlignment(Qt::AlignCenter);
    QFont labelFont = big;
    labelFont.setItalic(true);
    m_pictureHint->setFont(labelFont);
    showDefaultPicture();

    m_gotIt = b.commandButton(QStringLiteral("Command1"), QStringLiteral("Ich weiß"),
                              { 240, 5910, 1900, 405 });
    m_next = b.commandButton(QStringLiteral("Command2"), QStringLiteral("nächster Lauf"),
                             { 2350, 5910, 1900, 405 });
    m_quit = b.commandButton(QStringLiteral("Command3"), QStringLiteral("Beenden"),
                             { 4460, 5910, 1900, 405 });
    m_gotIt->setDefault(true);
    connect(m_gotIt, &QPushButton::clicked, this, &StartScreen::onGotItClicked);
    connect(m_next, &QPushButton::clicked, this, &StartScreen::onNextClicked);
    connect(m_quit, &QPushButton::clicked, this, &StartScreen::onQuitClicked);
}

void StartScreen::setLabel(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

void StartScreen::showDefaultPicture()
{
    m_picture->setPixmap(QPixmap(kDefaultPicture));
    m_pictureHint->show();
    m_defaultPicture = true;
}

void StartScreen::loadPicture(const QString &path)
{
    if (path.trimmed().isEmpty()) {
        showDefaultPicture();
        return;
    }
    if (!QFileInfo(path).isFile())
        throw DbError(ErrNo::FileNotFound, QStringLiteral("Datei nicht gefunden"));
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return; // a format that cannot be shown keeps the picture that is shown
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_pictureHint->hide();
    m_defaultPicture = false;
}

void StartScreen::pictureMissingInPreview()
{
    const QString shownText = QStringLiteral(
        "Die Dokumentendatei befindet sich nicht mehr an dem angegebenen Ort, sie wurde "
        "entweder umbenannt, verschoben oder gelöscht!\n"
        "Sie sollten den Eintrag aktualisieren oder die Zuordnung aufheben\n"
        "Es wird jetzt ein Standardbild angezeigt!");
    m_ctx.ui.message(shownText, Ui::Icon::None, Ui::Buttons::Ok);
}

void StartScreen::openForStartUp()
{
    m_ctx.guard([this] {
        if (m_races.empty())
            return;
        showRace(m_races.front());
        if (m_races.front().picture.isNull())
            return;
        try {
            loadPicture(m_races.front().picture);
        } catch (const DbError &e) {
            // At start-up a missing picture is no reason to bother the user.
            if (e.number() != ErrNo::FileNotFound)
                throw;
        }
    });
}

void StartScreen::openAsPreview(const StartPreview &preview)
{
    m_ctx.guard([&] {
        const QString date = preview.raceDateLabel.left(10);
        const QDate raceDate = parseGermanDate(date);
        setLabel(m_daysLeft,
                 raceDate.isValid() && date.size() == 10
                     ? numberText(m_ctx.clock.today().daysTo(raceDate))
                     : QStringLiteral("???"));
        setLabel(m_raceName,
                 preview.raceName.isEmpty() ? QStringLiteral("??????") : preview.raceName);
        setLabel(m_raceDate, preview.raceDateLabel.isEmpty() ? QStringLiteral("??.??.????") : date);
        // A race without a picture shows a blank in the editor: that is no missing file.
        if (!preview.picturePath.trimmed().isEmpty()) {
            try {
                loadPicture(preview.picturePath);
            } catch (const DbError &e) {
                if (e.number() != ErrNo::FileNotFound)
                    throw;
                pictureMissingInPreview();
            }
        }
        m_next->hide();
        m_quit->hide();
    });
}

void StartScreen::showRace(const Race &race)
{
    const QString date = race.date.stored();
    const QDate raceDate = parseGermanDate(date);
    setLabel(m_daysLeft,
             raceDate.isValid() ? numberText(m_ctx.clock.today().daysTo(raceDate))
                                : QStringLiteral("???"));
    setLabel(m_raceName, race.name);
    setLabel(m_raceDate, date);
}

void StartScreen::onGotItClicked()
{
    accept();
}

void StartScreen::onNextClicked()
{
    m_ctx.guard([this] {
        if (m_shown + 1 >= m_races.size()) {
            accept();
            return;
        }
        const Race &race = m_races[++m_shown];
        showRace(race);
        // A race without a stored picture keeps the one shown.
        if (!race.picture.isNull())
            loadPicture(race.picture);
    });
}

void StartScreen::onQuitClicked()
{
    m_ctx.ui.quitProgram();
    done(QuitProgram);
}
