#pragma once

#include "data/StartupMaintenance.h"

// The files a start-up maintains, worked on as plain processes without checks, temporary files
// or flushes: "pragma quick_check" with sqlite3, the backup with cp, VACUUM INTO with sqlite3
// and the copy back. Returns the wall time in milliseconds; ends the benchmark if a step fails.
// What it leaves in the page cache is written out afterwards, outside the time.
double bareWork(const MaintenancePaths &paths);
