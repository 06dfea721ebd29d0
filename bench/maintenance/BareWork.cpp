#include "BareWork.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {
std::string quoted(const QString &path)
{
    return '\'' + path.toStdString() + '\'';
}
} // namespace

double bareWork(const MaintenancePaths &paths)
{
    const std::string main = quoted(paths.mainFile), backup = quoted(paths.backupFile),
                      target = quoted(paths.compactFile);
    const std::string script = "sqlite3 " + main + " 'pragma quick_check' >/dev/null && cp " + main
        + ' ' + backup + " && rm -f " + target + " && sqlite3 " + backup + " \"vacuum into "
        + target + "\" && cp " + target + ' ' + main;
    QElapsedTimer timer;
    timer.start();
    if (std::system(script.c_str()) != 0) {
        std::fprintf(stderr, "bare work failed: %s\n", script.c_str());
        std::exit(2);
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    // cp and the sqlite3 tool leave their writing to the page cache. It goes to the disk here,
    // untimed, so that the run measured next does not pay for it in its own flushes.
    ::sync();
    return ms;
}
