// The one road by which the system's messages reach the user ("error",
// "Error!There is no Layer!", ...). The editor installs a message box, the
// command-line tool prints to standard error, tests capture the text. The
// default handler writes to standard error and never blocks.
#pragma once

#include "platform/Types.h"
#include <functional>
#include <vector>

namespace mycad {

using TMessageHandler = std::function<void(const String& text)>;

/// Shows text to the user through the installed handler.
void ShowMessage(const String& text);

/// Installs a handler and returns the previous one; an empty handler restores
/// the default (standard error).
TMessageHandler SetMessageHandler(TMessageHandler handler);

/// Installs a handler for as long as the object lives; tests use it to capture messages.
class TMessageCapture {
public:
    TMessageCapture();
    ~TMessageCapture();
    TMessageCapture(const TMessageCapture&) = delete;
    TMessageCapture& operator=(const TMessageCapture&) = delete;
    const std::vector<String>& Messages() const { return messages_; }

private:
    std::vector<String> messages_;
    TMessageHandler previous_;
};

} // namespace mycad
