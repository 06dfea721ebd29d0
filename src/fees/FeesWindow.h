#pragma once

#include "fees/FeeList.h"

#include <QDialog>

class AppContext;
class ListGrid;
class QLabel;
class QPushButton;

// "Startgelder und Fristen": the races still to pay for, what each costs today and when its
// fee rises. A row opens its race in the editor; the list is read again when the editor closes.
class FeesWindow : public QDialog
{
    Q_OBJECT
public:
    explicit FeesWindow(AppContext &ctx, QWidget *parent = nullptr);

    const FeeList &list() const;
    ListGrid *grid() const { return m_grid; }

private:
    void buildForm();
    // Reads the races and shows them, standing on the row of `race` when it is still listed.
    void load(qlonglong race = 0);
    void onRowActivated(int row);

    AppContext &m_ctx;
    QLabel *m_sumLine = nullptr;
    ListGrid *m_grid = nullptr;
    QPushButton *m_closeButton = nullptr;
};
