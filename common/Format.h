#pragma once
// printf-style formatting of report, log and file-name texts. Only the conversions the
// program uses exist: %s (text), %d (decimal integer) with optional flags, width and precision
// ("%.3d" gives at least three digits), and %% for a percent sign. Arguments are typed, so a
// wrong argument is an Exception rather than undefined behaviour as with vsnprintf.
#include <cstdint>
#include <string>
#include <type_traits>

class TFormatArg {
public:
    TFormatArg(const std::string& s) : FIsText(true), FText(s) {}
    TFormatArg(const char* s) : FIsText(true), FText(s ? s : "") {}
    template <typename T, typename = std::enable_if_t<std::is_integral<T>::value>>
    TFormatArg(T v) : FIsText(false), FNumber(static_cast<int64_t>(v))
    {
    }

    bool IsText() const { return FIsText; }
    const std::string& Text() const { return FText; }
    int64_t Number() const { return FNumber; }

private:
    bool FIsText;
    std::string FText;
    int64_t FNumber = 0;
};

std::string FormatArgs(const std::string& format, const TFormatArg* args, size_t count);

template <typename... Args>
std::string Format(const std::string& format, const Args&... args)
{
    const TFormatArg list[] = {TFormatArg(args)..., TFormatArg("")};
    return FormatArgs(format, list, sizeof...(Args));
}
