#include "platform/Streams.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

namespace mycad {

namespace {

constexpr int64_t kCopyChunk = 64 * 1024;

// Position arithmetic saturates instead of wrapping: a hostile offset must not
// turn into a small, valid position.
int64_t SaturatingAdd(int64_t a, int64_t b)
{
    int64_t r = 0;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return r;
}

std::string Quoted(const String& fileName)
{
    return "\"" + fileName.toStdString() + "\"";
}

} // namespace

// ---------------------------------------------------------------- TStream

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count < 0) throw EReadError("Stream read error");
    if (count == 0) return;
    if (Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count < 0) throw EWriteError("Stream write error");
    if (count == 0) return;
    if (Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count <= 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> chunk(static_cast<size_t>(std::min(count, kCopyChunk)));
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min(left, kCopyChunk);
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        left -= n;
    }
    return count;
}

// ---------------------------------------------------------- TMemoryStream

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    const int64_t size = Size();
    if (count <= 0 || pos_ < 0 || pos_ >= size) return 0;
    const int64_t n = std::min(count, size - pos_);
    std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0 || pos_ < 0) return 0;
    const int64_t end = SaturatingAdd(pos_, count);
    if (end == std::numeric_limits<int64_t>::max()) return 0;
    if (end > Size()) {
        // Growing past the end zero-fills any gap left by a seek beyond it.
        try {
            if (static_cast<uint64_t>(end) > data_.max_size()) return 0;
            if (static_cast<uint64_t>(end) > data_.capacity()) {
                // Geometric growth keeps many small writes linear overall.
                const auto grown = std::max<uint64_t>(static_cast<uint64_t>(end), data_.capacity() * 2);
                data_.reserve(static_cast<size_t>(std::min<uint64_t>(grown, data_.max_size())));
            }
            data_.resize(static_cast<size_t>(end));
        } catch (const std::bad_alloc&) {
            return 0;
        } catch (const std::length_error&) {
            return 0;
        }
    }
    std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
    pos_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    // Any position may be set; reading outside the data yields nothing and
    // writing before the start fails, so the stream's buffer calls raise.
    switch (origin) {
    case TSeekOrigin::soBeginning: pos_ = offset; break;
    case TSeekOrigin::soCurrent: pos_ = SaturatingAdd(pos_, offset); break;
    case TSeekOrigin::soEnd: pos_ = SaturatingAdd(Size(), offset); break;
    }
    return pos_;
}

void TMemoryStream::SetSize(int64_t size)
{
    size = std::max<int64_t>(size, 0);
    if (static_cast<uint64_t>(size) > data_.max_size()) throw EWriteError("Out of memory while expanding memory stream");
    try {
        data_.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        throw EWriteError("Out of memory while expanding memory stream");
    }
    if (pos_ > size) pos_ = size;
}

void TMemoryStream::Clear()
{
    data_.clear();
    data_.shrink_to_fit();
    pos_ = 0;
}

bool TMemoryStream::LoadFromFile(const String& fileName)
{
    try {
        TFileStream file(fileName, TFileMode::fmOpenRead);
        LoadFromStream(file);
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

bool TMemoryStream::SaveToFile(const String& fileName) const
{
    try {
        TFileStream file(fileName, TFileMode::fmCreate);
        SaveToStream(file);
        return file.Flush();
    } catch (const EStreamError&) {
        return false;
    }
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    // Read into a fresh buffer so a failed read leaves the old contents intact.
    source.SetPosition(0);
    const int64_t size = source.Size();
    if (size < 0 || static_cast<uint64_t>(size) > data_.max_size()) throw EReadError("Stream read error");
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        throw EReadError("Stream read error");
    }
    source.ReadBuffer(bytes.data(), size);
    data_ = std::move(bytes);
    pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) const
{
    dest.WriteBuffer(data_.data(), Size());
}

// ------------------------------------------------------------ TFileStream

TFileStream::TFileStream(const String& fileName, TFileMode mode)
{
    const QByteArray name = QFile::encodeName(fileName);
    const char* how = "rb";
    switch (mode) {
    case TFileMode::fmCreate: how = "w+b"; break;
    case TFileMode::fmOpenRead: how = "rb"; break;
    case TFileMode::fmOpenWrite:
    case TFileMode::fmOpenReadWrite: how = "r+b"; break;
    }
    canRead_ = mode != TFileMode::fmOpenWrite;
    canWrite_ = mode != TFileMode::fmOpenRead;

    const std::string what = (mode == TFileMode::fmCreate ? "Cannot create file " : "Cannot open file ") + Quoted(fileName);
    if (name.isEmpty()) throw EFOpenError(what + ". No file name");
    file_ = std::fopen(name.constData(), how);
    if (!file_) throw EFOpenError(what + ". " + std::strerror(errno));
    // Directories open for reading on this platform; they are not streams.
    struct stat st {};
    if (fstat(fileno(file_), &st) != 0 || S_ISDIR(st.st_mode)) {
        std::fclose(file_);
        file_ = nullptr;
        throw EFOpenError(what + ". Is a directory");
    }
}

TFileStream::~TFileStream()
{
    if (file_) std::fclose(file_);
}

void TFileStream::Switch(LastOp op)
{
    // The C library demands a positioning call between reading and writing.
    if (last_ != LastOp::None && last_ != op) fseeko(file_, 0, SEEK_CUR);
    last_ = op;
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    if (!canRead_ || count <= 0) return 0;
    Switch(LastOp::Read);
    const size_t n = std::fread(buffer, 1, static_cast<size_t>(count), file_);
    return static_cast<int64_t>(n);
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    if (!canWrite_ || count <= 0) return 0;
    Switch(LastOp::Write);
    const size_t n = std::fwrite(buffer, 1, static_cast<size_t>(count), file_);
    return static_cast<int64_t>(n);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    if (origin == TSeekOrigin::soCurrent && offset == 0) return ftello(file_);
    // A position before the start is refused and the position stays.
    if (fseeko(file_, static_cast<off_t>(offset), whence) != 0) return -1;
    last_ = LastOp::None;
    return ftello(file_);
}

int64_t TFileStream::Size() const
{
    if (last_ == LastOp::Write) std::fflush(file_);
    struct stat st {};
    if (fstat(fileno(file_), &st) != 0) return 0;
    return static_cast<int64_t>(st.st_size);
}

void TFileStream::SetSize(int64_t size)
{
    if (!canWrite_) throw EWriteError("Stream write error");
    size = std::max<int64_t>(size, 0);
    const off_t pos = ftello(file_);
    std::fflush(file_);
    if (ftruncate(fileno(file_), static_cast<off_t>(size)) != 0) throw EWriteError("Stream write error");
    fseeko(file_, std::min<off_t>(pos, static_cast<off_t>(size)), SEEK_SET);
    last_ = LastOp::None;
}

bool TFileStream::Flush()
{
    if (std::fflush(file_) != 0) return false;
    // Pipes and devices cannot be synced, and need not be.
    return fsync(fileno(file_)) == 0 || errno == EINVAL || errno == EROFS;
}

} // namespace mycad
