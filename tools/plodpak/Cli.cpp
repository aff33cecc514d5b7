#include "plodpak/Cli.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QString>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <istream>
#include <optional>
#include <set>
#include <string_view>

#include "check/PackCheck.h"
#include "imageio/TerrainImage.h"
#include "model/LevelPack.h"
#include "packfile/PackFile.h"
#include "packfile/SafeWrite.h"
#include "packfile/VariableFile.h"
#include "plodpak/JsonWriter.h"
#include "plodpak/Manifest.h"

namespace plodpak {

namespace {

namespace fs = std::filesystem;

// A wrong password is named as such, followed by the words the editor's
// password prompt answers it with.
constexpr const char* WRONG_PASSWORD = "wrong password (Wrong. Try again.)";

// A password file holds one short line; anything far longer is not a
// password file.
constexpr std::size_t PASSWORD_SOURCE_MAX_BYTES = 4096;

struct Options {
  std::vector<std::string> operands;
  std::optional<std::string> out;
  std::optional<std::string> password;      // "-" reads standard input
  std::optional<std::string> passwordFile;  // a file holding the password
  bool noPassword = false;
  bool json = false;
  bool plus = false;
  bool help = false;
};

class UsageError {
 public:
  explicit UsageError(std::string message) : m_message(std::move(message)) {}
  const std::string& Message() const { return m_message; }

 private:
  std::string m_message;
};

bool IsHelp(std::string_view arg) {
  return arg == "--help" || arg == "-h" || arg == "help";
}

// Reads the options after the command word. `allowed` lists the options the
// command takes; "--out", "--password" and "--password-file" take a value
// ("--out DIR" or "--out=DIR"); "--" ends the options; "--help" is taken by
// every command.
bool ParseOptions(const std::vector<std::string>& args,
                  const std::set<std::string_view>& allowed, Options& options,
                  std::string& error) {
  bool operandsOnly = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (operandsOnly || arg.size() < 2 || arg[0] != '-') {
      options.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      operandsOnly = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (allowed.count(name) == 0) {
      error = "unknown option " + name + " for " + args[0];
      return false;
    }
    if (name == "--out" || name == "--password" || name == "--password-file") {
      std::string value;
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        error = name + " needs a value";
        return false;
      }
      std::optional<std::string>& slot = name == "--out" ? options.out
                                         : name == "--password"
                                             ? options.password
                                             : options.passwordFile;
      // A second value would silently replace the first: which one was
      // meant cannot be told.
      if (slot) {
        error = name + " is given more than once";
        return false;
      }
      slot = value;
    } else if (equals != std::string::npos) {
      error = name + " takes no value";
      return false;
    } else if (name == "--json") {
      options.json = true;
    } else if (name == "--8xp") {
      options.plus = true;
    } else if (name == "--no-password") {
      options.noPassword = true;
    }
  }
  return true;
}

// Bytes from a file shown on a terminal: anything but printable ASCII as
// \xNN, so a damaged comment cannot send control sequences.
std::string Printable(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte <= 0x7E && c != '\\') {
      out += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
  }
  return out;
}

// One line read from a password file or standard input: a final line break
// ("\n" or "\r\n") is not part of the password. A carriage return that ends
// no line stays, and is refused with the other characters a password cannot
// hold.
std::string PasswordLine(std::string text) {
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
  }
  return text;
}

// The password the command line names: given as a word, read from standard
// input ("--password -") or read from a file ("--password-file FILE"), or
// none. A password read from a file or standard input must be one the
// manifest could hold. False, with the reason in `problem`, when it cannot be
// read or is not a password.
bool ObtainPassword(const Options& options, std::istream& in,
                    std::optional<std::string>& password,
                    std::string& problem) {
  if (options.password && options.passwordFile) {
    throw UsageError("give the password once: --password or --password-file");
  }
  std::string source;
  std::string text;
  if (options.passwordFile) {
    source = *options.passwordFile;
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(source, PASSWORD_SOURCE_MAX_BYTES, bytes, error)) {
      problem = error;
      return false;
    }
    text.assign(bytes.begin(), bytes.end());
  } else if (options.password && *options.password == "-") {
    source = "standard input";
    // One line, so a password typed at a terminal ends with Enter.
    char c = 0;
    while (text.size() <= PASSWORD_SOURCE_MAX_BYTES && in.get(c)) {
      text += c;
      if (c == '\n') break;
    }
  } else {
    password = options.password;
    return true;
  }
  std::string checked;
  if (!PasswordFromText(text, source, checked, problem)) return false;
  password = std::move(checked);
  return true;
}

