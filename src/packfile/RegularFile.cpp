#include "packfile/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// What a file of this mode is, when it is not a regular file.
std::string KindReason(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return "is a directory, not a regular file";
  if (S_ISFIFO(mode)) return "is a named pipe, not a regular file";
  if (S_ISSOCK(mode)) return "is a socket, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) {
    return "is a device, not a regular file";
  }
  return "is not a regular file";
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

std::string NotRegularFileReason(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return KindReason(info.st_mode);
  const int code = errno;
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return {};
  // The path is a link that leads nowhere readable.
  if (code == ELOOP) return "is a link that loops back on itself";
  if (code == ENOENT) return "is a link to a file that does not exist";
  return {};
}

bool ReadRegularFile(const std::string& path, std::size_t maxBytes,
                     std::vector<std::uint8_t>& bytes, std::string& error) {
  const std::string reason = NotRegularFileReason(path);
  if (!reason.empty()) {
    error = Quoted(path) + " " + reason;
    return false;
  }
  // O_NONBLOCK: a pipe put in the file's place after the check must not
  // hold the open until a writer comes.
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) {
    error = "Cannot open " + Quoted(path) + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) {
    error = "Cannot read " + Quoted(path) + ": " + std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = Quoted(path) + " " + KindReason(info.st_mode);
    return false;
  }
  // Reads one byte more than allowed, to tell a file of exactly maxBytes
  // from a longer one, and never more: a file that grows while it is read
  // is refused, not followed.
  std::vector<std::uint8_t> buffer(maxBytes + 1);
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n =
        ::read(fd.Get(), buffer.data() + done, buffer.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "Cannot read " + Quoted(path) + ": " + std::strerror(errno);
      return false;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (done > maxBytes) {
    error =
        Quoted(path) + " is longer than " + std::to_string(maxBytes) + " bytes";
    return false;
  }
  buffer.resize(done);
  bytes = std::move(buffer);
  return true;
}
