// Writes the seed corpus of fuzz_library into the folder given: a library of
// each tag from the test encoder and one made by the writer with link
// points, user data, a group and several shape classes, and an 8-bit one.
// Usage: make_library_seeds DIR
#include "SeedFiles.h"
#include "cad/canvas/MyCAD.h"
#include "cad/io/LibManager.h"
#include "LibraryEncoder.h"

#include <QApplication>

#include <cstdio>
#include <string>

using namespace mycad;

namespace {

using seeds::Write;

std::vector<libenc::Entry> Entries()
{
    libenc::Entry box{u"Box", 80, 40, {{u"k", u"v"}}, {libenc::Box("TMyRectangle", 0, 0, 1, 1)}};
    libenc::Entry linked{u"Linked", 20, 20, {}, {libenc::Box("TMyEllipse", 0, 0, 1, 1),
                                                 libenc::Box("TMyLinkPoint", 0.4, -0.1, 0.6, 0.1)}};
    return {box, linked};
}

std::vector<uint8_t> Written()
{
    TLibManager lib;
    TMyCAD& cad = lib.Canvas();
    TArrMyShape shapes;
    auto add = [&](const char* cls, float l, float t, float r, float b) {
        auto s = cad.CreateShapeByName(QString::fromLatin1(cls));
        s->ThePoints = {{l, t}, {r, t}, {r, b}, {l, b}};
        shapes.push_back(std::move(s));
    };
    add("TMyRectangle", 0, 0, 120, 60);
    add("TMyEllipse", 10, 10, 50, 50);
    add("TMyGroup", 0, 0, 50, 50);
    add("TMyLinkPoint", -4, 26, 4, 34);
    add("TMyLinkPoint", 116, 26, 124, 34);
    TArrMyShapeRef refs;
    for (const auto& s : shapes) refs.push_back(s.get());
    TUserData data;
    data.AddKeyandValue(u"kind"_s, u"device"_s);
    lib.AppendNewShape(u"Device"_s, refs, data, 120, 60);
    lib.AppendNewShape(u"Plain"_s, {refs[0]}, TUserData(), 40, 20);
    return lib.LibStream.Bytes();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_library_seeds DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string dir = argv[1];
    bool ok = true;
    for (const char* tag : {"ZEDALIBX.2", "ZEDALIBX.3", "ZEDALIBX.6", "ZEDALIBX.7", "ZEDALIBX.8", "ZEDALIBX.9",
                            "ZEDALIBX.a", "ZEDALIBX.e", "ZEDALIBX.h", "ZEDALIBX.i", "ZEDALIBX.j"}) {
        ok = Write(dir, std::string("encoded-") + tag, libenc::EncodeLibrary(tag, Entries())) && ok;
    }
    ok = Write(dir, "eight-bit", libenc::EightBitRingLibrary()) && ok;
    ok = Write(dir, "written", Written()) && ok;
    return ok ? 0 : 1;
}
