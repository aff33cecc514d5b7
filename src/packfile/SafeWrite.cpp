#include "packfile/SafeWrite.h"

#include "packfile/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

std::string ErrnoText(int code) { return std::strerror(code); }

std::string Failure(const std::string& what, const std::string& path,
                    int code) {
  return what + " \"" + path + "\": " + ErrnoText(code);
}

// The folder part of a path, with its trailing "/", or "" for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The mode a newly created file gets: 0666 less the process's umask. An
// existing target keeps its own mode.
mode_t ModeForTarget(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    return info.st_mode & 07777;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Saving through a symbolic link replaces the file it points to and keeps
// the link. A dangling link is replaced itself.
std::string ResolveLink(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target = resolved;
  std::free(resolved);
  return target;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, int& code) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      code = errno;
      return false;
    }
    if (n == 0) {
      code = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path,
                         std::span<const std::uint8_t> bytes,
                         std::string& error) {
  if (path.empty() || path.back() == '/') {
    error = "Cannot write \"" + path + "\": it names no file";
    return false;
  }
  const std::string target = ResolveLink(path);
  const std::string folder = FolderOf(target);
  // A short name of its own: a target name may already be as long as the
  // file system allows, so one made from it could be refused.
  std::string temp = folder + ".plodpak-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = Failure("Cannot create a file in the folder of", path, errno);
    return false;
  }
  int code = 0;
  std::string what;
  if (::fchmod(fd, ModeForTarget(target)) != 0) {
    code = errno;
    what = "Cannot set the permissions for";
  } else if (!WriteAll(fd, bytes, code)) {
    what = "Cannot write";
  } else if (::fsync(fd) != 0) {
    code = errno;
    what = "Cannot write";
  }
  if (::close(fd) != 0 && code == 0) {
    code = errno;
    what = "Cannot write";
  }
  if (code == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
    code = errno;
    what = "Cannot replace";
  }
  if (code != 0) {
    ::unlink(temp.c_str());
    error = Failure(what, path, code);
    return false;
  }
  // Make the rename itself durable; a failure here loses nothing that was
  // asked for, so it is not reported.
  const int dir = ::open(folder.empty() ? "." : folder.c_str(),
                         O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::size_t maxBytes,
                   std::vector<std::uint8_t>& bytes, std::string& error) {
  return ReadRegularFile(path, maxBytes, bytes, error);
}
