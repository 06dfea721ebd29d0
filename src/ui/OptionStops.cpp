#include "ui/OptionStops.h"

#include <QAbstractButton>

#include <algorithm>

void makeOneTabStop(const QList<QAbstractButton *> &options)
{
    auto update = [options] {
        const bool chosen = std::any_of(options.begin(), options.end(),
                                        [](const QAbstractButton *o) { return o->isChecked(); });
        for (QAbstractButton *o : options)
            o->setFocusPolicy(!chosen || o->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    for (QAbstractButton *o : options)
        QObject::connect(o, &QAbstractButton::toggled, o, update);
    update();
}
