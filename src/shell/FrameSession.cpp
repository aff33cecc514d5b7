#include "shell/FrameSession.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QDockWidget>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "canvas/CanvasWidget.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "shell/FileCommands.h"
#include "shell/FrameHistory.h"
#include "shell/Recovery.h"
#include "shell/SendToCalculator.h"
#include "shell/Settings.h"
#include "uikit/Platform.h"

const QString CFrameSession::kRecoverCaption =
    QStringLiteral("Recover Unsaved Changes");

namespace {

// How long the layout must rest before it is written: a window dragged or
// resized gives many events, and one write follows the last.
constexpr int kLayoutPauseMs = 500;

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

CFrameSession::CFrameSession(CEditorFrame& frame)
    : QObject(&frame),
      m_frame(frame),
      m_pLink(std::make_unique<CCalculatorLink>(
          frame.Pack(), frame.FileCommands(), frame.Platform(), &frame)) {
  frame.FileCommands().m_onFileUsed = [this](const QString& path) {
    FileUsed(path);
  };
  m_layoutTimer.setSingleShot(true);
  m_layoutTimer.setInterval(kLayoutPauseMs);
  connect(&m_layoutTimer, &QTimer::timeout, this, &CFrameSession::WriteLayout);
}

CFrameSession::~CFrameSession() {
  m_frame.FileCommands().m_onFileUsed = nullptr;
}

// ---- Open Recent ----

void CFrameSession::AddRecentMenu(QMenu* file) {
  m_pRecentMenu = file->addMenu(QStringLiteral("Open Re&cent"));
  RebuildRecentMenu();
}

void CFrameSession::RebuildRecentMenu() {
  if (m_pRecentMenu == nullptr) return;
  m_pRecentMenu->clear();
  int number = 1;
  for (const QString& path : m_recent.Files()) {
    // "&1 pack.83p", with the whole path as the item's tip.
    QAction* item =
        m_pRecentMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(
            QFileInfo(path).fileName().replace(QLatin1Char('&'),
                                               QStringLiteral("&&"))));
    item->setToolTip(Native(path));
    item->setStatusTip(Native(path));
    connect(item, &QAction::triggered, this,
            [this, path] { OpenRecent(path); });
  }
  if (!m_recent.Files().isEmpty()) m_pRecentMenu->addSeparator();
  QAction* clear = m_pRecentMenu->addAction(QStringLiteral("&Clear Menu"));
  clear->setEnabled(!m_recent.Files().isEmpty());
  connect(clear, &QAction::triggered, this, [this] {
    m_recent.Clear();
    StoreLists();
    RebuildRecentMenu();
  });
  m_pRecentMenu->setToolTipsVisible(true);
}

void CFrameSession::OpenRecent(const QString& path) {
  // Something else standing at the path (a folder, a pipe) is not "gone":
  // the load refuses it with the reason.
  if (!QFileInfo::exists(path)) {
    m_frame.Platform().MessageBox(
        &m_frame,
        QStringLiteral("%1 is no longer there: it has been moved, renamed or "
                       "deleted.\nIt is taken off the list of recent files.")
            .arg(Native(path)),
        CFileCommands::kOpenTitle, IPlatform::Buttons::Ok,
        IPlatform::Icon::Exclamation);
    m_recent.Remove(path);
    StoreLists();
    RebuildRecentMenu();
    return;
  }
  m_frame.OpenFile(path);
}

void CFrameSession::FileUsed(const QString& path) {
  m_recent.Add(path);
  StoreLists();
  RebuildRecentMenu();
}

void CFrameSession::StoreLists() {
  if (!m_pSettings) return;
  m_pSettings->SetRecentFiles(m_recent.Files());
  m_pSettings->SetLastFolder(m_frame.FileCommands().m_lastFolder);
  m_pSettings->Sync();
}

// ---- Settings ----

void CFrameSession::UseSettings(std::unique_ptr<CEditorSettings> settings) {
  m_pSettings = std::move(settings);
  if (!m_pSettings) return;
  m_recent.SetFiles(m_pSettings->RecentFiles());
  const QString folder = m_pSettings->LastFolder();
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
    m_frame.FileCommands().m_lastFolder = folder;
  }
  m_pSettings->RestoreLayout(m_frame);
  m_frame.Canvas().SetZoom(m_pSettings->Zoom(), m_pSettings->ShowGrid());
  m_frame.UpdateZoomDisplay();
  m_frame.SetClassicColours(m_pSettings->ClassicColours());
  m_frame.SetCalculatorScreen(m_pSettings->CalculatorScreen());
  RebuildRecentMenu();
  WatchLayout();
}

