#pragma once

#include "loans/schedule.h"
#include "loans/ui/loan_ui.h"

#include <QString>
#include <memory>

class QTemporaryDir;
class QWidget;

namespace orvex {

struct AppContext;
class Imprime;

// "Imprimir..." of the schedule: the table goes to a report file in a folder of its own
// and the report printer's window opens on it, for paper or a PDF file. The folder and
// the window live as long as this object (the viewer may still read the prepared copy).
class SchedulePrinter {
public:
    SchedulePrinter(AppContext& ctx, QWidget* parent);
    ~SchedulePrinter();

    // Writes the report and shows Imprime through run; a report that cannot be written
    // shows the print message.
    void print(const ScheduleTable& table, const ModalRunner& run);

    // The report file last written (empty before the first).
    QString reportFile() const { return m_report; }

private:
    AppContext& m_ctx;
    QWidget* m_parent;
    std::unique_ptr<QTemporaryDir> m_folder;
    Imprime* m_window = nullptr;
    QString m_report;
};

} // namespace orvex
