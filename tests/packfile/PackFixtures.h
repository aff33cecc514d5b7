#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "model/LevelPack.h"
#include "model/Text.h"

// Small packs for the pack file tests.
namespace packfixtures {

inline LevelRecord BlankLevel(const char* passcode = "") {
  LevelRecord level;
  std::strcpy(level.m_szPasscode, passcode);
  level.PlaceObject({8, 20}, OBJ_ENTRANCE);
  level.PlaceObject({64, 40}, OBJ_EXIT);
  return level;
}

// One blank default level with entrance and exit, author "A", password "p".
inline PackContents BlankPack() {
  PackContents pack;
  pack.m_szAuthorName = "A";
  pack.m_szPassword = "p";
  pack.levels.push_back(BlankLevel());
  return pack;
}

inline std::string RandomText(std::mt19937& rng, int maxChars) {
  std::uniform_int_distribution<int> length(0, maxChars);
  std::uniform_int_distribution<int> ch(0x20, 0x7E);
  std::string text(static_cast<std::size_t>(length(rng)), ' ');
  for (char& c : text) c = static_cast<char>(ch(rng));
  return text;
}

// Terrain made of stretches of empty, solid and random bytes (0x80 among
// them), like drawn levels and worse.
inline void RandomTerrain(std::mt19937& rng, std::uint8_t* bitmap, int n) {
  std::uniform_int_distribution<int> stretch(1, 300);
  std::uniform_int_distribution<int> kind(0, 3);
  std::uniform_int_distribution<int> byte(0, 255);
  int i = 0;
  while (i < n) {
    const int k = kind(rng);
    const int len = std::min(stretch(rng), n - i);
    for (int j = 0; j < len; ++j, ++i) {
      bitmap[i] = k == 0   ? 0x00
                  : k == 1 ? 0xFF
                  : k == 2 ? 0x80
                           : static_cast<std::uint8_t>(byte(rng));
    }
  }
}

// A random level of a random valid size with objects inside it.
inline LevelRecord RandomLevel(std::mt19937& rng, bool withPasscode) {
  LevelRecord level;
  std::uniform_int_distribution<int> width(MIN_WIDTH_BYTES, MAX_WIDTH_BYTES);
  level.m_nWidthBytes = width(rng);
  std::uniform_int_distribution<int> height(
      MIN_HEIGHT, std::min(MAX_HEIGHT, MAX_BITMAP_BYTES / level.m_nWidthBytes));
  level.m_nHeight = height(rng);
  std::uniform_int_distribution<int> small(1, 50);
  std::uniform_int_distribution<int> skill(0, 50);
  level.m_nPopulation = small(rng);
  level.m_nToSave =
      std::uniform_int_distribution<int>(1, level.m_nPopulation)(rng);
  level.m_nSpawnInterval = std::uniform_int_distribution<int>(1, 220)(rng);
  level.m_nTime = std::uniform_int_distribution<int>(1, 20000)(rng);
  for (auto& s : level.m_nSkills) s = static_cast<std::int8_t>(skill(rng));
  const std::string name = RandomText(rng, NAME_CHARS);
  std::strcpy(level.m_szName, name.c_str());
  if (withPasscode) {
    std::uniform_int_distribution<int> letter('A', 'Z');
    for (int i = 0; i < PASSCODE_CHARS; ++i) {
      level.m_szPasscode[i] = static_cast<char>(letter(rng));
    }
    level.m_szPasscode[PASSCODE_CHARS] = '\0';
  }
  RandomTerrain(rng, level.m_bitmap, level.BitmapBytes());
  std::uniform_int_distribution<int> x(0, level.WidthPixels() - OBJECT_SIZE);
  std::uniform_int_distribution<int> y(0, level.m_nHeight - OBJECT_SIZE);
  std::bernoulli_distribution placed(0.8);
  if (placed(rng)) level.PlaceObject({x(rng), y(rng)}, OBJ_ENTRANCE);
  if (placed(rng)) level.PlaceObject({x(rng), y(rng)}, OBJ_EXIT);
  const int blocks = std::uniform_int_distribution<int>(0, MAX_BLOCKS)(rng);
  for (int b = 0; b < blocks; ++b)
    level.PlaceObject({x(rng), y(rng)}, OBJ_BLOCK);
  return level;
}

inline PackContents RandomPack(std::mt19937& rng, int maxLevels = MAX_LEVELS) {
  PackContents pack;
  pack.m_szAuthorName = RandomText(rng, AUTHOR_TYPED_CHARS);
  pack.m_szPassword = RandomText(rng, PASSWORD_CHARS);
  const int count = std::uniform_int_distribution<int>(1, maxLevels)(rng);
  for (int i = 0; i < count; ++i)
    pack.levels.push_back(RandomLevel(rng, i > 0));
  return pack;
}

// What every decoded pack must satisfy, whatever file it came from.
inline bool IsValidPack(const PackContents& pack) {
  if (pack.levels.empty() || pack.levels.size() > MAX_LEVELS) return false;
  if (pack.m_szPassword.size() > 10 || pack.m_szAuthorName.size() > 28) {
    return false;
  }
  for (const LevelRecord& level : pack.levels) {
    if (level.m_nWidthBytes < MIN_WIDTH_BYTES ||
        level.m_nWidthBytes > MAX_WIDTH_BYTES || level.m_nHeight < MIN_HEIGHT ||
        level.m_nHeight > MAX_HEIGHT ||
        level.BitmapBytes() > MAX_BITMAP_BYTES || level.m_nBlockCount < 0 ||
        level.m_nBlockCount > MAX_BLOCKS ||
        strnlen(level.m_szName, sizeof level.m_szName) > NAME_CHARS ||
        strnlen(level.m_szPasscode, sizeof level.m_szPasscode) >
            PASSCODE_CHARS) {
      return false;
    }
  }
  return true;
}

inline bool SamePack(const PackContents& a, const PackContents& b) {
  if (a.m_szPassword != b.m_szPassword ||
      a.m_szAuthorName != b.m_szAuthorName ||
      a.levels.size() != b.levels.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.levels.size(); ++i) {
    if (!a.levels[i].SameLevelAs(b.levels[i])) return false;
  }
  return true;
}

}  // namespace packfixtures
