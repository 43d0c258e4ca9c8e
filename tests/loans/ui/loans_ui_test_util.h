#pragma once

#include "../loans_test_util.h"
#include "common/calc_error.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace orvex::test {

// What a loan window test hands its windows: the shared state, scripted message
// boxes and file dialogs, and a folder for files. reset() before each test function.
struct LoanUi {
    SharedState state;
    ScriptedMessageService messages;
    ScriptedFileDialogService dialogs;
    AppContext ctx { state, messages, dialogs };
    QTemporaryDir dir;

    void reset()
    {
        state = SharedState {};
        messages.shown.clear();
        dialogs.names.clear();
        dialogs.filters.clear();
    }
    // Exactly one message was shown, and it was the calculation error.
    bool onlyCalcError() const
    {
        return messages.shown.size() == 1 && messages.shown[0].icon == MsgIcon::Critical
            && messages.shown[0].text == QString::fromUtf8(kCalcErrorMessage);
    }
};

inline void click(QWidget& window, const char* name)
{
    auto* button = window.findChild<QAbstractButton*>(name);
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// A grid row's cells joined by "|".
inline QString gridRow(const QTableWidget* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return cells.join('|');
}

} // namespace orvex::test
