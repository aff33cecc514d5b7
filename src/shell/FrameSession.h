#pragma once

#include <QObject>
#include <QString>
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
  // the recent files and the folder used last are read.
  void UseSettings(std::unique_ptr<CEditorSettings> settings);
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

 private:
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
};
