#include "kit/kit_commands.h"

#include "common/ui/message_service.h"
#include "records/ui/directorio.h"

#include <cstdio>

namespace orvex::kit {

int runDirectorio(const QStringList& arguments)
{
    if (arguments.size() > 1) {
        std::fputs("uso: orvex-kit directorio [INICIAL]\n", stderr);
        return kExitUsage;
    }
    QtMessageService messages;
    Directorio window(messages);
    window.setChosen(arguments.value(0));
    if (window.exec() != QDialog::Accepted)
        return kExitCancelled;
    std::printf("%s\n", window.chosen().toUtf8().constData());
    return kExitOk;
}

} // namespace orvex::kit
