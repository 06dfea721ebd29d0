#pragma once

#include "model/Records.h"

#include <optional>

class AppContext;
class QWidget;

// Opens the postal directory modally over parent; the caller decides what the chosen place
// fills. Nothing is returned when the window is cancelled or OK is pressed on an empty list.
std::optional<PostalPlace> choosePostalPlace(AppContext &ctx, QWidget *parent);
