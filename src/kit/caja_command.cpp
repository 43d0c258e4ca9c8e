#include "kit/kit_commands.h"

#include "printing/ui/caja.h"

#include <QLabel>
#include <cstdio>

namespace orvex::kit {

int runCaja(const QStringList& arguments)
{
    QString question, defaultAnswer, pattern;
    bool haveQuestion = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        QString* value = word == QLatin1String("--defecto") ? &defaultAnswer
            : word == QLatin1String("--lista")              ? &pattern
                                                            : nullptr;
        if (value && i + 1 < arguments.size()) {
            *value = arguments[++i];
        } else if (value || word.startsWith(QLatin1String("--")) || haveQuestion) {
            std::fputs(
                "uso: orvex-kit caja \"PREGUNTA\" [--defecto TEXTO] [--lista PATRON]\n", stderr);
            return kExitUsage;
        } else {
            question = word;
            haveQuestion = true;
        }
    }
    Caja box;
    box.label(1)->setText(question);
    box.label(2)->setText(defaultAnswer);
    box.label(3)->setText(pattern.isEmpty() ? QStringLiteral("0") : QStringLiteral("1"));
    box.label(4)->setText(pattern);
    if (box.exec() != QDialog::Accepted)
        return kExitCancelled;
    std::printf("%s\n", box.answer().toUtf8().constData());
    return kExitOk;
}

} // namespace orvex::kit
