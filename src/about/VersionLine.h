#pragma once

#include <QDateTime>
#include <QString>

// "Version:  1. 2. 7  vom  05.03.2004": each number with its leading blank, then the date of
// the program file. Without a valid file date the line is the plain "Version".
QString versionLine(int major, int minor, int revision, const QDateTime &fileDate);

// The same for a program file on disk: its modification date, or "Version" when it is missing.
QString versionLineForFile(int major, int minor, int revision, const QString &programFile);

// The running program's own line: the numbers it was built with and its executable's date.
QString programVersionLine();
