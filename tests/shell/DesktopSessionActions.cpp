// The desktop's actions in the randomised session: a pack opened from
// outside the File menu (the command line, a drop and File > Open Recent all
// open it through CEditorFrame::OpenFile) and File > Send to Calculator...
#include <QDialog>
#include <QMenu>
#include <QString>
#include <QStringList>

#include "SessionActions.h"
#include "dialogs/SecurityDialogs.h"
#include "shell/CommandIds.h"
#include "shell/FrameSession.h"
#include "shell/SendToCalculator.h"

namespace {

using Answer = IPlatform::Answer;

int AnswerDialogs(QDialog& dialog) {
  return FrameDriver::AnswerDialog(dialog, QStringLiteral("pw"));
}

// Runs `action` with the session's dialogs answered as a save and a load
// want them, and a name queued for a Save As that "Save changes?" may ask
// for.
template <typename Action>
void WithFileDialogs(Session& s, Action action) {
  s.saveChanges =
      s.Pick(std::vector<Answer>{Answer::Yes, Answer::No, Answer::Cancel});
  s.platform.fileNames.push_back(QString::fromStdString(
      s.folder / ("pack" + std::to_string(s.Uniform(0, 3)) + ".83p")));
  std::function<int(QDialog&)> before = s.platform.onDialog;
  s.platform.onDialog = AnswerDialogs;
  action();
  s.platform.onDialog = std::move(before);
  s.platform.fileNames.clear();
  const std::string& path = s.Pack().m_szFilePath;
  if (!path.empty() &&
      std::find(s.files.begin(), s.files.end(), path) == s.files.end()) {
    s.files.push_back(path);
  }
}

const bool kAdded =
    AddSessionAction({"open a file from outside", 3,
                      [](Session& s) {
                        std::string path = s.damaged;
                        if (!s.files.empty() && s.Chance(70)) {
                          path = s.Pick(s.files);
                        }
                        WithFileDialogs(s, [&] {
                          s.Frame().OpenFile(QString::fromStdString(path));
                        });
                      }}) &&
    AddSessionAction(
        {"open recent", 2,
         [](Session& s) {
           const QStringList& recent = s.Frame().Session().Recent().Files();
           if (recent.isEmpty()) return;
           const int index = s.Uniform(0, static_cast<int>(recent.size()) - 1);
           WithFileDialogs(s, [&] {
             s.Frame().Session().RecentMenu()->actions()[index]->trigger();
           });
         }}) &&
    AddSessionAction(
        {"send to calculator", 2, [](Session& s) {
           // The link program is never started for real.
           s.Frame().Session().CalculatorLink().m_launch =
               [](const QString&, const QStringList&) { return true; };
           WithFileDialogs(
               s, [&] { s.Frame().OnCommand(IDM_FILE_SEND_TO_CALCULATOR); });
         }});

}  // namespace
