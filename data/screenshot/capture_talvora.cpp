// Takes the main window's picture for the software centres: a worksheet opened
// and solved, as the X server shows it. Any message box ends the capture with
// its text instead, so a build never waits on one.
//
// Usage: capture_talvora HOJA.ORV SALIDA.png
#include "app/talvora.h"
#include "common/shared_state.h"
#include "common/ui/message_service.h"
#include "common/ui/translations.h"
#include "common/ui/widgets.h"

#include <QApplication>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

class FailingMessages : public orvex::MessageService {
public:
    orvex::MsgAnswer show(QWidget*, const orvex::MessageRequest& request) override
    {
        std::fprintf(stderr, "capture_talvora: %s: %s\n", qPrintable(request.title),
            qPrintable(request.text));
        std::exit(1);
    }
};

// The results of a worksheet with an unknown show in the window itself; a modal
// child would stop the capture.
class CapturedTalvora : public orvex::Talvora {
public:
    using Talvora::Talvora;

protected:
    int runModal(QDialog&) override { return 0; }
};

void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("Uso: capture_talvora HOJA.ORV SALIDA.png\n", stderr);
        return 2;
    }
    orvex::installSpanishTranslations(app);
    orvex::SharedState state;
    FailingMessages messages;
    orvex::QtFileDialogService dialogs;
    orvex::AppContext context { state, messages, dialogs };

    CapturedTalvora talvora(context);
    talvora.show();
    orvex::centerForm(&talvora);
    talvora.openGivenFile(QString::fromLocal8Bit(argv[1]));
    talvora.calculos();
    settle(500);
    const QPixmap shot = talvora.screen()->grabWindow(talvora.winId());
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "capture_talvora: no se pudo escribir %s\n", argv[2]);
        return 1;
    }
    return 0;
}
