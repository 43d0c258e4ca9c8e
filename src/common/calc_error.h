#pragma once

#include <stdexcept>
#include <string>

namespace orvex {

// Why a checked operation failed. Every window turns any of these into its one
// fixed message; the kind is kept for tests and for the command line.
enum class CalcErrorKind {
    DivisionByZero,
    NotFinite,
    NegativeBaseFractionalPower,
    Overflow,
    IndexOutOfRange,
    NoRate,
    InvalidInput,
};

class CalcError : public std::runtime_error {
public:
    CalcError(CalcErrorKind kind, const std::string& what)
        : std::runtime_error(what)
        , m_kind(kind)
    {
    }
    CalcErrorKind kind() const { return m_kind; }

private:
    CalcErrorKind m_kind;
};

// The program's message for a failed worksheet, diagram, loan or schedule calculation.
inline constexpr const char* kCalcErrorMessage
    = "Error en cálculos, revise la información digitada...";

} // namespace orvex
