// A Qt header below qt.
#pragma once

#include <QWidget>
