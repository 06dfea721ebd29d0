#pragma once

#include "TestFolder.h"

#include <QDate>

// Turns a generated database into one where every tenth race lies ahead of `today`, is
// registered or noted and not paid, with deadlines around today and fees in the forms people
// type; every other race lies before `today`. The race date index is made as at a start.
void makeTenthComing(const TestFolder &folder, const QDate &today);
