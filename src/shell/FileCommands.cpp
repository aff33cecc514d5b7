#include "shell/FileCommands.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "model/LevelPack.h"
#include "model/Text.h"
#include "packfile/PackFile.h"
#include "shell/LevelBarLogic.h"
#include "shell/ProblemsPanel.h"
#include "uikit/Platform.h"

const QString CFileCommands::kOpenNewFileCaption =
    QStringLiteral("Open New File");
const QString CFileCommands::kReadyToExitCaption =
    QStringLiteral("Ready to Exit");
const QString CFileCommands::kSaveTitle =
    QStringLiteral("Save Plodder Level Pack");
// Extensions are matched in either case: files copied from other systems
// often carry capital ones. Qt's own file dialog ignores case, but the GTK
// dialog that Qt uses on most Linux desktops matches each pattern exactly
// (and shows only the text before the parentheses), so both spellings are
// listed.
const QString CFileCommands::kSaveFilter83 =
    QStringLiteral("83 Programs (*.83p *.83P)");
const QString CFileCommands::kSaveFilter83Plus =
    QStringLiteral("83+ Programs (*.8xp *.8XP)");
const QString CFileCommands::kSaveFilters =
    kSaveFilter83 + QStringLiteral(";;") + kSaveFilter83Plus;
const QString CFileCommands::kOpenTitle =
    QStringLiteral("Open Plodder Level Pack");
const QString CFileCommands::kOpenFilters = QStringLiteral(
    "83 Programs (*.83p *.83P);;83+ Programs (*.8xp *.8XP);;All Files (*)");

namespace {

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

std::string ToPath(const QString& path) { return path.toStdString(); }

// A program's name as the calculator's program menu shows it. Bytes that
// are not printable ASCII (a hand-made file) show as "?".
QString CalculatorName(const std::string& variable) {
  QString name = QStringLiteral("prgm");
  for (const char c : variable) {
    name += IsPrintableChar(c) ? QLatin1Char(c) : QLatin1Char('?');
  }
  return name;
}

}  // namespace

CFileCommands::CFileCommands(CLevelPack& pack, IPlatform& platform,
                             IFrameEffects& frame, QWidget* parent)
    : m_pack(pack), m_platform(platform), m_frame(frame), m_pParent(parent) {}

QString CFileCommands::StartFolder() const {
  if (!m_pack.m_szFilePath.empty()) {
    const QFileInfo file(ToQString(m_pack.m_szFilePath));
    if (file.absoluteDir().exists()) return file.absolutePath();
  }
  if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir()) {
    return m_lastFolder;
  }
  return QDir::homePath();
}

QString CFileCommands::WithDefaultExtension(const QString& chosen,
                                            const QString& filter) {
  if (QFileInfo(chosen).fileName().contains(QLatin1Char('.'))) return chosen;
  return chosen + (filter == kSaveFilter83Plus ? QStringLiteral(".8xp")
                                               : QStringLiteral(".83p"));
}

VariableFlavour CFileCommands::FlavourFor(const std::string& path) {
  return QFileInfo(ToQString(path))
                     .suffix()
                     .compare(QStringLiteral("8xp"), Qt::CaseInsensitive) == 0
             ? VariableFlavour::TI83Plus
             : VariableFlavour::TI83;
}

bool CFileCommands::OfferToSave(const QString& caption) {
  if (!m_pack.m_bModified) return true;
  switch (m_platform.MessageBox(m_pParent, QStringLiteral("Save changes?"),
                                caption, IPlatform::Buttons::YesNoCancel,
                                IPlatform::Icon::Question)) {
    case IPlatform::Answer::No:
      return true;
    case IPlatform::Answer::Yes:
      // The user asked to keep the changes: if they could not be saved
      // (a check failed, a dialog was cancelled, the write failed), the
      // command stops rather than throw them away.
      return Save();
    default:
      return false;
  }
}

bool CFileCommands::New() {
  if (!OfferToSave(kOpenNewFileCaption)) return false;
  if (!m_pack.NewPack()) {
    // No level is left to edit.
    m_platform.MessageBox(m_pParent, QStringLiteral("Not enough memory!"),
                          QStringLiteral("Level Addition Error"),
                          IPlatform::Buttons::Ok, IPlatform::Icon::Exclamation);
    std::exit(0);
  }
  // The fresh pack has no file: a Save must ask for one rather than write
  // over the file of the pack before.
  m_pack.m_szFilePath.clear();
  m_frame.ShowCalculatorName(QString());
  m_frame.RefreshView();
  return true;
}

bool CFileCommands::Save() {
  if (m_pack.m_szFilePath.empty()) return SaveAs();
  if (!m_pack.m_bModified) {
    m_frame.ShowStatus(QStringLiteral("No changes to save"));
    return true;
  }
  return WritePack(m_pack.m_szFilePath);
}

bool CFileCommands::SaveAs() {
  if (!CheckBeforeSave()) return false;
  // The dialog starts on the filter of the pack's own file.
  QString filter = FlavourFor(m_pack.m_szFilePath) == VariableFlavour::TI83Plus
                       ? kSaveFilter83Plus
                       : kSaveFilter83;
  const QString chosen = m_platform.GetSaveFileNameAndFilter(
      m_pParent, kSaveTitle, StartFolder(), kSaveFilters, filter);
  if (chosen.isEmpty()) return false;
  const QString path = WithDefaultExtension(chosen, filter);
  // The file dialog asked about the name as typed; a file under the name
  // with ".83p" added must not be replaced without asking either.
  if (path != chosen && QFileInfo::exists(path) &&
      m_platform.MessageBox(
          m_pParent,
          QStringLiteral("%1 already exists.\nDo you want to replace it?")
              .arg(QFileInfo(path).fileName()),
          kSaveTitle, IPlatform::Buttons::YesNo,
          IPlatform::Icon::Exclamation) != IPlatform::Answer::Yes) {
    return false;
  }
  return WritePack(ToPath(path));
}

