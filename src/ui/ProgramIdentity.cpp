#include "ui/ProgramIdentity.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace {
// The sizes of the icon theme's folders; a desktop picks among them.
constexpr int kIconSizes[] = { 16, 22, 24, 32, 48, 64, 128, 256 };
} // namespace

QString applicationId()
{
    return QStringLiteral(STRIVO_APP_ID);
}

QString versionText()
{
    return QStringLiteral("Strivo %1.%2.%3")
        .arg(STRIVO_VERSION_MAJOR)
        .arg(STRIVO_VERSION_MINOR)
        .arg(STRIVO_VERSION_PATCH);
}

QImage renderSvg(const QByteArray &svg, int size)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid() || size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return image;
}

QImage renderMark(int size)
{
    QFile file(QStringLiteral(":/icons/strivo.svg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return renderSvg(file.readAll(), size);
}

QIcon builtInIcon()
{
    QIcon icon;
    for (const int size : kIconSizes)
        icon.addPixmap(QPixmap::fromImage(renderMark(size)));
    return icon;
}

QIcon programIcon()
{
    return QIcon::fromTheme(applicationId(), builtInIcon());
}

void identifyProgram()
{
    QGuiApplication::setDesktopFileName(applicationId());
    QGuiApplication::setWindowIcon(programIcon());
}
