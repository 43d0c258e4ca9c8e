#include "loans/ui/schedule_printer.h"

#include "common/file_io.h"
#include "common/ui/app_context.h"
#include "common/ui/launcher.h"
#include "common/ui/message_service.h"
#include "loans/schedule_report.h"
#include "printing/print_error.h"
#include "printing/ui/imprime.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>

namespace orvex {
namespace {

// The prepared copy is named at the first "." of the whole path, so the folder must have
// none.
std::unique_ptr<QTemporaryDir> reportFolder()
{
    const QString base
        = QDir::tempPath().contains(QLatin1Char('.')) ? QStringLiteral("/tmp") : QDir::tempPath();
    auto folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/orvex-XXXXXX"));
    return folder->isValid() ? std::move(folder) : nullptr;
}

} // namespace

SchedulePrinter::SchedulePrinter(AppContext& ctx, QWidget* parent)
    : m_ctx(ctx)
    , m_parent(parent)
{
}

SchedulePrinter::~SchedulePrinter() = default;

void SchedulePrinter::print(const ScheduleTable& table, const ModalRunner& run)
{
    if (table.rows.size() < 2)
        return;
    try {
        if (!m_folder)
            m_folder = reportFolder();
        if (!m_folder)
            throw FileError(0, "no folder for the report");
        m_report = m_folder->filePath(QStringLiteral("liquidacion.rpt"));
        writeFileAtomically(m_report.toStdString(), scheduleReport(table));
    } catch (const FileError&) {
        m_ctx.messages.show(m_parent,
            { QString::fromUtf8(kPrintErrorMessage), QString::fromUtf8(kPrintErrorTitle),
                MsgIcon::Critical, MsgButtons::Ok });
        return;
    }
    if (!m_window)
        m_window = new Imprime(m_ctx.messages, m_ctx.processes(), m_parent);
    m_window->archivo()->setText(m_report);
    run(*m_window);
}

} // namespace orvex
