// The session's actions for whole levels: Duplicate, Copy and Paste Level,
// Level Size and a visit to a problem of the Problems panel. None of them
// draws terrain, so the session's check of the rows below its drawing area
// still finds every preview that stayed behind.

#include <QLineEdit>
#include <QPushButton>

#include "SessionActions.h"
#include "dialogs/LevelSizeDlg.h"
#include "shell/CommandIds.h"
#include "shell/ProblemsPanel.h"

namespace {

const bool kLevelCopies = AddSessionAction(
    {"duplicate, copy or paste a level", 3, [](Session& s) {
       s.Frame().OnCommand(s.Pick(std::vector<int>{
           IDM_LEVEL_DUPLICATE, IDM_LEVEL_COPY, IDM_LEVEL_PASTE}));
     }});

const bool kLevelSize = AddSessionAction(
    {"level size", 2, [](Session& s) {
       const int width = 8 * s.Uniform(11, 37);  // across both width limits
       const int height = s.Uniform(60, 196);
       s.drive->WithDialogs(IDM_LEVEL_SIZE, [&](QDialog& dialog) {
         auto* size = qobject_cast<CLevelSizeDlg*>(&dialog);
         if (size == nullptr) return int{QDialog::Rejected};
         size->WidthEdit()->setText(QString::number(width));
         size->HeightEdit()->setText(QString::number(height));
         return size->OkButton()->isEnabled() ? int{QDialog::Accepted}
                                              : int{QDialog::Rejected};
       });
     }});

const bool kVisitProblem =
    AddSessionAction({"go to a problem", 1, [](Session& s) {
                        CProblemsPanel& panel = s.Frame().Problems();
                        const std::vector<PackProblem> problems =
                            panel.Problems();
                        if (!problems.empty()) panel.GoTo(s.Pick(problems));
                      }});

}  // namespace
