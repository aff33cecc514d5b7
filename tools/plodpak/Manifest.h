#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Level.h"
#include "model/LevelPack.h"
#include "packfile/VariableFile.h"

namespace plodpak {

inline constexpr int MANIFEST_FORMAT = 1;
// A manifest of nine levels with every block placed is a few kilobytes; a
// file far beyond that is not a manifest.
inline constexpr std::size_t MANIFEST_MAX_BYTES = 1 << 20;

// The manifest's skill keys, in the order of the level's skill bytes.
inline constexpr const char* SKILL_KEYS[SKILL_COUNT] = {
    "bashers", "blockers",  "builders", "climbers",
    "diggers", "exploders", "floaters", "miners",
};

// The top-left pixel of an object's 16 x 16 footprint.
struct ManifestPoint {
  int x = 0;
  int y = 0;
};

struct ManifestLevel {
  std::string name;
  std::optional<std::string> passcode;
  int population = 0;
  int toSave = 0;
  int spawnInterval = 0;
  int time = 0;
  int skills[SKILL_COUNT] = {};
  std::string terrain;  // picture path, relative to the manifest's folder
  std::optional<ManifestPoint> entrance;
  std::optional<ManifestPoint> exit;
  std::vector<ManifestPoint> blocks;
};

struct Manifest {
  std::string author;
  // Left out of a manifest kept where others may read it; build then takes
  // the password from its command line.
  std::optional<std::string> password;
  std::vector<ManifestLevel> levels;
};

// What is wrong with an input, one line each, in the form
// "FILE: level N: field: reason" (without the level for pack-wide fields).
using Problems = std::vector<std::string>;

// Reads a manifest's JSON and checks everything that needs no picture: the
// format, the keys, the types, the bounds of every number, to-save not above
// the population, the texts (printable ASCII within their lengths; author and
// password not empty; four-character passcodes on levels 2 to 9), one to
// nine levels, at most 49 blocks, object x on multiples of 8. `file` names
// the manifest in the problems. True when nothing was wrong.
bool ParseManifest(std::string_view json, const std::string& file,
                   Manifest& manifest, Problems& problems);

// Checks a password that came from somewhere other than a manifest (a
// password file, standard input, the command line) by the manifest's rules:
// 1 to 10 printable ASCII characters. `source` names where it came from in
// the problem ("pw.txt: password: must not be empty").
bool CheckPassword(std::string_view password, const std::string& source,
                   Problems& problems);

// The path of a level's picture: its terrain path taken from the manifest's
// folder.
std::string TerrainPath(const std::string& manifestPath,
                        const ManifestLevel& level);

// Makes the pack a manifest describes: reads each level's picture (its path
// relative to the manifest's folder), sets the level's size and terrain from
// it, and places the objects, which must all lie inside the level; every
// level needs an entrance and an exit. True when nothing was wrong; `pack`
// is then complete.
bool AssemblePack(const Manifest& manifest, const std::string& manifestPath,
                  PackContents& pack, Problems& problems);

// Checks that the pack fits a file of the given flavour, through the same
// encoder the editor's save uses. On failure `problem` names `file`.
bool CheckPackFits(const PackContents& pack, VariableFlavour flavour,
                   const std::string& file, std::string& problem);

// The manifest of a decoded pack, as JSON text in the manifest's key order.
// Pictures are named by TerrainFileName (imageio/TerrainImage.h). The first
// level's passcode is left out (a pack file stores none), and so is a missing
// entrance or exit; the password is left out when `withPassword` is false.
std::string ExportManifest(const PackContents& pack, bool withPassword = true);

}  // namespace plodpak
