#include "model/LevelPack.h"

#include <algorithm>
#include <iterator>
#include <new>

CLevelPack::~CLevelPack() { DeleteAllLevels(); }

bool CLevelPack::AddLevel() {
  CLevel* level = new (std::nothrow) CLevel;
  if (level == nullptr) return false;
  m_apLevels[Count() - 1] = level;
  return true;
}

void CLevelPack::DeleteAllLevels() {
  while (Count() != 0) {
    delete m_apLevels[Count() - 1];
  }
}

bool CLevelPack::NewPack() {
  DeleteAllLevels();
  m_nCurLevel = 0;
  if (!AddLevel()) return false;
  m_szPassword.clear();
  m_szAuthorName.clear();
  return true;
}

void CLevelPack::ResetLevel(int index) { m_apLevels[index]->Init(); }

void CLevelPack::DeleteLevel(int nIndex) {
  delete m_apLevels[nIndex];
  for (int i = nIndex; i < Count(); ++i) {
    m_apLevels[i] = m_apLevels[i + 1];
  }
  if (nIndex <= m_nCurLevel && m_nCurLevel != 0) --m_nCurLevel;
}

void CLevelPack::SwapLevels(int nIndex) {
  CLevel* level = m_apLevels[nIndex];
  m_apLevels[nIndex] = m_apLevels[nIndex + 1];
  m_apLevels[nIndex + 1] = level;
  if (m_nCurLevel == nIndex) {
    m_nCurLevel = nIndex + 1;
  } else if (m_nCurLevel == nIndex + 1) {
    m_nCurLevel = nIndex;
  }
}

CLevelPack::PreviewFree::PreviewFree(const CLevelPack& pack) : m_pack(pack) {
  if (m_pack.m_nLifted++ > 0) return;
  // The last one drawn comes out first.
  for (auto it = m_pack.m_overlays.rbegin(); it != m_pack.m_overlays.rend();
       ++it) {
    (*it)->Lift();
  }
}

CLevelPack::PreviewFree::~PreviewFree() {
  if (--m_pack.m_nLifted > 0) return;
  for (IPackOverlay* overlay : m_pack.m_overlays) overlay->Lay();
}

void CLevelPack::AddOverlay(IPackOverlay* overlay) {
  if (overlay != nullptr) m_overlays.push_back(overlay);
}

void CLevelPack::RemoveOverlay(IPackOverlay* overlay) {
  std::erase(m_overlays, overlay);
}

PackContents CLevelPack::Contents() const {
  const PreviewFree clean(*this);
  PackContents contents;
  contents.m_szPassword = m_szPassword;
  contents.m_szAuthorName = m_szAuthorName;
  contents.levels.reserve(static_cast<std::size_t>(Count()));
  for (int i = 0; i < Count(); ++i) {
    contents.levels.push_back(*m_apLevels[i]);
  }
  return contents;
}

bool CLevelPack::ReplaceWithLoaded(const PackContents& loaded) {
  DeleteAllLevels();
  m_nCurLevel = 0;
  m_szPassword = loaded.m_szPassword;
  m_szAuthorName = loaded.m_szAuthorName;
  for (const LevelRecord& record : loaded.levels) {
    if (Count() == MAX_LEVELS || !AddLevel()) return false;
    CLevel& level = *m_apLevels[Count() - 1];
    char freshPasscode[PASSCODE_CHARS + 1];
    std::copy(std::begin(level.m_szPasscode), std::end(level.m_szPasscode),
              freshPasscode);
    static_cast<LevelRecord&>(level) = record;
    if (Count() == 1) {
      // A file stores no passcode for the first level; it keeps the one it
      // was made with.
      std::copy(std::begin(freshPasscode), std::end(freshPasscode),
                level.m_szPasscode);
    }
  }
  return true;
}