// True when `a` and `b` are one file however they are spelt: the same device
// and inode when both exist (a hard link too), else the same path once links,
// "." and ".." are resolved as far as the path exists.
bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code code;
  if (fs::equivalent(a, b, code)) return true;
  std::error_code codeA;
  std::error_code codeB;
  const fs::path resolvedA = fs::weakly_canonical(a, codeA);
  const fs::path resolvedB = fs::weakly_canonical(b, codeB);
  return !codeA && !codeB && resolvedA == resolvedB;
}

// A file a command reads, and what it is to the user.
struct Input {
  std::string path;
  std::string what;
};

// Refuses an output that is one of the command's inputs: writing it would
// destroy what the command was reading.
void RefuseOverwritingInputs(const std::string& output,
                             const std::vector<Input>& inputs) {
  for (const Input& input : inputs) {
    if (SameFile(output, input.path)) {
      std::string message = output + " is " + input.what;
      if (input.path != output) message += " (" + input.path + ")";
      throw UsageError(message + "; the output must not replace an input");
    }
  }
}

// True when the file name's extension is `extension` in either case, as the
// editor decides a file's kind.
bool HasExtension(const std::string& path, const char* extension) {
  return QFileInfo(QString::fromStdString(path))
             .suffix()
             .compare(QLatin1String(extension), Qt::CaseInsensitive) == 0;
}

// While it lives, what is written to the process's standard error goes
// nowhere. The picture readers print their own notes there ("libpng warning:
// tEXt: CRC error", "libpng error: Read Error"), before and in other words
// than plodpak's message about the same picture; plodpak names the problem
// itself, after.
class QuietStandardError {
 public:
  QuietStandardError() {
    std::fflush(stderr);
    m_saved = ::dup(STDERR_FILENO);
    const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (m_saved >= 0 && sink >= 0) ::dup2(sink, STDERR_FILENO);
    if (sink >= 0) ::close(sink);
  }
  ~QuietStandardError() {
    if (m_saved < 0) return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int m_saved = -1;
};

std::string Levels(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " level" : " levels");
}

// A pack file read and fully decoded, with its container facts.
struct LoadedPack {
  std::size_t fileBytes = 0;
  std::size_t imageBytes = 0;
  VariableFile container;
  PackContents pack;
};

bool LoadPack(const std::string& path, LoadedPack& loaded,
              std::string& problem) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path, VARIABLE_FILE_MAX_BYTES, bytes, error) ||
      !DecodePackFileBytes(bytes, loaded.pack, error, &loaded.container)) {
    problem = path + ": " + error;
    return false;
  }
  loaded.fileBytes = bytes.size();
  // A TI-83 Plus file's data begins with the program's own length word.
  const std::size_t lengthWord = loaded.container.plus ? 2 : 0;
  loaded.imageBytes = loaded.container.data.size() - lengthWord;
  return true;
}

// One line per file on `out`: ok, not ready or the reason it is damaged.
// The pack check's errors, warnings and notes of a sound file follow on
// `err`. The status is the worst of the files: damaged, then not ready, then
// ready; warnings and notes never change it.
int Verify(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.operands.empty()) throw UsageError("verify needs a FILE");
  int status = EXIT_OK;
  for (const std::string& path : options.operands) {
    LoadedPack loaded;
    std::string problem;
    if (!LoadPack(path, loaded, problem)) {
      out << problem << "\n";
      status = EXIT_BAD_INPUT;
      continue;
    }
    const std::vector<PackProblem> problems =
        CheckPack(loaded.pack, loaded.container.plus ? VariableFlavour::TI83Plus
                                                     : VariableFlavour::TI83);
    const bool ready = CountErrors(problems) == 0;
    out << path << (ready ? ": ok (" : ": not ready for the calculator (")
        << Levels(loaded.pack.levels.size()) << ", " << loaded.fileBytes
        << " bytes)\n";
    for (const PackProblem& p : problems) {
      err << path
          << (p.IsError()  ? ": error: "
              : p.IsNote() ? ": note: "
                           : ": warning: ")
          << p.text << "\n";
    }
    if (!ready && status == EXIT_OK) status = EXIT_NOT_READY;
  }
  return status;
}

