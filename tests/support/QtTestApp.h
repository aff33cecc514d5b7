#pragma once

#include <QApplication>
#include <QPoint>

class QWidget;

// The one QApplication of a widget test program, made on first use. Tests
// run with QT_QPA_PLATFORM=offscreen.
QApplication& QtTestApp();

// Delivers posted events, deferred deletions among them.
void ProcessEvents();

// Sends a mouse press, moves and release to a widget, as a user would.
void MousePress(QWidget* widget, QPoint at);
void MouseMove(QWidget* widget, QPoint to, bool leftHeld);
void MouseRelease(QWidget* widget, QPoint at);
