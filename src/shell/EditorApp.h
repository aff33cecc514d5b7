#pragma once

#include <memory>

#include "shell/Platform.h"

class CEditorFrame;

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

 private:
  QtPlatform m_platform;
};
