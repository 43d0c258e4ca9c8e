#include "printing/input_box.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>

namespace orvex {

std::vector<std::string> inputBoxFileList(std::string_view pattern)
{
    std::vector<std::string> names;
    const std::string text(pattern);
    const auto slash = text.find_last_of('/');
    const std::string folder
        = slash == std::string::npos ? "." : (slash == 0 ? "/" : text.substr(0, slash));
    const std::string glob = slash == std::string::npos ? text : text.substr(slash + 1);
    if (glob.empty())
        return names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (::fnmatch(glob.c_str(), name.c_str(), FNM_PERIOD | FNM_CASEFOLD) != 0)
            continue;
        struct stat st { };
        if (::fstatat(::dirfd(dir), name.c_str(), &st, 0) != 0 || !S_ISREG(st.st_mode))
            continue;
        std::string shown = name.substr(0, name.find('.'));
        if (shown.empty())
            shown = name;
        // ASCII only, whatever the process locale; windows upper-case the rest.
        for (char& c : shown)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        names.push_back(std::move(shown));
    }
    ::closedir(dir);
    return names;
}

} // namespace orvex
