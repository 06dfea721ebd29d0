#include "ui/CommandLine.h"

#include "ui/ProgramIdentity.h"

#include <cstdio>

QStringList commandArguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

std::optional<QString> commandLineAnswer(Command command, const QStringList &args)
{
    if (args.size() != 1)
        return std::nullopt;
    const QString &arg = args.constFirst();
    if (arg == QLatin1String("--version") || arg == QLatin1String("-V"))
        return versionText() + u'\n';
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
        return usageText(command);
    return std::nullopt;
}

bool answerCommandLine(Command command, int argc, char **argv)
{
    const auto answer = commandLineAnswer(command, commandArguments(argc, argv));
    if (answer) {
        std::fputs(answer->toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
    }
    return answer.has_value();
}

QString usageText(Command command)
{
    const QString options = QStringLiteral("\n"
                                           "  -h, --help     zeigt diese Hilfe\n"
                                           "  -V, --version  zeigt Name und Version\n");
    if (command == Command::Program)
        return QStringLiteral(
                   "Aufruf: Strivo [--help | --version]\n"
                   "Das Lauftagebuch Strivo selbst. Gestartet wird es mit dem Befehl strivo "
                   "(wie vom Menüeintrag),\n"
                   "der beim ersten Start den Ordner für die Läufe anlegt. Liegt neben Strivo "
                   "eine Datei\n"
                   "Strivo-DB.mdb, arbeitet es in seinem eigenen Ordner.\n")
            + options;
    return QStringLiteral(
               "Aufruf: strivo [--help | --version]\n"
               "Startet das Lauftagebuch Strivo. Beim ersten Start legt strivo den Ordner für die "
               "Läufe an\n"
               "($XDG_DATA_HOME/Strivo, sonst ~/.local/share/Strivo) mit der Datenbank "
               "Strivo-DB.mdb und den\n"
               "Ordnern Export und Dokumente; eine vorhandene Datenbank wird nie ersetzt.\n")
        + options;
}
