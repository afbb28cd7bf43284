#include "platform/TextInput.h"

namespace mycad {

namespace {
TTextInputHandler& Handler()
{
    static TTextInputHandler handler;
    return handler;
}
} // namespace

bool InputLines(TStringList& lines)
{
    if (!Handler()) return false;
    TStringList entered = lines;
    if (!Handler()(entered)) return false;
    lines = entered;
    return true;
}

TTextInputHandler SetTextInputHandler(TTextInputHandler handler)
{
    TTextInputHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace mycad