void CFrameSession::WatchLayout() {
  if (m_bWatchingLayout) return;
  m_bWatchingLayout = true;
  // The window's moves, resizes and state; each bar's and dock's moves and
  // showing or hiding (a drag, the bars' context menu, the View menu).
  m_frame.installEventFilter(this);
  for (QToolBar* bar : m_frame.findChildren<QToolBar*>()) {
    bar->installEventFilter(this);
  }
  for (QDockWidget* dock : m_frame.findChildren<QDockWidget*>()) {
    dock->installEventFilter(this);
  }
  connect(&m_frame.Canvas(), &CCanvasWidget::ZoomChanged, this,
          &CFrameSession::LayoutChanged);
  for (int id : {IDM_VIEW_CLASSIC_COLOURS, IDM_VIEW_CALCULATOR_SCREEN}) {
    if (QAction* action = m_frame.Action(id)) {
      connect(action, &QAction::toggled, this, &CFrameSession::LayoutChanged);
    }
  }
}

bool CFrameSession::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
      LayoutChanged();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void CFrameSession::LayoutChanged() {
  // A window being closed has its layout written by WindowClosed.
  if (m_pSettings && m_bWatchingLayout) m_layoutTimer.start();
}

CFrameSession::Layout CFrameSession::CurrentLayout() const {
  Layout layout;
  layout.geometry = m_frame.saveGeometry();
  layout.state = CEditorSettings::LayoutState(m_frame);
  layout.zoom = m_frame.Canvas().UserZoom();
  layout.grid = m_frame.Canvas().GridOn();
  layout.classicColours = m_frame.ClassicColours();
  layout.calculatorScreen = m_frame.CalculatorScreen();
  return layout;
}

void CFrameSession::WriteLayout() {
  m_layoutTimer.stop();
  if (!m_pSettings) return;
  const Layout layout = CurrentLayout();
  if (layout == m_writtenLayout) return;
  m_pSettings->SaveLayout(m_frame);
  m_pSettings->SetView(layout.zoom, layout.grid);
  m_pSettings->SetClassicColours(layout.classicColours);
  m_pSettings->SetCalculatorScreen(layout.calculatorScreen);
  m_pSettings->Sync();
  m_writtenLayout = layout;
}

void CFrameSession::WindowClosed() {
  if (m_pKeeper) m_pKeeper->Discard();
  if (!m_pSettings) return;
  // Everything once more, written or not: the file may have been changed by
  // another editor meanwhile.
  m_writtenLayout = {};
  WriteLayout();
  m_bWatchingLayout = false;
  StoreLists();
}

// ---- Crash recovery ----

void CFrameSession::UseRecovery(std::unique_ptr<CRecoveryStore> store) {
  m_pStore = std::move(store);
  m_pKeeper.reset();
  if (!m_pStore || !m_pStore->IsOpen()) return;
  m_pKeeper = std::make_unique<CRecoveryKeeper>(
      *m_pStore,
      [this](RecoveryRecord& record) { return RecoverySnapshot(record); },
      [this](const QString& error) {
        m_frame.ShowStatus(
            QStringLiteral("The recovery copy could not be written: %1")
                .arg(error));
      });
  PackInfoChanged();
}

bool CFrameSession::RecoverySnapshot(RecoveryRecord& record) const {
  // The pack as the author made it: Contents() leaves out a placement
  // preview standing in the terrain.
  const CLevelPack& pack = m_frame.Pack();
  record.pack = pack.Contents();
  record.currentLevel = pack.m_nCurLevel;
  record.filePath = pack.m_szFilePath;
  return true;
}

void CFrameSession::PackInfoChanged() {
  if (m_pKeeper) m_pKeeper->PackChanged(m_frame.Pack().m_bModified);
}

bool CFrameSession::AdoptRecovered(const RecoveryRecord& record) {
  CLevelPack& pack = m_frame.Pack();
  m_frame.Logic().RemovePreview();
  if (!pack.ReplaceWithLoaded(record.pack)) {
    m_frame.Platform().MessageBox(
        &m_frame, QStringLiteral("Not enough memory!"),
        QStringLiteral("Level Addition Error"), IPlatform::Buttons::Ok,
        IPlatform::Icon::Exclamation);
    if (pack.Count() == 0 && !pack.NewPack()) std::exit(0);
    m_frame.RefreshView();
    return false;
  }
  // A pack file stores no passcode for the first level; the copy does.
  std::memcpy(pack.Level(0).m_szPasscode,
              record.pack.levels.front().m_szPasscode,
              sizeof pack.Level(0).m_szPasscode);
  pack.m_nCurLevel = std::clamp(record.currentLevel, 0, pack.Count() - 1);
  pack.m_szFilePath = record.filePath;
  // Not what the file holds: the next Save writes it to the original file.
  pack.m_bModified = true;
  m_frame.History().OnPackReplaced(false);
  m_frame.RefreshView();
  m_frame.UpdatePackInfo();
  return true;
}

