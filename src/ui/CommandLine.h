#pragma once

#include <QStringList>

#include <optional>

// What strivo and Strivo answer on the command line before anything starts: no window, and the
// user's folder untouched.

enum class Command {
    Launcher, // strivo, what users and the menu entry start
    Program, // Strivo, the program the launcher runs
};

// The program's arguments, without its own name.
QStringList commandArguments(int argc, char **argv);

// The text to print for "--version" or "--help" (also "-V", "-h") given alone; nothing for any
// other arguments, which the command then handles itself.
std::optional<QString> commandLineAnswer(Command command, const QStringList &args);

// Prints the answer to argv, if it has one, on standard output and says whether it did.
bool answerCommandLine(Command command, int argc, char **argv);

// The short German usage of the command.
QString usageText(Command command);
