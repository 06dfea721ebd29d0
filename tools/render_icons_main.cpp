// SPDX-License-Identifier: GPL-3.0-or-later
// strivo-render-icons SVG OUTDIR NAME SIZE...: draws the program's mark for the icon theme,
// OUTDIR/SIZExSIZE/NAME.png for every size, from the same SVG the program draws its mark from.
#include "ui/ProgramIdentity.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "Aufruf: strivo-render-icons SVG ZIELORDNER NAME GRÖSSE...\n");
        return 2;
    }
    QFile svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s kann nicht gelesen werden.\n", argv[1]);
        return 1;
    }
    const QByteArray data = svg.readAll();
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QImage image = renderSvg(data, size);
        const QString folder = QStringLiteral("%1/%2x%2").arg(outDir).arg(size);
        if (image.isNull() || !QDir().mkpath(folder)
            || !image.save(folder + u'/' + name + QStringLiteral(".png"), "PNG")) {
            std::fprintf(stderr, "Das Symbol in %s px kann nicht geschrieben werden.\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
