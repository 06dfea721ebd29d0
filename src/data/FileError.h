#pragma once

#include "common/DbError.h"

#include <QString>

// The data layer's error number for a failed system call on a file (errno value); the same
// judgement the workbook writer makes, through fileio::failureOf.
int errNoForSystemError(int err);

// A DbError for a failed system call; the description may be filled in by the caller's context.
DbError fileError(int err, const QString &description = {});

// Why a system call on a file failed, in German words for a message (errno value).
QString systemErrorReason(int err);

// A path as messages name it: with the system's separators.
QString shownPath(const QString &path);
