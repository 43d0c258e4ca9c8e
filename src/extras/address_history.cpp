#include "extras/address_history.h"

#include <algorithm>

namespace orvex {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

void AddressHistory::visit(std::string_view address, const ShowList& show)
{
    address = trimmed(address);
    if (address.empty())
        return;
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), address), m_entries.end());
    m_entries.insert(m_entries.begin(), std::string(address));
    if (!show)
        return;
    // Cleared again even when showing the list throws, or the box would stop navigating.
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard { m_dontNavigateNow };
    m_dontNavigateNow = true;
    show(m_entries);
}

std::optional<std::string> AddressHistory::navigationFor(std::string_view text) const
{
    if (m_dontNavigateNow)
        return std::nullopt;
    text = trimmed(text);
    if (text.empty())
        return std::nullopt;
    return std::string(text);
}

} // namespace orvex
