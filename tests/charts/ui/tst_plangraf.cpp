#include "../charts_test_util.h"
#include "charts/ui/chart_view.h"
#include "charts/ui/plan_graf.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"

#include <QAction>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvex;

namespace {

// The curves drawn, as the colours of the width-1 lines: "B" blue, "G" green, "C" cyan, "R" red.
QString curves(const PlanGraf& w)
{
    QString drawn;
    for (const auto& l : w.view()->displayList().lines()) {
        const QChar c = l.colour == kDarkBlue ? 'B'
            : l.colour == kDarkGreen          ? 'G'
            : l.colour == kDarkCyan           ? 'C'
                                              : 'R';
        if (l.width == 1 && !drawn.contains(c))
            drawn += c;
    }
    return drawn;
}

QAction* item(QWidget* w, int index)
{
    return w->findChild<QAction*>(QStringLiteral("Menu0%1").arg(index));
}

} // namespace

class TstPlanGraf : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_files;
    AppContext m_ctx { m_state, m_messages, m_files };

private slots:
    void init()
    {
        m_state.FirstPeriod = 0;
        m_state.LastPeriod = 12;
    }

    void menuClicksToggleRedrawAndSaveWhatIsShown()
    {
        PlanGraf w(m_ctx, test::kUvrLoanRows);
        for (int i : { 1, 2, 3, 4, 6 })
            QVERIFY(item(&w, i)->isCheckable() && !item(&w, i)->isChecked());
        QVERIFY(item(&w, 5)->isSeparator());
        w.show(); // acts as a click on "Todas las Curvas"
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(item(&w, 6)->isChecked());
        QCOMPARE(curves(w), QStringLiteral("BGCR"));
        item(&w, 1)->trigger(); // hidden behind "Todas las Curvas"
        QVERIFY(item(&w, 1)->isChecked());
        QCOMPARE(curves(w), QStringLiteral("BGCR"));
        item(&w, 6)->trigger();
        QCOMPARE(curves(w), QStringLiteral("B"));
        item(&w, 4)->trigger();
        QCOMPARE(curves(w), QStringLiteral("BR"));

        QTemporaryDir dir;
        m_files.names.push_back(dir.filePath(QStringLiteral("plan.svg")));
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger();
        QFile file(dir.filePath(QStringLiteral("plan.svg")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string svg = file.readAll().toStdString();
        // Two green axes, interest from period 1 to 2, balance from 0 to 2.
        QCOMPARE(test::count(svg, "stroke=\"#008000\""), 2);
        QCOMPARE(test::count(svg, "stroke=\"#000080\""), 1);
        QCOMPARE(test::count(svg, "stroke=\"#800000\""), 2);

        QCOMPARE(m_messages.shown.size(), std::size_t(1)); // where the image went
        item(&w, 1)->trigger();
        item(&w, 4)->trigger();
        QVERIFY(w.view()->displayList().items.empty()); // nothing selected, nothing drawn
        QTest::mouseDClick(w.view(), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    void readsTheRowsOfATableWidget()
    {
        // The header row is the grid's horizontal header, as the schedule window shows it.
        QTableWidget grid(2, 5);
        grid.setHorizontalHeaderLabels(
            { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" });
        grid.setItem(0, 4, new QTableWidgetItem(QStringLiteral("100.00")));
        grid.setItem(1, 1, new QTableWidgetItem(QStringLiteral("2.50")));
        const auto rows = scheduleRowsFromGrid(grid);
        QCOMPARE(rows.size(), std::size_t(3));
        QVERIFY(rows[0] == test::kPlanHeader);
        QCOMPARE(rows[1][4], std::string("100.00"));
        QCOMPARE(rows[1][0], std::string());
        QCOMPARE(rows[2][1], std::string("2.50"));
    }
};

QTEST_MAIN(TstPlanGraf)
#include "tst_plangraf.moc"
