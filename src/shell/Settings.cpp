#include "shell/Settings.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStandardPaths>
#include <cstdio>
#include <string_view>
#include <vector>

#include "canvas/ViewGeometry.h"
#include "packfile/RegularFile.h"

namespace {

const QString kRecentFiles = QStringLiteral("files/recent");
const QString kLastFolder = QStringLiteral("files/lastFolder");
const QString kGeometry = QStringLiteral("window/geometry");
const QString kState = QStringLiteral("window/state");
const QString kClassicColours = QStringLiteral("view/classicColours");
const QString kCalculatorScreen = QStringLiteral("view/calculatorScreen");
const QString kZoom = QStringLiteral("view/zoom");
const QString kShowGrid = QStringLiteral("view/showGrid");
const QString kExportObjects = QStringLiteral("export/drawObjects");
const QString kExportScale = QStringLiteral("export/scale");
constexpr int kMaxExportScale = 16;
// The version of the bars' layout stored with the window state: a state of
// another layout is not applied.
constexpr int kLayoutVersion = 1;
// Far more than the editor ever writes (eight recent files and a layout).
constexpr std::size_t kSettingsMaxBytes = 1 << 20;

// A value of the expected type, else nothing. A damaged file may hold
// anything under any key.
QString TextValue(const QVariant& value) {
  return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QByteArray BytesValue(const QVariant& value) {
  return value.typeId() == QMetaType::QByteArray ? value.toByteArray()
                                                 : QByteArray();
}

// A yes or no, else `fallback`. The INI file gives back a text; a value
// set in this run is still a bool.
bool FlagValue(const QVariant& value, bool fallback) {
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  if (value.typeId() != QMetaType::QString) return fallback;
  const QString text = value.toString();
  if (text == QLatin1String("true")) return true;
  if (text == QLatin1String("false")) return false;
  return fallback;
}

// A whole number, else `fallback`. An INI file gives every number back as
// text; a value set in this run is still a number.
int NumberValue(const QSettings& settings, const QString& key, int fallback) {
  bool ok = false;
  const QVariant value = settings.value(key);
  const int number = value.typeId() == QMetaType::QString
                         ? value.toString().toInt(&ok)
                         : value.toInt(&ok);
  return ok ? number : fallback;
}

QStringList FilesValue(const QVariant& value) {
  QStringList files;
  if (value.typeId() == QMetaType::QStringList) {
    files = value.toStringList();
  } else if (value.typeId() == QMetaType::QString) {
    files = {value.toString()};  // a list of one is stored as a plain text
  }
  return files;
}

int ZoomValue(const QVariant& value) {
  // An INI file gives every number back as text.
  bool ok = false;
  const int zoom = value.typeId() == QMetaType::QString
                       ? value.toString().toInt(&ok)
                       : value.toInt(&ok);
  return ok && IsZoomLevel(zoom) ? zoom : kDefaultZoom;
}

bool GridValue(const QVariant& value) {
  return TextValue(value) != QStringLiteral("false");
}

}  // namespace

QString CEditorSettings::DefaultPath() {
  return QStandardPaths::writableLocation(
             QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/plodderz-editor/plodderz-editor.conf");
}

namespace {

// The editor stores texts, lists, flags, numbers and byte arrays only. An
// INI value written as "@Variant(...)" would make Qt rebuild an object of
// any type from the file's bytes (a cursor, a picture, ...), with that
// type's own reader, before the editor could check it: a file holding one
// was not written by the editor and is set aside unread as
// "<file>.damaged", so the editor starts from the defaults.
const QString& SetAsideIfForeign(const QString& path) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  const std::string native = QFile::encodeName(path).toStdString();
  if (!ReadRegularFile(native, kSettingsMaxBytes, bytes, error)) return path;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()),
                              bytes.size());
  if (text.find("@Variant(") != std::string_view::npos) {
    ::rename(native.c_str(), (native + ".damaged").c_str());
  }
  return path;
}

}  // namespace

CEditorSettings::CEditorSettings(const QString& path)
    : m_settings(SetAsideIfForeign(path), QSettings::IniFormat) {}

