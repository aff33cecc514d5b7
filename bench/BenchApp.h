#pragma once

#include <QApplication>

// The one QApplication of plodderz-bench, made on first use, offscreen
// unless QT_QPA_PLATFORM says otherwise. Qt's warnings (the offscreen
// platform notes every window it cannot size) are dropped so that they do
// not break up the report; critical messages still show.
inline QApplication& BenchApp() {
  static const QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context,
         const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
          previous(type, context, text);
        }
      });
  static int argc = 1;
  static char name[] = "plodderz-bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}
