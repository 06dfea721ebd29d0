#pragma once

class SqliteDb;

// The editor adds a new race as a row the moment it opens; a program ended before the save
// leaves that row behind with nothing but its number, invisible in every list. Removes such
// rows that no document is linked to, in one transaction, and returns how many. A row that was
// ever saved keeps at least its blank flags and stays.
int removeEmptyRaces(SqliteDb &db);
