// The shape libraries that ship in examples/: a flowchart set and a basic
// set of arrows, callouts, stars, a cloud and a cylinder. Every entry is
// drawn at its natural size with a light fill and a dark outline; entries
// that connectors join carry link points at the middles of their sides.
#pragma once

#include "cad/io/LibManager.h"

#include <QString>

namespace mycad::app {

/// The file names in examples/.
inline constexpr const char* kFlowchartLibraryFile = "flowchart.zlb";
inline constexpr const char* kBasicLibraryFile = "basic.zlb";

/// Replaces the library's content by the flowchart set.
void BuildFlowchartLibrary(TLibManager& lib);
/// Replaces the library's content by the basic set.
void BuildBasicLibrary(TLibManager& lib);

} // namespace mycad::app
