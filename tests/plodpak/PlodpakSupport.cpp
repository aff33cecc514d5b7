#include "PlodpakSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iterator>
#include <random>
#include <sstream>
#include <thread>

#include "packfile/PackFile.h"

extern char** environ;

namespace plodpak_test {

namespace fs = std::filesystem;

namespace {

ToolResult Spawn(const std::vector<std::string>& args,
                 const std::string& workFolder, const std::string& inPath) {
  TempFolder folder;
  const std::string outPath = folder / "stdout";
  const std::string errPath = folder / "stderr";

  std::vector<std::string> words = {PLODPAK_EXE};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inPath.c_str(),
                                   O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (!workFolder.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, workFolder.c_str());
  }
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, PLODPAK_EXE, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ToolResult result;
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << PLODPAK_EXE;
    return result;
  }
  // A run that blocks (on a pipe, a device) fails its test instead of
  // stalling the suite: after a generous bound it is killed.
  int wstatus = 0;
  const auto until =
      std::chrono::steady_clock::now() + std::chrono::seconds(30);
  pid_t done = 0;
  while ((done = waitpid(pid, &wstatus, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (done == 0) {
    ::kill(pid, SIGKILL);
    waitpid(pid, &wstatus, 0);
    ADD_FAILURE() << "plodpak did not end within 30 s";
  }
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  result.out = ReadText(outPath);
  result.err = ReadText(errPath);
  return result;
}

}  // namespace

ToolResult RunPlodpak(const std::vector<std::string>& args,
                      const std::string& workFolder) {
  return Spawn(args, workFolder, "/dev/null");
}

ToolResult RunPlodpakWithInput(const std::vector<std::string>& args,
                               const std::string& input) {
  TempFolder folder;
  const std::string inPath = folder / "stdin";
  WriteText(inPath, input);
  return Spawn(args, "", inPath);
}

LevelRecord RandomLevel(unsigned seed, int widthBytes, int height, int blocks) {
  std::mt19937 random(seed);
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  LevelRecord level;
  level.m_nWidthBytes = widthBytes;
  level.m_nHeight = height;
  const int width = 8 * widthBytes;
  // Rectangles of terrain with some single odd bytes: compressible like a
  // drawn level, but with every kind of byte the codec meets.
  for (int r = 0; r < 6; ++r) {
    const int left = pick(0, width - 1);
    const int top = pick(0, height - 1);
    const int right = std::min(width, left + pick(1, 60));
    const int bottom = std::min(height, top + pick(1, 20));
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        level.m_bitmap[y * widthBytes + x / 8] |=
            static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  for (int n = 0; n < 10; ++n) {
    level.m_bitmap[pick(0, widthBytes * height - 1)] =
        static_cast<std::uint8_t>(pick(0, 255));
  }
  auto object = [&](int kind) {
    return LevelObject{
        static_cast<std::uint8_t>(kind),
        static_cast<std::uint8_t>(pick(0, widthBytes - 2)),
        static_cast<std::uint8_t>(pick(0, height - OBJECT_SIZE))};
  };
  level.m_objects[ENTRANCE_SLOT] = object(OBJ_ENTRANCE);
  level.m_objects[EXIT_SLOT] = object(OBJ_EXIT);
  for (int b = 0; b < blocks; ++b) {
    level.m_objects[FIRST_BLOCK_SLOT + b] = object(OBJ_BLOCK);
  }
  level.m_nBlockCount = blocks;
  level.m_nPopulation = pick(1, 50);
  level.m_nToSave = pick(1, level.m_nPopulation);
  level.m_nSpawnInterval = pick(1, 220);
  level.m_nTime = pick(1, 20000);
  for (auto& skill : level.m_nSkills)
    skill = static_cast<std::int8_t>(pick(0, 50));
  const int nameChars = pick(0, NAME_CHARS);
  for (int i = 0; i < nameChars; ++i) {
    level.m_szName[i] = static_cast<char>(pick(0x20, 0x7E));
  }
  level.m_szName[nameChars] = '\0';
  // The passcode edit turns letters into capitals: any printable character
  // but a lower-case letter.
  for (int i = 0; i < PASSCODE_CHARS; ++i) {
    char c = static_cast<char>(pick(0x20, 0x7E - 26));
    if (c >= 'a') c = static_cast<char>(c + 26);
    level.m_szPasscode[i] = c;
  }
  level.m_szPasscode[PASSCODE_CHARS] = '\0';
  return level;
}

PackContents RandomPack(unsigned seed, int count) {
  // Sizes at the edges of what a level may be.
  static const int sizes[][2] = {{12, 64},  {36, 64},  {12, 192},
                                 {24, 96},  {18, 128}, {13, 65},
                                 {20, 100}, {30, 76},  {15, 150}};
  PackContents pack;
  pack.m_szAuthorName = "Author " + std::to_string(seed);
  pack.m_szPassword = "pw" + std::to_string(seed % 1000);
  for (int i = 0; i < count; ++i) {
    const auto& size = sizes[(seed + static_cast<unsigned>(i)) % 9];
    pack.levels.push_back(RandomLevel(seed * 31 + static_cast<unsigned>(i),
                                      size[0], size[1], (i * 7) % 50));
  }
  // A decoded pack holds no passcode for its first level.
  pack.levels[0].m_szPasscode[0] = '\0';
  return pack;
}

namespace {

QJsonObject Point(int x, int y) { return {{"x", x}, {"y", y}}; }

QJsonObject Skills(int value) {
  return {{"bashers", value},  {"blockers", value}, {"builders", value},
          {"climbers", value}, {"diggers", value},  {"exploders", value},
          {"floaters", value}, {"miners", value}};
}

void WritePicture(const fs::path& path, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  for (int x = 0; x < width; ++x) {
    for (int y = height - 8; y < height; ++y)
      image.setPixel(x, y, qRgb(0, 0, 0));
  }
  ASSERT_TRUE(image.save(QString::fromStdString(path.string()), "PNG"));
}

}  // namespace

QJsonObject WriteSampleManifest(const fs::path& folder) {
  WritePicture(folder / "level-1.png", 96, 64);
  WritePicture(folder / "level-2.png", 112, 72);
  QJsonObject first{{"name", "Level 1 Name"},
                    {"population", 20},
                    {"to_save", 20},
                    {"spawn_interval", 15},
                    {"time", 1200},
                    {"skills", Skills(30)},
                    {"terrain", "level-1.png"},
                    {"entrance", Point(16, 10)},
                    {"exit", Point(64, 40)},
                    {"blocks", QJsonArray{Point(24, 40)}}};
  QJsonObject second{{"name", "Second"},        {"passcode", "WXYZ"},
                     {"population", 10},        {"to_save", 5},
                     {"spawn_interval", 220},   {"time", 20000},
                     {"skills", Skills(0)},     {"terrain", "level-2.png"},
                     {"entrance", Point(0, 0)}, {"exit", Point(96, 56)},
                     {"blocks", QJsonArray{}}};
  return {{"format", 1},
          {"author", "Ann"},
          {"password", "secret"},
          {"levels", QJsonArray{first, second}}};
}

std::string SaveManifest(const fs::path& folder, const QJsonObject& manifest) {
  const std::string path = (folder / "pack.json").string();
  WriteText(path, QJsonDocument(manifest).toJson().toStdString());
  return path;
}

}  // namespace plodpak_test
