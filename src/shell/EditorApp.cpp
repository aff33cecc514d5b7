#include "shell/EditorApp.h"

#include <QCoreApplication>
#include <QEvent>
#include <new>

CEditorApp::CEditorApp() = default;

CEditorApp::~CEditorApp() { ExitInstance(); }

bool CEditorApp::InitInstance() {
  // The frame deletes itself when closed (and releases every level then).
  m_pFrame = new (std::nothrow) CEditorFrame(m_platform);
  if (m_pFrame == nullptr) return false;
  m_pFrame->show();
  return true;
}

void CEditorApp::ExitInstance() {
  // The frame's own deletion is posted when its window closes; carry it out
  // now that the loop has ended, or delete a frame whose window is open.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete m_pFrame.data();
}