QStringList CEditorSettings::RecentFiles() const {
  return FilesValue(m_settings.value(kRecentFiles));
}

void CEditorSettings::SetRecentFiles(const QStringList& files) {
  m_settings.setValue(kRecentFiles, files);
}

QString CEditorSettings::LastFolder() const {
  return TextValue(m_settings.value(kLastFolder));
}

void CEditorSettings::SetLastFolder(const QString& folder) {
  m_settings.setValue(kLastFolder, folder);
}

bool CEditorSettings::ClassicColours() const {
  return FlagValue(m_settings.value(kClassicColours), true);
}

void CEditorSettings::SetClassicColours(bool on) {
  m_settings.setValue(kClassicColours, on);
}

bool CEditorSettings::CalculatorScreen() const {
  return FlagValue(m_settings.value(kCalculatorScreen), false);
}

void CEditorSettings::SetCalculatorScreen(bool on) {
  m_settings.setValue(kCalculatorScreen, on);
}

int CEditorSettings::Zoom() const { return ZoomValue(m_settings.value(kZoom)); }

bool CEditorSettings::ExportObjects() const {
  return FlagValue(m_settings.value(kExportObjects), false);
}

int CEditorSettings::ExportScale() const {
  const int scale = NumberValue(m_settings, kExportScale, 1);
  return scale >= 1 && scale <= kMaxExportScale ? scale : 1;
}

void CEditorSettings::SetExportOptions(bool objects, int scale) {
  m_settings.setValue(kExportObjects, objects);
  m_settings.setValue(kExportScale, scale);
}

bool CEditorSettings::ShowGrid() const {
  return GridValue(m_settings.value(kShowGrid));
}

void CEditorSettings::SetView(int zoom, bool showGrid) {
  m_settings.setValue(kZoom, zoom);
  m_settings.setValue(
      kShowGrid, showGrid ? QStringLiteral("true") : QStringLiteral("false"));
}

StoredSettings CEditorSettings::Stored() const {
  StoredSettings stored;
  stored.recentFiles = RecentFiles();
  stored.lastFolder = LastFolder();
  stored.classicColours = ClassicColours();
  stored.calculatorScreen = CalculatorScreen();
  stored.zoom = Zoom();
  stored.showGrid = ShowGrid();
  stored.geometry = BytesValue(m_settings.value(kGeometry));
  stored.state = BytesValue(m_settings.value(kState));
  return stored;
}

void CEditorSettings::SetStored(const StoredSettings& stored) {
  SetRecentFiles(stored.recentFiles);
  SetLastFolder(stored.lastFolder);
  SetClassicColours(stored.classicColours);
  SetCalculatorScreen(stored.calculatorScreen);
  SetView(stored.zoom, stored.showGrid);
  m_settings.setValue(kGeometry, stored.geometry);
  m_settings.setValue(kState, stored.state);
}

bool CEditorSettings::RestoreLayout(QMainWindow& window) const {
  const QByteArray geometry = BytesValue(m_settings.value(kGeometry));
  const QByteArray state = BytesValue(m_settings.value(kState));
  if (geometry.isEmpty()) return false;
  const QPoint position = window.pos();
  const QSize size = window.size();
  const auto putBack = [&] {
    window.resize(size);
    window.move(position);
  };
  if (!window.restoreGeometry(geometry)) {
    putBack();
    return false;
  }
  // A window stored on a screen that is gone comes back where it was.
  bool onScreen = false;
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(window.frameGeometry())) {
      onScreen = true;
    }
  }
  if (!onScreen) putBack();
  if (!state.isEmpty()) window.restoreState(state, kLayoutVersion);
  return true;
}

void CEditorSettings::SaveLayout(const QMainWindow& window) {
  m_settings.setValue(kGeometry, window.saveGeometry());
  m_settings.setValue(kState, LayoutState(window));
}

QByteArray CEditorSettings::LayoutState(const QMainWindow& window) {
  return window.saveState(kLayoutVersion);
}
