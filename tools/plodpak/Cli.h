#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace plodpak {

// Exit statuses of plodpak.
inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_WRITE_FAILED = 1;  // output could not be written
inline constexpr int EXIT_BAD_INPUT = 2;  // invalid file, manifest or password
// verify: sound files, but one has an error that would stop Save As.
inline constexpr int EXIT_NOT_READY = 3;
inline constexpr int EXIT_USAGE = 64;  // the command line is wrong

// The password in what a password file or standard input gave: the text
// without its line's end, checked by the manifest's rules. False, with the
// reason in `problem` (naming `source`), when it is not a password;
// `password` is then left as it was.
bool PasswordFromText(std::string_view text, const std::string& source,
                      std::string& password, std::string& problem);

// The text of `plodpak --help`.
std::string UsageText();

// Runs one plodpak command line (without the program name) and returns its
// exit status. Reports go to `out`, problems to `err`; a password asked for
// with "--password -" is read from `in`.
int Run(const std::vector<std::string>& args, std::istream& in,
        std::ostream& out, std::ostream& err);

}  // namespace plodpak
