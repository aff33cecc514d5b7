#include "model/LevelCopies.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool PasscodeInUse(const CLevelPack& pack, const char* code) {
  for (int i = 0; i < pack.Count(); ++i) {
    if (std::strcmp(pack.Level(i).m_szPasscode, code) == 0) return true;
  }
  return false;
}

bool NameInUse(const CLevelPack& pack, std::string_view name) {
  for (int i = 0; i < pack.Count(); ++i) {
    const char* other = pack.Level(i).m_szName;
    if (std::string_view(other, strnlen(other, NAME_CHARS + 1)) == name) {
      return true;
    }
  }
  return false;
}

// `name` without a copy suffix (" (copy)" or " (copy N)") at its end.
std::string_view WithoutCopySuffix(std::string_view name) {
  constexpr std::string_view kFirst = " (copy)";
  if (name.ends_with(kFirst))
    return name.substr(0, name.size() - kFirst.size());
  if (!name.ends_with(')')) return name;
  const std::size_t open = name.rfind(" (copy ");
  if (open == std::string_view::npos) return name;
  const std::string_view digits =
      name.substr(open + 7, name.size() - 1 - (open + 7));
  if (digits.empty() || digits.front() == '0') return name;
  for (char c : digits) {
    if (c < '0' || c > '9') return name;
  }
  return name.substr(0, open);
}

}  // namespace

void GiveCopyName(const CLevelPack& pack, LevelRecord& level) {
  const std::string_view base = WithoutCopySuffix(
      std::string_view(level.m_szName, strnlen(level.m_szName, NAME_CHARS)));
  // At most nine levels: one of the first nine suffixes is always free.
  std::string name;
  for (int n = 1;; ++n) {
    const std::string suffix =
        n == 1 ? std::string(" (copy)") : " (copy " + std::to_string(n) + ")";
    std::string_view kept =
        base.substr(0, static_cast<std::size_t>(NAME_CHARS) - suffix.size());
    // A name cut in front of a space would show two before the suffix.
    while (kept.size() < base.size() && kept.ends_with(' ')) {
      kept.remove_suffix(1);
    }
    // An empty name gives "(copy)" rather than one with a leading space.
    name = kept.empty() ? suffix.substr(1) : std::string(kept) + suffix;
    if (!NameInUse(pack, name)) break;
  }
  std::memset(level.m_szName, 0, sizeof level.m_szName);
  std::memcpy(level.m_szName, name.data(), name.size());
}

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
