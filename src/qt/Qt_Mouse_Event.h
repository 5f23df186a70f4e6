// A Qt mouse event as the engines' mouse events take it: the button and the
// shift state (keys and buttons held).
#pragma once

#include <QMouseEvent>

#include "platform/Picture.h"

TShiftState ShiftOf(const QMouseEvent* event);
TMouseButton ButtonOf(const QMouseEvent* event);
