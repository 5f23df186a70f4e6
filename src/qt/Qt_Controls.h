// Building windows from their layout tables: each helper makes one control with
// its object name, caption, position and size (left, top, width, height) inside
// its parent. Captions keep their "&" mnemonics.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QToolButton>

#include "qt/Qt_Memo.h"

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry);
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, QRect geometry);
// A label sizes itself to its caption; only its position is given.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint position);
QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const QString& caption, QRect geometry);
enum class TScrollBars { None, Vertical, Both };
TMemo* MakeMemo(QWidget* parent, const char* name, QRect geometry, TScrollBars scrollBars);
// A speed button showing a small picture, with its hint as tool tip.
QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QString& hint,
                             QRect geometry);
// Gives a top-level window its name, caption and geometry.
// A control that has no work in this version: shown disabled, and its tooltip says
// so (after the hint it already has, if any).
void MarkNotAvailable(QWidget* control);
void SetUpWindow(QWidget* window, const char* name, const QString& caption, QRect geometry);

#include <functional>
// Runs `handler` on every click of `button`, inside the error guard.
void ConnectClick(QAbstractButton* button, std::function<void()> handler);
