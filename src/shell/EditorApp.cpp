#include "shell/EditorApp.h"

#include <new>

#include "shell/EditorFrame.h"

CEditorApp::CEditorApp() = default;
CEditorApp::~CEditorApp() = default;

bool CEditorApp::InitInstance() {
  // The frame deletes itself when closed (and releases every level then).
  auto* frame = new (std::nothrow) CEditorFrame(m_platform);
  if (frame == nullptr) return false;
  frame->show();
  return true;
}
