#pragma once

#include <QPointer>
#include <QString>

#include "shell/EditorFrame.h"
#include "uikit/Platform.h"

// The application object: makes the platform and the main frame and shows
// the frame. The frame deletes itself when its window is closed.
class CEditorApp {
 public:
  CEditorApp();
  ~CEditorApp();
  CEditorApp(const CEditorApp&) = delete;
  CEditorApp& operator=(const CEditorApp&) = delete;

  // The program's name and version, as the command line, the settings and
  // the recovery folder know it. May be called before the application
  // object exists.
  static void SetApplicationNames();

  // The frame made next remembers its layout and recent files in the
  // user's configuration folder and keeps a recovery copy of unsaved work
  // in the user's data folder; without this it keeps nothing.
  void EnableSession() { m_bSession = true; }

  // Creates and shows the main frame; false when it could not be made.
  // With the session enabled, first offers to recover work left over by an
  // editor that ended without saving it. A `file` is then opened as Load
  // opens it.
  bool InitInstance(const QString& file = QString());
  // After the message loop: a frame not yet deleted is deleted now, so every
  // level is released before the program ends.
  void ExitInstance();

  CEditorFrame* Frame() const { return m_pFrame.data(); }

 private:
  QtPlatform m_platform;  // declared first: it outlives the frame
  QPointer<CEditorFrame> m_pFrame;
  bool m_bSession = false;
};
