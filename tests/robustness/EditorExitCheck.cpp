// Linked beside the editor's own main(): once the event loop runs, fills the
// pack to nine levels and closes the main window as a user would, then,
// after main() has returned, checks that every level was released. Under
// LeakSanitizer the run also fails on any leak.
#include <unistd.h>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "model/Level.h"
#include "shell/EditorFrame.h"

namespace {

void FillAndClose() {
  // A zero timer fires once the window is shown and the loop is running.
  QTimer::singleShot(0, [] {
    CEditorFrame* frame = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* found = qobject_cast<CEditorFrame*>(widget)) frame = found;
    }
    if (frame == nullptr) {
      std::fputs("exit check: no main frame was shown\n", stderr);
      std::_Exit(4);
    }
    while (frame->Pack().Count() < MAX_LEVELS) frame->Pack().AddLevel();
    frame->Pack().m_nCurLevel = MAX_LEVELS - 1;
    frame->RefreshView();
    // Nothing unsaved: the close is not held up by a prompt.
    frame->Pack().m_bModified = false;
    frame->close();
  });
}

// Runs after main() returned and its objects are gone.
struct LiveCountAtExit {
  ~LiveCountAtExit() {
    if (CLevel::s_nLiveCount != 0) {
      std::fprintf(stderr, "exit check: %d levels still alive at exit\n",
                   static_cast<int>(CLevel::s_nLiveCount));
      ::_exit(3);
    }
  }
} s_liveCountAtExit;

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(FillAndClose)
