#include "shell/Recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

#include "packfile/RegularFile.h"
#include "packfile/SafeWrite.h"

namespace {

const QString kCopySuffix = QStringLiteral(".plodrec");
const QString kLockSuffix = QStringLiteral(".lock");

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// Opens (making it, mode 0600) and locks a lock file without waiting; -1
// when it cannot be opened or another process holds it.
int TryLock(const QString& path) {
  const int fd =
      ::open(Native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

QString WithoutSuffix(const QString& path, const QString& suffix) {
  return path.left(path.size() - suffix.size());
}

}  // namespace

// ---- CRecoveryStore::Orphan ----

CRecoveryStore::Orphan::Orphan(QString copyPath, QString lockPath, int lockFd)
    : m_copyPath(std::move(copyPath)),
      m_lockPath(std::move(lockPath)),
      m_nLockFd(lockFd) {}

CRecoveryStore::Orphan::Orphan(Orphan&& other) noexcept
    : m_copyPath(std::move(other.m_copyPath)),
      m_lockPath(std::move(other.m_lockPath)),
      m_nLockFd(std::exchange(other.m_nLockFd, -1)) {}

CRecoveryStore::Orphan::~Orphan() {
  if (m_nLockFd >= 0) ::close(m_nLockFd);
}

bool CRecoveryStore::Orphan::Read(RecoveryRecord& record, std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(Native(m_copyPath).toStdString(), RECOVERY_FILE_MAX_BYTES,
                     bytes, error)) {
    return false;
  }
  m_bNewer = IsNewerRecoveryFile(bytes);
  return DecodeRecoveryFile(bytes, record, error);
}

void CRecoveryStore::Orphan::Remove() {
  QFile::remove(m_copyPath);
  // The lock file goes while it is still ours.
  QFile::remove(m_lockPath);
}

QString CRecoveryStore::Orphan::SetAside() {
  const QString base = WithoutSuffix(m_copyPath, kCopySuffix);
  const QString kind =
      m_bNewer ? QStringLiteral(".newer") : QStringLiteral(".damaged");
  QString target = base + kind;
  for (int n = 2; QFileInfo::exists(target) && n < 1000; ++n) {
    target = base + kind + QStringLiteral("-%1").arg(n);
  }
  if (::rename(Native(m_copyPath).constData(), Native(target).constData()) !=
      0) {
    return QString();
  }
  QFile::remove(m_lockPath);
  m_copyPath = target;
  return target;
}

// ---- CRecoveryStore ----

QString CRecoveryStore::DefaultFolder() {
  return QStandardPaths::writableLocation(
             QStandardPaths::AppLocalDataLocation) +
         QStringLiteral("/recovery");
}

CRecoveryStore::CRecoveryStore(QString folder) : m_folder(std::move(folder)) {}

CRecoveryStore::~CRecoveryStore() {
  // A write under way or waiting is finished: it is the latest work.
  {
    const std::lock_guard lock(m_mutex);
    m_bStop = true;
    m_onFailure = nullptr;
  }
  m_wake.notify_all();
  if (m_writer.joinable()) m_writer.join();
  if (m_nLockFd < 0) return;
  // A copy still here is work not yet saved: it stays for the next start,
  // and the lock file goes so that it is found as left over.
  QFile::remove(m_folder + QLatin1Char('/') + m_id + kLockSuffix);
  ::close(m_nLockFd);
}

bool CRecoveryStore::Open(QString& error) {
  if (!QDir().mkpath(m_folder)) {
    error = QStringLiteral("cannot make the folder %1").arg(m_folder);
    return false;
  }
  // Copies hold whole packs with their passwords: the user's eyes only.
  ::chmod(Native(m_folder).constData(), 0700);
  // The id is unique among the editors running now and those before.
  for (int attempt = 0; attempt < 100 && m_nLockFd < 0; ++attempt) {
    m_id = QStringLiteral("%1-%2-%3")
               .arg(QCoreApplication::applicationPid())
               .arg(QDateTime::currentMSecsSinceEpoch())
               .arg(attempt);
    const QString lock = m_folder + QLatin1Char('/') + m_id + kLockSuffix;
    if (QFileInfo::exists(lock) || QFileInfo::exists(CopyPath())) continue;
    m_nLockFd = TryLock(lock);
  }
  if (m_nLockFd < 0) {
    error = QStringLiteral("cannot lock a file in %1").arg(m_folder);
    return false;
  }
  return true;
}

QString CRecoveryStore::CopyPath() const {
  return m_folder + QLatin1Char('/') + m_id + kCopySuffix;
}

bool CRecoveryStore::WriteBytes(const std::vector<std::uint8_t>& bytes,
                                std::string& error) {
  if (!IsOpen()) {
    error = "no recovery folder";
    return false;
  }
  const std::string path = Native(CopyPath()).toStdString();
  if (!WriteFileAtomically(path, bytes, error)) return false;
  // A first copy is made with the usual mode; the folder (0700) already
  // keeps others out, and the copy itself is the user's alone from here
  // on (later writes keep the mode of the copy they replace).
  ::chmod(path.c_str(), 0600);
  return true;
}

bool CRecoveryStore::Write(const RecoveryRecord& record, std::string& error) {
  Flush();
  const std::lock_guard lock(m_mutex);
  return WriteBytes(EncodeRecoveryFile(record), error);
}

void CRecoveryStore::WriteInBackground(std::vector<std::uint8_t> bytes) {
  {
    const std::lock_guard lock(m_mutex);
    m_pending = std::move(bytes);
    if (!m_writer.joinable()) m_writer = std::thread([this] { WriterLoop(); });
  }
  m_wake.notify_one();
}

void CRecoveryStore::SetFailureHandler(
    std::function<void(const std::string&)> onFailure) {
  const std::lock_guard lock(m_mutex);
  m_onFailure = std::move(onFailure);
}

void CRecoveryStore::WriterLoop() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_bStop || m_pending.has_value(); });
    if (!m_pending) break;  // stopped with nothing left to write
    std::vector<std::uint8_t> bytes = std::move(*m_pending);
    m_pending.reset();
    m_bWriting = true;
    lock.unlock();
    std::string error;
    const bool written = WriteBytes(bytes, error);
    lock.lock();
    m_bWriting = false;
    if (!written && m_onFailure) m_onFailure(error);
    m_done.notify_all();
  }
}

