// Fuzzes LoadFromStream. One canvas lives across all inputs, as in a program
// that opens file after file. For every input:
// - a refused document leaves the canvas saving exactly the bytes it saved before;
// - an accepted one saves, and what it saves loads again and saves to the
//   same bytes.
// Each input is read twice: as a UTF-16 document and as an 8-bit one.
#include "cad/canvas/MyCAD.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/DocumentFile.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace mycad;

namespace {

TMyCAD* gCanvas = nullptr;
std::vector<uint8_t>* gSaved = nullptr;

std::vector<uint8_t> Saved(const TMyCAD& cad)
{
    TMemoryStream s;
    if (!SaveToStream(cad, s)) {
        std::fprintf(stderr, "a loaded document cannot be saved\n");
        std::abort();
    }
    return s.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    gCanvas = new TMyCAD;
    gSaved = new std::vector<uint8_t>(Saved(*gCanvas));
    return 0;
}

namespace {

void LoadOnce(const uint8_t* data, size_t size, bool eightBit)
{
    TMemoryStream input;
    if (size > 0) input.WriteBuffer(data, static_cast<int64_t>(size));
    ReadOldZEDAFile = eightBit;
    const bool loaded = LoadFromStream(*gCanvas, input);
    ReadOldZEDAFile = false;

    const std::vector<uint8_t> saved = Saved(*gCanvas);
    if (!loaded) {
        if (saved != *gSaved) {
            std::fprintf(stderr, "a refused document changed the canvas\n");
            std::abort();
        }
        return;
    }
    TMemoryStream again;
    again.WriteBuffer(saved.data(), static_cast<int64_t>(saved.size()));
    TMyCAD second;
    if (!LoadFromStream(second, again) || Saved(second) != saved) {
        std::fprintf(stderr, "a saved document does not load back to the same bytes\n");
        std::abort();
    }
    *gSaved = saved;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadOnce(data, size, false);
    LoadOnce(data, size, true);
    return 0;
}
