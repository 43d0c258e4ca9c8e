// orvex-kit: the toolkit windows as a host opens them, in the manner of the desktop's
// dialog programs: arguments in, the answer on stdout, the exit status says how it ended.
#include "common/ui/translations.h"
#include "kit/kit_commands.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using orvex::kit::KitCommand;

// Each subcommand adds its line here.
const std::vector<KitCommand>& commands()
{
    static const std::vector<KitCommand> table = {
        { "imprimir", "REPORTE [--pdf SALIDA.pdf] [--desde A] [--hasta B] [--copias N]",
            "abre Imprimir Archivo para REPORTE; con --pdf lo imprime en un PDF sin ventana "
            "(0: hecho, 1: error al imprimir)",
            orvex::kit::runImprimir, orvex::kit::imprimirIsHeadless },
        { "caja", "\"PREGUNTA\" [--defecto TEXTO] [--lista PATRON]",
            "pregunta un texto o un archivo de PATRON; la respuesta sale por stdout (1: cancelado)",
            orvex::kit::runCaja },
        { "listar", "[CARPETA]",
            "el listado de registros de lst.cod en CARPETA (la actual si falta); deja la\n"
            "      selección en lstNOMBRE.sel (0: registro seleccionado; 1: terminó sin\n"
            "      selección o no pudo escribir el .sel; 2: nada que listar: sin configuración,\n"
            "      sin registros o la tabla no se pudo abrir)",
            orvex::kit::runListar },
        { "directorio", "[INICIAL]",
            "elige o crea un directorio empezando en INICIAL; lo escribe en stdout (0: elegido,\n"
            "      1: cancelado)",
            orvex::kit::runDirectorio },
    };
    return table;
}

std::string usage()
{
    std::string text
        = "Uso: orvex-kit COMANDO [ARGUMENTOS]\n\n"
          "Abre las ventanas de las herramientas de Orvex para un programa o un guion.\n\n"
          "Comandos:\n";
    for (const auto& c : commands())
        text += std::string("  ") + c.name + " " + c.arguments + "\n      " + c.help + "\n";
    text += "\n  --help      esta ayuda\n  --version   la versión\n";
    return text;
}

const KitCommand* findCommand(const char* name)
{
    for (const auto& c : commands())
        if (std::strcmp(c.name, name) == 0)
            return &c;
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fputs(usage().c_str(), stderr);
        return orvex::kit::kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(usage().c_str(), stdout);
        return orvex::kit::kExitOk;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::puts("orvex-kit " ORVEX_VERSION);
        return orvex::kit::kExitOk;
    }
    const KitCommand* command = findCommand(argv[1]);
    if (!command) {
        std::fprintf(stderr, "orvex-kit: comando desconocido: %s\n", argv[1]);
        std::fputs(usage().c_str(), stderr);
        return orvex::kit::kExitUsage;
    }
    QStringList rest;
    for (int i = 2; i < argc; ++i)
        rest << QString::fromLocal8Bit(argv[i]);
    // A command that draws no window must run without a display.
    if (command->headless && command->headless(rest))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvex"));
    orvex::installSpanishTranslations(app);
    QStringList arguments = QApplication::arguments().mid(2);
    return command->run(arguments);
}
