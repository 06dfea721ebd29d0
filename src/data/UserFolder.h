#pragma once

#include <QString>

// The folder that holds the database, its copy and compaction target, Export/ and Dokumente/.
// An installed program keeps it in the user's data folder; a folder that holds the program
// beside a database is used as it is (portable use).

// $XDG_DATA_HOME/Strivo, or $HOME/.local/share/Strivo when XDG_DATA_HOME is unset, empty or
// relative (the XDG rules say to ignore a relative one). Empty when neither gives an absolute
// path.
QString userDataFolderFrom(const QString &xdgDataHome, const QString &home);
QString userDataFolder();

// True when folder holds a database beside the program: it is then used as it is.
bool isPortableFolder(const QString &folder);

// The folder the program works on: programDir itself when it holds Strivo-DB.mdb, else the
// user's data folder (programDir when even that cannot be named).
QString programFolderFor(const QString &programDir);

// Why the program cannot work on folder, in German, when its database is missing: the folder was
// never made, or the database is gone from it; either way the launcher strivo (the menu entry)
// makes what is missing. Empty when the database is there.
QString missingDatabaseMessage(const QString &folder);

// Makes the user's folder and, only where absent, the database (from the installed SQL files),
// Export/ and Dokumente/. An existing database is never touched. Throws DbError with a German
// description when the folder cannot be made or written.
void prepareUserFolder(const QString &folder);

// Moves a database that an earlier run left in a build folder into the user's folder, once:
// only when the user's folder holds none. The old file is then renamed so that its folder no
// longer counts as a portable one; it is never deleted. Returns what happened, in German (empty
// when there was nothing to move). Throws DbError when the old file cannot be read or moved.
QString takeOverDatabase(const QString &oldFile, const QString &folder);
