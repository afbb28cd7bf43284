#include "platform/Files.h"

#include <QSaveFile>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace mycad {

namespace {
constexpr int64_t kWritebackStep = int64_t(8) << 20;
} // namespace

TReplacingFile::TReplacingFile(const String& fileName)
{
    if (fileName.isEmpty()) return;
    file_ = std::make_unique<QSaveFile>(fileName);
    // Writing in place when no temporary file can be made would bring back
    // the very risk this class exists to avoid.
    file_->setDirectWriteFallback(false);
    if (!file_->open(QIODevice::WriteOnly)) file_.reset();
}

// A save file dropped before its commit removes its temporary file.
TReplacingFile::~TReplacingFile() = default;

bool TReplacingFile::IsOpen() const { return file_ != nullptr; }

bool TReplacingFile::Write(const void* data, int64_t size)
{
    if (!file_ || failed_ || size < 0) return false;
    const char* bytes = static_cast<const char*>(data);
    int64_t written = 0;
    while (written < size) {
        const qint64 n = file_->write(bytes + written, size - written);
        if (n <= 0) {
            failed_ = true;
            file_->cancelWriting();
            return false;
        }
        written += n;
    }
    written_ += size;
    if (written_ - writebackFrom_ >= kWritebackStep) StartWriteback();
    return true;
}

// A large file written in pieces and synced only at the end makes the
// commit wait for the whole file to reach the disk. Starting the write-back
// of each few megabytes as they come lets the disk work while the caller
// composes the rest, so the final sync has little left to wait for.
void TReplacingFile::StartWriteback()
{
#ifdef Q_OS_LINUX
    if (!file_->flush()) return; // the commit reports the failure
    const int fd = file_->handle();
    if (fd >= 0) sync_file_range(fd, writebackFrom_, written_ - writebackFrom_, SYNC_FILE_RANGE_WRITE);
#endif
    writebackFrom_ = written_;
}

bool TReplacingFile::Commit()
{
    if (!file_ || failed_) return false;
    // commit() flushes, syncs and renames; on failure the temporary file is removed.
    const bool done = file_->commit();
    file_.reset();
    return done;
}

bool WriteFileReplacing(const String& fileName, const void* data, int64_t size)
{
    if (size < 0) return false;
    TReplacingFile file(fileName);
    return file.IsOpen() && file.Write(data, size) && file.Commit();
}

} // namespace mycad
