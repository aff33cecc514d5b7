// libFuzzer target for plodpak's password file: any bytes as the file. A
// password that is accepted is 1 to 10 printable characters and is read
// back the same from the file a user would write for it (ended by a new
// line of either kind, or by none); a refused file names its source and
// leaves the password as it was.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "plodpak/Cli.h"

using fuzzcheck::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string password = "untouched";
  std::string problem;
  if (!plodpak::PasswordFromText(text, "pw.txt", password, problem)) {
    Require(problem.rfind("pw.txt: ", 0) == 0);
    Require(password == "untouched");
    return 0;
  }
  Require(!password.empty() && password.size() <= 10);
  for (char c : password) Require(c >= 0x20 && c <= 0x7E);
  for (const std::string& file :
       {password, password + "\n", password + "\r\n"}) {
    std::string again;
    Require(plodpak::PasswordFromText(file, "pw.txt", again, problem));
    Require(again == password);
  }
  return 0;
}