int Info(const Options& options, std::ostream& out, std::ostream& err) {
  if (options.operands.size() != 1) throw UsageError("info needs one FILE");
  const std::string& path = options.operands[0];
  LoadedPack loaded;
  std::string problem;
  if (!LoadPack(path, loaded, problem)) {
    err << problem << "\n";
    return EXIT_BAD_INPUT;
  }
  const VariableFile& file = loaded.container;
  const char* signature = file.plus ? "TI-83 Plus" : "TI-83";
  if (options.json) {
    out << JsonValue::Object()
               .Add("file", path)
               .Add("signature", signature)
               .Add("variable_name", file.name)
               .Add("type", file.type)
               .Add("comment", file.comment)
               .Add("file_bytes", static_cast<long long>(loaded.fileBytes))
               .Add("image_bytes", static_cast<long long>(loaded.imageBytes))
               .Add("levels", static_cast<int>(loaded.pack.levels.size()))
               .Dump();
    return EXIT_OK;
  }
  char type[16];
  std::snprintf(type, sizeof type, "0x%02X", file.type & 0xFF);
  out << "file:          " << path << "\n"
      << "signature:     " << signature
      << (file.plus ? " (**TI83F*)\n" : " (**TI83**)\n")
      << "variable name: " << Printable(file.name) << "\n"
      << "type:          " << type
      << (file.type == TYPE_PROTECTED_PROGRAM ? " (protected program)\n" : "\n")
      << "comment:       " << Printable(file.comment) << "\n"
      << "file size:     " << loaded.fileBytes << " bytes\n"
      << "pack image:    " << loaded.imageBytes << " bytes\n"
      << "levels:        " << loaded.pack.levels.size() << "\n";
  return EXIT_OK;
}

// One file of an export: its name in the folder and its bytes.
struct ExportFile {
  std::string name;
  QByteArray bytes;
};

bool WriteBytes(const fs::path& path, const QByteArray& bytes,
                std::string& error) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  return WriteFileAtomically(path.string(),
                             std::span<const std::uint8_t>(
                                 data, static_cast<std::size_t>(bytes.size())),
                             error);
}

