#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

// The web viewer's address list: the pages visited, most recent first, each address once.
// While the list is being rearranged (DontNavigateNow), choosing an entry goes nowhere, so
// the rearrangement that follows a navigation never starts a second one.
class AddressHistory {
public:
    using ShowList = std::function<void(const std::vector<std::string>& entries)>;

    const std::vector<std::string>& entries() const { return m_entries; }
    bool dontNavigateNow() const { return m_dontNavigateNow; }

    // A page arrived at address: it moves to the top (or is added there), then show is called
    // with the new list while DontNavigateNow is set. A blank address changes nothing.
    void visit(std::string_view address, const ShowList& show = {});

    // Where choosing or entering text in the address box goes: the text without surrounding
    // blanks; nowhere while DontNavigateNow is set or when the text is blank.
    std::optional<std::string> navigationFor(std::string_view text) const;

private:
    std::vector<std::string> m_entries;
    bool m_dontNavigateNow = false;
};

} // namespace orvex
