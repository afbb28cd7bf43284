#include "cad/io/FileVersion.h"

#include <array>

namespace mycad {

namespace {

constexpr std::array<const char16_t*, 13> kTags{
    u"XP.2", u"XP.3", u"XP.4", u"XP.5", u"XP.6", u"XP.7", u"XP.8",
    u"XP.9", u"XP.a", u"XP.e", u"XP.h", u"XP.i", u"XP.j",
};

} // namespace

TFileVersion FileVersionOf(const String& tag)
{
    for (size_t i = 0; i < kTags.size(); ++i) {
        if (tag == String::fromUtf16(kTags[i])) return static_cast<TFileVersion>(i);
    }
    return TFileVersion::Unknown;
}

String FileVersionTag(TFileVersion version)
{
    if (version == TFileVersion::Unknown) return String();
    return String::fromUtf16(kTags[static_cast<size_t>(version)]);
}

} // namespace mycad
