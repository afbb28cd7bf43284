// Version tags of the stored shape records. Documents and libraries carry one
// tag; every shape record in them follows the layout that tag names.
#pragma once

#include "platform/Types.h"

#include <cstdint>

namespace mycad {

/// The known layouts, oldest first. Unknown is any other tag: its records are
/// read with the fields every layout shares and nothing else.
enum class TFileVersion : int8_t {
    Unknown = -1,
    XP_2 = 0,
    XP_3,
    XP_4,
    XP_5,
    XP_6,
    XP_7,
    XP_8,
    XP_9,
    XP_a,
    XP_e,
    XP_h,
    XP_i,
    XP_j,
};

/// The layout every writer produces.
inline constexpr TFileVersion kNewestFileVersion = TFileVersion::XP_j;

/// The layout of a tag ("XP.2" .. "XP.j", compared exactly); Unknown otherwise.
TFileVersion FileVersionOf(const String& tag);
/// The tag of a known layout; empty for Unknown.
String FileVersionTag(TFileVersion version);

/// Whether a layout lies in first..last. Unknown lies in no range, so fields
/// that only some layouts store are never read for it.
constexpr bool InVersions(TFileVersion version, TFileVersion first, TFileVersion last = kNewestFileVersion)
{
    return version != TFileVersion::Unknown && version >= first && version <= last;
}

} // namespace mycad
