// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ListGrid.h"

#include <QDate>
#include <QPageLayout>
#include <QStringList>

#include <vector>

class QPagedPaintDevice;
class RaceList;

// The main window's list as it goes on paper: its headline, the day it was printed, the grid's
// columns and the rows' cell texts in the grid's order.
struct ListDocument
{
    QString headline;
    QDate today;
    QList<ListColumn> columns;
    std::vector<QStringList> rows;
};

// The document of a race list as the main window's grid shows it: every race, not only the rows
// the grid has read so far. The list itself is left as it was.
ListDocument raceListDocument(const RaceList &races, const QString &headline, const QDate &today);

// A4 upright when the columns fit its width at the grid's own widths, else across.
QPageLayout listPageLayout(const QList<ListColumn> &columns);

// The pages of a document: on each a header with "Strivo", the headline and the date, the column
// captions, as many rows as fit, and "Seite N von M" at the foot. They are laid out for the page
// the device has, so a page set-up changed in the print preview lays them out anew.
class ListPages
{
public:
    explicit ListPages(const ListDocument &document)
        : m_doc(document)
    {
    }

    int rowsPerPage(const QPagedPaintDevice &device) const;
    int pageCount(const QPagedPaintDevice &device) const;
    // Paints every page, starting on the device's current one.
    void paint(QPagedPaintDevice &device) const;

private:
    const ListDocument &m_doc;
};

// Saves the pages as a PDF file that carries the headline as its title and "Strivo" as its
// creator; the text stays text. The file replaces `target` only when complete; failures throw
// DbError. Returns the number of pages.
int saveListPdf(const ListDocument &document, const QString &target);
