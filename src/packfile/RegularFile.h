#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Every file the editor and plodpak read from outside goes through here: only
// a regular file is opened, so a named pipe, a socket, a device or a folder is
// refused at once instead of blocking a read that never ends or reading
// without end.

// Why `path` cannot be read as a regular file, as the end of a sentence that
// starts with the path ("is a named pipe, not a regular file", "is a link to
// a file that does not exist"); empty when it is a regular file, or when the
// path does not exist at all or cannot be looked at (the open then tells
// why, in the system's words).
std::string NotRegularFileReason(const std::string& path);

// Reads the whole regular file at `path`, at most `maxBytes` bytes. The path
// is checked before it is opened, and the opened file is checked again, so a
// file put in its place between the two is caught; the open never waits for
// a writer. A file longer than `maxBytes`, also one that grows past it while
// it is read, is refused. On failure `bytes` is left as it was and `error`
// says why, starting with the quoted path or with what failed.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes,
                     std::vector<std::uint8_t>& bytes, std::string& error);
