#include "shell/EditorApp.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <memory>
#include <new>

#include "shell/FrameSession.h"
#include "shell/Recovery.h"
#include "shell/Settings.h"

CEditorApp::CEditorApp() = default;

CEditorApp::~CEditorApp() { ExitInstance(); }

void CEditorApp::SetApplicationNames() {
  QCoreApplication::setApplicationName(QStringLiteral("plodderz-editor"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PLODDERZ_VERSION));
  // The desktop matches the window to its launcher entry by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("plodderz-editor"));
}

bool CEditorApp::InitInstance(const QString& file) {
  // The frame deletes itself when closed (and releases every level then).
  m_pFrame = new (std::nothrow) CEditorFrame(m_platform);
  if (m_pFrame == nullptr) return false;
  CFrameSession& session = m_pFrame->Session();
  QString recoveryOff;  // why no recovery copies can be kept, if so
  if (m_bSession) {
    session.UseSettings(
        std::make_unique<CEditorSettings>(CEditorSettings::DefaultPath()));
    auto store =
        std::make_unique<CRecoveryStore>(CRecoveryStore::DefaultFolder());
    if (!store->Open(recoveryOff)) {
      recoveryOff =
          QStringLiteral("No recovery copies can be kept: %1").arg(recoveryOff);
    } else {
      recoveryOff.clear();
    }
    session.UseRecovery(std::move(store));
  }
  m_pFrame->show();
  if (m_bSession) session.OfferRecovery();
  // Made absolute: the pack remembers its file (also in a recovery copy
  // that another editor, started elsewhere, may open).
  if (!file.isEmpty() && m_pFrame != nullptr) {
    m_pFrame->OpenFile(QFileInfo(file).absoluteFilePath());
  }
  // Said once, in the status bar, after what the start itself shows there:
  // the editor works on without copies, and a box at every start would
  // stand in the way of the author's work until the folder is mended.
  if (!recoveryOff.isEmpty() && m_pFrame != nullptr) {
    m_pFrame->ShowStatus(recoveryOff);
  }
  return true;
}

void CEditorApp::ExitInstance() {
  // The frame's own deletion is posted when its window closes; carry it out
  // now that the loop has ended, or delete a frame whose window is open.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete m_pFrame.data();
}
