#include "uninstall/ConfigConst.h"

#include "common/Errors.h"
#include "common/Format.h"
#include "common/StrUtils.h"
#include "uninstall/LogWords.h"

const char* const SetupFlagNames[SetupFlagCount] = {
        "dont_log", "dont_overwrite", "no_version", "reg_server",     "reg_font", "dont_ask",
        "external", "shared",         "dont_wait",  "check_exitcode", "user_id",
};

namespace {

// Index of name in a table of words, exact comparison; -1 when absent.
template <size_t N>
int IndexOfWord(const char* const (&words)[N], const std::string& name)
{
    for (size_t i = 0; i < N; ++i)
        if (name == words[i]) return static_cast<int>(i);
    return -1;
}

const char* const ActionWords[] = {LogWords::Add, LogWords::Remove};
const char* const ScreenModeWords[] = {"normal", "min", "max", "hide"};
const char* const RegTypeWords[] = {LogWords::String, LogWords::MultiString, LogWords::Integer,
                                    LogWords::Binary};

}  // namespace

TFlagSet ParseFlags(const std::string& text)
{
    TFlagSet flags = 0;
    std::string rest = text;
    for (;;) {
        std::string item;
        const size_t comma = rest.find(',');
        if (comma != std::string::npos) {
            item = rest.substr(0, comma);
            rest.erase(0, comma + 1);
        } else {
            item = Trim(rest);
            rest.clear();
        }
        if (item.empty()) return flags;
        const int index = IndexOfWord(SetupFlagNames, item);
        if (index < 0) throw Exception(Format("Flag %s not available!", item));
        flags = static_cast<TFlagSet>(flags | (1u << index));
    }
}

TSetupAction ParseAction(const std::string& text)
{
    const std::string word = LowerCase(text);
    const int index = IndexOfWord(ActionWords, word);
    if (index < 0) throw Exception(Format("Action %s not available!", word));
    return static_cast<TSetupAction>(index);
}

TScreenMode ParseScreenMode(const std::string& text)
{
    const std::string word = LowerCase(text);
    if (word.empty()) return smNormal;
    const int index = IndexOfWord(ScreenModeWords, word);
    if (index < 0) throw Exception(Format("AppScreenMode %s not available!", word));
    return static_cast<TScreenMode>(index);
}

TLogRegType ParseRegType(const std::string& text)
{
    const int index = IndexOfWord(RegTypeWords, text);
    if (index < 0) throw Exception(Format("RegType %s not available!", text));
    return static_cast<TLogRegType>(index);
}

TRegType RegistryTypeOf(TLogRegType type)
{
    switch (type) {
    case lrtString: return rtString;
    case lrtMultiString: return rtMultiString;
    case lrtInteger: return rtDword;
    case lrtBinary: return rtBinary;
    }
    return rtNone;
}
