#pragma once

#include <QDialog>

class QCheckBox;
class QSpinBox;

// "Export Level Image" / "Export All Levels": how the pictures are drawn.
// With its defaults (no objects, scale 1) a picture is the level's terrain,
// one pixel per level pixel, as plodpak exports it.
class CExportImageDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CExportImageDlg(const QString& caption, QWidget* parent = nullptr);

  // Opens with these options (a scale outside 1 to 16 is brought inside).
  void SetOptions(bool objects, int scale);
  bool DrawObjects() const;
  int Scale() const;
  QCheckBox* ObjectsBox() const { return m_pObjects; }
  QSpinBox* ScaleBox() const { return m_pScale; }

 private:
  QCheckBox* m_pObjects;
  QSpinBox* m_pScale;
};
