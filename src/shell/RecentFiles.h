#pragma once

#include <QStringList>

// The packs opened or saved last, newest first, each once, at most eight.
class CRecentFiles {
 public:
  static constexpr int kMaxFiles = 8;

  const QStringList& Files() const { return m_files; }
  // Replaces the list (from the settings): empty names and repeats are
  // dropped, and only the first eight are kept.
  void SetFiles(const QStringList& files);
  // Puts `path` (made absolute) at the top.
  void Add(const QString& path);
  void Remove(const QString& path);
  void Clear() { m_files.clear(); }

 private:
  QStringList m_files;
};
