#include "shell/PictureCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/ExportImageDlg.h"
#include "imageio/TerrainImage.h"
#include "model/PackReading.h"
#include "packfile/SafeWrite.h"
#include "shell/EditorFrame.h"
#include "shell/FileCommands.h"
#include "shell/FrameSession.h"
#include "shell/Settings.h"
#include "uikit/Platform.h"

const QString CPictureCommands::kImportCaption =
    QStringLiteral("Import Terrain Image");
const QString CPictureCommands::kExportCaption =
    QStringLiteral("Export Level Image");
const QString CPictureCommands::kExportAllCaption =
    QStringLiteral("Export All Levels");

namespace {

const QString kPngFilter = QStringLiteral("PNG Images (*.png *.PNG)");

bool WritePng(const QString& path, const QByteArray& png, std::string& error) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(png.constData());
  return WriteFileAtomically(
      path.toStdString(),
      std::span<const std::uint8_t>(data, static_cast<std::size_t>(png.size())),
      error);
}

}  // namespace

QString CPictureCommands::ImageFilters() {
  QStringList patterns;
  for (const QByteArray& format : QImageReader::supportedImageFormats()) {
    patterns << QStringLiteral("*.") + QString::fromLatin1(format);
  }
  return QStringLiteral("Images (%1);;All Files (*)")
      .arg(patterns.join(QLatin1Char(' ')));
}

void CPictureCommands::ReportError(const QString& caption,
                                   const QString& text) {
  m_frame.Platform().MessageBox(&m_frame, text, caption, IPlatform::Buttons::Ok,
                                IPlatform::Icon::Exclamation);
}

void CPictureCommands::Import() {
  const QString path = m_frame.Platform().GetOpenFileName(
      &m_frame, kImportCaption, m_frame.FileCommands().StartFolder(),
      ImageFilters());
  if (path.isEmpty()) return;
  CLevelPack& pack = m_frame.Pack();
  LevelRecord level = PackForReading(pack).levels[pack.m_nCurLevel];
  std::string error;
  if (!ImportTerrainFile(path.toStdString(), level, error)) {
    ReportError(kImportCaption, QStringLiteral("Could not import %1.\n%2")
                                    .arg(QDir::toNativeSeparators(path),
                                         QString::fromStdString(error)));
    return;
  }
  static_cast<LevelRecord&>(pack.Current()) = level;
  pack.m_bModified = true;
  m_frame.RefreshView();
  m_frame.ShowStatus(QStringLiteral("Imported %1 as %2 x %3")
                         .arg(QFileInfo(path).fileName())
                         .arg(level.WidthPixels())
                         .arg(level.m_nHeight));
}

bool CPictureCommands::AskOptions(const QString& caption, bool& objects,
                                  int& scale) {
  CEditorSettings* settings = m_frame.Session().Settings();
  if (!m_bOptionsRead && settings != nullptr) {
    m_bObjects = settings->ExportObjects();
    m_nScale = settings->ExportScale();
  }
  m_bOptionsRead = true;
  CExportImageDlg dialog(caption, &m_frame);
  dialog.SetOptions(m_bObjects, m_nScale);
  if (m_frame.Platform().RunDialog(dialog) != QDialog::Accepted) return false;
  objects = m_bObjects = dialog.DrawObjects();
  scale = m_nScale = dialog.Scale();
  if (settings != nullptr) {
    settings->SetExportOptions(objects, scale);
    settings->Sync();
  }
  return true;
}

void CPictureCommands::ExportLevel() {
  bool objects = false;
  int scale = 1;
  if (!AskOptions(kExportCaption, objects, scale)) return;
  const CLevelPack& pack = m_frame.Pack();
  const QString suggested =
      QDir(m_frame.FileCommands().StartFolder())
          .filePath(QString::fromStdString(TerrainFileName(pack.m_nCurLevel)));
  QString path = m_frame.Platform().GetSaveFileName(&m_frame, kExportCaption,
                                                    suggested, kPngFilter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".png");
  const QByteArray png = EncodePng(LevelPicture(
      PackForReading(pack).levels[pack.m_nCurLevel], objects, scale));
  std::string error = "the picture could not be encoded";
  if (png.isEmpty() || !WritePng(path, png, error)) {
    ReportError(kExportCaption, QStringLiteral("Could not save %1.\n%2")
                                    .arg(QDir::toNativeSeparators(path),
                                         QString::fromStdString(error)));
    return;
  }
  m_frame.ShowStatus(QStringLiteral("Exported level %1 to %2")
                         .arg(pack.m_nCurLevel + 1)
                         .arg(path));
}

void CPictureCommands::ExportAll() {
  bool objects = false;
  int scale = 1;
  if (!AskOptions(kExportAllCaption, objects, scale)) return;
  const QString folder = m_frame.Platform().GetExistingDirectory(
      &m_frame, kExportAllCaption, m_frame.FileCommands().StartFolder());
  if (folder.isEmpty()) return;

  // Every picture is encoded before the first file is written.
  const PackContents pack = PackForReading(m_frame.Pack());
  std::vector<std::pair<QString, QByteArray>> files;
  QStringList existing;
  for (std::size_t i = 0; i < pack.levels.size(); ++i) {
    const QString path = QDir(folder).filePath(
        QString::fromStdString(TerrainFileName(static_cast<int>(i))));
    const QByteArray png =
        EncodePng(LevelPicture(pack.levels[i], objects, scale));
    if (png.isEmpty()) {
      ReportError(kExportAllCaption,
                  QStringLiteral("Could not save %1.\nthe picture could not "
                                 "be encoded")
                      .arg(QDir::toNativeSeparators(path)));
      return;
    }
    if (QFileInfo::exists(path)) existing << QFileInfo(path).fileName();
    files.emplace_back(path, png);
  }
  if (!existing.isEmpty() &&
      m_frame.Platform().MessageBox(
          &m_frame,
          QStringLiteral("%1 already in %2.\nDo you want to replace %3?")
              .arg(existing.join(QStringLiteral(", ")),
                   QDir::toNativeSeparators(folder),
                   existing.size() == 1 ? QStringLiteral("it")
                                        : QStringLiteral("them")),
          kExportAllCaption, IPlatform::Buttons::YesNo,
          IPlatform::Icon::Exclamation) != IPlatform::Answer::Yes) {
    return;
  }
  for (const auto& [path, png] : files) {
    std::string error;
    if (!WritePng(path, png, error)) {
      ReportError(kExportAllCaption, QStringLiteral("Could not save %1.\n%2")
                                         .arg(QDir::toNativeSeparators(path),
                                              QString::fromStdString(error)));
      return;
    }
  }
  m_frame.ShowStatus(
      QStringLiteral("Exported %1 to %2")
          .arg(files.size() == 1
                   ? QStringLiteral("1 level")
                   : QStringLiteral("%1 levels").arg(files.size()))
          .arg(folder));
}
