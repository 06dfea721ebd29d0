#pragma once

#include <QList>

class QAbstractButton;

// Option buttons that switch each other off are one stop for Tab and Enter: the group is
// entered at its chosen option (at any option while none is chosen); the arrow keys move
// between the options.
void makeOneTabStop(const QList<QAbstractButton *> &options);
