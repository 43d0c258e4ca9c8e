#include "app/command_line.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orvex {
namespace {

bool endsWithNoCase(std::string_view name, std::string_view suffix)
{
    return name.size() >= suffix.size()
        && std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a))
                   == std::tolower(static_cast<unsigned char>(b));
           });
}

CommandLine failure(std::string why) { return { CommandLine::Action::Error, {}, std::move(why) }; }

} // namespace

GivenFileKind givenFileKind(std::string_view name)
{
    if (endsWithNoCase(name, ".upa"))
        return GivenFileKind::Loan;
    if (endsWithNoCase(name, ".cor"))
        return GivenFileKind::VariationTable;
    return GivenFileKind::Worksheet;
}

CommandLine parseCommandLine(const std::vector<std::string>& words)
{
    const auto optionsEnd = std::find(words.begin(), words.end(), "--");
    // Asking for help must work whatever else was typed.
    for (auto w = words.begin(); w != optionsEnd; ++w) {
        if (*w == "--help" || *w == "-h")
            return { CommandLine::Action::Help, {}, {} };
        if (*w == "--version")
            return { CommandLine::Action::Version, {}, {} };
    }
    CommandLine line;
    for (auto w = words.begin(); w != words.end(); ++w) {
        if (w == optionsEnd)
            continue;
        if (w < optionsEnd && w->size() > 1 && w->front() == '-')
            return failure("opción desconocida: " + *w);
        if (w->empty())
            return failure("el nombre de archivo está vacío");
        if (!line.file.empty())
            return failure("se abre un solo archivo a la vez: " + line.file + " y " + *w);
        line.file = *w;
    }
    return line;
}

std::string commandLineUsage()
{
    return "Uso: orvex [ARCHIVO]\n"
           "\n"
           "Abre Orvex, la hoja de flujos de caja; con ARCHIVO abre además:\n"
           "  ARCHIVO.ORV   una hoja de flujos, como Archivo > Abrir\n"
           "  ARCHIVO.upa   un préstamo en UVR, en Sistemas de Amortización (Cargar)\n"
           "  ARCHIVO.cor   una tabla de corrección monetaria, en Sistemas de Amortización\n"
           "Un archivo de otra extensión se abre como hoja de flujos.\n"
           "\n"
           "  --help      esta ayuda\n"
           "  --version   la versión\n"
           "  --          lo que sigue es un nombre de archivo aunque empiece por -\n";
}

std::optional<int> answerCommandLine(const CommandLine& line)
{
    switch (line.action) {
    case CommandLine::Action::Start:
        return std::nullopt;
    case CommandLine::Action::Help:
        std::fputs(commandLineUsage().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::puts("orvex " ORVEX_VERSION);
        return 0;
    case CommandLine::Action::Error:
        break;
    }
    std::fprintf(stderr, "orvex: %s\nPruebe «orvex --help».\n", line.error.c_str());
    return 2;
}

std::optional<int> answerInfoOptions(const std::vector<std::string>& rawWords)
{
    const CommandLine line = parseCommandLine(rawWords);
    if (line.action == CommandLine::Action::Help || line.action == CommandLine::Action::Version)
        return answerCommandLine(line);
    return std::nullopt;
}

} // namespace orvex
