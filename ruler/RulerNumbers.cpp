#include "ruler/RulerNumbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace mycad {

double UnitsPerMillimetre(TRulerUnit unit, int32_t pixelsPerInch)
{
    switch (unit) {
    case TRulerUnit::ruKilo: return 1e-6;
    case TRulerUnit::ruMeter: return 0.001;
    case TRulerUnit::ruCenti: return 0.1;
    case TRulerUnit::ruMilli: return 1;
    case TRulerUnit::ruInch: return 1 / 25.4;
    case TRulerUnit::ruPixel: return pixelsPerInch / 25.4;
    case TRulerUnit::ruNone: return 1;
    }
    return 1;
}

String FormatHundredths(double v)
{
    if (std::isnan(v)) return u"NAN"_s;
    if (std::isinf(v)) return v > 0 ? u"INF"_s : u"-INF"_s;

    // Fifteen significant digits, the precision a double reliably carries:
    // "d.dddddddddddddde+XX" for |v|.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    std::string digits(1, buf[0]);
    digits.append(buf + 2, 14);
    const char* e = std::strchr(buf, 'e');
    int point = (e != nullptr ? std::atoi(e + 1) : 0) + 1; // digits before the decimal point

    if (point < 0) {
        digits.insert(0, static_cast<size_t>(-point), '0');
        point = 0;
    }
    const size_t cut = static_cast<size_t>(point) + 2;
    if (cut < digits.size()) {
        const bool up = digits[cut] >= '5';
        digits.resize(cut);
        if (up) {
            size_t k = cut;
            while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
            if (k == 0) {
                digits.insert(0, 1, '1');
                ++point;
            } else {
                ++digits[k - 1];
            }
        }
    } else {
        digits.resize(cut, '0');
    }

    std::string whole = digits.substr(0, static_cast<size_t>(point));
    const size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? std::string("0") : whole.substr(firstNonZero);
    std::string fraction = digits.substr(static_cast<size_t>(point), 2);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();

    std::string text = whole;
    if (!fraction.empty()) text += "." + fraction;
    if (v < 0 && text != "0") text.insert(0, 1, '-');
    return String::fromStdString(text);
}

} // namespace mycad
