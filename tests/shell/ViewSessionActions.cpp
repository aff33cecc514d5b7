// The view's actions for the randomised session: the View menu's zoom
// commands, Show Grid and Classic Colours, Ctrl+wheel around a random point,
// wheel scrolls and middle-button drags. None of them may change the pack, so
// the session's checks after them find what they found before.
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include "SessionActions.h"
#include "shell/CommandIds.h"

namespace {

QPoint CanvasPoint(Session& s) {
  const QWidget& canvas = s.Frame().Canvas();
  return {s.Uniform(0, canvas.width() - 1), s.Uniform(0, canvas.height() - 1)};
}

void Wheel(Session& s, QPoint at, QPoint angle, Qt::KeyboardModifiers mods) {
  QWidget& canvas = s.Frame().Canvas();
  const QPointF local(at);
  QWheelEvent event(local, canvas.mapToGlobal(local), QPoint(), angle,
                    Qt::NoButton, mods, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&canvas, &event);
}

void Mouse(Session& s, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons held) {
  QWidget& canvas = s.Frame().Canvas();
  const QPointF local(at);
  QMouseEvent event(type, local, canvas.mapToGlobal(local), button, held,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&canvas, &event);
}

const bool kZoomCommand = AddSessionAction(
    {"zoom command", 3, [](Session& s) {
       s.Frame().OnCommand(s.Pick(std::vector<int>{
           IDM_VIEW_ZOOM_IN, IDM_VIEW_ZOOM_IN, IDM_VIEW_ZOOM_OUT,
           IDM_VIEW_ZOOM_OUT, IDM_VIEW_ACTUAL_SIZE, IDM_VIEW_FIT_LEVEL,
           IDM_VIEW_SHOW_GRID}));
     }});

const bool kColours =
    AddSessionAction({"classic colours", 2, [](Session& s) {
                        s.Frame().OnCommand(IDM_VIEW_CLASSIC_COLOURS);
                      }});

const bool kWheel = AddSessionAction(
    {"wheel", 3, [](Session& s) {
       const int notches = s.Pick(std::vector<int>{-240, -120, -60, 60, 120});
       const Qt::KeyboardModifiers mods =
           s.Pick(std::vector<Qt::KeyboardModifiers>{
               Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier});
       Wheel(s, CanvasPoint(s), {0, notches}, mods);
     }});

const bool kPan = AddSessionAction(
    {"middle-button pan", 2, [](Session& s) {
       const QPoint from = CanvasPoint(s);
       const QPoint to = CanvasPoint(s);
       Mouse(s, QEvent::MouseButtonPress, from, Qt::MiddleButton,
             Qt::MiddleButton);
       Mouse(s, QEvent::MouseMove, to, Qt::NoButton, Qt::MiddleButton);
       Mouse(s, QEvent::MouseButtonRelease, to, Qt::MiddleButton, Qt::NoButton);
     }});

}  // namespace
