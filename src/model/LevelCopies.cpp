#include "model/LevelCopies.h"

#include <cstdlib>
#include <cstring>

namespace {

bool PasscodeInUse(const CLevelPack& pack, const char* code) {
  for (int i = 0; i < pack.Count(); ++i) {
    if (std::strcmp(pack.Level(i).m_szPasscode, code) == 0) return true;
  }
  return false;
}

}  // namespace

void GiveFreshPasscode(const CLevelPack& pack, LevelRecord& level) {
  // 26^4 codes for at most nine levels: a clash is rare and the next draw
  // almost surely differs.
  char code[PASSCODE_CHARS + 1] = {};
  do {
    for (int i = 0; i < PASSCODE_CHARS; ++i) {
      code[i] = static_cast<char>('A' + std::rand() % 26);
    }
  } while (PasscodeInUse(pack, code));
  std::memcpy(level.m_szPasscode, code, sizeof code);
}

bool InsertLevelCopy(CLevelPack& pack, int index, const LevelRecord& record) {
  if (!pack.AddLevel()) return false;
  const int last = pack.Count() - 1;
  static_cast<LevelRecord&>(pack.Level(last)) = record;
  pack.m_nCurLevel = last;
  // Swapping keeps the current level current, so it walks up with the copy.
  for (int i = last - 1; i >= index; --i) pack.SwapLevels(i);
  return true;
}
