#include "common/calc_error.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "loans/ui/liquidacion.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace orvex;

class TstLiquidacion : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_dialogs;
    AppContext m_ctx { m_state, m_messages, m_dialogs };

    // A loan of 1000 at period 0, then 400 a period.
    void setFlows(double payment)
    {
        m_state.PeriodInflows = std::vector<double> { 1000, 0, 0 };
        m_state.PeriodOutflows = std::vector<double> { 0, -payment, -payment };
        m_state.PeriodNetFlows = std::vector<double> { 1000, -payment, -payment };
    }

private slots:
    void init()
    {
        m_state = SharedState {};
        m_messages.shown.clear();
    }

    void controlsCarryTheirNames()
    {
        setFlows(400);
        Liquidacion window(m_ctx, ScheduleSource::worksheet("10"));
        QCOMPARE(window.windowTitle(), QStringLiteral("LIQUIDACION DE PRESTAMOS"));
        auto* grid = window.findChild<QTableWidget*>("Celdas");
        QVERIFY(grid);
        QCOMPARE(grid, window.grid());
        QCOMPARE(grid->columnCount(), 5);
        const QStringList headers
            = { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" };
        for (int c = 0; c < 5; ++c)
            QCOMPARE(grid->horizontalHeaderItem(c)->text(), headers[c]);
        QCOMPARE(
            window.findChild<QPushButton*>("GraficarPlan")->text(), QStringLiteral("Graficar"));
        QCOMPARE(window.findChild<QPushButton*>("Cerrar")->text(), QStringLiteral("C&errar"));
        QCOMPARE(window.findChild<QMenu*>("Menu0")->title(), QStringLiteral("Utilidad"));
        QCOMPARE(window.findChild<QAction*>("Menu10")->text(), QStringLiteral("Archivo Excel"));
    }

    void worksheetScheduleShowsAndCopiesTheTable()
    {
        setFlows(400);
        m_state.FirstPeriod = 2;
        Liquidacion window(m_ctx, ScheduleSource::worksheet("10"));
        window.show();
        QVERIFY(m_messages.shown.empty());
        QTableWidget* grid = window.grid();
        QCOMPARE(grid->rowCount(), 3);
        // B = 1000; I = 100, K = 300, B = 700; I = 70, K = 330, B = 370.
        const QStringList expected[]
            = { { "2", "", "", "", "1000.00" }, { "3", "100.00", "400.00", "300.00", "700.00" },
                  { "4", "70.00", "400.00", "330.00", "370.00" } };
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c)
                QCOMPARE(grid->item(r, c)->text(), expected[r][c]);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(grid->currentColumn(), 1);

        window.findChild<QAction*>("Menu10")->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
            QStringLiteral("Período\tPago Intereses\tCuota\tPago Capital\tSaldo\t\r\n"
                           "2\t\t\t\t1000.00\t\r\n"
                           "3\t100.00\t400.00\t300.00\t700.00\t\r\n"
                           "4\t70.00\t400.00\t330.00\t370.00\t\r\n"));
    }

    void loanScheduleInPesosUsesTheUvrValues()
    {
        setFlows(400);
        m_state.UvrValues = std::vector<double> { 2, 3, 4 };
        Liquidacion window(m_ctx, ScheduleSource::loan("2", "10", false));
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("LIQUIDACION DE PRESTAMOS EN PESOS"));
        QCOMPARE(window.grid()->item(0, 4)->text(), QStringLiteral("2000.00"));
        QCOMPARE(window.grid()->item(1, 2)->text(), QStringLiteral("1200.00"));
        QCOMPARE(m_state.LastPeriod, std::int16_t(2));
    }

    void failureShowsTheMessageThenCloses()
    {
        Liquidacion window(m_ctx, ScheduleSource::worksheet("10"));
        window.show();
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QCOMPARE(m_messages.shown[0].text, QString::fromUtf8(kCalcErrorMessage));
        QCOMPARE(m_messages.shown[0].title, QStringLiteral("ERROR"));
        QVERIFY(m_messages.shown[0].icon == MsgIcon::Critical);
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(window.grid()->rowCount(), 0);
    }

    void returningFromTheChartRebuilds()
    {
        setFlows(400);
        Liquidacion window(m_ctx, ScheduleSource::loan("2", "10", true));
        window.show();
        QCOMPARE(window.grid()->item(1, 2)->text(), QStringLiteral("400.00000"));
        setFlows(500);
        QString chart;
        window.runModal = [&chart](QDialog& child) {
            chart = child.windowTitle();
            return 0;
        };
        QTest::mouseClick(window.findChild<QPushButton*>("GraficarPlan"), Qt::LeftButton);
        QCOMPARE(chart, QStringLiteral("PLAN DE PAGOS"));
        QCOMPARE(window.grid()->item(1, 2)->text(), QStringLiteral("500.00000"));
        QCOMPARE(window.windowTitle(), QStringLiteral("LIQUIDACION DE PRESTAMOS EN UVRS"));
    }

    void cerrarClosesTheWindow()
    {
        setFlows(400);
        Liquidacion window(m_ctx, ScheduleSource::worksheet("10"));
        window.show();
        QTest::mouseClick(window.findChild<QPushButton*>("Cerrar"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TstLiquidacion)
#include "tst_liquidacion.moc"
