#include "cad/canvas/TextEntry.h"

#include "cad/shapes/Text.h"
#include "platform/TextInput.h"

namespace mycad {

void TakeDrawnText(const TMyCAD& cad, TMyText& text)
{
    if (!cad.DisableTextInput()) {
        TStringList lines = text.Lines();
        if (InputLines(lines)) text.SetLines(lines);
    }
    // Drawn from any corner toward the opposite one, the box still starts
    // at its left-top corner, where the text is laid out from.
    const TMyRect box = GetPointsLTRB(text.ThePoints);
    text.ThePoints = {{box.Left, box.Top}, {box.Right, box.Top}, {box.Right, box.Bottom}, {box.Left, box.Bottom}};
}

} // namespace mycad
