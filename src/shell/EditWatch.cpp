#include "shell/EditWatch.h"

CEditWatch::CEditWatch(const CLevelPack& pack)
    : m_pack(pack), m_seen(pack.Contents()) {}

unsigned CEditWatch::Edits() {
  // Compared in place, without a preview; copied only when it changed.
  bool same;
  {
    const CLevelPack::PreviewFree levels = m_pack.WithoutPreviews();
    same = m_pack.m_szAuthorName == m_seen.m_szAuthorName &&
           m_pack.m_szPassword == m_seen.m_szPassword &&
           static_cast<std::size_t>(m_pack.Count()) == m_seen.levels.size();
    for (int i = 0; same && i < m_pack.Count(); ++i) {
      same = m_pack.Level(i).SameLevelAs(
          m_seen.levels[static_cast<std::size_t>(i)]);
    }
  }
  if (!same) {
    m_seen = m_pack.Contents();
    ++m_nEdits;
  }
  return m_nEdits;
}
