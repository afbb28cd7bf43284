// The DXF entities of the shape classes that ship with the canvas.
#pragma once

#include "cad/io/DxfExport.h"

#include <vector>

namespace mycad {

/// One entry per class that writes entities; the export registers them all.
std::vector<TDxfClass> BuiltInDxfClasses();
/// The classes whose shapes the file leaves out on purpose.
std::vector<String> ClassesWithoutDxfEntities();

} // namespace mycad
