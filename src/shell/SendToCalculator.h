#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class CFileCommands;
class CLevelPack;
class IPlatform;
class QWidget;

// File > Send to Calculator...: the pack goes to the calculator through
// TiLP, the link program. The editor does not talk to cables itself.
class CCalculatorLink {
 public:
  static const QString kCaption;  // "Send to Calculator"
  static const QString kProgram;  // "tilp"

  // Starts a program without waiting for it; false when it could not be
  // started. Tests give their own.
  using Launcher =
      std::function<bool(const QString& program, const QStringList& arguments)>;

  CCalculatorLink(CLevelPack& pack, CFileCommands& files, IPlatform& platform,
                  QWidget* parent);

  // TiLP's arguments for a pack file: the calculator model (TI-83, or
  // TI-83 Plus for a ".8xp" file), then the file.
  static QStringList Arguments(const QString& path);

  // Looks for TiLP first: without it, a message says how to install it and
  // nothing is checked or written. Then the checks Save As makes (stopping
  // at the first that fails); a pack with unsaved changes is saved after
  // the author agrees to its file being written over (one with no file yet
  // through the save dialog); then TiLP with the file. True when TiLP was
  // started.
  bool Send();

  Launcher m_launch;  // default: QProcess::startDetached

 private:
  CLevelPack& m_pack;
  CFileCommands& m_files;
  IPlatform& m_platform;
  QWidget* m_pParent;
};
