#include "apps/cli/LibraryCommands.h"

#include "apps/cli/DrawingReport.h"
#include "apps/cli/JsonWriter.h"
#include "apps/common/LibraryFiles.h"
#include "cad/geometry/StreamEncoding.h"
#include "cad/io/DocumentFile.h"

#include <QFileInfo>

namespace mycad::cli {

const char* const kPlaceHelp =
    "usage: mycad place DRAWING LIB NAME X Y OUT\n"
    "\n"
    "Places the entry NAME of the shape library LIB on the drawing, centred on\n"
    "the point X, Y (pixels of the page at zoom 1), and writes the result to\n"
    "OUT. An entry of one shape comes in as that shape, any other as one\n"
    "combined shape with the entry's link points. OUT is replaced only once it\n"
    "is complete.\n";

namespace {

const char* const kLibHelp =
    "usage: mycad lib ACTION ARGS\n"
    "\n"
    "Works with shape libraries: files of named stencils that drawings place.\n"
    "Libraries of older versions are read and shown in the current one.\n"
    "\n"
    "actions:\n"
    "  list LIB [--json]              the entries: name, size, shapes, link points\n"
    "  show LIB NAME [--json]         one entry: size, user data, link points and\n"
    "                                 shapes (as 'mycad info --json' lists them)\n"
    "  preview LIB NAME OUT [--size N]  a square picture of the entry, N pixels\n"
    "                                 wide (3 to 4096, default 64)\n"
    "  add LIB NAME DRAWING           store the whole drawing as the entry NAME\n"
    "                                 (replacing one of that name); LIB is created\n"
    "                                 when missing and written in the current version\n"
    "  upgrade OLD NEW                write the library OLD in the current version\n"
    "\n"
    "Exit status: 0 done, 1 a file is missing, is no library or drawing, cannot\n"
    "be read or written, or has no such entry, 2 the command line is wrong.\n";

/// A library read for a command; the error is reported when it is not.
struct TOpenedLibrary {
    TLibManager lib;
    bool ok = false;

