#pragma once

#include <QDockWidget>
#include <QString>
#include <vector>

#include "check/PackCheck.h"

class CEditorFrame;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The Problems panel: a dock that lists the pack check's errors, warnings
// and (last, in a quieter colour) notes, kept up to date as the pack
// changes, and the count of them in the status bar. A double-click on a problem
// makes its level current and scrolls the canvas to its place. It starts
// hidden.
class CProblemsPanel : public QDockWidget {
  Q_OBJECT

 public:
  // Adds itself to the frame's bottom dock area (hidden) and its count to
  // the frame's status bar.
  explicit CProblemsPanel(CEditorFrame& frame);

  // Checks the pack as it stands and shows the result.
  void Refresh();
  // The problems shown, in the check's order.
  const std::vector<PackProblem>& Problems() const { return m_problems; }
  // Makes the problem's level current and brings its place into view.
  void GoTo(const PackProblem& problem);

  QTreeWidget* List() const { return m_pList; }
  QLabel* CountLabel() const { return m_pCount; }

  // "No problems", "1 error", "2 errors, 3 warnings", "3 errors, 1 note".
  static QString CountText(const std::vector<PackProblem>& problems);
  // What the status bar shows, where it has little room: a cross and the
  // number of errors, else a warning sign and the number of warnings, else
  // a check mark (notes do not count); CountText is its tooltip.
  static QString ShortCountText(const std::vector<PackProblem>& problems);
  // The status after a save: "Saved <path>", or, when the pack written has
  // an error, "Saved, but not ready for the calculator: <first error>".
  static QString SavedText(const std::vector<PackProblem>& problems,
                           const QString& path);

 private:
  void OnActivated(QTreeWidgetItem* item);

  CEditorFrame& m_frame;
  QTreeWidget* m_pList = nullptr;
  QLabel* m_pCount = nullptr;
  std::vector<PackProblem> m_problems;
  bool m_bShown = false;  // the list has been filled once
};
