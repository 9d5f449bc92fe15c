#include "installer/SetupRules.h"

#include "common/Format.h"
#include "common/StrUtils.h"

namespace {

// MAX_PATH less the final NUL, a backslash and the longest name the setup writes below the
// folder ("dialers\MLinewarden.cfg" and the quarantine's numbered copies stay within it).
constexpr size_t kMaxFolderLength = 259 - 1 - 40;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string ArgumentsOf(const std::string& commandLine)
{
    size_t i = 0;
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        if (commandLine[i] == '"')
            quoted = !quoted;
        else if (!quoted && IsBlank(commandLine[i]))
            break;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

TSetupCommandLine ParseSetupArguments(const std::string& arguments)
{
    TSetupCommandLine result;
    size_t i = 0;
    while (i < arguments.size()) {
        if (IsBlank(arguments[i])) {
            ++i;
            continue;
        }
        // A program that starts the setup may quote the whole word, blanks and all, the way
        // it quotes any argument with blanks: the quotes are not the folder's.
        const bool quoted = arguments[i] == '"';
        const size_t word = quoted ? i + 1 : i;
        if (arguments.size() - word >= 3 && UpperCase(arguments.substr(word, 3)) == "/D=") {
            result.Folder = Trim(arguments.substr(word + 3));
            if (quoted && !result.Folder.empty() && result.Folder.back() == '"')
                result.Folder = Trim(result.Folder.substr(0, result.Folder.size() - 1));
            break;
        }
        size_t end = i;
        while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
        if (UpperCase(arguments.substr(i, end - i)) == "/S") result.Silent = true;
        i = end;
    }
    return result;
}

std::string UsableFolder(const std::string& folder)
{
    std::string path = Trim(folder);
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    size_t rootEnd = 0;  // where the part below the root starts
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\') {
        rootEnd = 3;
    } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        const size_t server = path.find('\\', 2);
        const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
        if (server == 2 || share == std::string::npos || share == server + 1) return "";
        rootEnd = share + 1;
    } else {
        return "";
    }
    if (path.size() <= rootEnd || path.size() > kMaxFolderLength) return "";
    bool nameStart = true;
    for (size_t i = rootEnd; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c < 32 || std::string("<>:\"/|?*").find(char(c)) != std::string::npos) return "";
        // "C:\a\\b" and names of dots only lead elsewhere than they say.
        if (c == '\\' && nameStart) return "";
        nameStart = c == '\\';
    }
    for (size_t start = rootEnd; start <= path.size();) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string name = path.substr(start, end - start);
        if (name.find_first_not_of('.') == std::string::npos) return "";
        start = end + 1;
    }
    return path;
}

std::string DefaultFolder(TInstallScope scope, const std::string& baseFolder)
{
    if (baseFolder.empty()) return "";
    std::string base = baseFolder;
    if (base.back() != '\\') base += '\\';
    if (scope == TInstallScope::PerUser) base += "Programs\\";
    return base + kProductName;
}

std::string InstallDateText(const TLocalTime& time)
{
    return Format("%.4d%.2d%.2d", time.Year, time.Month, time.Day);
}

uint32_t EstimatedSizeKiB(uint64_t bytes)
{
    const uint64_t kib = (bytes + 1023) / 1024;
    return kib > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(kib);
}
