#pragma once

#include <functional>
#include <initializer_list>

class Ui;

// Runs a handler body; the first failure skips the rest and shows the standard error box
// (description, blank, number; OK; title "Strivo"), unless its number is one the caller ignores.
// Returns true when the body ran to its end.
bool guarded(Ui &ui, const std::function<void()> &body, std::initializer_list<int> ignored = {});
