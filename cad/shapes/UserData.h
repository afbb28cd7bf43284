// Key and value strings that the application attaches to shapes, to the
// document and to library entries. The component stores, copies and persists
// them and never interprets them.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <vector>

namespace mycad {

struct TUserDataRec {
    String Key;
    String Value;
    friend bool operator==(const TUserDataRec&, const TUserDataRec&) = default;
};

using TArrUserDataRec = std::vector<TUserDataRec>;

/// An ordered list of key/value pairs, in insertion order. Keys compare
/// exactly (case-sensitive, code unit by code unit). AddKeyandValue keeps keys
/// unique, but ReNameKey and SetUserDataRecord do not check, so a list can
/// hold a key twice; look-ups then use the first match. An empty value is a
/// value like any other.
class TUserData {
public:
    TUserData() = default;

    /// Appends the pair; false and no change when the key is already present.
    bool AddKeyandValue(const String& key, const String& value);
    /// Sets the value of the first pair with this key; false when there is none.
    bool ChangeValueByKey(const String& key, const String& value);
    /// Renames the first pair with oldKey in place, keeping its value; false when there is none.
    bool ReNameKey(const String& oldKey, const String& newKey);
    /// Removes the first pair with this key; false when there is none.
    bool DeleteRecordByKey(const String& key);
    /// The value of the first pair with this key; empty when there is none.
    String GetValueByKey(const String& key) const;
    /// The key at a 0-based position; empty outside 0..count-1.
    String GetKeyByNo(int32_t index) const;
    int32_t GetCount() const;
    void ClearAll();
    /// Replaces the whole list by a copy of the source's pairs.
    void Assign(const TUserData& source);
    /// Replaces the whole list by a copy of the given pairs.
    void SetUserDataRecord(const TArrUserDataRec& records);
    /// Every pair in order, duplicates included, for the writers.
    const TArrUserDataRec& UserDataRecord() const { return FUserDataRecord; }

private:
    TArrUserDataRec::iterator Find(const String& key);
    TArrUserDataRec::const_iterator Find(const String& key) const;

    TArrUserDataRec FUserDataRecord;
};

} // namespace mycad
