// Whole-file writes that never leave a half-written file behind.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <memory>

class QSaveFile;

namespace mycad {

/// Writes size bytes as the file's whole contents. The bytes go to a new
/// file beside it, are flushed to the disk, and only then take the file's
/// name (one atomic rename; a symbolic link keeps pointing at its target and
/// an existing file's permissions are kept). False, with an existing file
/// untouched and no temporary file left, when any step fails.
bool WriteFileReplacing(const String& fileName, const void* data, int64_t size);

/// The same for a file written piece by piece, so that a large file need
/// not be held in memory: open, write, then Commit. Until Commit succeeds
/// the file's name keeps its old contents; dropping the object without a
/// commit removes what was written.
class TReplacingFile {
public:
    explicit TReplacingFile(const String& fileName);
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;
    ~TReplacingFile();

    bool IsOpen() const;
    /// False once any write has failed; later writes are then refused.
    bool Write(const void* data, int64_t size);
    /// Flushes, syncs and renames; false (and nothing replaced) after a
    /// failed write or when any step fails.
    bool Commit();

private:
    /// Asks the kernel to start writing what has been handed over so far,
    /// without waiting for it.
    void StartWriteback();

    std::unique_ptr<QSaveFile> file_;
    bool failed_ = false;
    /// Bytes handed to the file, and how many of them the disk was already
    /// asked to write.
    int64_t written_ = 0;
    int64_t writebackFrom_ = 0;
};

} // namespace mycad
