#include "kit/kit_commands.h"

#include "common/ui/message_service.h"
#include "records/ui/listar_archivo.h"

#include <QDir>
#include <cstdio>

namespace orvex::kit {

int runListar(const QStringList& arguments)
{
    if (arguments.size() > 1
        || (!arguments.isEmpty() && arguments[0].startsWith(QLatin1String("-")))) {
        std::fputs("uso: orvex-kit listar [CARPETA]\n", stderr);
        return kExitNothingToBrowse;
    }
    // The hand-off files, the search settings and the export live in the folder.
    if (!arguments.isEmpty() && !QDir::setCurrent(arguments[0])) {
        std::fprintf(
            stderr, "orvex-kit: no se puede entrar en la carpeta %s\n", qPrintable(arguments[0]));
        return kExitNothingToBrowse;
    }
    QtMessageService messages;
    ListarArchivo window(messages);
    window.exec();
    if (window.configurationMissing())
        std::fputs("orvex-kit: faltan los archivos de configuración que nombra lst.cod\n", stderr);
    if (window.selectionFileFailed())
        return kExitCancelled;
    if (!window.browsed())
        return kExitNothingToBrowse;
    return window.selectionFlag() ? kExitOk : kExitCancelled;
}

} // namespace orvex::kit
