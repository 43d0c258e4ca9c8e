#include "app/command_line.h"
#include "app/talvora.h"
#include "common/shared_state.h"
#include "common/ui/message_service.h"
#include "common/ui/translations.h"
#include "common/ui/widgets.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// With ORVEX_STARTUP_PROBE set the program writes "painted" on its output once the
// main window has been painted, and ends: the start-up benchmark times that.
class PaintProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char* argv[])
{
    // --help and --version answer without a display; Qt then takes out its own options.
    if (const auto status = orvex::answerInfoOptions({ argv + 1, argv + argc }))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvex"));
    orvex::installSpanishTranslations(app);
    std::vector<std::string> words;
    for (const QString& word : QApplication::arguments().mid(1))
        words.push_back(orvex::us(word));
    const orvex::CommandLine line = orvex::parseCommandLine(words);
    if (const auto status = orvex::answerCommandLine(line))
        return *status;

    orvex::SharedState state;
    orvex::QtMessageService messages;
    orvex::QtFileDialogService fileDialogs;
    orvex::AppContext context { state, messages, fileDialogs };

    orvex::Talvora talvora(context);
    PaintProbe probe;
    if (std::getenv("ORVEX_STARTUP_PROBE"))
        talvora.installEventFilter(&probe);
    talvora.show();
    orvex::centerForm(&talvora);
    if (!line.file.empty())
        QTimer::singleShot(0, &talvora, [&] { talvora.openGivenFile(orvex::qs(line.file)); });
    return QApplication::exec();
}
