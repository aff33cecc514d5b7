#include "shell/ProblemsPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "canvas/CanvasWidget.h"
#include "model/PackReading.h"
#include "shell/EditWatch.h"
#include "shell/EditorFrame.h"
#include "shell/FileCommands.h"
#include "shell/ProblemMark.h"
#include "shell/StatusFields.h"

namespace {

enum Column { KindColumn, LevelColumn, TextColumn };

bool SameProblems(const std::vector<PackProblem>& a,
                  const std::vector<PackProblem>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].text != b[i].text || a[i].at != b[i].at) return false;
  }
  return true;
}

}  // namespace

CProblemsPanel::CProblemsPanel(CEditorFrame& frame)
    : QDockWidget(QStringLiteral("Problems"), &frame), m_frame(frame) {
  setObjectName(QStringLiteral("problems"));
  m_pList = new QTreeWidget(this);
  m_pList->setColumnCount(3);
  m_pList->setHeaderLabels({QStringLiteral("Kind"), QStringLiteral("Level"),
                            QStringLiteral("Problem")});
  m_pList->setRootIsDecorated(false);
  m_pList->setUniformRowHeights(true);
  m_pList->header()->setStretchLastSection(true);
  // The not-ready notice stands above the list while it holds.
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  m_pNotice = new QLabel(body);
  m_pNotice->setObjectName(QStringLiteral("notReadyNotice"));
  m_pNotice->setWordWrap(true);
  m_pNotice->setStyleSheet(QStringLiteral(
      "QLabel { background: #fbe3e1; color: #7a1010; padding: 4px; }"));
  m_pNotice->hide();
  layout->addWidget(m_pNotice);
  layout->addWidget(m_pList);
  setWidget(body);
  m_pMark = new CProblemMark(frame.Pack(), frame.Canvas());
  connect(m_pList, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { OnActivated(item); });
  frame.addDockWidget(Qt::BottomDockWidgetArea, this);
  hide();

  // In a narrow window the count gives way to a long note while it
  // stands; the panel still lists everything.
  m_pCount = new QLabel(frame.statusBar());
  frame.StatusFields().Add(m_pCount, statusrank::kProblemCount);
  // Empty, and so not shown, while no notice stands.
  m_pNotReady = new QLabel(frame.statusBar());
  m_pNotReady->setObjectName(QStringLiteral("notReadyField"));
  frame.StatusFields().Add(m_pNotReady, statusrank::kNotReady);
}

QString CProblemsPanel::CountText(const std::vector<PackProblem>& problems) {
  const struct {
    ProblemSeverity severity;
    const char* one;
    const char* many;
  } kinds[] = {
      {ProblemSeverity::Error, "1 error", "%1 errors"},
      {ProblemSeverity::Warning, "1 warning", "%1 warnings"},
      {ProblemSeverity::Note, "1 note", "%1 notes"},
  };
  QStringList parts;
  for (const auto& kind : kinds) {
    const int count = CountOf(problems, kind.severity);
    if (count == 1) parts << QString::fromLatin1(kind.one);
    if (count > 1) parts << QString::fromLatin1(kind.many).arg(count);
  }
  if (parts.isEmpty()) return QStringLiteral("No problems");
  return parts.join(QStringLiteral(", "));
}

QString CProblemsPanel::ShortCountText(
    const std::vector<PackProblem>& problems) {
  // Notes are advice, not problems: they leave the check mark standing.
  const int errors = CountErrors(problems);
  const int warnings = CountOf(problems, ProblemSeverity::Warning);
  if (errors > 0) return QStringLiteral("\u2716 %1").arg(errors);
  if (warnings > 0) return QStringLiteral("\u26A0 %1").arg(warnings);
  return QStringLiteral("\u2714");
}

QString CProblemsPanel::SavedText(const std::vector<PackProblem>& problems,
                                  const QString& path) {
  for (const PackProblem& problem : problems) {
    if (problem.IsError()) {
      return QStringLiteral("Saved, but not ready for the calculator: ") +
             QString::fromStdString(problem.text);
    }
  }
  return QStringLiteral("Saved %1").arg(path);
}

