#pragma once

#include "common/Ui.h"

// The busy pointer while work runs, however the work ends; release() gives the normal pointer
// back before the scope ends (before a message, for example).
class BusyPointer
{
public:
    explicit BusyPointer(Ui &ui)
        : m_ui(ui)
    {
        m_ui.setBusy(true);
    }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

    void release()
    {
        if (m_busy)
            m_ui.setBusy(false);
        m_busy = false;
    }

private:
    Ui &m_ui;
    bool m_busy = true;
};
