#pragma once

#include <QString>
#include <functional>
#include <string>

#include "packfile/VariableFile.h"

class CLevelPack;
class IFrameEffects;
class IPlatform;
class QWidget;

// The File menu's New, Save, Save As and Load, and the question asked before
// the window closes. They decide when the pack is written or read and what
// becomes of unsaved changes; the pack's modified flag and remembered path
// are theirs to keep.
class CFileCommands {
 public:
  // Captions of the "Save changes?" question.
  static const QString kOpenNewFileCaption;  // before New and Load
  static const QString kReadyToExitCaption;  // before the window closes

  static const QString kSaveTitle;
  static const QString kSaveFilters;
  // The save dialog's two filters; a name typed without extension under
  // the second is written as a TI-83 Plus program.
  static const QString kSaveFilter83;
  static const QString kSaveFilter83Plus;
  static const QString kOpenTitle;
  static const QString kOpenFilters;

  CFileCommands(CLevelPack& pack, IPlatform& platform, IFrameEffects& frame,
                QWidget* parent = nullptr);

  // Offers to save a modified pack, then makes a fresh one-level pack with
  // no file. False when the user kept the old pack.
  bool New();
  // Writes a modified pack to its file at once; a pack with no file yet
  // goes through Save As. True when the pack is saved (or had nothing to
  // save).
  bool Save();
  // The pre-save checks, the security information, a file name, then the
  // write. True when the pack was written.
  bool SaveAs();
  // The checks Save As makes before it asks for a file name, with their
  // messages: passcodes, entrances and exits, the security information.
  // Stops at the first that fails and shows the level concerned.
  bool CheckBeforeSave();
  // Offers to save a modified pack, then opens one: the file at `path`, or
  // the one the user picks when `path` is empty. The view is refreshed
  // whatever came of it. True when a pack was loaded.
  bool Load(const QString& path = QString());
  // Asks "Save changes?" before the window closes. True when it may close.
  bool CanClose();

  // Folder a file dialog starts in: the current pack's, else the folder
  // used last, else the home folder.
  QString StartFolder() const;
  // The folder of the file opened or saved last (empty: none yet).
  QString m_lastFolder;
  // Told the path of every pack loaded or written.
  std::function<void(const QString&)> m_onFileUsed;
  // "<path> is not a valid Plodpak.", with `reason` (what the decoder found
  // wrong) under it when there is one.
  void ReportInvalidPack(const QString& path, const QString& reason = {});

  // The path Save As writes for a chosen name: ".83p" is added when the
  // file's own name holds no "." (".8xp" when `filter` is the TI-83 Plus
  // filter).
  static QString WithDefaultExtension(const QString& chosen,
                                      const QString& filter = {});
  // ".8xp" files are written for the TI-83 Plus, every other one for the
  // TI-83.
  static VariableFlavour FlavourFor(const std::string& path);

 private:
  // The "Save changes?" question, asked only when the pack is modified.
  // True when the command may go on: No, or Yes and the pack was saved.
  bool OfferToSave(const QString& caption);
  // Encodes and writes the pack to `path`. On success the path is
  // remembered and the modified flag cleared; on failure the user is told
  // why and the pack, its path and its flag are left as they were.
  bool WritePack(const std::string& path);
  // Asks for a file when `chosen` is empty, reads and checks all of it, asks
  // its password, and only then replaces the pack.
  bool LoadPack(QString chosen);
  // Remembers the file and its folder as the one used last.
  void FileUsed(const QString& path);

  CLevelPack& m_pack;
  IPlatform& m_platform;
  IFrameEffects& m_frame;
  QWidget* m_pParent;
};
