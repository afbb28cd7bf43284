// The library commands of `mycad`:
//
//   mycad lib list LIB [--json]
//   mycad lib show LIB NAME [--json]
//   mycad lib preview LIB NAME OUT [--size N]
//   mycad lib add LIB NAME DRAWING
//   mycad lib upgrade OLD NEW
//   mycad place DRAWING LIB NAME X Y OUT
#pragma once

#include "apps/cli/CommandLine.h"
#include "apps/cli/Commands.h"

#include <QTextStream>

namespace mycad::cli {

extern const char* const kPlaceHelp;

/// `mycad lib ...`: line holds the arguments after "lib".
int Library(TCommandLine& line, QTextStream& out, QTextStream& err);
/// `mycad place ...`.
int Place(TCommandLine& line, QTextStream& err);

} // namespace mycad::cli