void CRecoveryStore::Flush() {
  std::unique_lock lock(m_mutex);
  m_done.wait(lock, [this] { return !m_pending && !m_bWriting; });
}

bool CRecoveryStore::Idle() {
  const std::lock_guard lock(m_mutex);
  return !m_pending && !m_bWriting;
}

void CRecoveryStore::Discard() {
  std::unique_lock lock(m_mutex);
  m_pending.reset();
  m_done.wait(lock, [this] { return !m_bWriting; });
  if (IsOpen()) QFile::remove(CopyPath());
}

std::vector<CRecoveryStore::Orphan> CRecoveryStore::TakeOrphans() const {
  const QDir folder(m_folder);
  const QString own = m_id;
  std::vector<Orphan> orphans;
  // Newest first.
  const QFileInfoList copies = folder.entryInfoList(
      {QStringLiteral("*") + kCopySuffix}, QDir::Files, QDir::Time);
  for (const QFileInfo& copy : copies) {
    const QString id = WithoutSuffix(copy.fileName(), kCopySuffix);
    if (id == own) continue;
    // No editor writes anything but regular files here: something else
    // under a copy's name is not a copy, and is left alone unread.
    if (!NotRegularFileReason(Native(copy.filePath()).toStdString()).empty()) {
      continue;
    }
    const QString lock = folder.filePath(id + kLockSuffix);
    const int fd = TryLock(lock);
    if (fd < 0) continue;  // its editor still runs
    orphans.emplace_back(copy.filePath(), lock, fd);
  }
  // Locks of editors that ended, or were killed, with nothing unsaved.
  for (const QFileInfo& lock :
       folder.entryInfoList({QStringLiteral("*") + kLockSuffix}, QDir::Files)) {
    const QString id = WithoutSuffix(lock.fileName(), kLockSuffix);
    if (id == own || folder.exists(id + kCopySuffix)) continue;
    const int fd = TryLock(lock.filePath());
    if (fd < 0) continue;
    QFile::remove(lock.filePath());
    ::close(fd);
  }
  return orphans;
}

// ---- CRecoveryKeeper ----

CRecoveryKeeper::CRecoveryKeeper(CRecoveryStore& store, Snapshot snapshot,
                                 Failure failure, QObject* parent)
    : QObject(parent),
      m_store(store),
      m_snapshot(std::move(snapshot)),
      m_failure(std::move(failure)) {
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, [this] { WriteNow(); });
  // Told on the writer's thread; shown on the window's.
  m_store.SetFailureHandler([this](const std::string& error) {
    QMetaObject::invokeMethod(
        this,
        [this, reason = QString::fromStdString(error)] {
          if (!m_bFailureShown && m_failure) m_failure(reason);
          m_bFailureShown = true;
        },
        Qt::QueuedConnection);
  });
}

CRecoveryKeeper::~CRecoveryKeeper() { m_store.SetFailureHandler(nullptr); }

void CRecoveryKeeper::PackChanged(bool modified) {
  m_bModified = modified;
  if (!modified) {
    Discard();
    return;
  }
  // The first change after a write starts the clock; later ones do not
  // push it back, so a long run of changes is still copied every few
  // seconds.
  if (!m_timer.isActive()) m_timer.start(kDelayMs);
}

bool CRecoveryKeeper::WriteNow(bool wait) {
  m_timer.stop();
  if (!m_bModified) return false;
  RecoveryRecord record;
  if (!m_snapshot(record)) {
    m_timer.start(kDelayMs / 4);
    return false;
  }
  record.savedAtSeconds = QDateTime::currentSecsSinceEpoch();
  m_bCopyMade = true;
  if (!wait) {
    // Reading the pack and encoding it take well under a millisecond; the
    // disk's flush is left to the store's thread.
    m_store.WriteInBackground(EncodeRecoveryFile(record));
    return true;
  }
  std::string error;
  if (!m_store.Write(record, error)) {
    if (!m_bFailureShown && m_failure) {
      m_failure(QString::fromStdString(error));
    }
    m_bFailureShown = true;
    return false;
  }
  m_bFailureShown = false;
  return true;
}

void CRecoveryKeeper::Discard() {
  m_timer.stop();
  m_bModified = false;
  // Called after every command of an unmodified pack: the folder is
  // touched only when a copy was made since the last removal.
  if (!m_bCopyMade) return;
  m_store.Discard();
  m_bCopyMade = false;
}
