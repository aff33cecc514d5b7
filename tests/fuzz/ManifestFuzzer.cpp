// libFuzzer target for plodpak's manifest: any bytes as the JSON, its
// pictures looked up in a small fixed folder of real pictures (made once at
// start: a.png 96 x 64, b.png 288 x 64, c.png 96 x 192, d.png 100 x 64, a
// folder e.png). A manifest that is read and assembled into a pack exports
// to a manifest that reads again to the same levels; a refusal says why and
// leaves the manifest and the pack it was read into as they were.
#include <stdlib.h>

#include <QImage>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "plodpak/Manifest.h"

using fuzzcheck::Require;

namespace {

std::string g_manifestPath;

void SavePicture(const std::filesystem::path& folder, const char* name,
                 int width, int height) {
  QImage image(width, height, QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.fill(0);
  for (int x = 0; x < width; ++x) image.setPixel(x, height - 1, 1);
  Require(image.save(QString::fromStdString((folder / name).string()), "png"));
}

bool SameSettings(const plodpak::ManifestLevel& a,
                  const plodpak::ManifestLevel& b, bool withPasscode) {
  auto same = [](const std::optional<plodpak::ManifestPoint>& p,
                 const std::optional<plodpak::ManifestPoint>& q) {
    return p.has_value() == q.has_value() &&
           (!p || (p->x == q->x && p->y == q->y));
  };
  if (a.name != b.name || a.population != b.population ||
      a.toSave != b.toSave || a.spawnInterval != b.spawnInterval ||
      a.time != b.time || !same(a.entrance, b.entrance) ||
      !same(a.exit, b.exit) || a.blocks.size() != b.blocks.size() ||
      (withPasscode && a.passcode != b.passcode)) {
    return false;
  }
  for (int s = 0; s < SKILL_COUNT; ++s) {
    if (a.skills[s] != b.skills[s]) return false;
  }
  for (std::size_t i = 0; i < a.blocks.size(); ++i) {
    if (a.blocks[i].x != b.blocks[i].x || a.blocks[i].y != b.blocks[i].y) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "manifest-fuzz-XXXXXX")
          .string();
  Require(::mkdtemp(pattern.data()) != nullptr);
  const std::filesystem::path folder(pattern);
  SavePicture(folder, "a.png", 96, 64);
  SavePicture(folder, "b.png", 288, 64);
  SavePicture(folder, "c.png", 96, 192);
  SavePicture(folder, "d.png", 100, 64);
  std::filesystem::create_directory(folder / "e.png");
  g_manifestPath = (folder / "pack.json").string();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view json(reinterpret_cast<const char*>(data), size);
  plodpak::Manifest manifest;
  manifest.author = "untouched";
  plodpak::Problems problems;
  if (!plodpak::ParseManifest(json, g_manifestPath, manifest, problems)) {
    Require(!problems.empty() && manifest.author == "untouched" &&
            manifest.levels.empty());
    return 0;
  }
  Require(problems.empty());
  Require(!manifest.levels.empty() && manifest.levels.size() <= MAX_LEVELS);
  if (!manifest.password) manifest.password = "pw";
  PackContents pack;
  pack.m_szAuthorName = "untouched";
  if (!plodpak::AssemblePack(manifest, g_manifestPath, pack, problems)) {
    Require(!problems.empty() && pack.m_szAuthorName == "untouched" &&
            pack.levels.empty());
    return 0;
  }
  Require(pack.levels.size() == manifest.levels.size());
  plodpak::Manifest again;
  Require(plodpak::ParseManifest(plodpak::ExportManifest(pack), g_manifestPath,
                                 again, problems));
  Require(again.author == manifest.author &&
          again.password == manifest.password &&
          again.levels.size() == manifest.levels.size());
  for (std::size_t i = 0; i < manifest.levels.size(); ++i) {
    Require(SameSettings(again.levels[i], manifest.levels[i], i > 0));
  }
  return 0;
}
