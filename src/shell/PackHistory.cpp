#include "shell/PackHistory.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>

namespace {

// A record has no padding and no pointers, so two records hold the same
// level exactly when their bytes are equal. Stale bytes behind the bitmap and
// in unused object slots are compared too: a restore gives back every byte.
static_assert(std::is_trivially_copyable_v<LevelRecord>);
static_assert(std::has_unique_object_representations_v<LevelRecord>);

bool SameBytes(const LevelRecord& a, const LevelRecord& b) {
  return &a == &b || std::memcmp(&a, &b, sizeof(LevelRecord)) == 0;
}

// True when the live pack holds exactly what the snapshot holds (the current
// index aside).
bool PackMatches(const CLevelPack& pack, const PackSnapshot& snapshot) {
  const CLevelPack::PreviewFree clean = pack.WithoutPreviews();
  if (pack.Count() != static_cast<int>(snapshot.levels.size()) ||
      pack.m_szAuthorName != snapshot.author ||
      pack.m_szPassword != snapshot.password) {
    return false;
  }
  for (int i = 0; i < pack.Count(); ++i) {
    const PackSnapshot::Entry& entry = snapshot.levels[i];
    const CLevel& level = pack.Level(i);
    if (level.m_nSerial != entry.serial || !SameBytes(level, *entry.record)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool PackSnapshot::SameTableAs(const PackSnapshot& other) const {
  if (levels.size() != other.levels.size()) return false;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (levels[i].serial != other.levels[i].serial) return false;
  }
  return true;
}

bool PackSnapshot::SameContentAs(const PackSnapshot& other) const {
  if (!SameTableAs(other) || author != other.author ||
      password != other.password) {
    return false;
  }
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (!SameBytes(*levels[i].record, *other.levels[i].record)) return false;
  }
  return true;
}

// One step on the stack. The stack only keeps the steps in order and tracks
// the index, the clean state, the limit and merging; PackHistory itself puts
// the pack into a step's before or after state, so undo() and redo() have
// nothing left to do.
class PackHistory::StepCommand final : public QUndoCommand {
 public:
  StepCommand(PackSnapshot before, PackSnapshot after, const QString& label,
              MergeKind merge, int epoch)
      : QUndoCommand(label),
        m_before(std::move(before)),
        m_after(std::move(after)),
        m_merge(merge),
        m_epoch(epoch) {}

  const PackSnapshot& Before() const { return m_before; }
  const PackSnapshot& After() const { return m_after; }

  int id() const override { return m_merge; }

  // Typing merges while it stays in the same field of the same level and
  // follows straight on from this step.
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const StepCommand*>(other);
    if (next->m_merge != m_merge || next->m_epoch != m_epoch ||
        next->m_before.current != m_before.current ||
        !next->m_before.SameContentAs(m_after)) {
      return false;
    }
    m_after = next->m_after;
    // Typed and deleted again: the step changes nothing and goes away.
    if (m_after.SameContentAs(m_before)) setObsolete(true);
    return true;
  }

  void undo() override {}
  void redo() override {}

 private:
  PackSnapshot m_before;
  PackSnapshot m_after;
  MergeKind m_merge;
  int m_epoch;
};

PackHistory::PackHistory(CLevelPack& pack, QObject* parent)
    : QObject(parent), m_pack(pack) {
  m_stack.setUndoLimit(kStepLimit);
  const auto forward = [this] { emit changed(); };
  connect(&m_stack, &QUndoStack::indexChanged, this, forward);
  connect(&m_stack, &QUndoStack::cleanChanged, this, forward);
  connect(&m_stack, &QUndoStack::canUndoChanged, this, forward);
  connect(&m_stack, &QUndoStack::canRedoChanged, this, forward);
  connect(&m_stack, &QUndoStack::undoTextChanged, this, forward);
  connect(&m_stack, &QUndoStack::redoTextChanged, this, forward);
  if (m_pack.Count() > 0) m_known = Capture(m_pack);
}

PackHistory::~PackHistory() {
  // The stack empties itself when it goes and reports that; whoever listens
  // to this history may be half gone by then.
  m_stack.blockSignals(true);
}

PackSnapshot PackHistory::Capture(const CLevelPack& pack,
                                  const PackSnapshot* reuse) {
  // A preview drawn into the terrain is never part of a step.
  const CLevelPack::PreviewFree clean = pack.WithoutPreviews();
  PackSnapshot snapshot;
  snapshot.author = pack.m_szAuthorName;
  snapshot.password = pack.m_szPassword;
  snapshot.current = pack.m_nCurLevel;
  snapshot.levels.reserve(static_cast<std::size_t>(pack.Count()));
  for (int i = 0; i < pack.Count(); ++i) {
    const CLevel& level = pack.Level(i);
    std::shared_ptr<const LevelRecord> record;
    if (reuse != nullptr) {
      // Most levels sit where they sat; look there first, then anywhere
      // (a level that moved).
      const std::size_t at = static_cast<std::size_t>(i);
      if (at < reuse->levels.size() &&
          SameBytes(*reuse->levels[at].record, level)) {
        record = reuse->levels[at].record;
      } else {
        for (const PackSnapshot::Entry& entry : reuse->levels) {
          if (SameBytes(*entry.record, level)) {
            record = entry.record;
            break;
          }
        }
      }
    }
    if (!record) {
      record = std::make_shared<const LevelRecord>(
          static_cast<const LevelRecord&>(level));
    }
    snapshot.levels.push_back({level.m_nSerial, std::move(record)});
  }
  return snapshot;
}

void PackHistory::Begin(const QString& label, MergeKind merge) {
  if (m_nDepth++ > 0) return;
  m_bDropOpen = m_bRestoring;
  if (m_bDropOpen) return;
  m_bFlagAtBegin = m_pack.m_bModified;
  m_bOpenPushed = false;
  RecordUnrecordedChanges();
  m_openLabel = label;
  m_openMerge = merge;
  m_openBefore = Capture(m_pack, m_known ? &*m_known : nullptr);
}

void PackHistory::Commit() {
  if (m_nDepth == 0) return;  // no step is open
  if (--m_nDepth > 0) return;
  if (m_bDropOpen) {
    m_bDropOpen = false;
    return;
  }
  // What changed is measured over the whole step: checkpoints (the level
  // order dialog) may have kept all of it already, and a save inside the
  // step may have marked it as the file's state.
  const bool pushed = PushOpenStep();
  m_openBefore = {};
  if (pushed || m_bOpenPushed) {
    SyncModified();
  } else if (!m_bFlagAtBegin) {
    // Nothing changed, so the pack still equals its file, whatever the
    // handler did with the flag (the level order dialog always sets it).
    m_pack.m_bModified = false;
  }
  m_bOpenPushed = false;
}

void PackHistory::Checkpoint(const QString& label) {
  if (m_nDepth == 0 || m_bDropOpen) return;
  m_openLabel = label;
  if (PushOpenStep()) SyncModified();
}

bool PackHistory::PushOpenStep() {
  PackSnapshot after = Capture(m_pack, &m_openBefore);
  const bool changed = !after.SameContentAs(m_openBefore);
  if (changed) {
    // Pushing calls redo(), which does nothing: the pack is already there.
    m_stack.push(new StepCommand(std::move(m_openBefore), after, m_openLabel,
                                 m_openMerge, m_nMergeEpoch));
  }
  m_known = after;
  if (changed && m_nDepth > 0) m_bOpenPushed = true;
  // Whatever happens next in the open step is measured from here.
  m_openBefore = std::move(after);
  return changed;
}

void PackHistory::RecordUnrecordedChanges() {
  if (!m_known || PackMatches(m_pack, *m_known)) return;
  PackSnapshot before = *m_known;
  before.current = m_pack.m_nCurLevel;
  PackSnapshot after = Capture(m_pack, &before);
  m_stack.push(
      new StepCommand(std::move(before), after, tr("Edit"), NoMerge, -1));
  m_known = std::move(after);
}

bool PackHistory::Undo() { return Step(true); }

bool PackHistory::Redo() { return Step(false); }

bool PackHistory::Step(bool undo) {
  if (m_nDepth > 0 || m_bRestoring) return false;
  RecordUnrecordedChanges();
  if (undo ? !m_stack.canUndo() : !m_stack.canRedo()) return false;
  const int index = undo ? m_stack.index() - 1 : m_stack.index();
  const auto* command = static_cast<const StepCommand*>(m_stack.command(index));
  // Copy: the stack may drop the command once it has moved.
  const PackSnapshot target = undo ? command->Before() : command->After();

  m_bRestoring = true;
  const bool done = Restore(target);
  if (done) {
    if (undo) {
      m_stack.undo();
    } else {
      m_stack.redo();
    }
    m_known = target;
    emit restored();
    // What the refresh wrote back (the bars hand their texts back as if
    // typed) belongs to showing the level, not to a step.
    m_known = Capture(m_pack, &target);
    BreakMerge();
    SyncModified();
  }
  m_bRestoring = false;
  return done;
}

bool PackHistory::Restore(const PackSnapshot& target) {
  const int count = static_cast<int>(target.levels.size());
  if (count < 1 || count > MAX_LEVELS) return false;

  // The level to show: the one the step changed. When levels were added,
  // deleted or moved, the current index the snapshot recorded.
  int show = target.current;
  m_bRestoredLevels = true;
  if (m_pack.Count() == count) {
    bool sameTable = true;
    std::vector<int> changed;
    for (int i = 0; i < count; ++i) {
      const PackSnapshot::Entry& entry = target.levels[i];
      if (m_pack.Level(i).m_nSerial != entry.serial) sameTable = false;
      if (!SameBytes(m_pack.Level(i), *entry.record)) changed.push_back(i);
    }
    if (sameTable) {
      if (changed.empty()) {
        show = m_pack.m_nCurLevel;  // only author or password changed
        m_bRestoredLevels = false;
      } else if (std::find(changed.begin(), changed.end(), target.current) ==
                 changed.end()) {
        show = changed.front();
      }
    }
  }

  // Make the live count the target's count. Levels are added before any is
  // touched, so a failed allocation can be rolled back completely.
  int added = 0;
  while (m_pack.Count() < count) {
    if (!m_pack.AddLevel()) {
      for (; added > 0; --added) m_pack.DeleteLevel(m_pack.Count() - 1);
      return false;
    }
    ++added;
  }
  while (m_pack.Count() > count) m_pack.DeleteLevel(m_pack.Count() - 1);

  for (int i = 0; i < count; ++i) {
    const PackSnapshot::Entry& entry = target.levels[i];
    CLevel& level = m_pack.Level(i);
    if (!SameBytes(level, *entry.record)) {
      static_cast<LevelRecord&>(level) = *entry.record;
    }
    level.m_nSerial = entry.serial;
  }
  m_pack.m_szAuthorName = target.author;
  m_pack.m_szPassword = target.password;
  m_pack.m_nCurLevel = show < 0 ? 0 : (show >= count ? count - 1 : show);
  return true;
}

void PackHistory::SetClean() {
  // A save inside an open step (Save As asking for the security info first)
  // keeps what the step changed so far as a step of its own, before the
  // saved state.
  if (m_nDepth > 0 && !m_bDropOpen) PushOpenStep();
  RecordUnrecordedChanges();
  m_stack.setClean();
  if (!m_known) m_known = Capture(m_pack);
  SyncModified();
}

void PackHistory::Clear() {
  if (m_nDepth > 0) m_bDropOpen = true;
  m_openBefore = {};
  const bool modified = m_pack.m_bModified;
  m_stack.clear();
  if (modified) m_stack.resetClean();
  m_known.reset();
  if (m_pack.Count() > 0) m_known = Capture(m_pack);
  BreakMerge();
  SyncModified();
}

void PackHistory::SyncModified() {
  bool modified = !m_stack.isClean();
  if (!modified && m_known && !PackMatches(m_pack, *m_known)) modified = true;
  m_pack.m_bModified = modified;
}
