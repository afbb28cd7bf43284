// Sets a flag of the canvas for the lifetime of the object and puts its old
// value back. TProcessingScope holds the Processing flag, so that a paint
// requested while the canvas paints or sizes itself, and the resize
// notifications its own size changes cause, are ignored.
#pragma once

namespace mycad {

class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : FFlag(flag), FWas(flag) { FFlag = true; }
    ~TFlagScope() { FFlag = FWas; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FWas;
};

using TProcessingScope = TFlagScope;

} // namespace mycad
