#include "cad/shapes/UserData.h"

#include <algorithm>

namespace mycad {

TArrUserDataRec::iterator TUserData::Find(const String& key)
{
    return std::find_if(FUserDataRecord.begin(), FUserDataRecord.end(),
                        [&](const TUserDataRec& r) { return r.Key == key; });
}

TArrUserDataRec::const_iterator TUserData::Find(const String& key) const
{
    return std::find_if(FUserDataRecord.begin(), FUserDataRecord.end(),
                        [&](const TUserDataRec& r) { return r.Key == key; });
}

bool TUserData::AddKeyandValue(const String& key, const String& value)
{
    if (Find(key) != FUserDataRecord.end()) return false;
    FUserDataRecord.push_back({key, value});
    return true;
}

bool TUserData::ChangeValueByKey(const String& key, const String& value)
{
    const auto it = Find(key);
    if (it == FUserDataRecord.end()) return false;
    it->Value = value;
    return true;
}

bool TUserData::ReNameKey(const String& oldKey, const String& newKey)
{
    const auto it = Find(oldKey);
    if (it == FUserDataRecord.end()) return false;
    it->Key = newKey;
    return true;
}

bool TUserData::DeleteRecordByKey(const String& key)
{
    const auto it = Find(key);
    if (it == FUserDataRecord.end()) return false;
    FUserDataRecord.erase(it);
    return true;
}

String TUserData::GetValueByKey(const String& key) const
{
    const auto it = Find(key);
    return it == FUserDataRecord.end() ? String() : it->Value;
}

String TUserData::GetKeyByNo(int32_t index) const
{
    if (index < 0 || index >= GetCount()) return String();
    return FUserDataRecord[static_cast<size_t>(index)].Key;
}

int32_t TUserData::GetCount() const { return static_cast<int32_t>(FUserDataRecord.size()); }

void TUserData::ClearAll() { FUserDataRecord.clear(); }

void TUserData::Assign(const TUserData& source) { SetUserDataRecord(source.FUserDataRecord); }

void TUserData::SetUserDataRecord(const TArrUserDataRec& records)
{
    // Assigning a vector to itself is safe, so Assign(*this) keeps the list.
    FUserDataRecord = records;
}

} // namespace mycad
