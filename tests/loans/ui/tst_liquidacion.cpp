#include "../../printing/ui/printing_ui_test_util.h"
#include "common/ui/launcher.h"
#include "loans/ui/liquidacion.h"
#include "loans_ui_test_util.h"
#include "printing/ui/imprime.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>

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

    // Balances of hundreds of billions show whole; a wider window widens the grid.
    void columnsFitTheirNumbersAndTheGridFollowsTheWindow()
    {
        setFlows(4e14);
        Liquidacion window(m.ctx, ScheduleSource::worksheet("1"));
        window.show();
        QTableWidget* grid = window.grid();
        for (int c = 1; c < 5; ++c) {
            const QString text = grid->item(1, c)->text();
            QVERIFY2(grid->columnWidth(c) > grid->fontMetrics().horizontalAdvance(text),
                qPrintable(text));
        }
        QTRY_VERIFY(grid->x() + grid->width() <= window.width());
        const int before = grid->width();
        window.resize(window.width() + 150, window.height());
        QTRY_COMPARE(grid->width(), before + 150);
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

    void imprimirPrintsTheScheduleToPdf()
    {
        // A loan of 6000 repaid in 60 payments of 100 at no interest: 61 rows, two pages.
        std::vector<double> in(61, 0.0), out(61, -100.0);
        in[0] = 6000;
        out[0] = 0;
        test::setFlows(m.state, in, out);
        ScriptedProcessLauncher launcher;
        m.ctx.launcher = &launcher;
        // The printer's settings file goes to the current directory.
        const QString oldDir = QDir::currentPath();
        QDir::setCurrent(m.dir.path());
        Liquidacion window(m.ctx, ScheduleSource::worksheet("0"));
        window.show();
        const QString pdf = m.dir.filePath("plan.pdf");
        QString shownFile;
        window.runModal = [&](QDialog& child) {
            auto& imprime = dynamic_cast<Imprime&>(child);
            child.show();
            shownFile = imprime.archivo()->text();
            imprime.printer().setOutputFormat(QPrinter::PdfFormat);
            imprime.printer().setOutputFileName(pdf);
            imprime.findChild<QPushButton*>("Boton0")->click();
            imprime.findChild<QPushButton*>("Boton1")->click();
            return 0;
        };
        window.findChild<QAction*>("Menu11")->trigger();
        m.ctx.launcher = nullptr;
        QDir::setCurrent(oldDir);
        QVERIFY(QFile::exists(m.dir.filePath("Imprime.set")));
        QVERIFY(m.messages.shown.empty());
        QVERIFY(shownFile.endsWith("/liquidacion.rpt"));
        QVERIFY(!shownFile.left(shownFile.lastIndexOf('/')).contains('.'));
        QCOMPARE(test::pdfPageCount(pdf), 2);
        const QStringList pages = test::pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        const QRegularExpression row("^\\s*(\\d+)\\s+\\S*\\s*\\S*\\s*\\S*\\s+(\\d+\\.\\d\\d)\\s*$");
        int expected = 0;
        for (int p = 0; p < 2; ++p) {
            QVERIFY(pages[p].trimmed().startsWith("LIQUIDACION DE PRESTAMOS"));
            QVERIFY(
                pages[p].contains(QRegularExpression(QStringLiteral("\\n\\s+%1\\n").arg(p + 1))));
            QVERIFY(pages[p].contains(
                QRegularExpression("Período\\s+Pago Intereses\\s+Cuota\\s+Pago Capital\\s+Saldo")));
            // The periods in order, each with its balance.
            for (const QString& line : pages[p].split('\n')) {
                const auto match = row.match(line);
                if (!match.hasMatch())
                    continue;
                QCOMPARE(match.captured(1).toInt(), expected);
                QCOMPARE(match.captured(2), QString::number(6000 - 100 * expected) + ".00");
                ++expected;
            }
        }
        QCOMPARE(expected, 61);
    }
};

QTEST_MAIN(TstLiquidacion)
#include "tst_liquidacion.moc"
