#include "about/Info_Form.h"

#include "about/LinkLabel.h"
#include "about/MakerDetails.h"
#include "about/VersionLine.h"
#include "context/AppContext.h"
#include "ui/FormBuilder.h"
#include "ui/ProgramIdentity.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

QString Info_Form::termsOfUse()
{
    return QStringLiteral("Strivo ist freie Software: Sie dürfen es unter den Bedingungen der GNU "
                          "General Public License, Version 3 oder (nach Ihrer Wahl) jeder späteren "
                          "Version, weitergeben und verändern. Strivo wird ohne jede "
                          "Gewährleistung bereitgestellt.");
}

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
    FormBuilder b(this);

    Frame3 = b.frame(QStringLiteral("Frame3"), QStringLiteral("Programmname und Version"),
                     { 120, 120, 6960, 1260 });
    FormBuilder inFrame3 = b.on(Frame3);
    Label2 = inFrame3.label(QStringLiteral("Strivo"), { 240, 300, 4000, 480 }, nullptr,
                            QStringLiteral("Label2"));
    QFont big = Label2->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    Label2->setFont(big);
    Label2->setAccessibleDescription(QStringLiteral("Programmname"));
    i_l_versionsnummer = inFrame3.label(QStringLiteral("Version"), { 240, 840, 6480, 285 }, nullptr,
                                        QStringLiteral("i_l_versionsnummer"));
    i_l_versionsnummer->setAccessibleDescription(QStringLiteral("Version"));

    Frame1 = b.frame(QStringLiteral("Frame1"), QStringLiteral("Nutzungsbedingungen"),
                     { 120, 1500, 6960, 1440 });
    FormBuilder inFrame1 = b.on(Frame1);
    i_l_nutzung = inFrame1.label(termsOfUse(), { 240, 300, 6480, 1020 }, nullptr,
                                 QStringLiteral("i_l_nutzung"));
    i_l_nutzung->setWordWrap(true);
    i_l_nutzung->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Frame2 = b.frame(QStringLiteral("Frame2"), QStringLiteral("Hersteller"),
                     { 120, 3060, 6960, 2520 });
    FormBuilder inFrame2 = b.on(Frame2);
    Picture2
        = inFrame2.label(QString(), { 240, 360, 960, 960 }, nullptr, QStringLiteral("Picture2"));
    Picture2->setPixmap(QPixmap::fromImage(renderMark(tw(960))));
    Picture2->setAccessibleName(QStringLiteral("Programmsymbol von Strivo"));
    i_l_name = inFrame2.label(Maker::name(), { 1440, 330, 5400, 270 }, nullptr,
                              QStringLiteral("i_l_name"));
    i_l_strasse = inFrame2.label(Maker::street(), { 1440, 600, 5400, 270 }, nullptr,
                                 QStringLiteral("i_l_strasse"));
    i_l_ort = inFrame2.label(Maker::town(), { 1440, 870, 5400, 270 }, nullptr,
                             QStringLiteral("i_l_ort"));
    i_l_telefon = inFrame2.label(Maker::phone(), { 1440, 1140, 5400, 270 }, nullptr,
                                 QStringLiteral("i_l_telefon"));
    i_l_fax = inFrame2.label(Maker::fax(), { 1440, 1410, 5400, 270 }, nullptr,
                             QStringLiteral("i_l_fax"));

    auto *emailCaption = inFrame2.label(QStringLiteral("E-Mail:"), { 240, 1800, 1140, 270 },
                                        nullptr, QStringLiteral("i_l_email_text"));
    i_l_email = inFrame2.make<LinkLabel>(QStringLiteral("i_l_email"), { 1440, 1800, 5400, 270 },
                                         Maker::email());
    i_l_email->setToolTip(QStringLiteral("Klick zum Start Ihres Standard E-Mail-Programms"));
    i_l_email->setAccessibleDescription(i_l_email->toolTip());
    emailCaption->setBuddy(i_l_email);
    connect(i_l_email, &LinkLabel::clicked, this, &Info_Form::i_l_email_Click);

    auto *homepageCaption = inFrame2.label(QStringLiteral("Internet:"), { 240, 2100, 1140, 270 },
                                           nullptr, QStringLiteral("i_l_homepage_text"));
    i_l_homepage = inFrame2.make<LinkLabel>(QStringLiteral("i_l_homepage"),
                                            { 1440, 2100, 5400, 270 }, Maker::homepage());
    i_l_homepage->setToolTip(QStringLiteral("Klick zum Start Ihres Standard-Browsers"));
    i_l_homepage->setAccessibleDescription(i_l_homepage->toolTip());
    homepageCaption->setBuddy(i_l_homepage);
    connect(i_l_homepage, &LinkLabel::clicked, this, &Info_Form::i_l_homepage_Click);

    // No fields here: Enter presses the button that has the focus.
    b.enterPressesFocusedButton();
    Info_c_ok = b.button(QStringLiteral("Info_c_ok"), QStringLiteral("&Schliessen"),
                         { 5280, 5700, 1800, 435 });
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
