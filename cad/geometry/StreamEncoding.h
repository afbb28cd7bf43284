// The encodings every stored format shares: little-endian numbers, fixed-width
// and counted UTF-16 strings, bitmap buffers, and the switch that reads the
// 8-bit strings of the oldest files.
//
// The Read functions raise EReadError (platform/Streams.h) when the stream
// ends early or holds an impossible value; readers catch it at the boundary
// of the operation and report false. The Write functions raise EWriteError.
#pragma once

#include "platform/Graphics.h"
#include "platform/Streams.h"
#include "platform/Types.h"

#include <cstdint>
#include <memory>

namespace mycad {

/// While true, every string a reader takes from a stream is read as one byte
/// per character in the Windows Western code page (1252) and widened; the
/// character counts stay the same. Writers always write UTF-16.
extern bool ReadOldZEDAFile;

/// Raises EReadError unless the stream still holds bytes bytes: every count
/// read from a stream is checked against it before anything is allocated.
void RequireBytes(TStream& s, int64_t bytes);

// Numbers (little-endian, as stored).
void WriteInt32(TStream& s, int32_t v);
void WriteUInt32(TStream& s, uint32_t v);
void WriteInt64(TStream& s, int64_t v);
void WriteByte(TStream& s, uint8_t v);
void WriteBool(TStream& s, bool v);
void WriteFloat(TStream& s, float v);
void WriteDouble(TStream& s, double v);
int32_t ReadInt32(TStream& s);
uint32_t ReadUInt32(TStream& s);
int64_t ReadInt64(TStream& s);
uint8_t ReadByte(TStream& s);
/// Any non-zero byte is true.
bool ReadBool(TStream& s);
float ReadFloat(TStream& s);
double ReadDouble(TStream& s);

/// Writes the first count code units of text (UTF-16LE); a shorter text is
/// padded with spaces so the stream always receives count units.
void WriteStreamString(TStream& s, const String& text, uint8_t count);
/// Reads count characters: UTF-16LE, or one byte each while ReadOldZEDAFile is set.
String ReadStreamString(TStream& s, int32_t count);
/// Reads count 8-bit characters (code page 1252), whatever ReadOldZEDAFile says.
String ReadStreamAnsiString(TStream& s, int32_t count);

/// A fixed-width field of n characters: the text padded with spaces, longer text cut.
void WriteFixedString(TStream& s, const String& text, int32_t n);
/// Reads a fixed-width field; trimmed drops leading and trailing code units up to U+0020.
String ReadFixedString(TStream& s, int32_t n, bool trimmed);
/// Drops leading and trailing code units up to U+0020 (blanks and control characters).
String TrimControl(const String& text);

/// A counted string: int32 length L and then L mod 256 code units. Texts
/// longer than 255 characters are stored as their first 255, with L = 255,
/// which keeps the most of the text that the format can carry.
void WriteCountedString(TStream& s, const String& text);
String ReadCountedString(TStream& s);

/// A bitmap buffer: int64 byte count N, then N bytes of a BMP file; N = 0 for
/// no bitmap (nullptr or empty). Returns false when the stream cannot take it.
bool WriteBitmapBuffer(TStream& s, const TBitmap* bitmap);
/// Reads a bitmap buffer into bitmap (nullptr when N = 0). False, with
/// bitmap nullptr, when the count is negative, exceeds the bytes left, or the
/// bytes are no bitmap.
bool ReadBitmapBuffer(TStream& s, std::unique_ptr<TBitmap>& bitmap);
/// The raising form used inside readers.
std::unique_ptr<TBitmap> ReadBitmapBufferOrThrow(TStream& s);

} // namespace mycad
