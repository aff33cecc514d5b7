#include "shell/FrameHistory.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "canvas/CanvasWidget.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "uikit/Platform.h"

CFrameHistory::CFrameHistory(CEditorFrame& frame, CLevelPack& pack)
    : QObject(&frame), m_frame(frame), m_pack(pack), m_history(pack) {}

void CFrameHistory::Attach() {
  m_pCanvas = &m_frame.Canvas();
  m_pCanvas->installEventFilter(this);
  // The canvas has handled a release (a shape is written then): the mouse's
  // step ends once the drag or click is over.
  connect(&m_frame.Canvas(), &CCanvasWidget::ButtonReleased, this, [this] {
    if (m_bMouseStep && !m_frame.Logic().IsDrawing()) {
      m_bMouseStep = false;
      m_history.Commit();
      emit stateChanged();
    }
  });
  m_frame.LevelNameEdit()->installEventFilter(this);
  m_frame.PasscodeEdit()->installEventFilter(this);
  // Undo and redo show the level they changed, with its bars.
  connect(&m_history, &PackHistory::restored, this,
          [this] { m_frame.RefreshView(); });
  connect(&m_history, &PackHistory::changed, this,
          &CFrameHistory::UpdateEditActions);
  m_history.Clear();
  m_history.SetClean();
  UpdateEditActions();
}

QString CFrameHistory::CommandStepLabel(int id) {
  switch (id) {
    case IDT_POPULATION:
      return QStringLiteral("Population Settings");
    case IDT_REMOVE_BLOCK:
      return QStringLiteral("Remove Block");
    case IDT_RESET_LEVEL:
      return QStringLiteral("Reset Level");
    case IDM_FILE_SECURITY:
    // A save (also the one New and Load offer first) may ask for the
    // security info; that is all these commands change in the pack.
    case IDM_FILE_SAVE:
    case IDM_FILE_SAVE_AS:
    case IDM_FILE_NEW:
    case IDM_FILE_LOAD:
    case IDM_FILE_SEND_TO_CALCULATOR:
      return QStringLiteral("Security Info");
    case IDM_FILE_REORDER:
      return QStringLiteral("Move Level");
    case IDM_LEVEL_ADD:
      return QStringLiteral("Add Level");
    case IDM_LEVEL_DELETE:
      return QStringLiteral("Delete Level");
    case IDM_LEVEL_DUPLICATE:
      return QStringLiteral("Duplicate Level");
    case IDM_LEVEL_PASTE:
      return QStringLiteral("Paste Level");
    case IDM_LEVEL_SIZE:
      return QStringLiteral("Level Size");
    case IDM_FILE_IMPORT_IMAGE:
      return QStringLiteral("Import Terrain Image");
    case IDM_EDIT_CUT:
      return QStringLiteral("Cut");
    case IDM_EDIT_DELETE:
      return QStringLiteral("Delete");
    case IDM_EDIT_FLIP_HORIZONTAL:
      return QStringLiteral("Flip Horizontal");
    case IDM_EDIT_FLIP_VERTICAL:
      return QStringLiteral("Flip Vertical");
    case IDC_LEVEL_NAME:
      return QStringLiteral("Rename Level");
    case IDC_PASSCODE:
      return QStringLiteral("Change Passcode");
    case IDM_FILE_EXIT:  // the window may be gone when the command returns
    case IDM_EDIT_UNDO:
    case IDM_EDIT_REDO:
      return {};
    default:
      return QStringLiteral("Edit");
  }
}

PackHistory::MergeKind CFrameHistory::CommandMerge(int id) {
  switch (id) {
    case IDC_LEVEL_NAME:
      return PackHistory::LevelNameTyping;
    case IDC_PASSCODE:
      return PackHistory::PasscodeTyping;
    default:
      return PackHistory::NoMerge;
  }
}

QString CFrameHistory::NotifyStepLabel(int controlId) {
  switch (controlId) {
    case IDC_LEVEL_NUMBER_SPIN:
      return QStringLiteral("Add Level");  // stepping alone changes nothing
    case IDC_RESIZE_WIDTH:
      return QStringLiteral("Change Width");
    case IDC_RESIZE_HEIGHT:
      return QStringLiteral("Change Height");
    default:
      return {};
  }
}

void CFrameHistory::OnEditUndo() { UndoOrRedo(true); }

void CFrameHistory::OnEditRedo() { UndoOrRedo(false); }

void CFrameHistory::UndoOrRedo(bool undo) {
  // A stroke still held (the shortcut pressed mid-stroke) ends here, and
  // its step is the first to be undone.
  EndMouseStep(true);
  PreviewRemoved();
  if (undo ? !m_history.CanUndo() : !m_history.CanRedo()) return;
  const QString step = undo ? m_history.UndoText() : m_history.RedoText();
  if (undo ? m_history.Undo() : m_history.Redo()) {
    // The status bar names the step and the level it changed, which is now
    // on the canvas, also when the change itself cannot be seen there.
    QString note =
        (undo ? QStringLiteral("Undid %1") : QStringLiteral("Redid %1"))
            .arg(step);
    if (m_history.LastRestoreChangedLevels()) {
      note += QStringLiteral(" on level %1").arg(m_pack.m_nCurLevel + 1);
    }
    m_frame.ShowStatus(note);
  } else {
    // Taking back a deletion needs a new level; the pack is left as it was.
    m_frame.Platform().MessageBox(
        &m_frame, QStringLiteral("Not enough memory!"),
        QStringLiteral("Level Addition Error"), IPlatform::Buttons::Ok,
        IPlatform::Icon::Exclamation);
  }
  emit stateChanged();
}

