#include "loans/ui/liquidacion.h"
#include "loans_ui_test_util.h"

#include <QAction>
#include <QClipboard>

using namespace orvex;

class TstLiquidacion : public QObject {
    Q_OBJECT

private:
    test::LoanUi m;

    // A loan of 1000 at the first period, then two payments.
    void setFlows(double c) { test::setFlows(m.state, { 1000, 0, 0 }, { 0, -c, -c }); }

private slots:
    void init() { m.reset(); }

    void worksheetScheduleShowsAndCopiesTheTable()
    {
        setFlows(400);
        m.state.FirstPeriod = 2;
        Liquidacion window(m.ctx, ScheduleSource::worksheet("10"));
        window.show();
        QVERIFY(m.messages.shown.empty());
        QCOMPARE(window.windowTitle(), QStringLiteral("LIQUIDACION DE PRESTAMOS"));
        QCOMPARE(window.grid()->horizontalHeaderItem(4)->text(), QStringLiteral("Saldo"));
        // B = 1000; I = 100, K = 300, B = 700; I = 70, K = 330, B = 370.
        const QStringList rows
            = { "2||||1000.00", "3|100.00|400.00|300.00|700.00", "4|70.00|400.00|330.00|370.00" };
        QCOMPARE(window.grid()->rowCount(), 3);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(test::gridRow(window.grid(), r), rows[r]);
        QCOMPARE(window.grid()->currentRow(), 0);
        QCOMPARE(window.grid()->currentColumn(), 1);

        window.findChild<QAction*>("Menu10")->trigger();
        QCOMPARE(
            QApplication::clipboard()->text().toStdString(), scheduleClipboardText(window.table()));
        QVERIFY(QApplication::clipboard()->text().startsWith("Período\tPago Intereses\t"));
    }

    void failureShowsTheMessageThenCloses()
    {
        Liquidacion window(m.ctx, ScheduleSource::worksheet("10"));
        window.show();
        QVERIFY(m.onlyCalcError());
        QCOMPARE(m.messages.shown[0].title, QStringLiteral("ERROR"));
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(window.grid()->rowCount(), 0);
    }

    void returningFromTheChartRebuildsThenCerrarCloses()
    {
        setFlows(400);
        Liquidacion window(m.ctx, ScheduleSource::loan("2", "10", true));
        window.show();
        QCOMPARE(window.grid()->item(1, 2)->text(), QStringLiteral("400.00000"));
        setFlows(500);
        QString chart;
        window.runModal = [&chart](QDialog& child) {
            chart = child.windowTitle();
            return 0;
        };
        test::click(window, "GraficarPlan");
        QCOMPARE(chart, QStringLiteral("PLAN DE PAGOS"));
        QCOMPARE(window.grid()->item(1, 2)->text(), QStringLiteral("500.00000"));
        QCOMPARE(window.windowTitle(), QStringLiteral("LIQUIDACION DE PRESTAMOS EN UVRS"));
        test::click(window, "Cerrar");
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TstLiquidacion)
#include "tst_liquidacion.moc"
