#include "support/QtTestApp.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

QApplication& QtTestApp() {
  static int argc = 1;
  static char name[] = "plodderz-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

void ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at,
               Qt::MouseButton button, Qt::MouseButtons buttons) {
  const QPointF local(at);
  QMouseEvent event(type, local, widget->mapToGlobal(local), button, buttons,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

void MousePress(QWidget* widget, QPoint at) {
  SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton,
            Qt::LeftButton);
}

void MouseMove(QWidget* widget, QPoint to, bool leftHeld) {
  SendMouse(widget, QEvent::MouseMove, to, Qt::NoButton,
            leftHeld ? Qt::LeftButton : Qt::NoButton);
}

void MouseRelease(QWidget* widget, QPoint at) {
  SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton,
            Qt::NoButton);
}
