#pragma once

#include <QJsonObject>
#include <filesystem>
#include <string>
#include <vector>

#include "model/LevelPack.h"
#include "support/TempFiles.h"

namespace plodpak_test {

// What one run of the plodpak executable did.
struct ToolResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs the real plodpak executable with `args` (no shell) and waits for it;
// in `folder` when one is given.
ToolResult RunPlodpak(const std::vector<std::string>& args,
                      const std::string& folder = "");

// As RunPlodpak, with `input` as the tool's standard input.
ToolResult RunPlodpakWithInput(const std::vector<std::string>& args,
                               const std::string& input);

// Temporary folders and whole-file reads and writes, as every test has them.
using testsupport::ReadBytes;
using testsupport::ReadText;
using testsupport::TempFolder;
using testsupport::WriteBytes;
using testsupport::WriteText;

// A level the editor could have saved: the given size, terrain of a few
// rectangles and stripes, an entrance, an exit and `blocks` blocks inside the
// level, settings within the population dialog's bounds, printable texts.
// The same seed gives the same level.
LevelRecord RandomLevel(unsigned seed, int widthBytes, int height, int blocks);

// A pack of `count` random levels that fits a pack file.
PackContents RandomPack(unsigned seed, int count);

// A valid two-level manifest (as JSON) whose pictures level-1.png and
// level-2.png this writes into `folder`; the second level is 112 x 72.
QJsonObject WriteSampleManifest(const std::filesystem::path& folder);

// Writes `manifest` as pack.json into `folder` and returns its path.
std::string SaveManifest(const std::filesystem::path& folder,
                         const QJsonObject& manifest);

}  // namespace plodpak_test