void CProblemsPanel::Refresh() {
  const CLevelPack& pack = m_frame.Pack();
  // A mark shows the place until the next edit.
  if (m_pMark->Marking() && m_frame.Edits().Edits() != m_nMarkEdits) {
    m_pMark->Clear();
  }
  std::vector<PackProblem> problems = CheckPack(
      PackForReading(pack), CFileCommands::FlavourFor(pack.m_szFilePath));
  // The bar has little room: the count of the worse kind, all in the tip.
  m_pCount->setText(ShortCountText(problems));
  m_pCount->setToolTip(CountText(problems));
  m_pCount->setAccessibleName(CountText(problems));
  ShowNotice(problems);
  if (m_bShown && SameProblems(problems, m_problems)) return;
  m_problems = std::move(problems);
  m_bShown = true;
  m_pList->clear();
  QList<QTreeWidgetItem*> items;
  const QBrush noteBrush =
      m_pList->palette().brush(QPalette::Disabled, QPalette::Text);
  for (const PackProblem& problem : m_problems) {
    auto* item = new QTreeWidgetItem;
    item->setText(KindColumn, problem.IsError()  ? QStringLiteral("Error")
                              : problem.IsNote() ? QStringLiteral("Note")
                                                 : QStringLiteral("Warning"));
    if (problem.IsNote()) {
      // Notes come last and read quieter than the problems above them.
      for (int column : {KindColumn, LevelColumn, TextColumn}) {
        item->setForeground(column, noteBrush);
      }
    }
    item->setText(LevelColumn, problem.level < 0
                                   ? QStringLiteral("Pack")
                                   : QString::number(problem.level + 1));
    item->setText(TextColumn, QString::fromStdString(problem.text));
    items << item;
  }
  m_pList->addTopLevelItems(items);
  m_pList->resizeColumnToContents(KindColumn);
  m_pList->resizeColumnToContents(LevelColumn);
}

void CProblemsPanel::OnActivated(QTreeWidgetItem* item) {
  const int row = m_pList->indexOfTopLevelItem(item);
  if (row < 0 || row >= static_cast<int>(m_problems.size())) return;
  GoTo(m_problems[static_cast<std::size_t>(row)]);
}

void CProblemsPanel::PackWritten() {
  const CLevelPack& pack = m_frame.Pack();
  m_savedPath = pack.m_szFilePath;
  m_bSavedNotReady =
      CountErrors(CheckPack(PackForReading(pack),
                            CFileCommands::FlavourFor(pack.m_szFilePath))) > 0;
  Refresh();
}

void CProblemsPanel::ShowNotice(const std::vector<PackProblem>& problems) {
  // It stands until the pack is ready, or until another save (of this
  // file or another, or a fresh pack without a file) says anew.
  if (m_bSavedNotReady && (CountErrors(problems) == 0 ||
                           m_frame.Pack().m_szFilePath != m_savedPath)) {
    m_bSavedNotReady = false;
  }
  const QString text =
      m_bSavedNotReady ? SavedText(problems, QString()) : QString();
  if (m_pNotice->text() == text) return;
  m_pNotice->setText(text);
  m_pNotice->setVisible(!text.isEmpty());
  m_pNotReady->setText(m_bSavedNotReady ? QStringLiteral("Not ready")
                                        : QString());
  m_pNotReady->setToolTip(text);
  m_frame.StatusFields().Update();
}

void CProblemsPanel::GoTo(const PackProblem& problem) {
  CLevelPack& pack = m_frame.Pack();
  if (problem.level < 0 || problem.level >= pack.Count()) return;
  m_frame.Logic().RemovePreview();
  // The mark goes at the first edit after this: count the ones before.
  m_nMarkEdits = m_frame.Edits().Edits();
  pack.m_nCurLevel = problem.level;
  if (problem.at.x >= 0) {
    // The place goes to the middle of the canvas, as far as the view allows
    // (the refresh clamps it).
    m_frame.Logic().View().CentreOn(problem.at, pack.Current());
  }
  m_frame.RefreshView();
  m_pMark->Mark(problem.level, problem.marks);
  m_frame.UpdatePackInfo();
}
