#include "kit/kit_commands.h"

#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/ui/launcher.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "printing/print_error.h"
#include "printing/ui/imprime.h"
#include "printing/ui/qt_page_canvas.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <cstdio>
#include <optional>

namespace orvex::kit {
namespace {

struct ImprimirArguments {
    QString report;
    QString pdf;
    QString first, last, copies;
};

std::optional<ImprimirArguments> parse(const QStringList& arguments)
{
    ImprimirArguments a;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        QString* value = word == QLatin1String("--pdf") ? &a.pdf
            : word == QLatin1String("--desde")          ? &a.first
            : word == QLatin1String("--hasta")          ? &a.last
            : word == QLatin1String("--copias")         ? &a.copies
                                                        : nullptr;
        if (value) {
            if (i + 1 == arguments.size())
                return std::nullopt;
            *value = arguments[++i];
        } else if (word.startsWith(QLatin1String("--")) || !a.report.isEmpty()) {
            return std::nullopt;
        } else {
            a.report = word;
        }
    }
    if (a.report.isEmpty())
        return std::nullopt;
    return a;
}

void complain(const QString& text) { std::fprintf(stderr, "orvex-kit: %s\n", qPrintable(text)); }

// The number of a field as the window reads it; empty reads 0.
std::int16_t number(const QString& text) { return toInt16(leadingNumber(us(text))); }

int printToPdf(const ImprimirArguments& a)
{
    const std::string report = us(a.report);
    if (!fileExists(report)) {
        complain(QStringLiteral("no existe el informe ") + a.report);
        return kExitCancelled;
    }
    PrintRange range;
    try {
        range = { number(a.first), number(a.last), a.copies.isEmpty() ? 1 : number(a.copies) };
    } catch (const CalcError&) {
        complain(QStringLiteral("número fuera de rango"));
        return kExitUsage;
    }
    PrintSettings settings;
    loadPrintSettings(settings);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(a.pdf);
    try {
        const ReportParameters parameters = prepareReport(report, settings, false);
        if (!printReportOnPrinter(printer, report, parameters, settings, range)) {
            complain(QStringLiteral("no hay páginas que imprimir"));
            return kExitCancelled;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s (%s)\n", kPrintErrorMessage, e.what());
        return kExitCancelled;
    }
    return kExitOk;
}

} // namespace

bool imprimirIsHeadless(const QStringList& arguments)
{
    const auto a = parse(arguments);
    return a && !a->pdf.isEmpty();
}

// Without --pdf the window opens with the range and copies filled in and the command
// ends when it is left ("&Salir" or closed).
int runImprimir(const QStringList& arguments)
{
    const auto a = parse(arguments);
    if (!a) {
        complain(QStringLiteral("uso: orvex-kit imprimir REPORTE [--pdf SALIDA.pdf] [--desde A] "
                                "[--hasta B] [--copias N]"));
        return kExitUsage;
    }
    if (!a->pdf.isEmpty())
        return printToPdf(*a);
    QtMessageService messages;
    Imprime window(messages, systemLauncher());
    window.archivo()->setText(a->report);
    window.findChild<QLineEdit*>(QStringLiteral("Pagina0"))->setText(a->first);
    window.findChild<QLineEdit*>(QStringLiteral("Pagina1"))->setText(a->last);
    if (!a->copies.isEmpty())
        window.findChild<QLineEdit*>(QStringLiteral("Copias"))->setText(a->copies);
    window.exec();
    return kExitOk;
}

} // namespace orvex::kit
