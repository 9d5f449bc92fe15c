#pragma once
// A fresh folder for one test's files, removed with everything in it afterwards. Its name has
// no dot, so that changing a file's extension inside it stays within the file name.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

class TTempFolder {
public:
    TTempFolder()
    {
        std::random_device random;
        FPath = std::filesystem::temp_directory_path() /
                ("lwtest" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(FPath);
    }
    ~TTempFolder()
    {
        namespace fs = std::filesystem;
        // Read-only files would stay behind on Windows; links are not followed.
        std::error_code ignored;
        for (fs::recursive_directory_iterator it(FPath, ignored), end; it != end;
             it.increment(ignored))
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        fs::remove_all(FPath, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder itself, without a final separator.
    std::string Folder() const { return FPath.u8string(); }
    // Names are UTF-8, as everywhere in the program.
    std::string Path(const std::string& name) const
    {
        return (FPath / std::filesystem::u8path(name)).u8string();
    }

    static std::string Read(const std::string& file)
    {
        std::ifstream in(std::filesystem::u8path(file), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Write(const std::string& file, const std::string& text)
    {
        std::ofstream(std::filesystem::u8path(file), std::ios::binary) << text;
    }

private:
    std::filesystem::path FPath;
};
