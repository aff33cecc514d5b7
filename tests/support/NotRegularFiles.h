#pragma once

// What the outside world can put where a reader expects a file: a folder, a
// named pipe with no writer, a socket, a device that never ends, a link to
// nothing and a link to itself, each with the reason a reader must give.
// And a bound on how long a reader may take, so that a reader that blocks
// fails its test instead of stalling the suite. Header only, standard
// library and POSIX only.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace testsupport {

struct NotRegularFile {
  std::string what;  // for the test's messages
  std::string path;
  std::string reason;  // the words the refusal must hold
};

// Makes each kind in `folder` (plus /dev/zero) and lists them.
inline std::vector<NotRegularFile> MakeNotRegularFiles(
    const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  const auto at = [&](const char* name) { return (folder / name).string(); };
  fs::create_directory(at("folder.83p"));
  if (::mkfifo(at("pipe.83p").c_str(), 0600) != 0) {
    throw std::runtime_error("mkfifo failed");
  }
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = at("socket.83p");
  if (sock < 0 || socketPath.size() >= sizeof address.sun_path) {
    throw std::runtime_error("cannot make a socket");
  }
  std::strcpy(address.sun_path, socketPath.c_str());
  if (::bind(sock, reinterpret_cast<const sockaddr*>(&address),
             sizeof address) != 0) {
    ::close(sock);
    throw std::runtime_error("cannot bind a socket");
  }
  ::close(sock);
  fs::create_symlink(folder / "nothing-here", at("dangling.83p"));
  fs::create_symlink(folder / "loop.83p", at("loop.83p"));
  return {
      {"a directory", at("folder.83p"), "is a directory, not a regular file"},
      {"a named pipe", at("pipe.83p"), "is a named pipe, not a regular file"},
      {"a socket", socketPath, "is a socket, not a regular file"},
      {"a device", "/dev/zero", "is a device, not a regular file"},
      {"a dangling link", at("dangling.83p"),
       "is a link to a file that does not exist"},
      {"a link loop", at("loop.83p"), "is a link that loops back on itself"},
  };
}

// Runs `task` on a thread of its own and gives its result, or nothing when
// it has not finished within `limit`. A task that blocks is left behind:
// it holds only what it was given by value, and the process's end takes it.
template <class Task>
std::optional<std::invoke_result_t<Task>> FinishesWithin(
    std::chrono::seconds limit, Task task) {
  using Result = std::invoke_result_t<Task>;
  auto job = std::make_shared<std::packaged_task<Result()>>(std::move(task));
  std::future<Result> result = job->get_future();
  std::thread([job] { (*job)(); }).detach();
  if (result.wait_for(limit) != std::future_status::ready) return std::nullopt;
  return result.get();
}

}  // namespace testsupport
