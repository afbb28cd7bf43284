#include "platform/Files.h"

#include <QSaveFile>

namespace mycad {

bool WriteFileReplacing(const String& fileName, const void* data, int64_t size)
{
    if (fileName.isEmpty() || size < 0) return false;
    QSaveFile file(fileName);
    // Writing in place when no temporary file can be made would bring back
    // the very risk this function exists to avoid.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const char* bytes = static_cast<const char*>(data);
    int64_t written = 0;
    while (written < size) {
        const qint64 n = file.write(bytes + written, size - written);
        if (n <= 0) {
            file.cancelWriting();
            return false;
        }
        written += n;
    }
    // commit() flushes, syncs and renames; on failure the temporary file is removed.
    return file.commit();
}

} // namespace mycad
