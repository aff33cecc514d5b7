#pragma once

#include <QString>

class CEditorFrame;

// File > Import Terrain Image..., Export Level Image... and Export All
// Levels...: the current level's terrain from a picture file, and levels as
// PNG pictures (named level-1.png and on, as plodpak's export names them).
class CPictureCommands {
 public:
  static const QString kImportCaption;
  static const QString kExportCaption;
  static const QString kExportAllCaption;

  explicit CPictureCommands(CEditorFrame& frame) : m_frame(frame) {}

  // Asks for a picture and makes it the current level's terrain and size;
  // a picture that cannot be read or is too large changes nothing.
  void Import();
  // Asks how to draw and where, then writes the current level's picture.
  void ExportLevel();
  // Asks how to draw and a folder, then writes every level's picture.
  void ExportAll();

  // Name filters of every picture format Qt reads.
  static QString ImageFilters();

 private:
  // Runs the drawing options dialog, opening with the options chosen last;
  // false when it was cancelled. Accepted options are kept for the next
  // export of either kind (and in the settings, when the frame has them),
  // whether or not the export then succeeds.
  bool AskOptions(const QString& caption, bool& objects, int& scale);
  void ReportError(const QString& caption, const QString& text);

  CEditorFrame& m_frame;
  // The options chosen last; read from the settings at the first export.
  bool m_bObjects = false;
  int m_nScale = 1;
  bool m_bOptionsRead = false;
};
