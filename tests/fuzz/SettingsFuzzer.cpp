// libFuzzer target for the settings the editor reads back at start: any
// bytes as its INI file, read by Qt's own INI reader and then checked by the
// editor. What is read is in range (a zoom the view has); stored again the
// way the editor stores it, into a fresh file, it reads back the same.
#include <stdlib.h>
#include <unistd.h>

#include <QFile>
#include <cstdint>
#include <filesystem>
#include <string>

#include "canvas/ViewGeometry.h"
#include "fuzz/FuzzCheck.h"
#include "shell/Settings.h"

using fuzzcheck::Require;

namespace {

QString g_input;
QString g_again;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // In memory where the system has it: a file is written for each input.
  const std::filesystem::path base =
      std::filesystem::exists("/dev/shm")
          ? "/dev/shm"
          : std::filesystem::temp_directory_path();
  std::string pattern = (base / "settings-fuzz-XXXXXX").string();
  Require(::mkdtemp(pattern.data()) != nullptr);
  g_input = QString::fromStdString(pattern + "/input.conf");
  g_again = QString::fromStdString(pattern + "/again.conf");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  {
    QFile file(g_input);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Require(file.write(reinterpret_cast<const char*>(data),
                       static_cast<qint64>(size)) == static_cast<qint64>(size));
  }
  StoredSettings stored;
  {
    const CEditorSettings settings(g_input);
    stored = settings.Stored();
  }
  Require(IsZoomLevel(stored.zoom));

  QFile::remove(g_again);
  {
    CEditorSettings again(g_again);
    again.SetStored(stored);
    again.Sync();
    Require(again.Status() == QSettings::NoError);
  }
  const CEditorSettings reread(g_again);
  Require(reread.Stored() == stored);
  return 0;
}
