#pragma once

#include <QPointer>

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

  // Creates and shows the main frame; false when it could not be made.
  bool InitInstance();
  // After the message loop: a frame not yet deleted is deleted now, so every
  // level is released before the program ends.
  void ExitInstance();

 private:
  QtPlatform m_platform;  // declared first: it outlives the frame
  QPointer<CEditorFrame> m_pFrame;
};
