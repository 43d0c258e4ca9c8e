#include "records/dates.h"

#include <gtest/gtest.h>

namespace orvex {
namespace {

TEST(NormalizarFecha, CompletesClampsAndRepairsDates)
{
    struct Case {
        const char* text;
        int window;
        const char* expected;
    };
    const Case cases[] = {
        { "5/3/99", 0, "05/03/1999" },
        { "1/1/80", 0, "01/01/1980" },
        { "1/1/79", 0, "01/01/2079" },
        { "31/2/2000", 0, "29/02/2000" },
        { "31/2/1900", 0, "28/02/1900" },
        { "0/13/05", 0, "01/12/2005" },
        { "31/4/2023", 0, "30/04/2023" },
        { " 7 / 11 / 1492 ", 0, "07/11/1492" },
        { "2.6/3.5/20", 1, "03/04/1920" }, // parts rounded to nearest, halves to even
        { "abc", 0, "abc" },
        { "12/05", 0, "12/05" },
        { "", 0, "  /  /    " },
        { "  /  /  ", 0, "  /  /    " },
        { "          ", 0, "  /  /    " },
        // Garbage never breaks it: a part beyond 16 bits leaves the text as it was.
        { "1/1/99999", 0, "1/1/99999" },
        { "1/1/1e999", 0, "1/1/1e999" },
        { "x/y/z", 0, "01/01/2000" },
        { "1/1/-5", 0, "01/01/2005" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(normalizarFecha(c.text, c.window), c.expected);
    }
}

TEST(NormalizarFecha, ShortFormAndValidity)
{
    EXPECT_EQ(fechaCorta("5/3/1999"), "05/03/99");
    EXPECT_EQ(fechaCorta(""), "  /  /  ");
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = { { "31/04/99", false }, { "29/02/1900", false }, { "29/02/00", true },
        { "  /  /  ", true }, { "  /  /    ", true }, { "", true }, { "29/02/2024", true },
        { "01/13/2020", false }, { "00/01/2020", false }, { "garbage!", false } };
    for (const auto& c : cases)
        EXPECT_EQ(fechaValida(c.text), c.valid) << c.text;
}

TEST(CompletarAnio, TwoDigitYearsByWindow)
{
    struct Case {
        int year, window, expected;
    };
    const Case cases[] = { { 19, 1, 2019 }, { 20, 1, 1920 }, { 1492, 0, 1492 }, { 1492, 1, 1492 },
        { 79, 0, 2079 }, { 80, 0, 1980 }, { -85, 0, 1985 }, { 999, 0, 1999 }, { 5, 1, 2005 } };
    for (const auto& c : cases)
        EXPECT_EQ(completarAnio(c.year, c.window), c.expected) << c.year << " " << c.window;
    EXPECT_EQ(bisiesto(2000), 1);
    EXPECT_EQ(bisiesto(1900), 0);
    EXPECT_EQ(bisiesto(2024), 1);
    EXPECT_EQ(bisiesto(2023), 0);
}

} // namespace
} // namespace orvex