// A new, empty folder inside `parent`, its name `stem` and a random tail;
// empty when it cannot be made.
fs::path MakeStagingFolder(const fs::path& parent, const std::string& stem) {
  std::string pattern =
      ((parent.empty() ? fs::path(".") : parent) / (stem + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

// A file of `folder` that export replaces, moved aside while the new one goes
// in, so that a failure can put it back.
struct Replaced {
  std::string name;
  bool movedAside = false;
  bool newInPlace = false;
};

// Writes the files of one export so that `folder` holds all of them or is
// left as it was. Every file is first written into a staging folder; only
// when all are there do they go into place:
// - a folder that does not exist yet is the staging folder itself, made
//   beside it and renamed into place in one step;
// - into a folder that exists, each file is moved in by a rename within the
//   folder, the file it replaces moved aside first; if a move fails, the new
//   files are taken out and the replaced ones put back. The folder's other
//   files are never touched (pictures of an earlier, larger export stay), and
//   anything in the way that is not a file (a folder named level-2.png)
//   refuses the export before anything is written.
bool WriteExportFolder(const fs::path& given,
                       const std::vector<ExportFile>& files,
                       std::string& error) {
  // "out/" is the folder "out".
  const fs::path folder = given.has_filename() ? given : given.parent_path();
  std::error_code code;
  const fs::file_status status = fs::status(folder, code);
  if (fs::exists(status) && !fs::is_directory(status)) {
    error = given.string() + ": is not a folder";
    return false;
  }
  const bool exists = fs::is_directory(status);
  if (exists) {
    for (const ExportFile& file : files) {
      const fs::file_status there =
          fs::symlink_status(folder / file.name, code);
      if (fs::exists(there) && !fs::is_regular_file(there) &&
          !fs::is_symlink(there)) {
        error = (folder / file.name).string() +
                ": is in the way and is not a file; nothing was exported";
        return false;
      }
    }
  } else if (folder.has_parent_path()) {
    fs::create_directories(folder.parent_path(), code);
    if (code) {
      error = folder.parent_path().string() +
              ": cannot create the folder: " + code.message();
      return false;
    }
  }
  const fs::path staging =
      exists
          ? MakeStagingFolder(folder, ".plodpak-export-")
          : MakeStagingFolder(folder.parent_path(),
                              "." + folder.filename().string() + ".plodpak-");
  if (staging.empty()) {
    error = (exists ? folder : given).string() +
            ": cannot create the folder: " + std::strerror(errno);
    return false;
  }
  auto fail = [&](const std::string& why) {
    fs::remove_all(staging, code);
    error = why;
    return false;
  };
  for (const ExportFile& file : files) {
    if (!WriteBytes(staging / file.name, file.bytes, error)) {
      return fail(error);
    }
  }

  if (!exists) {
    // A folder made by mkdtemp is private; the export's folder gets the
    // permissions a new folder gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    fs::permissions(staging, static_cast<fs::perms>(0777 & ~mask), code);
    fs::rename(staging, folder, code);
    if (code) {
      return fail(given.string() +
                  ": cannot create the folder: " + code.message());
    }
    return true;
  }

  std::vector<Replaced> steps;
  for (const ExportFile& file : files) {
    Replaced step{file.name};
    const fs::path target = folder / file.name;
    const fs::path aside = staging / ("replaced-" + file.name);
    const fs::file_status there = fs::symlink_status(target, code);
    code.clear();
    const bool occupied = fs::exists(there);
    // A file written again keeps its permissions, as a save keeps them.
    if (fs::is_regular_file(there)) {
      fs::permissions(staging / file.name, there.permissions(), code);
      code.clear();
    }
    if (occupied) {
      fs::rename(target, aside, code);
      step.movedAside = !code;
    }
    if (!code) {
      fs::rename(staging / file.name, target, code);
      step.newInPlace = !code;
    }
    steps.push_back(step);
    if (code) {
      std::string why = target.string() + ": cannot write: " + code.message() +
                        "; nothing was exported";
      bool restored = true;
      for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
        std::error_code undo;
        if (it->newInPlace) fs::remove(folder / it->name, undo);
        if (it->movedAside) {
          fs::rename(staging / ("replaced-" + it->name), folder / it->name,
                     undo);
        }
        restored = restored && !undo;
      }
      if (!restored) {
        // The files that were replaced are the author's: never removed.
        error = why + "; the files it replaced are in " + staging.string();
        return false;
      }
      return fail(why);
    }
  }
  fs::remove_all(staging, code);
  return true;
}

int Export(const Options& options, std::istream& in, std::ostream& out,
           std::ostream& err) {
  if (options.operands.size() != 1) throw UsageError("export needs one FILE");
  if (!options.password && !options.passwordFile) {
    throw UsageError(
        "export needs --password PW, --password - or --password-file FILE");
  }
  if (!options.out) throw UsageError("export needs --out DIR");
  if (options.out->empty()) {
    throw UsageError("--out names no folder: it is empty");
  }
  const std::string& path = options.operands[0];
  std::optional<std::string> password;
  std::string error;
  if (!ObtainPassword(options, in, password, error)) {
    err << error << "\n";
    return EXIT_BAD_INPUT;
  }
  PackContents pack;
  if (!LoadPackFile(path, pack, error)) {
    err << path << ": " << error << "\n";
    return EXIT_BAD_INPUT;
  }
  if (*password != pack.m_szPassword) {
    err << path << ": " << WRONG_PASSWORD << "\n";
    return EXIT_BAD_INPUT;
  }

  // Everything is encoded before the first file is written.
  const fs::path folder(*options.out);
  std::vector<ExportFile> files;
  for (std::size_t i = 0; i < pack.levels.size(); ++i) {
    const QByteArray png = EncodePng(TerrainToImage(pack.levels[i]));
    const std::string name = TerrainFileName(static_cast<int>(i));
    if (png.isEmpty()) {
      err << (folder / name).string() << ": the picture could not be encoded\n";
      return EXIT_WRITE_FAILED;
    }
    files.push_back({name, png});
  }
  // The manifest goes last, so it never names a picture not yet written.
  const std::string manifest = ExportManifest(pack, !options.noPassword);
  files.push_back(
      {"pack.json",
       QByteArray(manifest.data(), static_cast<qsizetype>(manifest.size()))});

  std::vector<Input> inputs = {{path, "the pack file"}};
  if (options.passwordFile) {
    inputs.push_back({*options.passwordFile, "the password file"});
  }
  for (const ExportFile& file : files) {
    RefuseOverwritingInputs((folder / file.name).string(), inputs);
  }
  if (!WriteExportFolder(folder, files, error)) {
    err << error << "\n";
    return EXIT_WRITE_FAILED;
  }
  out << path << ": " << Levels(pack.levels.size()) << " exported to "
      << (folder / "pack.json").string() << "\n";
  return EXIT_OK;
}

int Build(const Options& options, std::istream& in, std::ostream& out,
          std::ostream& err) {
  if (options.operands.size() != 1) {
    throw UsageError("build needs one MANIFEST");
  }
  if (!options.out) throw UsageError("build needs --out FILE");
  const std::string& manifestPath = options.operands[0];
  const std::string& target = *options.out;
  if (target.empty()) throw UsageError("--out names no file: it is empty");
  // The file's kind follows its name, as in the editor; --8xp makes a TI-83
  // Plus file of any other name.
  if (options.plus && HasExtension(target, "83p")) {
    throw UsageError("--8xp writes a TI-83 Plus file, but " + target +
                     " has the TI-83 extension .83p; name it .8xp or leave "
                     "out --8xp");
  }
  const VariableFlavour flavour = options.plus || HasExtension(target, "8xp")
                                      ? VariableFlavour::TI83Plus
                                      : VariableFlavour::TI83;

  std::optional<std::string> password;
  std::string error;
  if (!ObtainPassword(options, in, password, error)) {
    err << error << "\n";
    return EXIT_BAD_INPUT;
  }
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(manifestPath, MANIFEST_MAX_BYTES, bytes, error)) {
    err << manifestPath << ": " << error << "\n";
    return EXIT_BAD_INPUT;
  }
  Manifest manifest;
  PackContents pack;
  Problems problems;
  std::string problem;
  const std::string_view json(reinterpret_cast<const char*>(bytes.data()),
                              bytes.size());
  if (!ParseManifest(json, manifestPath, manifest, problems)) {
    for (const std::string& line : problems) err << line << "\n";
    return EXIT_BAD_INPUT;
  }
  std::vector<Input> inputs = {{manifestPath, "the manifest"}};
  if (options.passwordFile) {
    inputs.push_back({*options.passwordFile, "the password file"});
  }
  for (std::size_t i = 0; i < manifest.levels.size(); ++i) {
    inputs.push_back({TerrainPath(manifestPath, manifest.levels[i]),
                      "the terrain picture of level " + std::to_string(i + 1)});
  }
  RefuseOverwritingInputs(target, inputs);
  // A password on the command line stands in for the manifest's.
  if (password) {
    if (!CheckPassword(*password, "--password", problems)) {
      err << problems.front() << "\n";
      return EXIT_BAD_INPUT;
    }
    manifest.password = password;
  }
  if (!manifest.password) {
    err << manifestPath
        << ": password: missing; give it in the manifest or with "
           "--password-file FILE or --password -\n";
    return EXIT_BAD_INPUT;
  }
  bool assembled = false;
  {
    const QuietStandardError quiet;
    assembled = AssemblePack(manifest, manifestPath, pack, problems);
  }
  if (!assembled) {
    for (const std::string& line : problems) err << line << "\n";
    return EXIT_BAD_INPUT;
  }
  if (!CheckPackFits(pack, flavour, manifestPath, problem)) {
    err << problem << "\n";
    return EXIT_BAD_INPUT;
  }
  if (!SavePackFile(target, pack, error, flavour)) {
    err << target << ": " << error << "\n";
    return EXIT_WRITE_FAILED;
  }
  std::error_code code;
  const auto size = std::filesystem::file_size(target, code);
  out << target << ": " << Levels(pack.levels.size()) << ", "
      << (code ? 0 : size) << " bytes, variable " << MakeVariableName(target)
      << "\n";
  return EXIT_OK;
}

}  // namespace

