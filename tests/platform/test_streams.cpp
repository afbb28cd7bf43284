#include "platform/Streams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace mycad;

namespace {

std::vector<uint8_t> Iota(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 1);
    return v;
}

QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

} // namespace

TEST(Streams, MemoryStreamGrowsSeeksAndReadsShortAtTheEnd)
{
    TMemoryStream m;
    const uint32_t word = 0x11223344;
    m.WriteBuffer(&word, 4);

    // Seeking beyond the end is allowed; the next write fills the gap with zeros.
    EXPECT_EQ(m.Seek(10, TSeekOrigin::soCurrent), 14);
    EXPECT_EQ(m.Size(), 4);
    const uint8_t tail[2] = {0xAA, 0xBB};
    m.WriteBuffer(tail, 2);
    ASSERT_EQ(m.Size(), 16);
    for (int i = 4; i < 14; ++i) EXPECT_EQ(m.Bytes()[i], 0) << i;
    EXPECT_EQ(m.Bytes()[14], 0xAA);
    EXPECT_EQ(std::memcmp(m.Memory(), &word, 4), 0);

    // Overwriting in the middle does not grow the stream.
    m.SetPosition(2);
    const uint8_t mid = 0x55;
    m.WriteBuffer(&mid, 1);
    EXPECT_EQ(m.Size(), 16);
    EXPECT_EQ(m.Bytes()[2], 0x55);

    EXPECT_EQ(m.Seek(-3, TSeekOrigin::soEnd), 13);
    EXPECT_EQ(m.Remaining(), 3);
    uint8_t buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 3);
    EXPECT_EQ(buf[1], 0xAA);
    EXPECT_EQ(buf[2], 0xBB);
    EXPECT_EQ(m.Read(buf, 8), 0);
    m.SetPosition(100);
    EXPECT_EQ(m.Read(buf, 1), 0);

    // A position before the start reads and writes nothing.
    m.SetPosition(-1);
    EXPECT_EQ(m.Read(buf, 1), 0);
    EXPECT_THROW(m.WriteBuffer(buf, 1), EWriteError);
    EXPECT_EQ(m.Size(), 16);

    // Shrinking pulls the position back to the new end.
    m.SetPosition(16);
    m.SetSize(5);
    EXPECT_EQ(m.Position(), 5);
    m.SetSize(8);
    EXPECT_EQ(m.Bytes()[7], 0);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
}

TEST(Streams, BufferCallsRaiseOnShortReadsAndCopyFromCopies)
{
    TMemoryStream m;
    const auto data = Iota(10);
    m.WriteBuffer(data.data(), 10);
    m.SetPosition(6);
    uint8_t buf[16] = {};
    EXPECT_THROW(m.ReadBuffer(buf, 5), EReadError);
    m.SetPosition(6);
    m.ReadBuffer(buf, 4);
    EXPECT_EQ(buf[3], data[9]);
    EXPECT_NO_THROW(m.ReadBuffer(buf, 0));
    EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);
    // Every stream error is one family, so readers catch them in one place.
    EXPECT_THROW(m.ReadBuffer(buf, 1), EStreamError);

    // Count 0 copies the whole source from its start, whatever its position;
    // more than 64 KiB exercises the chunked copy.
    TMemoryStream big;
    const auto many = Iota(200000);
    big.WriteBuffer(many.data(), static_cast<int64_t>(many.size()));
    big.SetPosition(1234);
    TMemoryStream dest;
    dest.WriteBuffer("ab", 2);
    EXPECT_EQ(dest.CopyFrom(big, 0), 200000);
    ASSERT_EQ(dest.Size(), 200002);
    EXPECT_EQ(std::memcmp(dest.Memory() + 2, many.data(), many.size()), 0);

    // A counted copy starts at the source's position and raises when it runs dry.
    big.SetPosition(199990);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(big, 10), 10);
    EXPECT_EQ(part.Bytes()[0], many[199990]);
    big.SetPosition(199995);
    EXPECT_THROW(part.CopyFrom(big, 10), EReadError);

    // LoadFromStream takes the whole source and starts at 0; SaveToStream
    // writes at the destination's position.
    TMemoryStream copy;
    copy.LoadFromStream(m);
    EXPECT_EQ(copy.Bytes(), data);
    EXPECT_EQ(copy.Position(), 0);
    TMemoryStream out;
    out.SetPosition(3);
    copy.SaveToStream(out);
    EXPECT_EQ(out.Size(), 13);
    EXPECT_EQ(out.Bytes()[3], data[0]);
}

