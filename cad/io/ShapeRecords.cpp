// The registry of record parts and the walk that writes or reads a shape's
// parts from the base class down.
#include "cad/io/ShapeRecords.h"

#include "cad/canvas/ShapeCatalogue.h"
#include "cad/io/ShapeRecordParts.h"

#include <array>
#include <memory>
#include <unordered_map>

namespace mycad {

namespace {

const String kBaseClassName = u"TMyShape"_s;

// The record parts that catalogue rows name, one entry per class that stores
// fields of its own.
constexpr std::array kOwnRecordParts{&LineRecordClass,     &RuleLineRecordClass, &ElliArcRecordClass,
                                     &LinkLineRecordClass, &LinkPointRecordClass, &TextRecordClass,
                                     &ImageRecordClass};

class TRecordRegistry {
public:
    TRecordRegistry()
    {
        FClasses.emplace(kBaseClassName, TShapeRecordClass{kBaseClassName, String(), &SaveBaseRecord, &LoadBaseRecord});
        std::vector<TShapeRecordClass> parts;
        for (const auto part : kOwnRecordParts) parts.push_back(part());
        // The catalogue lists parents before their subclasses. A class that
        // stores nothing beyond its parent's fields is known by its row
        // alone; one whose row names a part that is missing, or that names
        // another parent, stays unregistered, so its shapes are refused
        // instead of being written short.
        for (const TShapeClassRow& row : ShapeCatalogue()) {
            if (row.RecordPart.isEmpty()) {
                Register(TShapeRecordClass{row.ClassName, row.ParentClassName, {}, {}});
                continue;
            }
            for (const TShapeRecordClass& part : parts) {
                if (part.ClassName != row.RecordPart || part.ParentClassName != row.ParentClassName) continue;
                TShapeRecordClass named = part;
                named.ClassName = row.ClassName;
                Register(named);
            }
        }
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
