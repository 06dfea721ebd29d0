#include "about/VersionLine.h"

#include "common/GermanText.h"

#include <QCoreApplication>
#include <QFileInfo>

QString versionLine(int major, int minor, int revision, const QDateTime &fileDate)
{
    if (!fileDate.isValid())
        return QStringLiteral("Version");
    return QStringLiteral("Version: ") + numberText(major) + u'.' + numberText(minor) + u'.'
        + numberText(revision) + QStringLiteral("  vom  ") + formatDate(fileDate.date());
}

QString versionLineForFile(int major, int minor, int revision, const QString &programFile)
{
    const QFileInfo info(programFile);
    if (programFile.isEmpty() || !info.isFile())
        return versionLine(major, minor, revision, QDateTime());
    return versionLine(major, minor, revision, info.lastModified());
}

QString programVersionLine()
{
    return versionLineForFile(STRIVO_VERSION_MAJOR, STRIVO_VERSION_MINOR, STRIVO_VERSION_PATCH,
                              QCoreApplication::applicationFilePath());
}
