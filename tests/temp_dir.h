#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace orvex::test {

// A folder of its own for the files one test writes, removed afterwards (read-only
// or not); after enter() also the current directory until then.
struct TempDir {
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
        / ("orvex-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial()));
    std::filesystem::path previous;

    TempDir() { std::filesystem::create_directories(dir); }
    ~TempDir()
    {
        if (!previous.empty())
            std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::permissions(
            dir, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(dir, ignored);
    }
    void enter()
    {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    static int& serial()
    {
        static int n = 0;
        return n;
    }
};

} // namespace orvex::test