bool PasswordFromText(std::string_view text, const std::string& source,
                      std::string& password, std::string& problem) {
  std::string line = PasswordLine(std::string(text));
  if (line.find('\n') != std::string::npos) {
    problem = source + ": password: has a second line (the password is the " +
              "file's one line)";
    return false;
  }
  Problems problems;
  if (!CheckPassword(line, source, problems)) {
    problem = problems.front();
    return false;
  }
  password = std::move(line);
  return true;
}

std::string UsageText() {
  return R"USAGE(Usage: plodpak COMMAND ARGUMENTS

Checks, inspects, exports and builds Plodpak level packs: the TI-83 (.83p)
and TI-83 Plus (.8xp) program files the Plodderz level editor writes.

Commands:
  verify FILE...
      Checks each file's TI-83 container (signature, checksum, lengths) and
      its whole pack image, then checks the pack as the editor does before
      a save. Prints "FILE: ok (N levels, S bytes)", "FILE: not ready for
      the calculator (N levels, S bytes)" or "FILE: <reason>" for each; the
      pack check's "FILE: error: ...", "FILE: warning: ..." and
      "FILE: note: ..." lines go to standard error. Needs no password.
  info FILE [--json]
      Shows the container's facts (variable name, type, comment, signature,
      sizes) and the level count. Shows no level contents.
  export FILE --password PW --out DIR [--no-password]
      Writes DIR/pack.json and one 1-bit picture per level, DIR/level-1.png
      and on (black = terrain, white = empty), all of them or none; other
      files in DIR stay. A wrong password writes nothing. --no-password
      leaves the password out of pack.json.
  build MANIFEST.json --out FILE.83p [--8xp] [--password PW]
      Builds a pack from a manifest and its PNG pictures (paths relative to
      the manifest). The variable name comes from the output file's name,
      the comment from the author. A .8xp name gets a TI-83 Plus file, as
      does any other name but .83p with --8xp. The output must not be the
      manifest or one of its pictures. A password given replaces the
      manifest's; a manifest without one needs it.

