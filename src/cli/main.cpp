#include "cli/commands.h"

#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <string>

namespace {

using Command = std::function<int(const orvex::cli::Args&, std::ostream&, std::ostream&)>;

const std::map<std::string, Command>& commands()
{
    static const std::map<std::string, Command> table = {
        { "calc", orvex::cli::runCalc },
        { "loan", orvex::cli::runLoan },
        { "schedule", orvex::cli::runSchedule },
        { "diagram", orvex::cli::runDiagram },
        { "plan", orvex::cli::runPlan },
        { "rate", orvex::cli::runRate },
        { "combined", orvex::cli::runCombined },
        { "table", orvex::cli::runTable },
        { "report", orvex::cli::runReport },
    };
    return table;
}

const char* kUsage
    = "Uso: orvex-cli COMANDO [ARGUMENTOS]\n"
      "\n"
      "Comandos:\n"
      "  calc ARCHIVO.ORV [--flows]   calcula una hoja de flujos como el botón Cálculos\n"
      "  diagram ARCHIVO.ORV [-o SALIDA.svg]  diagrama de flujo de la hoja calculada, en SVG\n"
      "  plan ARCHIVO.upa [--cor ARCHIVO.cor] [-o SALIDA.svg]  gráfica del plan de pagos, en SVG;\n"
      "       también plan ARCHIVO.ORV [-o SALIDA.svg] para la hoja calculada\n"
      "  rate VALOR CONOCIDA DESEADA  convierte una tasa; CONOCIDA y DESEADA son TIPO:REF/CAP\n"
      "                               o TIPO:CAP (TIPO NV, NA, EV, EA; periodos Año, Semestre,\n"
      "                               Trimestre, Bimestre, Mes, Diario), p. ej. 24 NV:Año/Mes "
      "EV:Año\n"
      "  combined A B                 tasa combinada de dos componentes en %\n"
      "  loan ARCHIVO.upa [--cor ARCHIVO.cor]  liquidación de un préstamo en UVR (texto de Archivo "
      "Excel)\n"
      "  schedule ARCHIVO.ORV         plan de pagos de la hoja calculada (texto de Archivo Excel)\n"
      "  table show|export|search NOMBRE ...  la tabla de registros lstNOMBRE.ini/.cmp/.rg:\n"
      "                               la página de la rejilla, el archivo texto o la búsqueda\n"
      "  report pages ARCHIVO         prepara un informe: páginas, encabezados, líneas, ancho\n"
      "  report text ARCHIVO [--first A] [--last B] [--copies N]\n"
      "                               los bytes del informe para la impresora MS-DOS\n"
      "\n"
      "  --help      esta ayuda\n"
      "  --version   la versión\n";

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << kUsage;
        return orvex::cli::kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        std::cout << kUsage;
        return orvex::cli::kExitOk;
    }
    if (name == "--version") {
        std::cout << "orvex-cli " ORVEX_VERSION "\n";
        return orvex::cli::kExitOk;
    }
    const auto it = commands().find(name);
    if (it == commands().end()) {
        std::cerr << "orvex-cli: comando desconocido: " << name << "\n" << kUsage;
        return orvex::cli::kExitUsage;
    }
    const orvex::cli::Args args(argv + 2, argv + argc);
    try {
        return it->second(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "orvex-cli: " << e.what() << "\n";
        return orvex::cli::kExitUsage;
    }
}
