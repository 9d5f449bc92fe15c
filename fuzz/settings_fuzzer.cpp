// Fuzz target of the configuration file: any bytes as the guard's .cfg, read through the
// portable ini implementation over a real file, as the guard does on Linux. Loading must end in
// values, never in a crash, an endless loop or a read out of bounds; and whatever was read must
// survive the guard's own save: a second load of the saved file gives the same switches and
// numbers, and saving those again leaves the file as it was.
//
// Every key read is a read of the whole file and every key written a rewrite of it, and each
// input is loaded and saved twice, so this target makes tens to hundreds of runs a second
// rather than thousands; an input whose count asks for the most numbers costs a second or so
// under the sanitizers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/StrUtils.h"
#include "platform/Profile.h"
#include "settings/Settings.h"
#include "support/TempFolder.h"

namespace {

// One folder for the whole run, so that each input costs one file write and no folder
// operations. In shared memory where there is some: every load and save rewrites the file a
// dozen times, and that churn has no business on a disk that others build on. The name has no
// dot, so that the program's ".cfg" stays within the file name.
class TFuzzFolder {
public:
    TFuzzFolder()
    {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm")
                                                                  : fs::temp_directory_path();
        std::random_device random;
        FFolder = base / ("lwfuzz" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(FFolder);
        FProgram = (FFolder / "guard.exe").u8string();
        FConfig = (FFolder / "guard.cfg").u8string();
    }
    ~TFuzzFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }
    const std::string& Program() const { return FProgram; }
    const std::string& Config() const { return FConfig; }

private:
    std::filesystem::path FFolder;
    std::string FProgram, FConfig;
};

TFuzzFolder& Folder()
{
    static TFuzzFolder folder;
    return folder;
}

struct TValues {
    std::vector<bool> switches;
    std::vector<std::string> numbers;
    std::string dialDuration;
};

TValues ValuesOf(const TSettings& s)
{
    return {{s.FirstRun(), s.AutoStart(), s.CheckAllowedNumbers(), s.AutoDeleteDialUp(),
             s.AutoDeleteDialers(), s.AskBeforeDeleteDialUp(), s.CheckWhileDialling()},
            s.Numbers().Strings(),
            s.DialDuration()};
}

// A text is stored as it is, but a read drops blanks at its ends and one pair of quotes around
// it, so only a text that a read leaves alone comes back unchanged. One with a NUL byte cannot
// be written at all; the file keeps its old line, and the next read gives the same text again.
bool ReadsBackAsItself(const std::string& text)
{
    if (text.find('\0') != std::string::npos) return true;
    if (!text.empty() && (static_cast<unsigned char>(text.front()) <= 32 ||
                          static_cast<unsigned char>(text.back()) <= 32))
        return false;
    return !(text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]);
}

void Check(bool condition)
{
    if (!condition) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzFolder& folder = Folder();
    TTempFolder::Write(folder.Config(), std::string(reinterpret_cast<const char*>(data), size));
    IProfile& profile = SystemProfile();  // the ini files over the posix file port

    TValues first, second;
    {
        TSettings settings(profile, folder.Program());
        first = ValuesOf(settings);
    }  // saves, as the guard does when its window goes
    const std::string saved = TTempFolder::Read(folder.Config());
    {
        TSettings settings(profile, folder.Program());
        second = ValuesOf(settings);
    }

    // The numbers are what a load keeps: digits only, sorted, each once, never more than the
    // bound on the count.
    Check(first.numbers.size() <= static_cast<size_t>(TSettings::kMaxNumbers));
    for (size_t i = 0; i < first.numbers.size(); ++i) {
        Check(TSettings::IsValidNumber(first.numbers[i]));
        Check(i == 0 || CompareText(first.numbers[i - 1], first.numbers[i]) < 0);
    }
    Check(second.switches == first.switches);
    Check(second.numbers == first.numbers);
    if (ReadsBackAsItself(first.dialDuration)) {
        Check(second.dialDuration == first.dialDuration);
        Check(TTempFolder::Read(folder.Config()) == saved);
    }
    return 0;
}
