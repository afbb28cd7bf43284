// Fuzzes reading shape libraries: counting and listing the entries, reading
// each (link points split off and kept), drawing its preview, placing it on a
// canvas and upgrading the library. For every input, read as a UTF-16 library
// and as an 8-bit one:
// - reading never changes the library's bytes;
// - a library whose entries do not all walk has no count, no names and no
//   entries to read;
// - an upgrade that succeeds leaves the newest tag and the same names.
#include "cad/canvas/MyCAD.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/LibManager.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace mycad;

namespace {

TLibManager* gLib = nullptr;
TMyCAD* gCanvas = nullptr;

void Require(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Past a few entries the walk only repeats itself; previews cost the most.
constexpr int32_t kEntriesRead = 8;

void ReadOnce(const uint8_t* data, size_t size, bool eightBit)
{
    TLibManager& lib = *gLib;
    lib.LibStream.Clear();
    if (size > 0) lib.LibStream.WriteBuffer(data, static_cast<int64_t>(size));
    const std::vector<uint8_t> bytes = lib.LibStream.Bytes();
    ReadOldZEDAFile = eightBit;

    const int32_t count = lib.GetcmbShapesCount();
    std::vector<String> names;
    for (int32_t i = 0; i < std::min(std::max(count, 1), kEntriesRead); ++i) {
        const String name = lib.GetCmbShapesNameByID(i);
        if (count < 0) Require(name.isEmpty(), "a damaged library named an entry");
        names.push_back(name);
        TArrMyPoint linkPoints;
        TUserData userData;
        TArrMyShape shapes;
        int32_t w = 0;
        int32_t h = 0;
        const bool read = lib.GetCmbShape(name, linkPoints, userData, shapes, w, h, true);
        if (count < 0) Require(!read, "a damaged library gave an entry");
        TBitmap tile;
        lib.GetCmbShapeImage(name, 24, tile, clWhite);
        if (read && i == 0) gCanvas->AddUserDefineShapefromLib(&lib, name, 50, 50);
    }
    Require(lib.LibStream.Bytes() == bytes, "reading changed the library");

    if (!lib.UpgradeToNewest()) {
        Require(lib.LibStream.Bytes() == bytes, "a failed upgrade changed the library");
    } else if (lib.LibStream.Bytes() != bytes) {
        // A rewritten library is in UTF-16 whatever it was read as.
        ReadOldZEDAFile = false;
        Require(lib.LibTag() == kNewestLibTag, "an upgrade left an older tag");
        Require(lib.GetcmbShapesCount() == count, "an upgrade changed the number of entries");
        for (size_t i = 0; i < names.size() && count > 0; ++i) {
            Require(lib.GetCmbShapesNameByID(static_cast<int32_t>(i)) == names[i], "an upgrade renamed an entry");
        }
    }
    ReadOldZEDAFile = false;
    gCanvas->DeleteAllShapes();
    gCanvas->ClearAllUndoStuff();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application, the library and the canvas live until the process
    // ends: after long runs the application's own teardown at exit crashed
    // inside Qt's clean-up routines, which says nothing about the code
    // under test.
    new QApplication(*argc, *argv);
    gLib = new TLibManager;
    gCanvas = new TMyCAD;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadOnce(data, size, false);
    ReadOnce(data, size, true);
    return 0;
}
