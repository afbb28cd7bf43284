// Files written piece by piece replace the old file only when complete.
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

using namespace mycad;

namespace {

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ReplacingFile, KeepsTheOldFileUntilCommitAndWritesEveryPieceInOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.dxf");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    // Pieces of odd sizes that together pass the write-back step several
    // times, each filled with its own byte, so a piece lost, repeated or
    // moved shows in the result.
    std::string expected;
    {
        TReplacingFile file(path);
        ASSERT_TRUE(file.IsOpen());
        for (int i = 0; expected.size() < (size_t(20) << 20); ++i) {
            const std::string piece(size_t(1'048'573) + size_t(i) * 4099, char('a' + i % 26));
            ASSERT_TRUE(file.Write(piece.data(), int64_t(piece.size())));
            expected += piece;
        }
        EXPECT_EQ(Contents(path), QByteArray("old"));
        // Dropped without a commit: the old file stays, nothing is left beside it.
    }
    EXPECT_EQ(Contents(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.dxf"});

    TReplacingFile file(path);
    for (size_t at = 0; at < expected.size(); at += 3'000'017)
        ASSERT_TRUE(file.Write(expected.data() + at, int64_t(std::min<size_t>(3'000'017, expected.size() - at))));
    ASSERT_TRUE(file.Commit());
    const QByteArray written = Contents(path);
    ASSERT_EQ(written.size(), qsizetype(expected.size()));
    EXPECT_TRUE(written == QByteArray::fromStdString(expected));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.dxf"});
}
