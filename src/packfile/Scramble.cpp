#include "packfile/Scramble.h"

#include <cstring>
#include <vector>

namespace {

unsigned char Low4(char c) { return static_cast<unsigned char>(c) & 0x0F; }

void Add(char& c, int amount) {
  c = static_cast<char>(static_cast<unsigned char>(c) + amount);
}

std::string Transformed(std::string_view text, void (*transform)(char*)) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  transform(buffer.data());
  return std::string(buffer.data());
}

}  // namespace

void ScrambleString(char* text) {
  const std::size_t length = std::strlen(text);
  if (length >= 2) Add(text[0], Low4(text[1]));
  for (std::size_t i = 0; i < length; ++i) {
    Add(text[i], static_cast<int>(i % 3) + 4);
  }
  // Going up, so characters i + 1 and i + 2 are still as step two left them.
  for (std::size_t i = 0; i + 2 < length; ++i) {
    Add(text[i], Low4(text[i + 1]) + Low4(text[i + 2]));
  }
}

void UnscrambleString(char* text) {
  const std::size_t length = std::strlen(text);
  // Going down, so characters i + 1 and i + 2 are already back to the state
  // they had when character i was scrambled.
  for (std::size_t end = length; end >= 3; --end) {
    const std::size_t i = end - 3;
    Add(text[i], -(Low4(text[i + 1]) + Low4(text[i + 2])));
  }
  for (std::size_t i = 0; i < length; ++i) {
    Add(text[i], -(static_cast<int>(i % 3) + 4));
  }
  if (length >= 2) Add(text[0], -Low4(text[1]));
}

std::string ScrambledString(std::string_view text) {
  return Transformed(text, ScrambleString);
}

std::string UnscrambledString(std::string_view text) {
  return Transformed(text, UnscrambleString);
}
