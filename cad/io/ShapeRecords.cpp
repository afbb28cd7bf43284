// The registry of record parts and the walk that writes or reads a shape's
// parts from the base class down.
#include "cad/io/ShapeRecords.h"

#include "cad/io/ShapeRecordParts.h"

#include <memory>
#include <unordered_map>

namespace mycad {

namespace {

const String kBaseClassName = QStringLiteral("TMyShape");

class TRecordRegistry {
public:
    TRecordRegistry()
    {
        FClasses.emplace(kBaseClassName, TShapeRecordClass{kBaseClassName, String(), &SaveBaseRecord, &LoadBaseRecord});
        // Parents before their subclasses. Classes that store nothing beyond
        // their parent's fields are known by name alone, so their shapes
        // read and write as soon as the canvas can create them.
        Register(RectangleRecordClass());
        Register(LineRecordClass());
        Register(RuleLineRecordClass());
        Register(BareRecordClass("TMyEllipse", "TMyRectangle"));
        Register(BareRecordClass("TMyGroup", "TMyRectangle"));
        Register(BareRecordClass("TMyCombine", "TMyGroup"));
        Register(BareRecordClass("TMyPolyLine", "TMyLine"));
        Register(BareRecordClass("TMyFreeLine", "TMyPolyLine"));
        Register(BareRecordClass("TMyPolygon", "TMyPolyLine"));
        Register(BareRecordClass("TMyPolyBezier", "TMyShape"));
        Register(BareRecordClass("TMyBLine", "TMyShape"));
        Register(ElliArcRecordClass());
        Register(LinkLineRecordClass());
        Register(LinkPointRecordClass());
        Register(BareRecordClass("TMyLineLinkLine", "TMyLinkPoint"));
        Register(TextRecordClass());
        Register(ImageRecordClass());
    }

    static TShapeRecordClass BareRecordClass(const char* className, const char* parentClassName)
    {
        return TShapeRecordClass{String::fromLatin1(className), String::fromLatin1(parentClassName), {}, {}};
    }

    bool Register(const TShapeRecordClass& c)
    {
        if (c.ClassName.isEmpty() || c.ClassName == kBaseClassName) return false;
        if (FClasses.find(c.ParentClassName) == FClasses.end()) return false;
        FClasses[c.ClassName] = c;
        FChains.clear();
        return true;
    }

    /// The parts of a class from the base down; nullptr for an unknown class.
    /// Parent links always lead to the base: a class registers only after its
    /// parent, and a replaced class keeps that order.
    const std::vector<const TShapeRecordClass*>* Chain(const String& className)
    {
        const auto cached = FChains.find(className);
        if (cached != FChains.end()) return &cached->second;
        std::vector<const TShapeRecordClass*> chain;
        String name = className;
        while (true) {
            const auto it = FClasses.find(name);
            if (it == FClasses.end()) return nullptr;
            chain.insert(chain.begin(), &it->second);
            if (name == kBaseClassName) break;
            name = it->second.ParentClassName;
            // A replaced class may name a later class as parent; more steps
            // than classes can only be such a loop.
            if (chain.size() > FClasses.size()) return nullptr;
        }
        return &FChains.emplace(className, std::move(chain)).first->second;
    }

private:
    std::unordered_map<String, TShapeRecordClass> FClasses;
    std::unordered_map<String, std::vector<const TShapeRecordClass*>> FChains;
};

TRecordRegistry& Registry()
{
    static TRecordRegistry registry;
    return registry;
}

} // namespace

bool RegisterShapeRecord(const TShapeRecordClass& recordClass) { return Registry().Register(recordClass); }

bool HasShapeRecord(const String& className)
{
    return className != kBaseClassName && Registry().Chain(className) != nullptr;
}

void WriteShapeRecord(const TMyShape& shape, TStream& stream)
{
    const String name = shape.ClassName();
    const auto* chain = name == kBaseClassName ? nullptr : Registry().Chain(name);
    if (!chain) throw EWriteError("no record layout for class " + name.toStdString());
    for (const TShapeRecordClass* part : *chain) {
        if (part->Save) part->Save(shape, stream);
    }
}

void ReadShapeRecord(TMyShape& shape, TRecordReader& reader)
{
    const String name = shape.ClassName();
    const auto* chain = name == kBaseClassName ? nullptr : Registry().Chain(name);
    if (!chain) TRecordReader::Fail("no record layout for the class");
    for (const TShapeRecordClass* part : *chain) {
        if (part->Load) part->Load(shape, reader);
    }
}

bool SaveShapeToStream(const TMyShape& shape, TStream& stream)
{
    try {
        WriteShapeRecord(shape, stream);
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

bool LoadShapeFromStream(TMyShape& shape, TStream& stream, const String& versionTag)
{
    try {
        TRecordReader reader(stream, FileVersionOf(versionTag), stream.Size());
        ReadShapeRecord(shape, reader);
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

} // namespace mycad
