#include "AppContext.h"

#include "ErrorGuard.h"

bool AppContext::guard(const std::function<void()> &body, std::initializer_list<int> ignored)
{
    return guarded(vars, ui, body, ignored);
}
