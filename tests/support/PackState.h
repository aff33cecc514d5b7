#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/LevelPack.h"
#include "packfile/PackFile.h"

// What must come back exactly after undo and redo: the pack as its file
// stores it, plus what a file does not hold (the serials, which give reset
// levels their default names, and the first level's passcode).
struct PackState {
  std::vector<std::uint8_t> image;
  std::vector<std::uint32_t> serials;
  std::string firstPasscode;
  friend bool operator==(const PackState&, const PackState&) = default;
};

inline PackState StateOf(const CLevelPack& pack) {
  PackState state;
  std::string error;
  EXPECT_TRUE(EncodePackImage(pack.Contents(), state.image, error)) << error;
  for (int i = 0; i < pack.Count(); ++i) {
    state.serials.push_back(pack.Level(i).m_nSerial);
  }
  state.firstPasscode = pack.Level(0).m_szPasscode;
  return state;
}
