#include "apps/cli/Commands.h"

#include "apps/cli/CommandLine.h"
#include "apps/cli/DrawingReport.h"
#include "apps/cli/LibraryCommands.h"
#include "apps/common/DrawingFiles.h"
#include "cad/canvas/MyCAD.h"
#include "cad/io/DocumentFile.h"
#include "cad/io/DxfExport.h"
#include "cad/io/Printing.h"
#include "cad/io/RasterExport.h"
#include "cad/io/VectorExport.h"
#include "platform/Messages.h"

#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <optional>

namespace mycad::cli {

namespace {

// The largest picture render draws: 20 000 pixels a side and 64 million
// pixels in all (192 MB at three bytes a pixel).
constexpr int kMaxPictureSide = 20000;
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;

const char* const kMainHelp =
    "usage: mycad COMMAND [ARGS]\n"
    "\n"
    "Inspects, renders and converts MyCAD drawings without a window.\n"
    "\n"
    "commands:\n"
    "  info FILE [--json]          a summary of the drawing, or every stored value as JSON\n"
    "  render FILE OUT [OPTIONS]   a picture of the drawing as PNG, JPEG, BMP, SVG, PDF or WMF\n"
    "  preview FILE OUT [OPTIONS]  the printed page as a PNG, JPEG or BMP picture\n"
    "  print FILE OUT.pdf [OPTIONS]  print the page into a PDF file\n"
    "  convert IN OUT              rewrite a drawing of any version in the current one,\n"
    "                              or write it as DXF for CAD programs (OUT.dxf)\n"
    "  block DRAWING BLOCK OUT     add the drawing BLOCK to DRAWING and save it as OUT\n"
    "  lib ACTION LIB ...          list, show, preview, add and upgrade shape libraries\n"
    "  place DRAWING LIB NAME X Y OUT  place a library entry on a drawing and save it\n"
    "\n"
    "'mycad COMMAND --help' describes a command; 'mycad --version' tells the version.\n"
    "Exit status: 0 done, 1 a file is missing, is no drawing, cannot be read or\n"
    "written, 2 the command line is wrong.\n";

const char* const kInfoHelp =
    "usage: mycad info FILE [--json]\n"
    "\n"
    "Describes a drawing: its version, page size, unit, layers and shapes.\n"
    "\n"
    "  --json   print one JSON object with every stored value of the drawing,\n"
    "           its layers and each shape in list order; enumerations and sets\n"
    "           are numbers, colours their stored 0xBBGGRR values\n";

const char* const kRenderHelp =
    "usage: mycad render FILE OUT [--width W] [--height H] [--no-background] [--quality Q]\n"
    "\n"
    "Draws the drawing into a picture; OUT's extension chooses the format\n"
    "(.png, .jpg, .jpeg or .bmp). The picture is the drawing's page at zoom 1\n"
    "unless a size is given; the drawing is scaled to fit, keeping its\n"
    "proportions. .svg and .pdf write the page as it prints (head, foot,\n"
    "border, background) as vector graphics at its real size, .wmf the\n"
    "shapes as a placeable Windows metafile; sizes do not apply to them.\n"
    "\n"
    "  --width W         picture width in pixels (with only one side given the\n"
    "  --height H        other follows the page's proportions); up to 20000 a\n"
    "                    side and 64 million pixels in all\n"
    "  --no-background   leave out the drawing's background colour: a PNG is\n"
    "                    transparent there, a JPEG or BMP white\n"
    "  --quality Q       JPEG quality from 0 to 100 (default 90)\n";

const char* const kPreviewHelp =
    "usage: mycad preview FILE OUT [--zoom Z] [--layers ID,ID] [--max-size WxH]\n"
    "\n"
    "Renders the page as it prints (background, background picture, border,\n"
    "head and foot, shapes) into a PNG, JPEG or BMP picture of the page's size\n"
    "at the zoom.\n"
    "\n"
    "  --zoom Z          scale of the page, from 0.01 to 16 (default 1)\n"
    "  --layers ID,ID    only the shapes of these layer ids (default: all)\n"
    "  --max-size WxH    at most W x H pixels: the page's top-left part, each\n"
    "                    shape drawn by itself (for very large pages)\n";

const char* const kPrintHelp =
    "usage: mycad print FILE OUT.pdf [--zoom Z] [--layers ID,ID]\n"
    "\n"
    "Prints the page on a PDF printer: paper of the drawing's page size, the\n"
    "drawing at zoom times its real size.\n"
    "\n"
    "  --zoom Z          from 0.01 to 16 (default 1)\n"
    "  --layers ID,ID    only the shapes of these layer ids (default: all)\n";

const char* const kConvertHelp =
    "usage: mycad convert IN OUT [--text-outlines]\n"
    "\n"
    "Reads a drawing of any version, also the oldest 8-bit ones, and writes it\n"
    "to OUT in the current version. An OUT ending in .dxf gets the drawing as a\n"
    "DXF file in millimetres instead, for CAD programs and cutting machines.\n"
    "OUT is replaced only once it is complete.\n"
    "\n"
    "  --text-outlines   (DXF only) write text shapes as the outlines of their\n"
    "                    glyphs instead of as text\n";

const char* const kBlockHelp =
    "usage: mycad block DRAWING BLOCK OUT [--import]\n"
    "\n"
    "Inserts the drawing BLOCK (a title block, a standard detail) into DRAWING\n"
    "in place and writes the result to OUT. The block's background, unit and\n"
    "scale replace the drawing's; the page only grows. OUT is replaced only\n"
    "once it is complete.\n"
    "\n"
    "  --import   keep the block's layers: its shapes go onto the drawing's\n"
    "             layer at the same position, and layers the drawing lacks are\n"
    "             added as \"Block\" followed by the block layer's name\n"
    "             (default: every shape onto the drawing's current layer)\n";

int Info(TCommandLine& line, QTextStream& out, QTextStream& err)
{
    if (!line.Parse({QStringLiteral("--json"), QStringLiteral("--help")}, {})) return kExitUsage;
    if (line.Positional().size() != 1) {
        line.Usage(QStringLiteral("expects one drawing file"));
        return kExitUsage;
    }
    const QString file = line.Positional().front();
    TLoadedDrawing drawing(file, err);
    if (!drawing.ok) return kExitFileError;
    if (line.Has(QStringLiteral("--json"))) {
        out << QString::fromStdString(DrawingJson(drawing.cad));
    } else {
        out << DrawingSummary(drawing.cad, file);
    }
    return kExitOk;
}

/// The drawing without its background, with what shows through as
/// transparency: drawn once on white and once on black, a pixel's coverage is
/// how little the two differ, and its colour the black drawing's divided by it
/// (antialiased edges keep their partial coverage).
QImage TransparentPicture(TMyCAD& cad, int32_t width, int32_t height)
{
    const TColor colour = cad.ColorOfBackGround();
    TBitmap onWhite;
    TBitmap onBlack;
    cad.SetColorOfBackGround(clWhite);
    SaveToBmp(cad, onWhite, width, height, true);
    cad.SetColorOfBackGround(clBlack);
    SaveToBmp(cad, onBlack, width, height, true);
    cad.SetColorOfBackGround(colour);
    if (onWhite.Empty() || onBlack.Empty()) return {};
    const QImage white = onWhite.Image().convertToFormat(QImage::Format_RGB32);
    const QImage black = onBlack.Image().convertToFormat(QImage::Format_RGB32);
    QImage out(white.size(), QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        const auto* w = reinterpret_cast<const QRgb*>(white.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(black.constScanLine(y));
        auto* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int spread = std::max({qRed(w[x]) - qRed(b[x]), qGreen(w[x]) - qGreen(b[x]), qBlue(w[x]) - qBlue(b[x])});
            const int alpha = std::clamp(255 - spread, 0, 255);
            const auto unblend = [alpha](int c) { return alpha == 0 ? 0 : std::min(255, c * 255 / alpha); };
            o[x] = qRgba(unblend(qRed(b[x])), unblend(qGreen(b[x])), unblend(qBlue(b[x])), alpha);
        }
    }
    return out;
}

int Render(TCommandLine& line, QTextStream& err)
{
    const QString width = QStringLiteral("--width");
    const QString height = QStringLiteral("--height");
    const QString quality = QStringLiteral("--quality");
    if (!line.Parse({QStringLiteral("--no-background"), QStringLiteral("--help")}, {width, height, quality})) {
        return kExitUsage;
    }
    if (line.Positional().size() != 2) {
        line.Usage(QStringLiteral("expects a drawing file and an output picture"));
        return kExitUsage;
    }
    const QString in = line.Positional().at(0);
    const QString out = line.Positional().at(1);
    const QString suffix = QFileInfo(out).suffix().toLower();
    const bool vector = suffix == QLatin1String("svg") || suffix == QLatin1String("pdf") ||
                        suffix == QLatin1String("wmf");
    if (!vector && app::ImageFormatOf(out) == app::TImageFormat::Unknown) {
        line.Usage(QStringLiteral("'%1' must end in .png, .jpg, .jpeg, .bmp, .svg, .pdf or .wmf").arg(out));
        return kExitUsage;
    }
    std::optional<int> w;
    std::optional<int> h;
    int jpegQuality = 90;
    if (!line.IntOption(width, 1, kMaxPictureSide, w) || !line.IntOption(height, 1, kMaxPictureSide, h) ||
        !line.IntOption(quality, 0, 100, jpegQuality)) {
        return kExitUsage;
    }

    TLoadedDrawing drawing(in, err);
    if (!drawing.ok) return kExitFileError;
    if (vector) {
        const bool written = suffix == QLatin1String("svg")   ? SaveToSvg(drawing.cad, out)
                             : suffix == QLatin1String("pdf") ? SaveToPdf(drawing.cad, out)
                                                              : SaveToWmf(drawing.cad, out);
        if (written) return kExitOk;
        err << "mycad: " << out << ": cannot write the picture\n";
        return kExitFileError;
    }
    // A loaded drawing is at zoom 1, so the control is the page.
    const int pageW = std::max(drawing.cad.Width(), 1);
    const int pageH = std::max(drawing.cad.Height(), 1);
    const auto follow = [](int given, int from, int to) {
        return std::clamp(RoundToInt(static_cast<double>(given) * to / from), 1, kMaxPictureSide);
    };
    if (!w && !h) {
        w = pageW;
        h = pageH;
    } else if (!h) {
        h = follow(*w, pageW, pageH);
    } else if (!w) {
        w = follow(*h, pageH, pageW);
    }

    if (int64_t{*w} * *h > kMaxPicturePixels) {
        line.Usage(QStringLiteral("a picture of %1 x %2 pixels is too large (at most %3 pixels)")
                       .arg(*w)
                       .arg(*h)
                       .arg(kMaxPicturePixels));
        return kExitUsage;
    }
    const bool background = !line.Has(QStringLiteral("--no-background"));
    if (!background && app::ImageFormatOf(out) == app::TImageFormat::Png) {
        const QImage transparent = TransparentPicture(drawing.cad, *w, *h);
        if (transparent.isNull() || !transparent.save(out, "PNG")) {
            err << "mycad: " << out << ": cannot write the picture\n";
            return kExitFileError;
        }
        return kExitOk;
    }
    TBitmap picture;
    SaveToBmp(drawing.cad, picture, *w, *h, background);
    if (picture.Empty() || !picture.SaveToFile(out, jpegQuality)) {
        err << "mycad: " << out << ": cannot write the picture\n";
        return kExitFileError;
    }
    return kExitOk;
}

/// The page options of preview and print; false after a usage error.
struct TPageOptions {
    double zoom = 1.0;
    TLayerIds layers;
};

bool ParsePageOptions(TCommandLine& line, TPageOptions& options)
{
    if (const auto v = line.Value(QStringLiteral("--zoom"))) {
        bool ok = false;
        options.zoom = v->toDouble(&ok);
        if (!ok || !(options.zoom >= 0.01 && options.zoom <= 16)) {
            return line.Usage(QStringLiteral("--zoom must be a number from 0.01 to 16"));
        }
    }
    if (const auto v = line.Value(QStringLiteral("--layers"))) {
        for (const QString& part : v->split(u',')) {
            const std::optional<int> id = IntIn(part.trimmed(), 0, INT32_MAX);
            if (!id) return line.Usage(QStringLiteral("--layers must list layer ids, such as 0,2"));
            options.layers.push_back(*id);
        }
    }
    return true;
}

int Preview(TCommandLine& line, QTextStream& err)
{
    const QString maxSize = QStringLiteral("--max-size");
    if (!line.Parse({QStringLiteral("--help")}, {QStringLiteral("--zoom"), QStringLiteral("--layers"), maxSize})) {
        return kExitUsage;
    }
    if (line.Positional().size() != 2) {
        line.Usage(QStringLiteral("expects a drawing file and an output picture"));
        return kExitUsage;
    }
    const QString out = line.Positional().at(1);
    if (app::ImageFormatOf(out) == app::TImageFormat::Unknown) {
        line.Usage(QStringLiteral("'%1' must end in .png, .jpg, .jpeg or .bmp").arg(out));
        return kExitUsage;
    }
    TPageOptions options;
    if (!ParsePageOptions(line, options)) return kExitUsage;
    std::optional<int> maxW;
    std::optional<int> maxH;
    if (const auto v = line.Value(maxSize)) {
        const QStringList wh = v->split(u'x');
        if (wh.size() == 2) {
            maxW = IntIn(wh[0], 1, kMaxPictureSide);
            maxH = IntIn(wh[1], 1, kMaxPictureSide);
        }
        if (!maxW || !maxH) {
            line.Usage(QStringLiteral("--max-size must be WxH, each from 1 to %1").arg(kMaxPictureSide));
            return kExitUsage;
        }
    }
    TLoadedDrawing drawing(line.Positional().at(0), err);
    if (!drawing.ok) return kExitFileError;
    if (!maxW) {
        const TSize page = drawing.cad.PagePixels(options.zoom);
        if (page.cx > kMaxPictureSide || page.cy > kMaxPictureSide ||
            int64_t{page.cx} * page.cy > kMaxPicturePixels) {
            line.Usage(QStringLiteral("the page is %1 x %2 pixels at this zoom; use --max-size or a smaller zoom")
                           .arg(page.cx)
                           .arg(page.cy));
            return kExitUsage;
        }
    }
    TBitmap picture;
    if (maxW) {
        PrintPreviewLowMem(drawing.cad, options.layers, picture, *maxW, *maxH, options.zoom);
    } else {
        PrintPreview(drawing.cad, options.layers, picture, options.zoom);
    }
    if (picture.Empty() || !picture.SaveToFile(out)) {
        err << "mycad: " << out << ": cannot write the picture\n";
        return kExitFileError;
    }
    return kExitOk;
}

int PrintToPdf(TCommandLine& line, QTextStream& err)
{
    if (!line.Parse({QStringLiteral("--help")}, {QStringLiteral("--zoom"), QStringLiteral("--layers")})) {
        return kExitUsage;
    }
    if (line.Positional().size() != 2) {
        line.Usage(QStringLiteral("expects a drawing file and an output PDF"));
        return kExitUsage;
    }
    const QString out = line.Positional().at(1);
    if (QFileInfo(out).suffix().toLower() != QLatin1String("pdf")) {
        line.Usage(QStringLiteral("'%1' must end in .pdf").arg(out));
        return kExitUsage;
    }
    TPageOptions options;
    if (!ParsePageOptions(line, options)) return kExitUsage;
    TLoadedDrawing drawing(line.Positional().at(0), err);
    if (!drawing.ok) return kExitFileError;
    TPrinter printer;
    printer.SetOutputFileName(out);
    printer.SetTitle(QFileInfo(out).fileName());
    if (!Print(drawing.cad, options.layers, options.zoom, printer) || !QFileInfo(out).isFile()) {
        err << "mycad: " << out << ": cannot print into this file\n";
        return kExitFileError;
    }
    return kExitOk;
}

int Convert(TCommandLine& line, QTextStream& err)
{
    const QString outlines = QStringLiteral("--text-outlines");
    if (!line.Parse({QStringLiteral("--help"), outlines}, {})) return kExitUsage;
    if (line.Positional().size() != 2) {
        line.Usage(QStringLiteral("expects an input and an output drawing file"));
        return kExitUsage;
    }
    const QString in = line.Positional().at(0);
    const QString out = line.Positional().at(1);
    const bool dxf = QFileInfo(out).suffix().compare(QLatin1String("dxf"), Qt::CaseInsensitive) == 0;
    if (line.Has(outlines) && !dxf) {
        line.Usage(QStringLiteral("--text-outlines needs an output ending in .dxf"));
        return kExitUsage;
    }
    TLoadedDrawing drawing(in, err);
    if (!drawing.ok) return kExitFileError;
    if (dxf) {
        const bool written = line.Has(outlines) ? SaveToDxf1(drawing.cad, out) : SaveToDxf(drawing.cad, out);
        if (!written) {
            err << "mycad: " << out << ": cannot write the DXF file\n";
            return kExitFileError;
        }
        return kExitOk;
    }
    if (!SaveToFile(drawing.cad, out)) {
        err << "mycad: " << out << ": cannot write the drawing\n";
        return kExitFileError;
    }
    return kExitOk;
}

int Block(TCommandLine& line, QTextStream& err)
{
    const QString import = QStringLiteral("--import");
    if (!line.Parse({QStringLiteral("--help"), import}, {})) return kExitUsage;
    if (line.Positional().size() != 3) {
        line.Usage(QStringLiteral("expects a drawing, a block drawing and an output file"));
        return kExitUsage;
    }
    const QString block = line.Positional().at(1);
    const QString out = line.Positional().at(2);
    TLoadedDrawing drawing(line.Positional().at(0), err);
    if (!drawing.ok) return kExitFileError;
    const TBlockLayerMode mode = line.Has(import) ? TBlockLayerMode::Import : TBlockLayerMode::Merge;
    const app::TOpenResult result = app::InsertDrawingAsBlock(drawing.cad, block, mode);
    if (result != app::TOpenResult::Opened) {
        err << "mycad: " << app::OpenErrorText(result, block) << '\n';
        return kExitFileError;
    }
    if (!SaveToFile(drawing.cad, out)) {
        err << "mycad: " << out << ": cannot write the drawing\n";
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace

int RunMyCad(const QStringList& args, QTextStream& out, QTextStream& err)
{
    // What the canvas has to say goes to the error stream, one line each.
    const TMessageHandler previous = SetMessageHandler([&err](const String& text) { err << "mycad: " << text << '\n'; });
    struct Restore {
        TMessageHandler handler;
        ~Restore() { SetMessageHandler(handler); }
    } restore{previous};

    if (args.isEmpty()) {
        err << kMainHelp;
        return kExitUsage;
    }
    const QString command = args.front();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        out << kMainHelp;
        return kExitOk;
    }
    if (command == QLatin1String("--version")) {
        out << "mycad " << app::kVersion << '\n';
        return kExitOk;
    }
    TCommandLine line(command, args.mid(1), err);
    const auto help = [&](const char* text) {
        out << text;
        return kExitOk;
    };
    if (command == QLatin1String("info")) return line.WantsHelp() ? help(kInfoHelp) : Info(line, out, err);
    if (command == QLatin1String("render")) return line.WantsHelp() ? help(kRenderHelp) : Render(line, err);
    if (command == QLatin1String("preview")) return line.WantsHelp() ? help(kPreviewHelp) : Preview(line, err);
    if (command == QLatin1String("print")) return line.WantsHelp() ? help(kPrintHelp) : PrintToPdf(line, err);
    if (command == QLatin1String("convert")) return line.WantsHelp() ? help(kConvertHelp) : Convert(line, err);
    if (command == QLatin1String("block")) return line.WantsHelp() ? help(kBlockHelp) : Block(line, err);
    if (command == QLatin1String("lib")) return Library(line, out, err);
    if (command == QLatin1String("place")) return line.WantsHelp() ? help(kPlaceHelp) : Place(line, err);
    err << "mycad: unknown command '" << command << "' (see 'mycad --help')\n";
    return kExitUsage;
}

} // namespace mycad::cli
