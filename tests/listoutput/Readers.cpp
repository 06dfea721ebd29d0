// SPDX-License-Identifier: GPL-3.0-or-later
#include "Readers.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {
QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}
} // namespace

QJsonDocument readCsvWithPython(const QString &path)
{
    return QJsonDocument::fromJson(
        run(QStringLiteral("/usr/bin/python3"), { QStringLiteral(READ_CSV_SCRIPT), path }));
}

QJsonDocument readXlsxWithOpenpyxl(const QString &path)
{
    return QJsonDocument::fromJson(
        run(QStringLiteral("/usr/bin/python3"), { QStringLiteral(READ_XLSX_SCRIPT), path }));
}

QString pdfText(const QString &path)
{
    return QString::fromUtf8(run(QStringLiteral("pdftotext"), { path, QStringLiteral("-") }));
}

QString pdfInfo(const QString &path, const QString &field)
{
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), { path }));
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(field),
                                  QRegularExpression::MultilineOption);
    return line.match(info).captured(1).trimmed();
}
