#pragma once

// Runs the editor as a process of its own, with its configuration, data and
// state folders inside a temporary folder, and reads what the driver linked
// into the test build of the editor reports.
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <cstring>
#include <map>
#include <string>

#include "model/LevelPack.h"
#include "support/TempFiles.h"

namespace desktoptest {

// A pack Save As accepts: `levels` levels, each with an entrance and an
// exit, passcodes where they are needed, an author and a password.
inline PackContents SaveablePack(int levels = 1) {
  PackContents pack;
  pack.m_szAuthorName = "Ann";
  pack.m_szPassword = "pw";
  pack.levels.resize(static_cast<std::size_t>(levels));
  for (LevelRecord& level : pack.levels) {
    level.PlaceObject({0, 30}, OBJ_ENTRANCE);
    level.PlaceObject({40, 30}, OBJ_EXIT);
  }
  for (std::size_t i = 1; i < pack.levels.size(); ++i) {
    std::memcpy(pack.levels[i].m_szPasscode, "PASS", 5);
    pack.levels[i].m_szPasscode[3] = static_cast<char>('0' + i);
  }
  return pack;
}

// The folders a test's editors share: a home with XDG folders in it.
class EditorHome {
 public:
  EditorHome() : m_folder("plodderz-desktop") {}

  const std::filesystem::path& Path() const { return m_folder.Path(); }
  QString Folder(const char* name) const {
    return QString::fromStdString((m_folder.Path() / name).string());
  }
  // The folder the editor keeps its recovery copies in.
  QString RecoveryFolder() const {
    return Folder("data") + QStringLiteral("/plodderz-editor/recovery");
  }
  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), Folder("home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Folder("config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), Folder("data"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), Folder("state"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), Folder("cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Folder("runtime"));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
      env.insert(QStringLiteral("QT_QPA_PLATFORM"),
                 QStringLiteral("offscreen"));
    }
    return env;
  }
  void MakeFolders() const {
    for (const char* name : {"home", "config", "data", "state", "cache"}) {
      std::filesystem::create_directories(m_folder.Path() / name);
    }
    std::filesystem::create_directories(m_folder.Path() / "runtime");
    std::filesystem::permissions(m_folder.Path() / "runtime",
                                 std::filesystem::perms::owner_all);
  }

 private:
  testsupport::TempFolder m_folder;
};

// One run of the driven editor.
struct DriverRun {
  QString steps;
  QString answers;
  QString password;
  QStringList arguments;
  QString workingDirectory = QString();  // empty: the test's own
};

// Key/value lines of a report; a later "key" wins.
inline std::map<std::string, std::string> ParseReport(const std::string& text) {
  std::map<std::string, std::string> values;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) {
      values[line.substr(0, eq)] = line.substr(eq + 1);
    } else if (!line.empty()) {
      values[line] = "1";
    }
    at = end + 1;
  }
  return values;
}

}  // namespace desktoptest