bool CFrameSession::OfferRecovery() {
  if (!m_pStore || !m_pStore->IsOpen()) return false;
  IPlatform& platform = m_frame.Platform();
  for (CRecoveryStore::Orphan& orphan : m_pStore->TakeOrphans()) {
    RecoveryRecord record;
    std::string error;
    if (!orphan.Read(record, error)) {
      const QString kept = orphan.SetAside();
      const QString where =
          kept.isEmpty()
              ? QStringLiteral("It is left as it was: %1")
                    .arg(Native(orphan.CopyPath()))
              : QStringLiteral("It has been set aside as %1").arg(Native(kept));
      // A newer editor's copy is sound: it waits, never deleted, for that
      // editor to open it.
      const QString text =
          orphan.IsNewer() ? QStringLiteral(
                                 "A recovery copy of unsaved changes was made "
                                 "by a newer version of the editor, which this "
                                 "one cannot read.\n%1; open it with the newer "
                                 "version to recover the changes.")
                                 .arg(where)
                           : QStringLiteral(
                                 "A recovery copy of unsaved changes could not "
                                 "be read (%1).\n%2")
                                 .arg(QString::fromStdString(error), where);
      platform.MessageBox(&m_frame, text, kRecoverCaption,
                          IPlatform::Buttons::Ok, IPlatform::Icon::Exclamation);
      continue;
    }
    const QString name = record.filePath.empty()
                             ? QStringLiteral("a pack that was never saved")
                             : Native(QString::fromStdString(record.filePath));
    const QString when =
        QLocale().toString(QDateTime::fromSecsSinceEpoch(record.savedAtSeconds),
                           QLocale::LongFormat);
    const IPlatform::Answer answer = platform.MessageBox(
        &m_frame,
        QStringLiteral("The editor ended without saving the changes to "
                       "%1.\nThey were last kept on %2.\n\nDo you want to "
                       "recover them?\n\nYes opens them as unsaved changes; "
                       "No discards them; Cancel asks again next time.")
            .arg(name, when),
        kRecoverCaption, IPlatform::Buttons::YesNoCancel,
        IPlatform::Icon::Question);
    if (answer == IPlatform::Answer::No) {
      orphan.Remove();
      continue;
    }
    if (answer != IPlatform::Answer::Yes) continue;
    if (!AdoptRecovered(record)) continue;
    // The changes are safe in this editor's own copy before the old one
    // goes.
    if (m_pKeeper && m_pKeeper->WriteNow(true)) orphan.Remove();
    return true;
  }
  return false;
}

// ---- Send to Calculator ----

bool CFrameSession::SendToCalculator() { return m_pLink->Send(); }

// ---- Drop ----

bool CFrameSession::IsPackFileName(const QString& path) {
  const QString suffix = QFileInfo(path).suffix();
  return suffix.compare(QStringLiteral("83p"), Qt::CaseInsensitive) == 0 ||
         suffix.compare(QStringLiteral("8xp"), Qt::CaseInsensitive) == 0;
}

bool CFrameSession::CanDrop(const QMimeData& data) const {
  // Anything with files may come in: what is not one pack file is refused
  // with a message rather than silently.
  return data.hasUrls();
}

void CFrameSession::Drop(const QMimeData& data) {
  QStringList files;
  for (const QUrl& url : data.urls()) {
    files << (url.isLocalFile() ? url.toLocalFile() : url.toString());
  }
  const bool onePack = files.size() == 1 && data.urls().front().isLocalFile() &&
                       IsPackFileName(files.front());
  // The drop ends first: the questions a load may ask are modal.
  QTimer::singleShot(0, this, [this, files, onePack] {
    if (onePack) {
      m_frame.OpenFile(files.front());
      return;
    }
    m_frame.Platform().MessageBox(
        &m_frame,
        files.size() == 1
            ? QStringLiteral("%1 is not a Plodpak file: only .83p and .8xp "
                             "files can be opened.")
                  .arg(Native(files.front()))
            : QStringLiteral("Drop one .83p or .8xp file at a time."),
        CFileCommands::kOpenTitle, IPlatform::Buttons::Ok,
        IPlatform::Icon::Exclamation);
  });
}
