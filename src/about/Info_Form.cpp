#include "Info_Form.h"

#include "AppContext.h"
#include "LinkLabel.h"
#include "MakerDetails.h"
#include "Twips.h"
#include "VersionLine.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace {
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QGroupBox *makeFrame(QWidget *parent, const QString &name, const QString &caption,
                     const QRect &geometry)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setGeometry(geometry);
    return frame;
}

// A plain drawn mark stands in for the maker's logo.
QPixmap placeholderLogo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 128, 255));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(size * 2 / 3);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("S"));
    return pixmap;
}
} // namespace

Info_Form::Info_Form(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    Form_Load();
}

void Info_Form::buildForm()
{
    setObjectName(QStringLiteral("Info_Form"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(twSize(7200, 6300));

    Frame3 = makeFrame(this, QStringLiteral("Frame3"), QStringLiteral("Programmname und Version"),
                       twRect(120, 120, 6960, 1260));
    Label2 = makeLabel(Frame3, QStringLiteral("Label2"), QStringLiteral("Strivo"),
                       twRect(240, 300, 4000, 480));
    QFont big = Label2->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    Label2->setFont(big);
    Label2->setAccessibleDescription(QStringLiteral("Programmname"));
    i_l_versionsnummer = makeLabel(Frame3, QStringLiteral("i_l_versionsnummer"),
                                   QStringLiteral("Version"), twRect(240, 840, 6480, 285));
    i_l_versionsnummer->setAccessibleDescription(QStringLiteral("Version"));

    Frame1 = makeFrame(this, QStringLiteral("Frame1"), QStringLiteral("Nutzungsbedingungen"),
                       twRect(120, 1500, 6960, 1440));
    i_l_nutzung = makeLabel(
        Frame1, QStringLiteral("i_l_nutzung"),
        QStringLiteral("Dieses Programm darf für private Zwecke kostenlos genutzt und "
                       "weitergegeben werden. Es wird ohne Gewähr für Vollständigkeit und "
                       "Fehlerfreiheit bereitgestellt; für Schäden, die aus seiner Nutzung "
                       "entstehen, wird keine Haftung übernommen."),
        twRect(240, 300, 6480, 1020));
    i_l_nutzung->setWordWrap(true);
    i_l_nutzung->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame2 = makeFrame(this, QStringLiteral("Frame2"), QStringLiteral("Hersteller"),
                       twRect(120, 3060, 6960, 2520));
    Picture2 = makeLabel(Frame2, QStringLiteral("Picture2"), QString(), twRect(240, 360, 960, 960));
    Picture2->setPixmap(placeholderLogo(tw(960)));
    Picture2->setAccessibleName(QStringLiteral("Logo des Herstellers"));
    i_l_name = makeLabel(Frame2, QStringLiteral("i_l_name"), Maker::name(),
                         twRect(1440, 330, 5400, 270));
    i_l_strasse = makeLabel(Frame2, QStringLiteral("i_l_strasse"), Maker::street(),
                            twRect(1440, 600, 5400, 270));
    i_l_ort
        = makeLabel(Frame2, QStringLiteral("i_l_ort"), Maker::town(), twRect(1440, 870, 5400, 270));
    i_l_telefon = makeLabel(Frame2, QStringLiteral("i_l_telefon"), Maker::phone(),
                            twRect(1440, 1140, 5400, 270));
    i_l_fax
        = makeLabel(Frame2, QStringLiteral("i_l_fax"), Maker::fax(), twRect(1440, 1410, 5400, 270));

    auto *emailCaption = makeLabel(Frame2, QStringLiteral("i_l_email_text"),
                                   QStringLiteral("E-Mail:"), twRect(240, 1800, 1140, 270));
    i_l_email = new LinkLabel(Maker::email(), Frame2);
    i_l_email->setObjectName(QStringLiteral("i_l_email"));
    i_l_email->setGeometry(twRect(1440, 1800, 5400, 270));
    i_l_email->setToolTip(QStringLiteral("Klick zum Start Ihres Standard E-Mail-Programms"));
    i_l_email->setAccessibleDescription(i_l_email->toolTip());
    emailCaption->setBuddy(i_l_email);
    connect(i_l_email, &LinkLabel::clicked, this, &Info_Form::i_l_email_Click);

    auto *homepageCaption = makeLabel(Frame2, QStringLiteral("i_l_homepage_text"),
                                      QStringLiteral("Internet:"), twRect(240, 2100, 1140, 270));
    i_l_homepage = new LinkLabel(Maker::homepage(), Frame2);
    i_l_homepage->setObjectName(QStringLiteral("i_l_homepage"));
    i_l_homepage->setGeometry(twRect(1440, 2100, 5400, 270));
    i_l_homepage->setToolTip(QStringLiteral("Klick zum Start Ihres Standard-Browsers"));
    i_l_homepage->setAccessibleDescription(i_l_homepage->toolTip());
    homepageCaption->setBuddy(i_l_homepage);
    connect(i_l_homepage, &LinkLabel::clicked, this, &Info_Form::i_l_homepage_Click);

    Info_c_ok = new QPushButton(QStringLiteral("&Schliessen"), this);
    Info_c_ok->setObjectName(QStringLiteral("Info_c_ok"));
    Info_c_ok->setGeometry(twRect(5280, 5700, 1800, 435));
    connect(Info_c_ok, &QPushButton::clicked, this, &Info_Form::Info_c_ok_Click);
    Info_c_ok->setFocus();
}

void Info_Form::Form_Load()
{
    // Computed at every opening: the program file may have been replaced since.
    m_ctx.guard([this] {
        i_l_versionsnummer->setText(programVersionLine());
        i_l_versionsnummer->setAccessibleName(i_l_versionsnummer->text());
    });
}

void Info_Form::i_l_email_Click()
{
    m_ctx.guard([this] { m_ctx.ui.openUrl(QUrl(QStringLiteral("mailto:") + Maker::email())); });
}

void Info_Form::i_l_homepage_Click()
{
    m_ctx.guard([this] { m_ctx.ui.openUrl(QUrl(Maker::homepage())); });
}

void Info_Form::Info_c_ok_Click()
{
    m_ctx.guard([this] { close(); });
}
