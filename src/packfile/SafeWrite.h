#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Writes `bytes` to a temporary file in the target's folder, flushes and
// closes it, then renames it over `path`. On any failure the temporary file
// is removed, a file already at `path` is left untouched, and `error` says
// what failed and why.
bool WriteFileAtomically(const std::string& path,
                         std::span<const std::uint8_t> bytes,
                         std::string& error);

// Reads a whole regular file of at most `maxBytes` bytes (ReadRegularFile in
// packfile/RegularFile.h): a longer file, a pipe, a device, a folder or a
// broken link is refused with the reason.
bool ReadWholeFile(const std::string& path, std::size_t maxBytes,
                   std::vector<std::uint8_t>& bytes, std::string& error);
