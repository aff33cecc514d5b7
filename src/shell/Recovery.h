#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "packfile/RecoveryFile.h"

// The crash-recovery copies of every editor of this user, in one folder
// readable by the user alone: "<id>.plodrec" is a copy, "<id>.lock" the lock
// its editor holds while it runs (an flock, which the system lets go when
// the process dies, however it dies). An editor owns one id; a copy whose
// lock nobody holds is left over from an editor that ended without
// removing it.
class CRecoveryStore {
 public:
  // A copy left over by an editor that no longer runs. While it is held,
  // its lock is ours, so no other editor offers the same copy.
  class Orphan {
   public:
    Orphan(QString copyPath, QString lockPath, int lockFd);
    ~Orphan();
    Orphan(Orphan&& other) noexcept;
    Orphan& operator=(Orphan&&) = delete;
    Orphan(const Orphan&) = delete;
    Orphan& operator=(const Orphan&) = delete;

    const QString& CopyPath() const { return m_copyPath; }
    // Reads the copy; false with a reason when it is damaged, or when it
    // was made by a newer version of the editor (IsNewer() then tells).
    bool Read(RecoveryRecord& record, std::string& error);
    bool IsNewer() const { return m_bNewer; }
    // Deletes the copy and its lock.
    void Remove();
    // Renames a copy that cannot be read to "<id>.damaged", or a copy of a
    // newer editor to "<id>.newer" (or "-N" after either), beside it and
    // returns the new path; empty when the rename failed. No editor looks
    // at or deletes a copy set aside.
    QString SetAside();

   private:
    QString m_copyPath;
    QString m_lockPath;
    int m_nLockFd = -1;
    bool m_bNewer = false;
  };

  // The folder of the copies: "recovery" in the user's data folder for the
  // editor.
  static QString DefaultFolder();

  explicit CRecoveryStore(QString folder);
  ~CRecoveryStore();  // lets go of the lock and removes its file
  CRecoveryStore(const CRecoveryStore&) = delete;
  CRecoveryStore& operator=(const CRecoveryStore&) = delete;

  // Makes the folder (mode 0700) and takes this editor's lock. False, with
  // a reason, when either fails: the editor then runs without copies.
  bool Open(QString& error);
  bool IsOpen() const { return m_nLockFd >= 0; }
  const QString& Folder() const { return m_folder; }
  // This editor's copy (it may not exist).
  QString CopyPath() const;

  // Writes this editor's copy atomically (a temporary file renamed over the
  // old copy), mode 0600, and returns when it is on the disk.
  bool Write(const RecoveryRecord& record, std::string& error);
  // The same, on a thread of the store's own: the window's thread does not
  // wait for the disk. Writes are made in order, and one still waiting is
  // replaced by a newer one. `onFailure` is told, on that thread, why a
  // write failed.
  void WriteInBackground(std::vector<std::uint8_t> bytes);
  void SetFailureHandler(std::function<void(const std::string&)> onFailure);
  // Waits until every write asked for is done.
  void Flush();
  bool Idle();
  // Removes this editor's copy, if there is one; a write waiting in the
  // background is dropped, one under way is waited for.
  void Discard();

  // The copies of editors that no longer run, newest first. Stale locks
  // without a copy are removed on the way.
  std::vector<Orphan> TakeOrphans() const;

 private:
  bool WriteBytes(const std::vector<std::uint8_t>& bytes, std::string& error);
  void WriterLoop();

  QString m_folder;
  QString m_id;
  int m_nLockFd = -1;

  // The background writer: one waiting write at most.
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::condition_variable m_done;
  std::optional<std::vector<std::uint8_t>> m_pending;
  bool m_bWriting = false;
  bool m_bStop = false;
  std::function<void(const std::string&)> m_onFailure;
  std::thread m_writer;
};

// Keeps this editor's copy in step with the pack: a few seconds after a
// change of a modified pack the copy is written (while the changes go on,
// at most that often); an unmodified pack has no copy.
class CRecoveryKeeper : public QObject {
  Q_OBJECT

 public:
  // Fills the record from the pack as the author made it; false when that
  // cannot be had right now (the write is tried again a little later).
  using Snapshot = std::function<bool(RecoveryRecord&)>;
  // Told when a write fails, with the reason (once until a write succeeds).
  using Failure = std::function<void(const QString&)>;

  static constexpr int kDelayMs = 2000;

  CRecoveryKeeper(CRecoveryStore& store, Snapshot snapshot, Failure failure,
                  QObject* parent = nullptr);
  ~CRecoveryKeeper() override;

  // The pack may have changed: a modified pack gets its copy soon, an
  // unmodified one loses it now.
  void PackChanged(bool modified);
  // Makes the copy now (when the pack is modified): the pack is read at
  // once, the file is written in the background, or before this returns
  // when `wait` is set. False when no copy was made or, waiting, it failed.
  bool WriteNow(bool wait = false);
  // No copy any more, and none until the next change.
  void Discard();
  bool WritePending() const { return m_timer.isActive(); }
  CRecoveryStore& Store() { return m_store; }

 private:
  CRecoveryStore& m_store;
  Snapshot m_snapshot;
  Failure m_failure;
  QTimer m_timer;
  bool m_bModified = false;
  bool m_bCopyMade = false;  // a copy was written or asked for since Discard
  bool m_bFailureShown = false;
};
