// Bitmap buffers: a BMP file's bytes behind an int64 count.
#include "cad/geometry/StreamEncoding.h"

namespace mycad {

bool WriteBitmapBuffer(TStream& s, const TBitmap* bitmap)
{
    try {
        if (bitmap == nullptr || bitmap->Empty()) {
            WriteInt64(s, 0);
            return true;
        }
        TMemoryStream bytes;
        bitmap->SaveToStream(bytes);
        WriteInt64(s, bytes.Size());
        s.WriteBuffer(bytes.Memory(), bytes.Size());
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

std::unique_ptr<TBitmap> ReadBitmapBufferOrThrow(TStream& s)
{
    const int64_t n = ReadInt64(s);
    if (n == 0) return nullptr;
    RequireBytes(s, n);
    TMemoryStream bytes;
    bytes.SetSize(n);
    s.ReadBuffer(bytes.Memory(), n);
    bytes.SetPosition(0);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromStream(bytes);
    return bitmap;
}

bool ReadBitmapBuffer(TStream& s, std::unique_ptr<TBitmap>& bitmap)
{
    bitmap.reset();
    try {
        bitmap = ReadBitmapBufferOrThrow(s);
        return true;
    } catch (const EStreamError&) {
        bitmap.reset();
        return false;
    }
}

} // namespace mycad
