#include "shell/RecentFiles.h"

#include <QFileInfo>

void CRecentFiles::SetFiles(const QStringList& files) {
  m_files.clear();
  for (const QString& file : files) {
    if (file.isEmpty() || m_files.contains(file)) continue;
    if (m_files.size() == kMaxFiles) break;
    m_files.append(file);
  }
}

void CRecentFiles::Add(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  m_files.removeAll(absolute);
  m_files.prepend(absolute);
  while (m_files.size() > kMaxFiles) m_files.removeLast();
}

void CRecentFiles::Remove(const QString& path) { m_files.removeAll(path); }