TEST(Streams, FileStreamsCreateReplaceOpenAndReport)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dr\u00e4wing.bin"));

    {
        TFileStream f(path, TFileMode::fmCreate);
        const auto data = Iota(1000);
        f.WriteBuffer(data.data(), 1000);
        // Read back in the same stream after writing.
        f.SetPosition(10);
        uint8_t b = 0;
        f.ReadBuffer(&b, 1);
        EXPECT_EQ(b, data[10]);
        // And write again after reading.
        f.WriteBuffer("X", 1);
        EXPECT_EQ(f.Position(), 12);
        EXPECT_TRUE(f.Flush());
    }
    QByteArray bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), 1000);
    EXPECT_EQ(bytes[11], 'X');

    // fmCreate replaces an existing file.
    {
        TFileStream f(path, TFileMode::fmCreate);
        f.WriteBuffer("hello", 5);
    }
    EXPECT_EQ(FileBytes(path), QByteArray("hello"));

    // fmOpenWrite keeps the contents; a seek past the end leaves a zero gap.
    {
        TFileStream f(path, TFileMode::fmOpenWrite);
        EXPECT_EQ(f.Size(), 5);
        EXPECT_EQ(f.Seek(2, TSeekOrigin::soEnd), 7);
        f.WriteBuffer("!", 1);
        uint8_t b = 0;
        f.SetPosition(0);
        EXPECT_EQ(f.Read(&b, 1), 0); // a write-only stream reads nothing
    }
    EXPECT_EQ(FileBytes(path), QByteArray("hello\0\0!", 8));

    // fmOpenRead reads, refuses writes and raises on a short read.
    {
        TFileStream f(path, TFileMode::fmOpenRead);
        char buf[8] = {};
        f.ReadBuffer(buf, 5);
        EXPECT_EQ(std::string(buf, 5), "hello");
        EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
        EXPECT_THROW(f.ReadBuffer(buf, 4), EReadError);
        EXPECT_EQ(f.Seek(-1, TSeekOrigin::soBeginning), -1);
    }

    // fmOpenReadWrite can shrink the file.
    {
        TFileStream f(path, TFileMode::fmOpenReadWrite);
        f.SetPosition(8);
        f.SetSize(3);
        EXPECT_EQ(f.Position(), 3);
        EXPECT_EQ(f.Size(), 3);
    }
    EXPECT_EQ(FileBytes(path), QByteArray("hel"));

    // Open failures raise EFOpenError naming the file.
    const QString missing = dir.filePath(QStringLiteral("missing.bin"));
    try {
        TFileStream f(missing, TFileMode::fmOpenRead);
        ADD_FAILURE() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find(missing.toStdString()), std::string::npos) << e.what();
    }
    EXPECT_THROW(TFileStream(missing, TFileMode::fmOpenWrite), EFOpenError);
    EXPECT_THROW(TFileStream(dir.path(), TFileMode::fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(dir.filePath("no/such/dir.bin"), TFileMode::fmCreate), EFOpenError);
    EXPECT_FALSE(QFile::exists(missing));

    // Devices are streams too: writing to one succeeds and flushes.
    TFileStream sink(QStringLiteral("/dev/null"), TFileMode::fmOpenWrite);
    sink.WriteBuffer("abc", 3);
    EXPECT_TRUE(sink.Flush());
}

TEST(Streams, MemoryStreamFileRoundTripAndSizesBeyond4GiB)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.bin"));
    TMemoryStream m;
    const auto data = Iota(70000);
    m.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    ASSERT_TRUE(m.SaveToFile(path));
    TMemoryStream back;
    back.WriteBuffer("old", 3);
    ASSERT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(back.Bytes(), data);
    EXPECT_EQ(back.Position(), 0);

    // A failed load leaves the stream as it was.
    EXPECT_FALSE(back.LoadFromFile(dir.filePath("none")));
    EXPECT_EQ(back.Bytes(), data);
    EXPECT_FALSE(m.SaveToFile(dir.filePath("no/such/dir.bin")));

    // File positions and sizes are 64-bit: a sparse file past 4 GiB.
    const QString big = dir.filePath(QStringLiteral("sparse.bin"));
    const int64_t far = (int64_t(1) << 32) + 17;
    {
        TFileStream f(big, TFileMode::fmCreate);
        EXPECT_EQ(f.Seek(far, TSeekOrigin::soBeginning), far);
        f.WriteBuffer("Z", 1);
        EXPECT_EQ(f.Size(), far + 1);
        EXPECT_EQ(f.Seek(-1, TSeekOrigin::soEnd), far);
        char z = 0;
        f.ReadBuffer(&z, 1);
        EXPECT_EQ(z, 'Z');
    }
}
