#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/LevelPack.h"

// The state of the pack as the undo history keeps it: every level's record
// and serial, in pack order, plus author, password and the current index.
// Records are immutable and shared: a snapshot taken right after another
// reuses the records of every level that did not change, so a step costs one
// record per level it touched, not a copy of the whole pack.
struct PackSnapshot {
  struct Entry {
    std::uint32_t serial = 0;
    std::shared_ptr<const LevelRecord> record;
  };
  std::vector<Entry> levels;
  std::string author;
  std::string password;
  int current = 0;

  // Same levels (count, order, serials, every byte of every record), author
  // and password. The current index is not compared: looking at another
  // level is not a change.
  bool SameContentAs(const PackSnapshot& other) const;
  // Same count and serial order: only records, author or password differ.
  bool SameTableAs(const PackSnapshot& other) const;
};

// Multi-level undo and redo for the editor's pack. The frame brackets every
// user action with Begin() and Commit(); the history compares the pack
// before and after and keeps one step when anything changed. Undo() and
// Redo() put the pack back into the state before or after a step, make the
// level it changed current and emit restored() so the frame can refresh.
//
// The pack's modified flag follows the history: after a step, an undo or a
// redo it is clear exactly when the history stands at the state last marked
// with SetClean() (a save or load) and the pack holds nothing the history
// has not recorded.
class PackHistory : public QObject {
  Q_OBJECT

 public:
  // What a step of typing edits; consecutive steps of the same kind on the
  // same level merge into one.
  enum MergeKind : int {
    NoMerge = -1,
    LevelNameTyping = 1,
    PasscodeTyping = 2,
  };

  static constexpr int kStepLimit = 500;

  explicit PackHistory(CLevelPack& pack, QObject* parent = nullptr);
  ~PackHistory() override;

  // Opens a step named `label` ("Pen Stroke"). Steps nest: only the
  // outermost Begin/Commit pair makes a step, and it keeps the outer label.
  void Begin(const QString& label, MergeKind merge = NoMerge);
  // Closes the step opened by the matching Begin(). Keeps it when the pack
  // changed (not counting the current index) and sets the modified flag
  // from the history. When nothing changed since Begin() (no checkpoint
  // and no save inside the step kept anything either) the flag goes back
  // to clear if it was clear at Begin(); a flag already set stays set.
  void Commit();
  // Keeps what the open step changed so far as a step named `label` and
  // goes on with a fresh open step: for a dialog whose every action is a
  // step of its own (the level order dialog).
  void Checkpoint(const QString& label);

  // Undo or redo one step. Refused (false) while a step is open, when there
  // is nothing to undo or redo, or when a level could not be allocated (the
  // pack is then left exactly as it was).
  bool Undo();
  bool Redo();
  bool CanUndo() const { return m_stack.canUndo(); }
  bool CanRedo() const { return m_stack.canRedo(); }
  QString UndoText() const { return m_stack.undoText(); }
  QString RedoText() const { return m_stack.redoText(); }
  int StepCount() const { return m_stack.count(); }
  // After an Undo() or Redo(): false when the step changed only the author
  // or password, which belong to no level.
  bool LastRestoreChangedLevels() const { return m_bRestoredLevels; }

  // The pack now equals its file (saved or loaded). Inside an open step,
  // what the step changed so far becomes a step before the saved state.
  void SetClean();
  // Forgets every step (New, Load). A step that is open is dropped. The
  // modified flag keeps its value: a fresh pack made over unsaved changes
  // still counts as modified until it is saved.
  void Clear();
  // Ends merging: the next typing step starts a step of its own.
  void BreakMerge() { ++m_nMergeEpoch; }

  // Sets the pack's modified flag from the history: modified unless the
  // history stands at the clean state and the pack holds no change the
  // history has not recorded. Called after the history's operations; the
  // frame calls it where a handler set the flag without changing the pack
  // (a placement preview drawn and taken away again).
  void SyncModified();

  // True while a step is being undone or redone (and while restored() is
  // emitted): edits reported then are echoes of the restore, not user
  // actions, and Begin/Commit ignore them.
  bool Restoring() const { return m_bRestoring; }

  // The snapshot of the pack as it is now, reusing the records of `reuse`
  // wherever a level is byte for byte the same.
  static PackSnapshot Capture(const CLevelPack& pack,
                              const PackSnapshot* reuse = nullptr);

 signals:
  // Undo or redo changed the pack: refresh the view and the bars.
  void restored();
  // Anything the Edit menu shows may have changed (undo/redo possible, their
  // texts, the clean state).
  void changed();

 private:
  class StepCommand;

  // Writes `target` into the live pack. Levels are added or deleted at the
  // end so the live count is the target's count, then records, serials,
  // author, password and the current index are set. False, with the pack
  // unchanged, when a level could not be allocated.
  bool Restore(const PackSnapshot& target);
  // Pushes what the open step changed since it opened (or since the last
  // checkpoint) and measures the rest of it from now on.
  // True when it changed anything.
  bool PushOpenStep();
  // Records changes made outside any step as a step of their own, so undo
  // never mixes them into the step it takes back.
  void RecordUnrecordedChanges();
  bool Step(bool undo);

  CLevelPack& m_pack;
  QUndoStack m_stack;
  // The pack as the history last knew it; empty after Clear().
  std::optional<PackSnapshot> m_known;
  // The open step.
  int m_nDepth = 0;
  bool m_bDropOpen = false;
  bool m_bFlagAtBegin = false;  // the modified flag when the step opened
  // The open step already kept steps of its own (checkpoints, a save).
  bool m_bOpenPushed = false;
  QString m_openLabel;
  MergeKind m_openMerge = NoMerge;
  PackSnapshot m_openBefore;
  int m_nMergeEpoch = 0;
  bool m_bRestoring = false;
  bool m_bRestoredLevels = true;  // see LastRestoreChangedLevels()
  // Set while the stack calls a command's undo()/redo() on behalf of Undo(),
  // Redo() or a push: the pack is already in place then.
  bool m_bSkipApply = false;
};
