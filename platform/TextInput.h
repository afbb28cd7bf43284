// The modal multi-line text entry the canvas asks for when the user has drawn
// a text box. A host installs its own (a dialog); tests install a function
// that answers at once. Without one, nothing is entered and nothing blocks.
#pragma once

#include "platform/Classes.h"

#include <functional>

namespace mycad {

/// Gets the lines on entry (the current text) and returns true with the
/// entered lines when the user confirms, false when the entry is cancelled.
using TTextInputHandler = std::function<bool(TStringList& lines)>;

/// Asks the user for lines through the installed entry; false, leaving lines
/// alone, when none is installed or the user cancels.
bool InputLines(TStringList& lines);

/// Installs an entry and returns the previous one; an empty one removes it.
TTextInputHandler SetTextInputHandler(TTextInputHandler handler);

} // namespace mycad
