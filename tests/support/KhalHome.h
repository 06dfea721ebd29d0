// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// khal, the command-line calendar, over a calendar of its own (a folder of .ics files) in a
// temporary home, showing times in the given zone with German date forms.
struct KhalHome
{
    QTemporaryDir home;
    QString config;

    explicit KhalHome(const QString &zone)
    {
        QDir(home.path()).mkpath("calendar");
        config = home.filePath("khal.conf");
        QFile file(config);
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("[calendars]\n[[strivo]]\npath = %1\ntype = calendar\n"
                                  "[locale]\nlocal_timezone = %2\ndefault_timezone = %2\n"
                                  "timeformat = %H:%M\ndateformat = %d.%m.%Y\n"
                                  "longdateformat = %d.%m.%Y\n"
                                  "datetimeformat = %d.%m.%Y %H:%M\n"
                                  "longdatetimeformat = %d.%m.%Y %H:%M\n")
                       .arg(calendar(), zone)
                       .toUtf8());
    }
    QString calendar() const { return home.filePath("calendar"); }
    // Runs khal; a failure fails the test. Returns what khal printed.
    QString run(const QStringList &args) const
    {
        QProcess khal;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_CACHE_HOME", home.filePath("cache"));
        env.insert("LC_ALL", "C.UTF-8");
        khal.setProcessEnvironment(env);
        khal.start("khal", QStringList { "-c", config } + args);
        khal.waitForFinished(60000);
        EXPECT_EQ(khal.exitCode(), 0) << khal.readAllStandardError().toStdString();
        return QString::fromUtf8(khal.readAllStandardOutput());
    }
};
