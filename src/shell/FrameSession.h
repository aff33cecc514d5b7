#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "shell/RecentFiles.h"

class CCalculatorLink;
class CEditorFrame;
class CEditorSettings;
class CRecoveryKeeper;
class CRecoveryStore;
class QMenu;
class QMimeData;
struct RecoveryRecord;

// What the main window does as a desktop program beyond editing one pack:
// File > Open Recent, packs dropped onto the window, File > Send to
// Calculator..., the settings kept between runs and the crash-recovery copy.
// A frame without settings or a recovery store (as in most tests) keeps
// the recent files for its own run only and writes nothing.
class CFrameSession : public QObject {
  Q_OBJECT

 public:
  static const QString kRecoverCaption;  // "Recover Unsaved Changes"

  explicit CFrameSession(CEditorFrame& frame);
  ~CFrameSession() override;

  // Adds the Open Recent submenu to the File menu.
  void AddRecentMenu(QMenu* file);
  QMenu* RecentMenu() const { return m_pRecentMenu; }
  CRecentFiles& Recent() { return m_recent; }

  // Takes the settings: the window and its bars are laid out as stored, and
  // the recent files and the folder used last are read. From then on the
  // layout and the view are written soon after they change (the window
  // moved or resized, a bar or dock moved, shown or hidden, the zoom, the
  // grid, the colours, the screen frame), so a crash keeps them.
  void UseSettings(std::unique_ptr<CEditorSettings> settings);
  // The layout or the view changed: they are written once the changes
  // pause (half a second), if they differ from what was written last.
  void LayoutChanged();
  bool LayoutWritePending() const { return m_layoutTimer.isActive(); }
  CEditorSettings* Settings() const { return m_pSettings.get(); }
  // Takes the recovery store (opened): from now on a modified pack has its
  // copy there.
  void UseRecovery(std::unique_ptr<CRecoveryStore> store);
  CRecoveryKeeper* Recovery() const { return m_pKeeper.get(); }
  // Asks about each copy left over by an editor that no longer runs, newest
  // first, until one is recovered; a copy that cannot be read is set aside
  // with a message. True when a pack was recovered.
  bool OfferRecovery();
  // Puts a recovered pack in place of the current one, modified, with its
  // old file path. False when it could not be made.
  bool AdoptRecovered(const RecoveryRecord& record);

  // File > Send to Calculator...
  bool SendToCalculator();
  CCalculatorLink& CalculatorLink() { return *m_pLink; }

  // One local ".83p" or ".8xp" file can be dropped onto the window.
  static bool IsPackFileName(const QString& path);
  bool CanDrop(const QMimeData& data) const;
  // Opens a dropped pack once the drop has ended (as Load opens it), or
  // refuses what is not one pack file with a message.
  void Drop(const QMimeData& data);

  // The pack or its flag may have changed.
  void PackInfoChanged();
  // The window closes: the layout and the lists are written, and the copy
  // goes (the pack was saved, or the user chose not to save it).
  void WindowClosed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The window's layout and the view as the settings keep them.
  struct Layout {
    QByteArray geometry;
    QByteArray state;
    int zoom = 0;
    bool grid = false;
    bool classicColours = false;
    bool calculatorScreen = false;
    bool operator==(const Layout&) const = default;
  };
  Layout CurrentLayout() const;
  void WriteLayout();
  void WatchLayout();
  void FileUsed(const QString& path);
  void OpenRecent(const QString& path);
  void RebuildRecentMenu();
  void StoreLists();
  bool RecoverySnapshot(RecoveryRecord& record) const;

  CEditorFrame& m_frame;
  CRecentFiles m_recent;
  QMenu* m_pRecentMenu = nullptr;
  std::unique_ptr<CEditorSettings> m_pSettings;
  std::unique_ptr<CRecoveryStore> m_pStore;
  std::unique_ptr<CRecoveryKeeper> m_pKeeper;
  std::unique_ptr<CCalculatorLink> m_pLink;
  QTimer m_layoutTimer;
  Layout m_writtenLayout;
  bool m_bWatchingLayout = false;
};
