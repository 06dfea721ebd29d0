// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "icalimport/CandidateRaces.h"

#include <QDialog>

#include <optional>

class AppContext;
class ListGrid;
class QLabel;
class QPushButton;

// "Läufe aus Kalenderdatei": the events of a calendar file, each with a tick box "übernehmen";
// "Übernehmen" adds the ticked ones as new races, "Abbrechen" and Escape add nothing.
class CalendarImportDialog : public QDialog
{
    Q_OBJECT
public:
    CalendarImportDialog(AppContext &ctx, const QString &fileName, CalendarFile file,
                         std::vector<Candidate> candidates, QWidget *parent = nullptr);
    ~CalendarImportDialog() override;

    // What "Übernehmen" did; nothing after "Abbrechen".
    const std::optional<TakeOverCounts> &takenOver() const { return m_result; }
    const std::vector<Candidate> &candidates() const { return m_candidates; }
    ListGrid *grid() const { return m_grid; }

    void onTakeOverClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateSummary();

    AppContext &m_ctx;
    QString m_fileName;
    CalendarFile m_file;
    std::vector<Candidate> m_candidates;
    std::optional<TakeOverCounts> m_result;
    QLabel *m_summary;
    ListGrid *m_grid;
    QPushButton *m_takeOver;
    QPushButton *m_cancel;
};
