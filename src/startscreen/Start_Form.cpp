#include "startscreen/Start_Form.h"

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

Start_Form::Start_Form(AppContext &ctx, QWidget *parent, const StartPreview &preview)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    m_preview = m_ctx.vars.aufruf_form == QStringLiteral("adressen_form");
    if (m_preview)
        openAsPreview(preview);
    else
        openForStartUp();
}

void Start_Form::buildForm()
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
    k_l_datdiff = b.label({}, { 2100, 180, 1000, 420 }, nullptr, QStringLiteral("k_l_datdiff"));
    k_l_datdiff->setAlignment(Qt::AlignCenter);
    k_l_datdiff->setAccessibleDescription(QStringLiteral("Verbleibende Tage"));
    b.label(QStringLiteral("Tage bis zum"), { 3160, 240, 1500, 360 }, nullptr,
            QStringLiteral("Label3"));
    st_l_laufdatum
        = b.label({}, { 4680, 180, 1800, 420 }, nullptr, QStringLiteral("st_l_laufdatum"));
    st_l_laufdatum->setAccessibleDescription(QStringLiteral("Datum des Laufs"));
    st_l_laufname = b.label({}, { 240, 660, 6120, 420 }, nullptr, QStringLiteral("st_l_laufname"));
    st_l_laufname->setAlignment(Qt::AlignCenter);
    st_l_laufname->setAccessibleDescription(QStringLiteral("Name des Laufs"));
    for (QLabel *l : { k_l_datdiff, st_l_laufdatum, st_l_laufname })
        l->setFont(big);

    // The picture is stretched to the 4:3 area, as the explanation in the editor says.
    QFrame *picture = b.panel(QStringLiteral("Picture1"), { 240, 1200, 6120, 4590 }, QFrame::Panel);
    // Inside the frame the labels follow its contents, not the drawing.
    const QRect inside = picture->contentsRect();
    FormBuilder inPicture = b.on(picture);
    Image1 = inPicture.label({}, {}, nullptr, QStringLiteral("Image1"));
    Image1->setGeometry(inside);
    Image1->setScaledContents(true);
    Image1->setAccessibleName(QStringLiteral("Bild zum Lauf"));
    Label2 = inPicture.label(QStringLiteral("Hier könnte dein Bild erscheinen"), {}, nullptr,
                             QStringLiteral("Label2"));
    Label2->setGeometry(
        QRect(inside.left(), inside.top() + inside.height() / 6, inside.width(), 40));
    Label2->setAlignment(Qt::AlignCenter);
    QFont labelFont = big;
    labelFont.setItalic(true);
    Label2->setFont(labelFont);
    showDefaultPicture();

    Command1 = b.commandButton(QStringLiteral("Command1"), QStringLiteral("Ich weiß"),
                               { 240, 5910, 1900, 405 });
    Command2 = b.commandButton(QStringLiteral("Command2"), QStringLiteral("nächster Lauf"),
                               { 2350, 5910, 1900, 405 });
    Command3 = b.commandButton(QStringLiteral("Command3"), QStringLiteral("Beenden"),
                               { 4460, 5910, 1900, 405 });
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &Start_Form::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Start_Form::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Start_Form::Command3_Click);
}

void Start_Form::setLabel(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

void Start_Form::showDefaultPicture()
{
    Image1->setPixmap(QPixmap(kDefaultPicture));
    Label2->show();
    m_defaultPicture = true;
}

void Start_Form::loadPicture(const QString &path)
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
    Image1->setPixmap(QPixmap::fromImage(image));
    Label2->hide();
    m_defaultPicture = false;
}

void Start_Form::pictureMissingInPreview()
{
    const QString shownText = QStringLiteral(
        "Die Dokumentendatei befindet sich nicht mehr an dem angegebenen Ort, sie wurde "
        "entweder umbenannt, verschoben oder gelöscht!\n"
        "Sie sollten den Eintrag aktualisieren oder die Zuordnung aufheben\n"
        "Es wird jetzt ein Standardbild angezeigt!");
    m_ctx.ui.message(shownText, Ui::Icon::None, Ui::Buttons::Ok);
}

void Start_Form::openForStartUp()
{
    m_ctx.guard([this] {
        showRace();
        const QVariant path = m_ctx.Lauf_db.value(QStringLiteral("ad_startbild"));
        if (path.isNull())
            return;
        try {
            loadPicture(path.toString());
        } catch (const DbError &e) {
            // At start-up a missing picture is no reason to bother the user.
            if (e.number() != ErrNo::FileNotFound)
                throw;
        }
    });
}

void Start_Form::openAsPreview(const StartPreview &preview)
{
    m_ctx.guard([&] {
        const QString date = preview.raceDateLabel.left(10);
        const QDate raceDate = parseGermanDate(date);
        setLabel(k_l_datdiff,
                 raceDate.isValid() && date.size() == 10
                     ? numberText(m_ctx.clock.today().daysTo(raceDate))
                     : QStringLiteral("???"));
        setLabel(st_l_laufname,
                 preview.raceName.isEmpty() ? QStringLiteral("??????") : preview.raceName);
        setLabel(st_l_laufdatum,
                 preview.raceDateLabel.isEmpty() ? QStringLiteral("??.??.????") : date);
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
        Command2->hide();
        Command3->hide();
    });
}

void Start_Form::showRace()
{
    DataSource &races = m_ctx.Lauf_db;
    const QString date = races.value(QStringLiteral("ad_lauf_datum")).toString();
    const QDate raceDate = parseGermanDate(date);
    setLabel(k_l_datdiff,
             raceDate.isValid() ? numberText(m_ctx.clock.today().daysTo(raceDate))
                                : QStringLiteral("???"));
    setLabel(st_l_laufname, races.value(QStringLiteral("ad_lauf")).toString());
    setLabel(st_l_laufdatum, date);
}

void Start_Form::Command1_Click()
{
    accept();
}

void Start_Form::Command2_Click()
{
    m_ctx.guard([this] {
        DataSource &races = m_ctx.Lauf_db;
        try {
            races.moveNext();
        } catch (const DbError &e) {
            if (e.number() != ErrNo::NoCurrentRecord)
                throw;
        }
        if (races.eof()) {
            accept();
            return;
        }
        showRace();
        const QVariant path = races.value(QStringLiteral("ad_startbild"));
        if (!path.isNull())
            loadPicture(path.toString());
    });
}

void Start_Form::Command3_Click()
{
    m_ctx.ui.quitProgram();
    done(QuitProgram);
}
