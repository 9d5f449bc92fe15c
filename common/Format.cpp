#include "common/Format.h"

#include "common/Errors.h"

namespace {

[[noreturn]] void Invalid(const std::string& format)
{
    throw Exception("Format '" + format + "' invalid or incompatible with argument");
}

std::string Pad(std::string body, size_t width, bool left)
{
    if (body.size() >= width) return body;
    std::string fill(width - body.size(), ' ');
    return left ? body + fill : fill + body;
}

std::string Decimal(int64_t value, int precision)
{
    bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (precision > 0 && digits.size() < static_cast<size_t>(precision))
        digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

}  // namespace

std::string FormatArgs(const std::string& format, const TFormatArg* args, size_t count)
{
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (++i >= format.size()) Invalid(format);
        if (format[i] == '%') {
            out += '%';
            continue;
        }
        bool left = false;
        if (format[i] == '-') {
            left = true;
            if (++i >= format.size()) Invalid(format);
        }
        size_t width = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9' && width < 1000)
            width = width * 10 + static_cast<size_t>(format[i++] - '0');
        int precision = -1;
        if (i < format.size() && format[i] == '.') {
            precision = 0;
            ++i;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9' && precision < 1000)
                precision = precision * 10 + (format[i++] - '0');
        }
        if (i >= format.size() || next >= count) Invalid(format);
        const TFormatArg& arg = args[next++];
        switch (format[i]) {
        case 's':
            if (!arg.IsText()) Invalid(format);
            out += Pad(precision >= 0 ? arg.Text().substr(0, static_cast<size_t>(precision))
                                      : arg.Text(),
                       width, left);
            break;
        case 'd':
            if (arg.IsText()) Invalid(format);
            out += Pad(Decimal(arg.Number(), precision), width, left);
            break;
        default: Invalid(format);
        }
    }
    return out;
}
