// A small streaming JSON writer for the command line's reports: indented
// objects and arrays, short arrays (points, pairs) on one line, numbers in
// their shortest exact form.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mycad::cli {

class TJsonWriter {
public:
    /// inlineItems: the array's items stay on the opening line.
    void BeginObject();
    void EndObject();
    void BeginArray(bool inlineItems = false);
    void EndArray();
    /// The name of the next member of the open object.
    void Key(std::string_view name);

    void Int(int64_t value);
    void UInt(uint64_t value);
    /// The shortest text that reads back as the same 32-bit float.
    void Float(float value);
    /// The shortest text that reads back as the same double.
    void Double(double value);
    void Bool(bool value);
    void Str(const QString& value);
    void Null();

    /// The text so far; complete once every object and array is closed.
    const std::string& Text() const { return out_; }

private:
    struct Level {
        bool isObject = false;
        bool inlineItems = false;
        int items = 0;
    };
    /// Separator and indentation before a value (after a key, nothing).
    void BeforeValue();
    void Raw(std::string_view text);
    void Close(char bracket);
    void NewLine(size_t depth);

    std::string out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

} // namespace mycad::cli
