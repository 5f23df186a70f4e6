#include "diagnostics/Chrono_Unit.h"

TChrono* Chrono = nullptr;

void TChrono::StartTimer(const std::string&) {}

void TChrono::StopTimer(const std::string&) {}
