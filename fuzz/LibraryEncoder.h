// Libraries of any tag encoded from the file layout alone (with the document
// encoder's shape records), so the library reader is checked against bytes
// its own writer did not make.
#pragma once

#include "DocumentEncoder.h"

#include <string>
#include <vector>

namespace libenc {

struct Entry {
    std::u16string Name;
    int32_t Width = 100;
    int32_t Height = 50;
    std::vector<docenc::Pair> UserData;
    /// Points and caption anchors in 0..1 of the entry's box.
    std::vector<docenc::Shape> Shapes;
};

/// The shape-record layout each library tag is written in.
inline std::string RecordVersion(const std::string& tag)
{
    const std::string last = tag.substr(tag.size() - 1);
    if (last == "3") return "XP.4";
    return "XP." + last;
}

inline bool HasUserData(const std::string& tag)
{
    return docenc::VersionIndex(RecordVersion(tag)) >= docenc::VersionIndex("XP.8");
}

inline std::vector<uint8_t> EncodeLibrary(const std::string& tag, const std::vector<Entry>& entries)
{
    docenc::Encoder e;
    e.Fixed(tag, 10);
    const std::string version = RecordVersion(tag);
    for (const Entry& entry : entries) {
        docenc::Encoder body;
        body.I32(entry.Width);
        body.I32(entry.Height);
        if (HasUserData(tag)) {
            body.I32(static_cast<int32_t>(entry.UserData.size()));
            for (const docenc::Pair& p : entry.UserData) {
                body.Counted(p.Key);
                body.Counted(p.Value);
            }
        }
        body.I32(static_cast<int32_t>(entry.Shapes.size()));
        for (const docenc::Shape& s : entry.Shapes) {
            body.Fixed(s.Class, 16);
            docenc::EncodeShape(body, s, version);
            if (s.Class == "TMyLinkPoint") body.U8(8);
        }
        e.U8(static_cast<uint8_t>(entry.Name.size()));
        e.Chars(entry.Name, entry.Name.size());
        e.I32(static_cast<int32_t>(body.Bytes.size()));
        e.Bytes.insert(e.Bytes.end(), body.Bytes.begin(), body.Bytes.end());
    }
    return e.Bytes;
}

inline docenc::Shape Box(const char* className, double l, double t, double r, double b)
{
    docenc::Shape s;
    s.Class = className;
    s.Points = {{l, t}, {r, t}, {r, b}, {l, b}};
    return s;
}

/// A "ZEDALIBX.j" library of 8-bit strings, as the oldest programs wrote
/// it: one entry "Ring", a 30 x 30 ellipse.
inline std::vector<uint8_t> EightBitRingLibrary()
{
    docenc::Encoder e(true);
    e.Fixed("ZEDALIBX.j", 10);
    docenc::Encoder body(true);
    body.I32(30);
    body.I32(30);
    body.I32(0);
    body.I32(1);
    body.Fixed("TMyEllipse", 16);
    docenc::EncodeShape(body, Box("TMyEllipse", 0, 0, 1, 1), "XP.j");
    e.U8(4);
    e.Chars(u"Ring", 4);
    e.I32(static_cast<int32_t>(body.Bytes.size()));
    e.Bytes.insert(e.Bytes.end(), body.Bytes.begin(), body.Bytes.end());
    return e.Bytes;
}

} // namespace libenc
