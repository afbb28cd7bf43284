// Whole-file writes that never leave a half-written file behind.
#pragma once

#include "platform/Types.h"

#include <cstdint>

namespace mycad {

/// Writes size bytes as the file's whole contents. The bytes go to a new
/// file beside it, are flushed to the disk, and only then take the file's
/// name (one atomic rename; a symbolic link keeps pointing at its target and
/// an existing file's permissions are kept). False, with an existing file
/// untouched and no temporary file left, when any step fails.
bool WriteFileReplacing(const String& fileName, const void* data, int64_t size);

} // namespace mycad
