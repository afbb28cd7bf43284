// Sets the canvas's Processing flag for the lifetime of the object, so that a
// paint requested while the canvas paints or sizes itself, and the resize
// notifications its own size changes cause, are ignored.
#pragma once

namespace mycad {

class TProcessingScope {
public:
    explicit TProcessingScope(bool& flag) : FFlag(flag), FWas(flag) { FFlag = true; }
    ~TProcessingScope() { FFlag = FWas; }
    TProcessingScope(const TProcessingScope&) = delete;
    TProcessingScope& operator=(const TProcessingScope&) = delete;

private:
    bool& FFlag;
    bool FWas;
};

} // namespace mycad
