// SPDX-License-Identifier: GPL-3.0-or-later
#include "listoutput/ListPages.h"

#include "common/GermanText.h"
#include "listoutput/ReplacingFile.h"
#include "racelist/RaceListRows.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

constexpr double kMarginMm = 12;
constexpr int kTwipsPerInch = 1440;
constexpr double kPointSize = 9;

// Everything in device pixels, from the device's resolution.
struct Geometry
{
    explicit Geometry(const QPagedPaintDevice &device)
        : page(0, 0, device.width(), device.height())
        , text(font(false, kPointSize))
        , bold(font(true, kPointSize))
        , title(font(true, kPointSize + 3))
    {
        const QFontMetricsF m(text, const_cast<QPagedPaintDevice *>(&device));
        const QFontMetricsF t(title, const_cast<QPagedPaintDevice *>(&device));
        line = m.height();
        row = line * 1.35;
        headerHeight = line + t.height() + line * 0.8;
        footerHeight = line * 2;
        gap = m.averageCharWidth() * 0.6;
    }
    static QFont font(bool isBold, double points)
    {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(points);
        f.setBold(isBold);
        return f;
    }
    double rowsTop() const { return headerHeight + row; }
    int rowsPerPage() const
    {
        return std::max(1, int((page.height() - rowsTop() - footerHeight) / row));
    }

    QRectF page;
    QFont text, bold, title;
    double line = 0, row = 0, headerHeight = 0, footerHeight = 0, gap = 0;
};

// The grid's widths, stretched or narrowed to the page's width.
std::vector<double> columnWidths(const QList<ListColumn> &columns, double width)
{
    double total = 0;
    for (const ListColumn &c : columns)
        total += c.widthTwips;
    std::vector<double> widths;
    for (const ListColumn &c : columns)
        widths.push_back(total > 0 ? width * c.widthTwips / total : 0);
    return widths;
}

void drawCells(QPainter &p, const Geometry &g, const QList<ListColumn> &columns,
               const std::vector<double> &widths, const QStringList &cells, double top)
{
    double left = 0;
    const QFontMetricsF metrics(p.font(), p.device());
    for (qsizetype c = 0; c < columns.size() && c < qsizetype(widths.size()); ++c) {
        const double w = widths[size_t(c)];
        const QRectF cell(left + g.gap, top, w - 2 * g.gap, g.row);
        // One line per race: a long text ends in "…" rather than push the rows apart.
        QString text = c < cells.size() ? cells[c] : QString();
        text.replace(u'\n', u' ').replace(u'\r', u' ');
        p.drawText(cell, int(columns[c].alignment | Qt::AlignVCenter),
                   metrics.elidedText(text, Qt::ElideRight, cell.width()));
        left += w;
    }
}

void paintPage(QPainter &p, const Geometry &g, const ListDocument &doc,
               const std::vector<double> &widths, int page, int pages, int firstRow, int endRow)
{
    const double width = g.page.width();
    p.setPen(Qt::black);
    p.setFont(g.bold);
    p.drawText(QRectF(0, 0, width, g.line), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Strivo"));
    p.setFont(g.text);
    p.drawText(QRectF(0, 0, width, g.line), Qt::AlignRight | Qt::AlignVCenter,
               formatDate(doc.today));
    p.setFont(g.title);
    const QFontMetricsF titleMetrics(g.title, p.device());
    p.drawText(QRectF(0, g.line, width, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
               titleMetrics.elidedText(doc.headline, Qt::ElideRight, width));

    const double captionTop = g.headerHeight;
    p.fillRect(QRectF(0, captionTop, width, g.row), QColor(225, 225, 225));
    p.setFont(g.bold);
    QStringList captions;
    for (const ListColumn &c : doc.columns)
        captions << c.caption;
    drawCells(p, g, doc.columns, widths, captions, captionTop);
    p.setPen(QPen(Qt::black, g.line / 12));
    p.drawLine(QPointF(0, captionTop + g.row), QPointF(width, captionTop + g.row));

    p.setFont(g.text);
    for (int r = firstRow; r < endRow; ++r) {
        const double top = g.rowsTop() + (r - firstRow) * g.row;
        // Every other row shaded, so that the eye stays on its row across the page.
        if ((r - firstRow) % 2 == 1)
            p.fillRect(QRectF(0, top, width, g.row), QColor(242, 242, 242));
        drawCells(p, g, doc.columns, widths, doc.rows[size_t(r)], top);
    }

    p.drawText(QRectF(0, g.page.height() - g.line, width, g.line), Qt::AlignCenter,
               QStringLiteral("Seite %1 von %2").arg(page).arg(pages));
}

} // namespace

ListDocument raceListDocument(const RaceList &races, const QString &headline, const QDate &today)
{
    ListDocument doc { headline, today, raceListColumns(), {} };
    // Its own copy of the list: reading it to the end must not move the grid's.
    const RaceListRows rows { RaceList(races) };
    const qsizetype columns = doc.columns.size();
    for (int r = 0; rows.list().hasRow(r); ++r) {
        QStringList cells;
        for (qsizetype c = 0; c < columns; ++c)
            cells << rows.cell(r, int(c));
        doc.rows.push_back(std::move(cells));
    }
    return doc;
}

QPageLayout listPageLayout(const QList<ListColumn> &columns)
{
    const QMarginsF margins(kMarginMm, kMarginMm, kMarginMm, kMarginMm);
    const QPageSize a4(QPageSize::A4);
    double neededMm = 0;
    for (const ListColumn &c : columns)
        neededMm += c.widthTwips * 25.4 / kTwipsPerInch;
    const double uprightMm = a4.size(QPageSize::Millimeter).width() - 2 * kMarginMm;
    const auto orientation = neededMm <= uprightMm ? QPageLayout::Portrait : QPageLayout::Landscape;
    return QPageLayout(a4, orientation, margins, QPageLayout::Millimeter);
}

int ListPages::rowsPerPage(const QPagedPaintDevice &device) const
{
    return Geometry(device).rowsPerPage();
}

int ListPages::pageCount(const QPagedPaintDevice &device) const
{
    const int perPage = rowsPerPage(device);
    return std::max(1, int((m_doc.rows.size() + size_t(perPage) - 1) / size_t(perPage)));
}

void ListPages::paint(QPagedPaintDevice &device) const
{
    const Geometry g(device);
    const int perPage = g.rowsPerPage();
    const int pages = pageCount(device);
    const std::vector<double> widths = columnWidths(m_doc.columns, g.page.width());
    QPainter p(&device);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        const int first = (page - 1) * perPage;
        const int end = std::min(int(m_doc.rows.size()), first + perPage);
        paintPage(p, g, m_doc, widths, page, pages, first, end);
    }
}

int saveListPdf(const ListDocument &document, const QString &target)
{
    ReplacingFile file(target);
    // Laid out in memory, so that a full disk or a locked folder reaches the user as the file
    // layer's message.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(listPageLayout(document.columns));
        writer.setResolution(600);
        writer.setTitle(document.headline);
        writer.setCreator(QStringLiteral("Strivo"));
        const ListPages listPages(document);
        pages = listPages.pageCount(writer);
        listPages.paint(writer);
    }
    file.write(pdf.data().constData(), std::size_t(pdf.data().size()));
    file.commit();
    return pages;
}