bool CFileCommands::CheckBeforeSave() {
  const int count = m_pack.Count();

  // Every level after the first needs a complete passcode.
  for (int i = 1; i < count; ++i) {
    if (std::strlen(m_pack.Level(i).m_szPasscode) != PASSCODE_CHARS) {
      // The level the message speaks of stands on the canvas while it shows.
      m_pack.m_nCurLevel = i;
      m_frame.RefreshView();
      m_platform.MessageBox(
          m_pParent,
          QStringLiteral(
              "Make sure all passcodes are EXACTLY four characters long."),
          QStringLiteral("Save Error"), IPlatform::Buttons::Ok,
          IPlatform::Icon::None);
      return false;
    }
  }

  for (int i = 0; i < count; ++i) {
    if (!m_pack.Level(i).HasEntranceAndExit()) {
      m_pack.m_nCurLevel = i;
      m_frame.RefreshView();
      m_platform.MessageBox(
          m_pParent,
          QStringLiteral(
              "Before saving, you must position both an entrance and an "
              "exit."),
          QStringLiteral("Level Incomplete"), IPlatform::Buttons::Ok,
          IPlatform::Icon::None);
      return false;
    }
  }

  if (m_pack.m_szAuthorName.empty() || m_pack.m_szPassword.empty()) {
    m_platform.MessageBox(
        m_pParent,
        QStringLiteral("Before saving, please provide a password to protect "
                       "your Plodpak."),
        QStringLiteral("Security Information"), IPlatform::Buttons::Ok,
        IPlatform::Icon::None);
    if (!m_frame.RunSecurityDialog()) return false;
  }
  return true;
}

bool CFileCommands::WritePack(const std::string& path) {
  std::string error;
  if (!SavePackFile(path, m_pack.Contents(), error, FlavourFor(path))) {
    m_platform.MessageBox(
        m_pParent,
        QStringLiteral("Could not save %1.\n%2")
            .arg(QDir::toNativeSeparators(ToQString(path)), ToQString(error)),
        QStringLiteral("Save Error"), IPlatform::Buttons::Ok,
        IPlatform::Icon::Exclamation);
    return false;
  }
  m_pack.m_szFilePath = path;
  m_pack.m_bModified = false;
  m_frame.PackWritten();
  // Save writes unfinished work too; what it wrote is checked as the game
  // would need it, and the status bar says when it is not ready yet.
  const std::vector<PackProblem> problems =
      CheckPack(m_pack.Contents(), FlavourFor(path));
  m_frame.ShowStatus(CProblemsPanel::SavedText(problems, ToQString(path)));
  if (CountErrors(problems) > 0) m_frame.ShowProblems();
  m_frame.ShowCalculatorName(CalculatorName(MakeVariableName(path)));
  FileUsed(ToQString(path));
  return true;
}

bool CFileCommands::Load(const QString& path) {
  if (!OfferToSave(kOpenNewFileCaption)) return false;
  const bool loaded = LoadPack(path);
  m_frame.RefreshView();
  return loaded;
}

bool CFileCommands::LoadPack(QString chosen) {
  if (chosen.isEmpty()) {
    chosen = m_platform.GetOpenFileName(m_pParent, kOpenTitle, StartFolder(),
                                        kOpenFilters);
  }
  if (chosen.isEmpty()) return false;
  const std::string path = ToPath(chosen);

  PackContents loaded;
  VariableFile container;
  std::string error;
  if (!LoadPackFile(path, loaded, error, &container)) {
    ReportInvalidPack(chosen, ToQString(error));
    m_frame.ShowStatus(ToQString(error));
    return false;
  }
  if (!m_frame.RunPasswordPrompt(loaded.m_szPassword)) return false;

  // The old pack is kept as values until the new one stands, so that a
  // failed allocation halfway can put it back.
  const PackContents previous = m_pack.Contents();
  const int previousLevel = m_pack.m_nCurLevel;
  const std::string firstPasscode = m_pack.Level(0).m_szPasscode;
  if (!m_pack.ReplaceWithLoaded(loaded)) {
    m_platform.MessageBox(m_pParent, QStringLiteral("Not enough memory!"),
                          QStringLiteral("Level Addition Error"),
                          IPlatform::Buttons::Ok, IPlatform::Icon::Exclamation);
    if (!m_pack.ReplaceWithLoaded(previous)) {
      if (m_pack.Count() == 0) std::exit(0);
    } else {
      std::strcpy(m_pack.Level(0).m_szPasscode, firstPasscode.c_str());
    }
    m_pack.m_nCurLevel = std::min(previousLevel, m_pack.Count() - 1);
    return false;
  }
  m_pack.m_szFilePath = path;
  m_pack.m_bModified = false;
  m_frame.ShowStatus(QStringLiteral("Loaded %1").arg(chosen));
  m_frame.ShowCalculatorName(CalculatorName(container.name));
  FileUsed(chosen);
  return true;
}

void CFileCommands::FileUsed(const QString& path) {
  m_lastFolder = QFileInfo(path).absolutePath();
  if (m_onFileUsed) m_onFileUsed(path);
}

bool CFileCommands::CanClose() { return OfferToSave(kReadyToExitCaption); }

void CFileCommands::ReportInvalidPack(const QString& path,
                                      const QString& reason) {
  m_platform.InformativeMessageBox(
      m_pParent,
      QDir::toNativeSeparators(path) +
          QStringLiteral(" is not a valid Plodpak."),
      reason, QStringLiteral("Uh-Oh!"), IPlatform::Buttons::Ok,
      IPlatform::Icon::Exclamation);
}
