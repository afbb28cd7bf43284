#include "platform/Messages.h"

#include <cstdio>

namespace mycad {

namespace {
TMessageHandler& Handler()
{
    static TMessageHandler handler;
    return handler;
}
} // namespace

void ShowMessage(const String& text)
{
    if (Handler()) {
        Handler()(text);
        return;
    }
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

TMessageHandler SetMessageHandler(TMessageHandler handler)
{
    TMessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

TMessageCapture::TMessageCapture()
    : previous_(SetMessageHandler([this](const String& t) { messages_.push_back(t); }))
{
}

TMessageCapture::~TMessageCapture()
{
    SetMessageHandler(std::move(previous_));
}

} // namespace mycad
