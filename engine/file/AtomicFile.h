#pragma once

#include "base/Export.h"

#include <string>

namespace file {

// Whole-file writes that never leave a half-written file: the bytes go to
// "<path>.tmp", are synced, and the temporary file is renamed over the old
// one; the folder is synced after the rename. On failure the old file stays.
class DW_API AtomicFile {
public:
    // False with a short reason in `error`.
    static bool Write(const std::string& path, const std::string& bytes, std::string& error);
    // The whole file; false with a short reason when it cannot be read.
    static bool Read(const std::string& path, std::string& bytes, std::string& error);
};

} // namespace file
