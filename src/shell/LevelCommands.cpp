#include "shell/LevelCommands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstring>
#include <vector>

#include "dialogs/LevelSizeDlg.h"
#include "imageio/TerrainImage.h"
#include "model/LevelCopies.h"
#include "model/PackReading.h"
#include "packfile/LevelClip.h"
#include "shell/CommandIds.h"
#include "shell/EditorFrame.h"
#include "uikit/Platform.h"

const QString CLevelCommands::kFullPackText =
    QStringLiteral("A pack holds at most 9 levels.");

namespace {

const QString kDuplicateCaption = QStringLiteral("Duplicate Level");
const QString kPasteCaption = QStringLiteral("Paste Level");

bool PasscodeTaken(const CLevelPack& pack, const char* code) {
  for (int i = 0; i < pack.Count(); ++i) {
    if (std::strcmp(pack.Level(i).m_szPasscode, code) == 0) return true;
  }
  return false;
}

}  // namespace

bool CLevelCommands::RoomForOneMore(const QString& caption) {
  if (m_frame.Pack().Count() < MAX_LEVELS) return true;
  m_frame.Platform().MessageBox(&m_frame, kFullPackText, caption,
                                IPlatform::Buttons::Ok,
                                IPlatform::Icon::Exclamation);
  return false;
}

void CLevelCommands::InsertAfterCurrent(const LevelRecord& level,
                                        const QString& caption) {
  CLevelPack& pack = m_frame.Pack();
  if (!InsertLevelCopy(pack, pack.m_nCurLevel + 1, level)) {
    m_frame.Platform().MessageBox(
        &m_frame, QStringLiteral("Not enough memory!"),
        QStringLiteral("Level Addition Error"), IPlatform::Buttons::Ok,
        IPlatform::Icon::Exclamation);
    return;
  }
  pack.m_bModified = true;
  m_frame.RefreshView();
  m_frame.ShowStatus(
      QStringLiteral("%1: level %2").arg(caption).arg(pack.m_nCurLevel + 1));
}

void CLevelCommands::Duplicate() {
  if (!RoomForOneMore(kDuplicateCaption)) return;
  const CLevelPack& pack = m_frame.Pack();
  LevelRecord copy = PackForReading(pack).levels[pack.m_nCurLevel];
  GiveFreshPasscode(pack, copy);
  // Two levels of one name cannot be told apart in the level order list.
  GiveCopyName(pack, copy);
  InsertAfterCurrent(copy, kDuplicateCaption);
}

void CLevelCommands::Copy() {
  const CLevelPack& pack = m_frame.Pack();
  const LevelRecord level = PackForReading(pack).levels[pack.m_nCurLevel];
  const std::vector<std::uint8_t> bytes = EncodeLevelClip(level);
  auto* data = new QMimeData;
  data->setData(QString::fromLatin1(LEVEL_CLIP_MIME),
                QByteArray(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<qsizetype>(bytes.size())));
  data->setImageData(TerrainToImage(level));
  QGuiApplication::clipboard()->setMimeData(data);
  m_frame.ShowStatus(
      QStringLiteral("Copied level %1").arg(pack.m_nCurLevel + 1));
}

void CLevelCommands::Paste() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QString format = QString::fromLatin1(LEVEL_CLIP_MIME);
  if (data == nullptr || !data->hasFormat(format)) {
    m_frame.ShowStatus(QStringLiteral("The clipboard holds no level."));
    return;
  }
  if (!RoomForOneMore(kPasteCaption)) return;
  const QByteArray bytes = data->data(format);
  LevelRecord level;
  std::string error;
  if (!DecodeLevelClip(
          std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size())),
          level, error)) {
    m_frame.Platform().MessageBox(&m_frame, QString::fromStdString(error),
                                  kPasteCaption, IPlatform::Buttons::Ok,
                                  IPlatform::Icon::Exclamation);
    return;
  }
  const CLevelPack& pack = m_frame.Pack();
  if (std::strlen(level.m_szPasscode) != PASSCODE_CHARS ||
      PasscodeTaken(pack, level.m_szPasscode)) {
    GiveFreshPasscode(pack, level);
  }
  InsertAfterCurrent(level, kPasteCaption);
}

void CLevelCommands::LevelSize() {
  const CLevel& level = m_frame.Pack().Current();
  CLevelSizeDlg dialog(level.WidthPixels(), level.m_nHeight, &m_frame);
  if (m_frame.Platform().RunDialog(dialog) != QDialog::Accepted) return;
  const int widthBytes = dialog.LevelWidth() / 8;
  const int height = dialog.LevelHeight();
  // The width arrow's +1 narrows and -1 widens; the height arrow's -1
  // lowers and +1 heightens. Each step is the arrows' own.
  const auto steps = [this](int control, int delta, int count) {
    for (int i = 0; i < count; ++i) m_frame.OnNotify(control, delta);
  };
  const CLevel& current = m_frame.Pack().Current();
  steps(IDC_RESIZE_WIDTH, 1, current.m_nWidthBytes - widthBytes);
  steps(IDC_RESIZE_HEIGHT, -1, current.m_nHeight - height);
  steps(IDC_RESIZE_WIDTH, -1, widthBytes - current.m_nWidthBytes);
  steps(IDC_RESIZE_HEIGHT, 1, height - current.m_nHeight);
}
