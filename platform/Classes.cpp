#include "platform/Classes.h"

#include <algorithm>

namespace mycad {

// Out-of-range indexes are ignored (Insert clamps to the ends) rather than
// raising: list indexes often come from documents, and a bad one must not
// take the caller down.

int32_t TStringList::Add(const String& s)
{
    items_.push_back(s);
    return Count() - 1;
}

void TStringList::Insert(int32_t index, const String& s)
{
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, s);
}

void TStringList::Delete(int32_t index)
{
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
}

String TStringList::Strings(int32_t index) const
{
    if (index < 0 || index >= Count()) return {};
    return items_[static_cast<size_t>(index)];
}

void TStringList::SetStrings(int32_t index, const String& s)
{
    if (index < 0 || index >= Count()) return;
    items_[static_cast<size_t>(index)] = s;
}

int32_t TStringList::IndexOf(const String& s) const
{
    for (int32_t i = 0; i < Count(); ++i)
        if (items_[static_cast<size_t>(i)].compare(s, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

String TStringList::Text() const
{
    String out;
    qsizetype length = 0;
    for (const String& s : items_) length += s.size() + 2;
    out.reserve(length);
    for (const String& s : items_) {
        out += s;
        out += QLatin1String("\r\n");
    }
    return out;
}

void TStringList::SetText(const String& text)
{
    // A break after the last line ends it; it does not start an empty one.
    items_.clear();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype j = i;
        while (j < n && text[j] != u'\r' && text[j] != u'\n') ++j;
        items_.push_back(text.mid(i, j - i));
        if (j < n && text[j] == u'\r') ++j;
        if (j < n && text[j] == u'\n') ++j;
        i = j;
    }
}

} // namespace mycad
