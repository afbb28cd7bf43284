// String lists.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <vector>

namespace mycad {

class TStringList {
public:
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    /// Index of the new string.
    int32_t Add(const String& s);
    void Insert(int32_t index, const String& s);
    void Delete(int32_t index);
    void Clear() { items_.clear(); }
    /// Empty for an index outside the list.
    String Strings(int32_t index) const;
    void SetStrings(int32_t index, const String& s);
    String operator[](int32_t index) const { return Strings(index); }
    /// First match, compared case-insensitively like the framework; -1 when absent.
    int32_t IndexOf(const String& s) const;
    /// The lines joined, each followed by CR LF.
    String Text() const;
    /// Splits at CR LF, LF or CR.
    void SetText(const String& text);
    void Assign(const TStringList& other) { items_ = other.items_; }
    friend bool operator==(const TStringList&, const TStringList&) = default;

private:
    std::vector<String> items_;
};

} // namespace mycad
