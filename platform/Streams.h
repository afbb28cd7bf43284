// Byte streams: the framework's stream classes. Short reads and failed writes
// raise EReadError / EWriteError; readers of the document formats catch them
// at the operation's boundary and report false.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace mycad {

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum class TSeekOrigin : uint8_t { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
public:
    virtual ~TStream() = default;
    /// Reads up to count bytes; returns how many were read.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    /// Writes up to count bytes; returns how many were written.
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    /// Returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size() const = 0;
    virtual void SetSize(int64_t size) = 0;

    int64_t Position() const { return const_cast<TStream*>(this)->Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t p) { Seek(p, TSeekOrigin::soBeginning); }
    /// Bytes between the position and the end.
    int64_t Remaining() const { return Size() - Position(); }
    /// Reads exactly count bytes or raises EReadError.
    void ReadBuffer(void* buffer, int64_t count);
    /// Writes exactly count bytes or raises EWriteError.
    void WriteBuffer(const void* buffer, int64_t count);
    /// Copies count bytes from source (all of it from its start when count is 0); returns the count.
    int64_t CopyFrom(TStream& source, int64_t count);
};

/// A stream in memory that grows as it is written.
class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t size) override;

    void Clear();
    uint8_t* Memory() { return data_.data(); }
    const uint8_t* Memory() const { return data_.data(); }
    const std::vector<uint8_t>& Bytes() const { return data_; }
    /// False when the file cannot be read.
    bool LoadFromFile(const String& fileName);
    /// False when the file cannot be written.
    bool SaveToFile(const String& fileName) const;
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest) const;

private:
    std::vector<uint8_t> data_;
    int64_t pos_ = 0;
};

/// Open modes of file streams.
enum class TFileMode : uint8_t { fmCreate = 0, fmOpenRead = 1, fmOpenWrite = 2, fmOpenReadWrite = 3 };

/// A stream on a file. fmCreate creates or truncates; the constructor raises
/// EFOpenError when the file cannot be opened.
class TFileStream : public TStream {
public:
    TFileStream(const String& fileName, TFileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() const override;
    void SetSize(int64_t size) override;
    /// Writes buffered bytes to the disk; false on failure.
    bool Flush();

private:
    enum class LastOp : uint8_t { None, Read, Write };
    void Switch(LastOp op);

    std::FILE* file_ = nullptr;
    bool canRead_ = false;
    bool canWrite_ = false;
    LastOp last_ = LastOp::None;
};

} // namespace mycad
