#include "apps/cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace mycad::cli {

namespace {

template <typename T>
std::string Shortest(T value)
{
    // JSON has no infinities or NaN; a damaged file may hold them.
    if (!std::isfinite(value)) return "null";
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

} // namespace

void TJsonWriter::NewLine(size_t depth)
{
    out_ += '\n';
    out_.append(depth * 2, ' ');
}

void TJsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    if (level.items++ > 0) out_ += level.inlineItems ? ", " : ",";
    if (!level.inlineItems) NewLine(levels_.size());
}

void TJsonWriter::Raw(std::string_view text)
{
    BeforeValue();
    out_ += text;
}

void TJsonWriter::BeginObject()
{
    Raw("{");
    levels_.push_back({true, false, 0});
}

void TJsonWriter::BeginArray(bool inlineItems)
{
    // An array inside a one-line array stays on that line.
    const bool withinInline = !levels_.empty() && levels_.back().inlineItems;
    Raw("[");
    levels_.push_back({false, inlineItems || withinInline, 0});
}

void TJsonWriter::Close(char bracket)
{
    const Level level = levels_.back();
    levels_.pop_back();
    if (level.items > 0 && !level.inlineItems) NewLine(levels_.size());
    out_ += bracket;
    if (levels_.empty()) out_ += '\n';
}

void TJsonWriter::EndObject() { Close('}'); }
void TJsonWriter::EndArray() { Close(']'); }

void TJsonWriter::Key(std::string_view name)
{
    BeforeValue();
    out_ += '"';
    out_ += name;
    out_ += "\": ";
    afterKey_ = true;
}

void TJsonWriter::Int(int64_t value) { Raw(std::to_string(value)); }
void TJsonWriter::UInt(uint64_t value) { Raw(std::to_string(value)); }
void TJsonWriter::Float(float value) { Raw(Shortest(value)); }
void TJsonWriter::Double(double value) { Raw(Shortest(value)); }
void TJsonWriter::Bool(bool value) { Raw(value ? "true" : "false"); }
void TJsonWriter::Null() { Raw("null"); }

void TJsonWriter::Str(const QString& value)
{
    std::string s = "\"";
    // Texts come from files and may hold anything, lone surrogates included;
    // those are written as escapes so the output stays valid UTF-8.
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value.at(i).unicode();
        switch (c) {
        case u'"':
            s += "\\\"";
            continue;
        case u'\\':
            s += "\\\\";
            continue;
        case u'\n':
            s += "\\n";
            continue;
        case u'\r':
            s += "\\r";
            continue;
        case u'\t':
            s += "\\t";
            continue;
        default:
            break;
        }
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
            s += value.mid(i, 2).toStdString();
            ++i;
        } else if (c < 0x20 || high || low) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            s += buf;
        } else {
            s += QString(QChar(c)).toStdString();
        }
    }
    s += '"';
    Raw(s);
}

} // namespace mycad::cli
