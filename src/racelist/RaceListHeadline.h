// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/RaceStore.h"

#include <QString>

// What the headline above the race list says it shows.
QString raceListHeadline(const RaceListFilter &filter);

// The headline over the races whose payment reminder is due.
extern const QString kReminderHeadline;
