#include "apps/common/LibraryFiles.h"

#include "cad/geometry/StreamEncoding.h"

#include <QFileInfo>

namespace mycad::app {

namespace {

/// Reads the library's tag and, for an older one, upgrades it; in 8-bit
/// mode when eightBit. Opened or the reason it is not.
TLibOpenResult Bring(TLibManager& lib, bool eightBit, bool& upgraded)
{
    struct TMode {
        bool Saved = ReadOldZEDAFile;
        ~TMode() { ReadOldZEDAFile = Saved; }
    } mode;
    ReadOldZEDAFile = eightBit;
    const String tag = lib.LibTag();
    if (tag == kOldLibTag) return TLibOpenResult::Unsupported;
    if (LibTagVersion(tag).isEmpty()) return TLibOpenResult::NotALibrary;
    if (eightBit) {
        // The newest tag in 8-bit characters: the entries are read as such
        // and written anew in UTF-16.
        if (tag == kNewestLibTag) {
            if (!lib.UpgradefromxjtoUNICODE()) return TLibOpenResult::Damaged;
            lib.LibStream.Clear();
            lib.LibStream.WriteBuffer(lib.UpgradeStream.Memory(), lib.UpgradeStream.Size());
            upgraded = true;
            return TLibOpenResult::Opened;
        }
    } else if (tag == kNewestLibTag) {
        return lib.GetcmbShapesCount() < 0 ? TLibOpenResult::Damaged : TLibOpenResult::Opened;
    }
    if (!lib.UpgradeToNewest()) return TLibOpenResult::Damaged;
    upgraded = true;
    return TLibOpenResult::Opened;
}

} // namespace

TLibOpenResult OpenLibrary(TLibManager& lib, const QString& fileName, bool& upgraded)
{
    upgraded = false;
    lib.Clear();
    if (!QFileInfo(fileName).isFile() || !lib.LoadFromFile(fileName)) {
        lib.Clear();
        return TLibOpenResult::Missing;
    }
    TLibOpenResult result = Bring(lib, false, upgraded);
    if (result == TLibOpenResult::NotALibrary) {
        const TLibOpenResult eightBit = Bring(lib, true, upgraded);
        if (eightBit != TLibOpenResult::NotALibrary) result = eightBit;
    }
    if (result != TLibOpenResult::Opened) lib.Clear();
    return result;
}

QString LibOpenErrorText(TLibOpenResult result, const QString& fileName)
{
    switch (result) {
    case TLibOpenResult::Opened:
        return QString();
    case TLibOpenResult::Missing:
        return QStringLiteral("%1: no such file, or it cannot be read").arg(fileName);
    case TLibOpenResult::NotALibrary:
        return QStringLiteral("%1: not a shape library").arg(fileName);
    case TLibOpenResult::Unsupported:
        return QStringLiteral("%1: a library of the oldest 8-bit layout, which cannot be read").arg(fileName);
    case TLibOpenResult::Damaged:
        return QStringLiteral("%1: the library is damaged and cannot be read").arg(fileName);
    }
    return QString();
}

bool StoreEntry(TLibManager& lib, const QString& name, const TArrMyShapeRef& shapes, const TUserData& userData)
{
    TArrMyShapeRef framed;
    for (TMyShape* s : shapes) {
        if (s && s->ClassName() != QLatin1String("TMyLinkPoint")) framed.push_back(s);
    }
    const TMyRect box = lib.Canvas().GetShapesLTRB(framed);
    const int32_t width = std::max(1, RoundToInt(double(box.Right) - box.Left));
    const int32_t height = std::max(1, RoundToInt(double(box.Bottom) - box.Top));
    int64_t pos = 0;
    int64_t size = 0;
    if (lib.GetExistShape(name, pos, size)) return lib.RepalceExistShape(name, shapes, userData, width, height);
    return lib.AppendNewShape(name, shapes, userData, width, height);
}

} // namespace mycad::app
