// The record parts of the shape classes that ship with the canvas, for the
// registry, and the pieces that several parts and the document share.
#pragma once

#include "cad/io/RecordReader.h"
#include "cad/io/ShapeRecords.h"
#include "cad/shapes/UserData.h"

namespace mycad {

// The fields every shape stores.
void SaveBaseRecord(const TMyShape& shape, TStream& stream);
void LoadBaseRecord(TMyShape& shape, TRecordReader& reader);

// The parts of the catalogued classes that store fields of their own. Each is
// listed once in ShapeRecords.cpp under the name its catalogue row gives.
TShapeRecordClass LineRecordClass();
TShapeRecordClass RuleLineRecordClass();
TShapeRecordClass ElliArcRecordClass();
TShapeRecordClass LinkLineRecordClass();
TShapeRecordClass LinkPointRecordClass();
TShapeRecordClass TextRecordClass();
TShapeRecordClass ImageRecordClass();

/// Writes an int32 pair count and each pair as key and value counted strings.
void WriteUserDataPairs(TStream& stream, const TUserData& data);
/// Reads pairs written so, refusing a count the stream cannot hold.
TArrUserDataRec ReadUserDataPairs(TRecordReader& reader);
/// Appends the pairs whose keys the list does not hold yet (as AddKeyandValue
/// does one by one), in time linear in both lists.
void AppendUserDataPairs(TUserData& target, const TArrUserDataRec& pairs);

} // namespace mycad
