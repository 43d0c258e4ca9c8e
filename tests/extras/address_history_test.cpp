#include "extras/address_history.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvex {
namespace {

using List = std::vector<std::string>;

TEST(AddressHistory, VisitsMoveToTheTopOnce)
{
    struct Row {
        const char* what;
        List visits;
        List expected;
    };
    const Row rows[] = {
        { "first visit", { "a" }, { "a" } },
        { "most recent first", { "a", "b", "c" }, { "c", "b", "a" } },
        { "a revisit moves up, no duplicate", { "a", "b", "c", "a" }, { "a", "c", "b" } },
        { "the top visited again stays alone", { "a", "b", "b" }, { "b", "a" } },
        { "back and forth", { "a", "b", "a", "b", "a" }, { "a", "b" } },
        { "blank addresses are not kept", { "a", "", "  ", "b" }, { "b", "a" } },
        { "surrounding blanks do not make a new entry", { "a", " b ", "b" }, { "b", "a" } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        AddressHistory history;
        for (const std::string& address : row.visits)
            history.visit(address);
        EXPECT_EQ(history.entries(), row.expected);
    }
}

TEST(AddressHistory, RearrangingTheListStartsNoNavigation)
{
    AddressHistory history;
    history.visit("a");
    List shown;
    std::optional<std::string> duringShow = "unset";
    history.visit("b", [&](const List& entries) {
        shown = entries;
        EXPECT_TRUE(history.dontNavigateNow());
        // What the list box reports while its items change must not navigate.
        duringShow = history.navigationFor("a");
    });
    EXPECT_EQ(shown, (List { "b", "a" }));
    EXPECT_EQ(duringShow, std::nullopt);
    EXPECT_FALSE(history.dontNavigateNow());
    EXPECT_EQ(history.navigationFor("a"), "a");

    // A list box that fails while being refilled leaves the address box working.
    EXPECT_THROW(history.visit("c", [](const List&) { throw std::runtime_error("refill"); }),
        std::runtime_error);
    EXPECT_FALSE(history.dontNavigateNow());
    EXPECT_EQ(history.navigationFor("c"), "c");
}

TEST(AddressHistory, ChoosingTextNavigatesToTheTrimmedText)
{
    const std::pair<const char*, std::optional<std::string>> rows[] = {
        { "https://example.org", "https://example.org" },
        { "  file:///tmp/a.html\t", "file:///tmp/a.html" },
        { "", std::nullopt },
        { " \t ", std::nullopt },
    };
    AddressHistory history;
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(history.navigationFor(text), expected);
    }
}

} // namespace
} // namespace orvex
