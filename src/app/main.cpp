#include "app/talvora.h"
#include "common/shared_state.h"
#include "common/ui/message_service.h"
#include "common/ui/translations.h"
#include "common/ui/widgets.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvex"));
    orvex::installSpanishTranslations(app);

    orvex::SharedState state;
    orvex::QtMessageService messages;
    orvex::QtFileDialogService fileDialogs;
    orvex::AppContext context { state, messages, fileDialogs };

    orvex::Talvora talvora(context);
    talvora.show();
    orvex::centerForm(&talvora);
    return QApplication::exec();
}