    TOpenedLibrary(const QString& fileName, QTextStream& err)
    {
        bool upgraded = false;
        const app::TLibOpenResult result = app::OpenLibrary(lib, fileName, upgraded);
        ok = result == app::TLibOpenResult::Opened;
        if (!ok) err << "mycad: " << app::LibOpenErrorText(result, fileName) << '\n';
    }
};

struct TEntry {
    TArrMyPoint LinkPoints;
    TUserData UserData;
    TArrMyShape Shapes;
    int32_t Width = 0;
    int32_t Height = 0;
};

bool ReadEntry(TLibManager& lib, const QString& name, TEntry& e, bool split)
{
    return lib.GetCmbShape(name, e.LinkPoints, e.UserData, e.Shapes, e.Width, e.Height, split);
}

int NoEntry(const QString& lib, const QString& name, QTextStream& err)
{
    err << "mycad: " << lib << ": no entry named '" << name << "'\n";
    return kExitFileError;
}

bool Expect(TCommandLine& line, qsizetype count, const char* what)
{
    if (line.Positional().size() == count) return true;
    return line.Usage(QString::fromLatin1(what));
}

// The fields every entry report starts with.
void WriteEntryHead(TJsonWriter& j, const QString& name, const TEntry& e)
{
    j.Key("name");
    j.Str(name);
    j.Key("width");
    j.Int(e.Width);
    j.Key("height");
    j.Int(e.Height);
}

int List(TCommandLine& line, QTextStream& out, QTextStream& err)
{
    if (!line.Parse({QStringLiteral("--json")}, {}) || !Expect(line, 1, "expects one library file")) return kExitUsage;
    TOpenedLibrary opened(line.Positional().front(), err);
    if (!opened.ok) return kExitFileError;
    TLibManager& lib = opened.lib;
    const bool json = line.Has(QStringLiteral("--json"));
    TJsonWriter j;
    j.BeginObject();
    j.Key("entries");
    j.BeginArray();
    const int32_t count = lib.GetcmbShapesCount();
    for (int32_t i = 0; i < count; ++i) {
        const QString name = lib.GetCmbShapesNameByID(i);
        TEntry e;
        if (!ReadEntry(lib, name, e, true)) {
            err << "mycad: " << line.Positional().front() << ": the entry '" << name << "' cannot be read\n";
            return kExitFileError;
        }
        if (!json) {
            out << name << '\t' << e.Width << " x " << e.Height << '\t' << e.Shapes.size() << " shapes\t"
                << e.LinkPoints.size() << " link points\n";
            continue;
        }
        j.BeginObject();
        WriteEntryHead(j, name, e);
        j.Key("shapes");
        j.Int(static_cast<int64_t>(e.Shapes.size()));
        j.Key("linkPoints");
        j.Int(static_cast<int64_t>(e.LinkPoints.size()));
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    if (json) out << QString::fromStdString(j.Text()) << '\n';
    return kExitOk;
}

int Show(TCommandLine& line, QTextStream& out, QTextStream& err)
{
    if (!line.Parse({QStringLiteral("--json")}, {}) || !Expect(line, 2, "expects a library file and an entry name")) {
        return kExitUsage;
    }
    const QString file = line.Positional().at(0);
    const QString name = line.Positional().at(1);
    TOpenedLibrary opened(file, err);
    if (!opened.ok) return kExitFileError;
    TEntry e;
    if (!ReadEntry(opened.lib, name, e, true)) return NoEntry(file, name, err);
    if (!line.Has(QStringLiteral("--json"))) {
        out << name << ": " << e.Width << " x " << e.Height << ", " << e.Shapes.size() << " shapes, "
            << e.LinkPoints.size() << " link points, " << e.UserData.GetCount() << " user data pairs\n";
        return kExitOk;
    }
    TJsonWriter j;
    j.BeginObject();
    WriteEntryHead(j, name, e);
    j.Key("userData");
    WriteUserData(j, e.UserData);
    j.Key("linkPoints");
    WritePoints(j, e.LinkPoints);
    j.Key("shapes");
    j.BeginArray();
    for (const auto& s : e.Shapes) WriteShapeJson(j, *s);
    j.EndArray();
    j.EndObject();
    out << QString::fromStdString(j.Text()) << '\n';
    return kExitOk;
}

int PreviewEntry(TCommandLine& line, QTextStream& err)
{
    const QString sizeOption = QStringLiteral("--size");
    if (!line.Parse({}, {sizeOption}) || !Expect(line, 3, "expects a library file, an entry name and a picture")) {
        return kExitUsage;
    }
    const QString file = line.Positional().at(0);
    const QString name = line.Positional().at(1);
    const QString out = line.Positional().at(2);
    if (app::ImageFormatOf(out) == app::TImageFormat::Unknown) {
        line.Usage(QStringLiteral("'%1' must end in .png, .jpg, .jpeg or .bmp").arg(out));
        return kExitUsage;
    }
    int size = 64;
    if (!line.IntOption(sizeOption, 3, 4096, size)) return kExitUsage;
    TOpenedLibrary opened(file, err);
    if (!opened.ok) return kExitFileError;
    TBitmap tile;
    if (!opened.lib.GetCmbShapeImage(name, size, tile, clWhite)) return NoEntry(file, name, err);
    if (!tile.SaveToFile(out)) {
        err << "mycad: " << out << ": cannot write the picture\n";
        return kExitFileError;
    }
    return kExitOk;
}

int Add(TCommandLine& line, QTextStream& err)
{
    if (!line.Parse({}, {}) || !Expect(line, 3, "expects a library file, an entry name and a drawing")) {
        return kExitUsage;
    }
    const QString file = line.Positional().at(0);
    const QString name = line.Positional().at(1);
    if (name.size() > 255) {
        line.Usage(QStringLiteral("an entry name has at most 255 characters"));
        return kExitUsage;
    }
    TLoadedDrawing drawing(line.Positional().at(2), err);
    if (!drawing.ok) return kExitFileError;
    TLibManager fresh;
    TOpenedLibrary* opened = nullptr;
    std::optional<TOpenedLibrary> existing;
    if (QFileInfo::exists(file)) {
        existing.emplace(file, err);
        if (!existing->ok) return kExitFileError;
        opened = &*existing;
    }
    TLibManager& lib = opened ? opened->lib : fresh;
    TArrMyShapeRef shapes;
    for (const auto& s : drawing.cad.MyShapes) shapes.push_back(s.get());
    if (shapes.empty()) {
        err << "mycad: " << line.Positional().at(2) << ": the drawing has no shapes to store\n";
        return kExitFileError;
    }
    if (!app::StoreEntry(lib, name, shapes, drawing.cad.UserData())) {
        err << "mycad: " << file << ": the drawing cannot be stored as an entry\n";
        return kExitFileError;
    }
    if (!lib.SaveToFile(file)) {
        err << "mycad: " << file << ": cannot write the library\n";
        return kExitFileError;
    }
    return kExitOk;
}

int Upgrade(TCommandLine& line, QTextStream& err)
{
    if (!line.Parse({}, {}) || !Expect(line, 2, "expects the old and the new library file")) return kExitUsage;
    TOpenedLibrary opened(line.Positional().at(0), err);
    if (!opened.ok) return kExitFileError;
    const QString out = line.Positional().at(1);
    if (!opened.lib.SaveToFile(out)) {
        err << "mycad: " << out << ": cannot write the library\n";
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace

int Library(TCommandLine& line, QTextStream& out, QTextStream& err)
{
    const QStringList& args = line.Args();
    if (args.isEmpty() || args.front() == QLatin1String("--help")) {
        (args.isEmpty() ? err : out) << kLibHelp;
        return args.isEmpty() ? kExitUsage : kExitOk;
    }
    const QString action = args.front();
    TCommandLine sub(QStringLiteral("lib ") + action, args.mid(1), err);
    if (sub.WantsHelp()) {
        out << kLibHelp;
        return kExitOk;
    }
    if (action == QLatin1String("list")) return List(sub, out, err);
    if (action == QLatin1String("show")) return Show(sub, out, err);
    if (action == QLatin1String("preview")) return PreviewEntry(sub, err);
    if (action == QLatin1String("add")) return Add(sub, err);
    if (action == QLatin1String("upgrade")) return Upgrade(sub, err);
    err << "mycad lib: unknown action '" << action << "' (see 'mycad lib --help')\n";
    return kExitUsage;
}

int Place(TCommandLine& line, QTextStream& err)
{
    if (!line.Parse({QStringLiteral("--help")}, {}) ||
        !Expect(line, 6, "expects a drawing, a library, an entry name, X, Y and an output file")) {
        return kExitUsage;
    }
    const QStringList& p = line.Positional();
    const std::optional<int> x = IntIn(p.at(3), -1000000, 1000000);
    const std::optional<int> y = IntIn(p.at(4), -1000000, 1000000);
    if (!x || !y) {
        line.Usage(QStringLiteral("X and Y must be whole numbers of pixels"));
        return kExitUsage;
    }
    TLoadedDrawing drawing(p.at(0), err);
    if (!drawing.ok) return kExitFileError;
    TOpenedLibrary opened(p.at(1), err);
    if (!opened.ok) return kExitFileError;
    if (drawing.cad.AddUserDefineShapefromLib(&opened.lib, p.at(2), *x, *y) < 0) return NoEntry(p.at(1), p.at(2), err);
    if (!SaveToFile(drawing.cad, p.at(5))) {
        err << "mycad: " << p.at(5) << ": cannot write the drawing\n";
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace mycad::cli
