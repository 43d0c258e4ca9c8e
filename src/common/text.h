#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvex {

// The part of text before the first delimiter; when the delimiter does not occur,
// the empty text, or the whole text when wholeIfMissing is true.
std::string textBeforeDelimiter(
    std::string_view text, std::string_view delimiter, bool wholeIfMissing = false);

// Column width in twips for a number of characters at a font size in points:
// nearest(characters × points × 20 × 0.85 + 1).
int columnWidthTwips(int characters, double fontPoints);

std::string trim(std::string_view text);
std::string trimRight(std::string_view text);

// Rellenar: the trimmed text padded with fill to width characters, after it when side is
// non-zero, before it when side is 0. A trimmed text as long as width or longer is
// returned whole, never cut.
std::string rellenar(std::string_view text, int width, char fill, int side);

// Windows-1252 <-> UTF-8. Characters without a Windows-1252 byte become "?".
std::string cp1252ToUtf8(std::string_view bytes);
std::string utf8ToCp1252(std::string_view utf8);

// A fixed-width field of a stored record: the UTF-8 text in Windows-1252,
// padded with blanks and cut at width bytes.
std::string fixedField(std::string_view utf8, std::size_t width);

// The UTF-8 text of bytes [offset, offset + width) of a record; bytes past the
// end of the record read as blanks.
std::string readField(std::string_view record, std::size_t offset, std::size_t width);

} // namespace orvex
