#pragma once

#include "jet/ChildJetReader.h"

class AppContext;

// "Datei" -> "Läufe aus Access-Datei übernehmen...": asks for the file, takes its races over into
// the current database and says what it added. Returns true when the database got new rows.
bool importAccessFile(AppContext &ctx, const JetOpener &open = openJetFile);

// Start-up, before the maintenance: when the database file is an Access file, asks whether to
// take its races over into a new database. Errors throw to the start-up's error box.
void offerAccessTakeover(AppContext &ctx, const JetOpener &open = openJetFile);