namespace {

// Enables an Edit menu item while it has a step to take, and names the step
// after the verb ("&Undo Pen Stroke"); the bare verb otherwise.
void ShowStep(QAction* action, const QString& verb, bool available,
              const QString& step) {
  if (action == nullptr) return;
  action->setEnabled(available);
  action->setText(available ? verb + QLatin1Char(' ') + step : verb);
}

}  // namespace

void CFrameHistory::UpdateEditActions() {
  ShowStep(m_frame.Action(IDM_EDIT_UNDO), QStringLiteral("&Undo"),
           m_history.CanUndo(), m_history.UndoText());
  ShowStep(m_frame.Action(IDM_EDIT_REDO), QStringLiteral("&Redo"),
           m_history.CanRedo(), m_history.RedoText());
  emit stateChanged();
}

void CFrameHistory::OnPackReplaced(bool loaded) {
  EndMouseStep(true);
  m_history.Clear();
  if (loaded) m_history.SetClean();
  emit stateChanged();
}

void CFrameHistory::OnPackSaved() {
  m_history.SetClean();
  emit stateChanged();
}

void CFrameHistory::BeginMouseStep() {
  EndMouseStep();
  // The press takes the preview out itself, but only after the step has
  // taken its "before": take it out first, so the preview is in neither.
  m_frame.Logic().RemovePreview();
  m_frame.Canvas().FlushUpdates();
  PreviewRemoved();
  // The tool names its step: "Pen Stroke", "Place Exit", "Line", ...
  const std::string_view label = m_frame.Logic().StepLabel();
  m_history.Begin(
      QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
  m_bMouseStep = true;
}

void CFrameHistory::EndMouseStep(bool endStroke) {
  if (!m_bMouseStep) return;
  CCanvasLogic& logic = m_frame.Logic();
  if (logic.IsDrawing()) {
    if (!endStroke) return;
    CCanvasWidget& canvas = m_frame.Canvas();
    canvas.Apply(logic.CancelStroke());
    if (QWidget::mouseGrabber() == &canvas) canvas.releaseMouse();
  }
  m_bMouseStep = false;
  m_history.Commit();
  emit stateChanged();
}

void CFrameHistory::PreviewRemoved() {
  if (!m_bPreviewOverClean || m_frame.Logic().PreviewShown()) return;
  m_bPreviewOverClean = false;
  m_history.SyncModified();
  emit stateChanged();
}

bool CFrameHistory::IsUndoRedoKey(const QKeyEvent& key) const {
  const QKeySequence pressed(key.keyCombination());
  for (int id : {IDM_EDIT_UNDO, IDM_EDIT_REDO}) {
    if (const QAction* action = m_frame.Action(id)) {
      for (const QKeySequence& shortcut : action->shortcuts()) {
        if (shortcut == pressed) return true;
      }
    }
  }
  return false;
}

bool CFrameHistory::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pCanvas) {
    const auto drawingButton = [event] {
      const Qt::MouseButton b =
          static_cast<const QMouseEvent*>(event)->button();
      return b == Qt::LeftButton || b == Qt::RightButton;
    };
    switch (event->type()) {
      case QEvent::MouseButtonPress:
        // A second button during a drag belongs to the drag's step.
        if (drawingButton() && !m_frame.Logic().IsDrawing()) BeginMouseStep();
        break;
      case QEvent::MouseMove:
        // The move may draw a preview, whose plots mark the pack.
        if (!m_bMouseStep && !m_pack.m_bModified &&
            m_frame.Logic().PlacementInForce()) {
          m_bPreviewOverClean = true;
        }
        break;
      default:
        break;
    }
  } else if (event->type() == QEvent::ShortcutOverride) {
    // The bars' edits would take Ctrl+Z for their own undo of the text; the
    // pack's history covers typing too, so the Edit menu gets the keys.
    if (IsUndoRedoKey(*static_cast<const QKeyEvent*>(event))) {
      event->ignore();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

CHistoryStep::CHistoryStep(CFrameHistory& history, const QString& label,
                           PackHistory::MergeKind merge)
    : m_history(history),
      m_bOpen(!label.isEmpty()),
      m_nLevel(history.Pack().m_nCurLevel) {
  // A stroke the window system ended belongs to the step before this one.
  m_history.EndMouseStep();
  m_history.PreviewRemoved();
  if (m_bOpen) m_history.History().Begin(label, merge);
}

CHistoryStep::~CHistoryStep() {
  if (m_bOpen) m_history.History().Commit();
  // Typing on another level is another step, even after coming back.
  if (m_history.Pack().m_nCurLevel != m_nLevel)
    m_history.History().BreakMerge();
  emit m_history.stateChanged();
}
