#pragma once

#include <QDockWidget>
#include <QString>
#include <vector>

#include "check/PackCheck.h"

class CEditorFrame;
class CProblemMark;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The Problems panel: a dock that lists the pack check's errors, warnings
// and (last, in a quieter colour) notes, kept up to date as the pack
// changes, and the count of them in the status bar. A double-click on a
// problem makes its level current, scrolls the canvas to its place and
// marks the pixels or objects concerned until the next edit. After a save
// of a pack that is not ready, a notice stands at the top of the panel and
// in the status bar until the pack is ready or saved again. It starts
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
  // Makes the problem's level current, brings its place into view and
  // marks what it concerns there until the next edit.
  void GoTo(const PackProblem& problem);
  // The pack was just written to its file: a pack that is not ready raises
  // the not-ready notice, a ready one takes it down.
  void PackWritten();
  // The notice stands: the file was saved not ready, and the pack still is.
  bool NotReadyStanding() const { return m_bSavedNotReady; }

  QTreeWidget* List() const { return m_pList; }
  QLabel* CountLabel() const { return m_pCount; }
  CProblemMark& Mark() const { return *m_pMark; }
  // The not-ready notice: at the top of the panel, and its field in the
  // status bar ("Not ready", the reason as tooltip).
  QLabel* NoticeLabel() const { return m_pNotice; }
  QLabel* NotReadyLabel() const { return m_pNotReady; }

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
  void ShowNotice(const std::vector<PackProblem>& problems);

  CEditorFrame& m_frame;
  QTreeWidget* m_pList = nullptr;
  QLabel* m_pCount = nullptr;
  QLabel* m_pNotice = nullptr;
  QLabel* m_pNotReady = nullptr;
  CProblemMark* m_pMark = nullptr;
  unsigned m_nMarkEdits = 0;      // the edit count when the mark was set
  bool m_bSavedNotReady = false;  // see NotReadyStanding()
  std::string m_savedPath;        // the file that was saved not ready
  std::vector<PackProblem> m_problems;
  bool m_bShown = false;  // the list has been filled once
};
