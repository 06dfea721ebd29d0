#include "about/AboutBox.h"

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

QString AboutBox::termsOfUse()
{
    return QStringLiteral("Strivo ist freie Software: Sie dürfen es unter den Bedingungen der GNU "
                          "General Public License, Version 3 oder (nach Ihrer Wahl) jeder späteren "
                          "Version, weitergeben und verändern. Strivo wird ohne jede "
                          "Gewährleistung bereitgestellt.");
}

AboutBox::AboutBox(AppContext &ctx, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    buildForm();
    showVersion();
}

void AboutBox::buildForm()
{
    setObjectName(QStringLiteral("Info_Form"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(twSize(7200, 6300));
    FormBuilder b(this);

    auto *titleFrame = b.frame(QStringLiteral("Frame3"), QStringLiteral("Programmname und Version"),
                               { 120, 120, 6960, 1260 });
    FormBuilder inFrame3 = b.on(titleFrame);
    auto *programName = inFrame3.label(QStringLiteral("Strivo"), { 240, 300, 4000, 480 }, nullptr,
                                       QStringLiteral("Label2"));
    QFont big = programName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    programName->setFont(big);
    programName->setAccessibleDescription(QStringLiteral("Programmname"));
    m_versionLine = inFrame3.label(QStringLiteral("Version"), { 240, 840, 6480, 285 }, nullptr,
                                   QStringLiteral("i_l_versionsnummer"));
    m_versionLine->setAccessibleDescription(QStringLiteral("Version"));

    auto *termsFrame = b.frame(QStringLiteral("Frame1"), QStringLiteral("Nutzungsbedingungen"),
                               { 120, 1500, 6960, 1440 });
    FormBuilder inFrame1 = b.on(termsFrame);
    auto *terms = inFrame1.label(termsOfUse(), { 240, 300, 6480, 1020 }, nullptr,
                                 QStringLiteral("i_l_nutzung"));
    terms->setWordWrap(true);
    terms->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *makerFrame = b.frame(QStringLiteral("Frame2"), QStringLiteral("Hersteller"),
                               { 120, 3060, 6960, 2520 });
    FormBuilder inFrame2 = b.on(makerFrame);
    auto *mark
        = inFrame2.label(QString(), { 240, 360, 960, 960 }, nullptr, QStringLiteral("Picture2"));
    mark->setPixmap(QPixmap::fromImage(renderMark(tw(960))));
    mark->setAccessibleName(QStringLiteral("Programmsymbol von Strivo"));
    inFrame2.label(Maker::name(), { 1440, 330, 5400, 270 }, nullptr, QStringLiteral("i_l_name"));
    inFrame2.label(Maker::street(), { 1440, 600, 5400, 270 }, nullptr,
                   QStringLiteral("i_l_strasse"));
    inFrame2.label(Maker::town(), { 1440, 870, 5400, 270 }, nullptr, QStringLiteral("i_l_ort"));
    inFrame2.label(Maker::phone(), { 1440, 1140, 5400, 270 }, nullptr,
                   QStringLiteral("i_l_telefon"));
    inFrame2.label(Maker::fax(), { 1440, 1410, 5400, 270 }, nullptr, QStringLiteral("i_l_fax"));

    auto *emailCaption = inFrame2.label(QStringLiteral("E-Mail:"), { 240, 1800, 1140, 270 },
                                        nullptr, QStringLiteral("i_l_email_text"));
    auto *email = inFrame2.make<LinkLabel>(QStringLiteral("i_l_email"), { 1440, 1800, 5400, 270 },
                                           Maker::email());
    email->setToolTip(QStringLiteral("Klick zum Start Ihres Standard E-Mail-Programms"));
    email->setAccessibleDescription(email->toolTip());
    emailCaption->setBuddy(email);
    connect(email, &LinkLabel::clicked, this, &AboutBox::onEmailClicked);

    auto *homepageCaption = inFrame2.label(QStringLiteral("Internet:"), { 240, 2100, 1140, 270 },
                                           nullptr, QStringLiteral("i_l_homepage_text"));
    auto *homepage = inFrame2.make<LinkLabel>(QStringLiteral("i_l_homepage"),
                                              { 1440, 2100, 5400, 270 }, Maker::homepage());
    homepage->setToolTip(QStringLiteral("Klick zum Start Ihres Standard-Browsers"));
    homepage->setAccessibleDescription(homepage->toolTip());
    homepageCaption->setBuddy(homepage);
    connect(homepage, &LinkLabel::clicked, this, &AboutBox::onHomepageClicked);

    // No fields here: Enter presses the button that has the focus.
    b.enterPressesFocusedButton();
    auto *closeButton = b.button(QStringLiteral("Info_c_ok"), QStringLiteral("&Schliessen"),
                                 { 5280, 5700, 1800, 435 });
    connect(closeButton, &QPushButton::clicked, this, &AboutBox::onCloseClicked);
    closeButton->setFocus();
}

void AboutBox::showVersion()
{
    m_ctx.guard([this] {
        m_versionLine->setText(programVersionLine());
        m_versionLine->setAccessibleName(m_versionLine->text());
    });
}

void AboutBox::onEmailClicked()
{
    m_ctx.guard([this] { m_ctx.ui.openUrl(QUrl(QStringLiteral("mailto:") + Maker::email())); });
}

void AboutBox::onHomepageClicked()
{
    m_ctx.guard([this] { m_ctx.ui.openUrl(QUrl(Maker::homepage())); });
}

void AboutBox::onCloseClicked()
{
    m_ctx.guard([this] { close(); });
}
