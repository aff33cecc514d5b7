#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

class QMainWindow;

// Everything the editor reads back at start, as checked: a missing value,
// one of the wrong type or one out of range gives the default.
struct StoredSettings {
  QStringList recentFiles;
  QString lastFolder;
  bool classicColours = true;
  bool calculatorScreen = false;
  int zoom = 0;
  bool showGrid = true;
  QByteArray geometry;  // given to Qt's own restore, which checks it
  QByteArray state;

  bool operator==(const StoredSettings&) const = default;
};

// What the editor remembers between runs, in an INI file in the user's
// configuration folder: the window's size, position and state with where
// each bar and dock stands, the view's colours and calculator screen frame,
// the recent files and the folder used last. Nothing of a
// pack is kept there. Every value is checked as it is read: a damaged,
// unreadable or foreign file gives the defaults.
class CEditorSettings {
 public:
  // "plodderz-editor/plodderz-editor.conf" in the user's configuration folder.
  static QString DefaultPath();

  explicit CEditorSettings(const QString& path);

  QStringList RecentFiles() const;
  void SetRecentFiles(const QStringList& files);
  QString LastFolder() const;
  void SetLastFolder(const QString& folder);

  // View > Classic Colours (on unless stored off) and View > Calculator
  // Screen (off unless stored on).
  bool ClassicColours() const;
  void SetClassicColours(bool on);
  bool CalculatorScreen() const;
  void SetCalculatorScreen(bool on);
  // The canvas's zoom (one of the view's zoom levels) and Show Grid; a
  // missing or unusable value gives 4 times and the grid.
  int Zoom() const;
  bool ShowGrid() const;
  void SetView(int zoom, bool showGrid);

  // The picture export's options: draw the objects (off unless stored on)
  // and the scale (1 unless a scale of 1 to 16 is stored).
  bool ExportObjects() const;
  int ExportScale() const;
  void SetExportOptions(bool objects, int scale);

  // Every value above and the stored window layout, read and checked.
  StoredSettings Stored() const;
  // Stores each of them as the setters and SaveLayout do.
  void SetStored(const StoredSettings& stored);

  // Puts the window and its bars back as they were; false (and the window
  // left as it is) when nothing usable is stored.
  bool RestoreLayout(QMainWindow& window) const;
  void SaveLayout(const QMainWindow& window);
  // The bars' and docks' places as SaveLayout stores them.
  static QByteArray LayoutState(const QMainWindow& window);

  // Writes what was set to the file now.
  void Sync() { m_settings.sync(); }
  QSettings::Status Status() const { return m_settings.status(); }

 private:
  QSettings m_settings;
};
