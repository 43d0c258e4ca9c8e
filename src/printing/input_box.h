#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// What the input box lists for a file pattern ("*.dat", "datos/c*.DAT"): for each regular
// file that matches (case-insensitively, in the order the folder lists them), the part of
// its name before the first ".", with ASCII letters in upper case; a name without "."
// whole.
// Names starting with "." match only a pattern that does too. A missing folder or an
// empty pattern lists nothing.
std::vector<std::string> inputBoxFileList(std::string_view pattern);

} // namespace orvex