In place of --password PW, which others on the machine may see:
  --password-file FILE  the password is FILE's one line
  --password -          the password is one line read from standard input

Options:
  -h, --help  Shows this help.

Exit status: 0 done (for verify: every file is ready, warnings allowed); 1
the output could not be written; 2 invalid input (a damaged or invalid pack,
a bad manifest or picture, a password file that cannot be read, a wrong
password: "FILE: wrong password"); 3 verify only: every file is
sound but one is not ready (it has an error that would stop the editor's
Save As); 64 a wrong command line (an option given twice, an output that
is an input). The manifest format is described in
docs/plodpak.md.
)USAGE";
}

int Run(const std::vector<std::string>& args, std::istream& in,
        std::ostream& out, std::ostream& err) {
  if (!args.empty() && IsHelp(args[0])) {
    out << UsageText();
    return EXIT_OK;
  }
  try {
    if (args.empty()) throw UsageError("a command is needed");
    const std::string& command = args[0];
    Options options;
    std::string error;
    std::set<std::string_view> allowed;
    if (command == "info") allowed = {"--json"};
    if (command == "export") {
      allowed = {"--password", "--password-file", "--out", "--no-password"};
    }
    if (command == "build") {
      allowed = {"--out", "--8xp", "--password", "--password-file"};
    }
    if (command != "verify" && command != "info" && command != "export" &&
        command != "build") {
      throw UsageError("unknown command " + command);
    }
    if (!ParseOptions(args, allowed, options, error)) throw UsageError(error);
    if (options.help) {
      out << UsageText();
      return EXIT_OK;
    }
    if (command == "verify") return Verify(options, out, err);
    if (command == "info") return Info(options, out, err);
    if (command == "export") return Export(options, in, out, err);
    return Build(options, in, out, err);
  } catch (const UsageError& usage) {
    err << "plodpak: " << usage.Message() << "\n\n" << UsageText();
    return EXIT_USAGE;
  }
}

}  // namespace plodpak
