#pragma once

#include <QObject>
#include <QString>

#include "shell/PackHistory.h"

class CEditorFrame;
class QKeyEvent;

// The undo history of the main window. The frame brackets every command and
// bar notification with a CHistoryStep; this object brackets the mouse's
// edits of the canvas (a pen stroke from press to release, a placement
// click), runs Edit > Undo and Redo, keeps the Edit menu's two items up to
// date and refreshes the window after a step was undone or redone.
class CFrameHistory : public QObject {
  Q_OBJECT

 public:
  CFrameHistory(CEditorFrame& frame, CLevelPack& pack);

  // Starts watching the canvas and the bars' edits and starts the history
  // with the pack as it stands, unmodified. Called once the window is built.
  void Attach();

  PackHistory& History() { return m_history; }
  CLevelPack& Pack() { return m_pack; }

  // The name of the step a command makes ("Reset Level"), and whether its
  // steps merge (typing). Commands that never change the pack get a name
  // too: whatever they change after all is kept as a step.
  static QString CommandStepLabel(int id);
  static PackHistory::MergeKind CommandMerge(int id);
  // The step of an up-down notification of the level bars.
  static QString NotifyStepLabel(int controlId);

  // Edit > Undo and Edit > Redo; reached through OnCommand, so a placement
  // preview is already gone.
  void OnEditUndo();
  void OnEditRedo();
  // The Edit menu shows "Undo <step>" / "Redo <step>", each enabled only
  // when there is such a step.
  void UpdateEditActions();

  // New made a fresh pack or Load replaced it: the steps of the old pack
  // are gone. After a load the pack equals its file.
  void OnPackReplaced(bool loaded);
  // The pack was written to its file.
  void OnPackSaved();

  // Closes a mouse step whose stroke has ended (the button was released, or
  // the window system took the mouse away). A stroke still drawing is ended
  // first when `endStroke` is set.
  void EndMouseStep(bool endStroke = false);
  // Called once a placement preview has been taken out of the terrain: the
  // preview's plots marked the pack modified, but if it was unmodified
  // before the preview, it still is.
  void PreviewRemoved();

 signals:
  // The modified flag or what the Edit menu shows may have changed.
  void stateChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UndoOrRedo(bool undo);
  void BeginMouseStep();
  bool IsUndoRedoKey(const QKeyEvent& key) const;

  CEditorFrame& m_frame;
  CLevelPack& m_pack;
  PackHistory m_history;
  QObject* m_pCanvas = nullptr;  // the canvas watched for the mouse
  bool m_bMouseStep = false;
  // A preview was drawn while the pack was unmodified.
  bool m_bPreviewOverClean = false;
};

// One user action of the frame, from construction to destruction: a step of
// the history when the pack changed. A placement preview still standing
// is taken out by the caller first. An empty label opens no step.
class CHistoryStep {
 public:
  CHistoryStep(CFrameHistory& history, const QString& label,
               PackHistory::MergeKind merge = PackHistory::NoMerge);
  ~CHistoryStep();
  CHistoryStep(const CHistoryStep&) = delete;
  CHistoryStep& operator=(const CHistoryStep&) = delete;

 private:
  CFrameHistory& m_history;
  bool m_bOpen;
  int m_nLevel;
};
