// The loan window and the windows it opens: the variation table and the schedule.
#include "../loans_test_util.h"
#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/launcher.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"
#include "loans/schedule_report.h"
#include "loans/ui/liquidacion.h"
#include "loans/ui/tabla_correccion.h"
#include "loans/ui/upac.h"
#include "printing/ui/imprime.h"

#include "../../hostile_input.h"
#include "../../ui_test_util.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace orvex::test {

// A window test's context and a folder for files.
struct LoanUi : AppUi {
    QTemporaryDir dir;

    // Exactly one message was shown, and it was the calculation error.
    bool onlyCalcError() const
    {
        return messages.shown.size() == 1 && messages.shown[0].icon == MsgIcon::Critical
            && messages.shown[0].text == QString::fromUtf8(kCalcErrorMessage);
    }
};

// A grid row's cells joined by "|".
inline QString gridRow(const QTableWidget* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return cells.join('|');
}

} // namespace orvex::test

using namespace orvex;
using test::click;

class TstUpac : public QObject {
    Q_OBJECT

private:
    test::LoanUi m;

    static void type(UPAC& w, const QStringList& texts)
    {
        for (int k = 1; k <= 5; ++k) {
            w.valores(k)->clear();
            QTest::keyClicks(w.valores(k), texts[k - 1]);
        }
    }
    static bool checked(UPAC& w, const char* name)
    {
        return w.findChild<QRadioButton*>(name)->isChecked();
    }

    // Types a 12-month loan at rate, uniform payments, in the currency opcion; types
    // month0Rate into the variation table when given; presses Cálculos. Returns the
    // caption and month 1 of the schedule shown, nothing when none was.
    static QStringList calculos(
        UPAC& w, const QString& rate, const char* opcion, const QString& month0Rate = {})
    {
        type(w, { "1200000", "100", "12", rate, "0.5" });
        click(w, "SistemaPago2");
        click(w, opcion);
        QStringList shown;
        w.runModal = [&](QDialog& dialog) {
            dialog.show();
            if (auto* table = qobject_cast<TablaCorreccion*>(&dialog)) {
                table->grid()->item(0, 1)->setText(month0Rate);
                click(*table, "Salir");
            } else if (auto* schedule = qobject_cast<Liquidacion*>(&dialog)) {
                shown << schedule->windowTitle() << test::gridRow(schedule->grid(), 1);
                schedule->close();
            }
            return 0;
        };
        if (!month0Rate.isEmpty())
            click(w, "Command2");
        click(w, "Calculos");
        return shown;
    }

    static QLineEdit* edicion(TablaCorreccion& w) { return w.findChild<QLineEdit*>("Edicion"); }

    // A loan of 1000 at the first period, then two payments.
    void setFlows(double c) { test::setFlows(m.state, { 1000, 0, 0 }, { 0, -c, -c }); }

private slots:
    void init() { m.reset(); }

    void enterMovesToTheNextField()
    {
        UPAC window(m.ctx);
        QVERIFY(m.state.LoanWindowActive);
        QVERIFY(checked(window, "Opcion2") && checked(window, "SistemaPago1"));
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.valores(1)->setFocus();
        for (int k = 1; k < 5; ++k) {
            QTest::keyClick(window.valores(k), Qt::Key_Return);
            QTRY_VERIFY(window.valores(k + 1)->hasFocus());
        }
        // Enter in the last field presses no button: nothing was calculated.
        QTest::keyClick(window.valores(5), Qt::Key_Return);
        QVERIFY(!m.state.hasFlows());
    }

    void calculosOpensTheScheduleOrShowsTheError()
    {
        UPAC window(m.ctx);
        window.show();
        QCOMPARE(calculos(window, "1", "Opcion1"),
            QStringList({ "LIQUIDACION DE PRESTAMOS EN UVRS",
                "1|120.00000|1066.18546|946.18546|11053.81454" }));
        // Month 1 grows by the table's 1 % instead of 0.5 %: 11053.81454 UVR at 101 pesos.
        QCOMPARE(calculos(window, "1", "Opcion2", "1"),
            QStringList({ "LIQUIDACION DE PRESTAMOS EN PESOS",
                "1|12120.00|107684.73|95564.73|1116435.27" }));
        QCOMPARE(window.variationTable()->grid()->rowCount(), 13);
        QVERIFY(m.messages.shown.empty());
        QCOMPARE(calculos(window, "0", "Opcion1"), QStringList());
        QVERIFY(m.onlyCalcError());
    }

    void converterWritesIntoTheChosenRateField()
    {
        UPAC window(m.ctx);
        window.show();
        // ConvertirTasa1 serves the real rate (Valores4), ConvertirTasa2 the variation.
        for (int field : { 2, 1 }) {
            window.valores(4)->setText("keep");
            window.valores(5)->setText("keep");
            click(window, field == 1 ? "ConvertirTasa1" : "ConvertirTasa2");
            QCOMPARE(m.state.LoanRateField, std::int16_t(field));
            QWidget* converter = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                converter
                    = top->objectName() == "TasaInteres" && top->isVisible() ? top : converter;
            QVERIFY(converter);
            QTest::keyClicks(converter->findChild<QLineEdit*>("TasaConocida"), "12");
            click(*converter, "Calculos");
            const QString converted = converter->findChild<QLabel*>("TasaDesconocida")->text();
            QVERIFY(!converted.isEmpty());
            click(*converter, "Boton0");
            QCOMPARE(window.valores(3 + field)->text(), converted);
            QCOMPARE(window.valores(6 - field)->text(), QStringLiteral("keep"));
        }
    }

    void loanFilesThroughTheDialogs()
    {
        const QString path = m.dir.filePath("a.upa");
        const QString bad = m.dir.filePath("bad.upa");
        writeFileAtomically(bad.toStdString(), std::string(54, '1') + "71");
        {
            UPAC window(m.ctx);
            type(window, { "1200000", "100", "12", "1", "0.5" });
            click(window, "SistemaPago3");
            click(window, "Opcion1");
            m.dialogs.names = { path };
            click(window, "Cargar0");
        }
        QCOMPARE(m.dialogs.filters.value(0), QStringLiteral("de Upac (*.upa)"));
        QCOMPARE(m.dialogs.suffixes, QStringList { "upa" }); // the dialog adds ".upa"
        QCOMPARE(readWholeFile(path.toStdString()),
            std::string("1200000        100            12    1        0.5      31        "));

        // Loaded back as stored; then a bad file and a cancelled dialog change nothing.
        UPAC window(m.ctx);
        m.dialogs.names = { path, bad, QString() };
        for (int k = 0; k < 3; ++k)
            click(window, "Cargar1");
        QCOMPARE(window.valores(1)->text(), QStringLiteral("1200000        "));
        QCOMPARE(window.valores(3)->text(), QStringLiteral("12    "));
        QVERIFY(checked(window, "SistemaPago3") && checked(window, "Opcion1"));
        QCOMPARE(m.messages.shown.size(), std::size_t(1));
        QVERIFY(m.messages.shown[0].text.contains(bad));
        QVERIFY(m.messages.shown[0].icon == MsgIcon::Exclamation);
    }

    void oneRowPerMonthKeepingTheTypedRates()
    {
        TablaCorreccion window(m.ctx, 12);
        QVERIFY(window.width() >= captionWidth(&window)); // the caption shows whole
        // Months 0..12 below the header row: fourteen rows in all.
        QCOMPARE(window.grid()->rowCount(), 13);
        for (int r = 0; r < 13; ++r)
            QCOMPARE(window.grid()->item(r, 0)->text(), QString::number(r));
        window.grid()->item(2, 1)->setText(QStringLiteral("2"));
        window.grid()->item(5, 1)->setText(QStringLiteral("5"));
        window.setMonths(3);
        QCOMPARE(window.grid()->rowCount(), 4);
        window.setMonths(6);
        QCOMPARE(window.rateTexts(), QStringList({ "", "", "2", "", "", "", "" }));
    }

    void keysMoveTheCurrentRow()
    {
        struct Row {
            int start;
            Qt::Key key;
            int expected;
            bool inGrid = false; // the key goes to the grid instead of Edicion
        };
        // Rows counted from 1 = month 0; a 12-month table has rows 1..13.
        const Row rows[] = { { 1, Qt::Key_Down, 2 }, { 1, Qt::Key_Return, 2 },
            { 13, Qt::Key_Return, 13 }, { 13, Qt::Key_Down, 13 }, { 1, Qt::Key_Up, 1 },
            { 2, Qt::Key_Up, 1 }, { 9, Qt::Key_PageUp, 1 }, { 8, Qt::Key_PageUp, 8 },
            { 1, Qt::Key_PageDown, 9 }, { 5, Qt::Key_PageDown, 13 }, { 6, Qt::Key_PageDown, 6 },
            { 12, Qt::Key_Return, 13, true }, { 13, Qt::Key_Return, 13, true } };
        TablaCorreccion window(m.ctx, 12);
        window.show();
        for (int r = 0; r < 13; ++r)
            window.grid()->item(r, 1)->setText(QStringLiteral("r%1").arg(r + 1));
        for (const Row& row : rows) {
            window.moveTo(row.start);
            QTest::keyClick(
                row.inGrid ? static_cast<QWidget*>(window.grid()) : edicion(window), row.key);
            const QString trace = QStringLiteral("from %1 key %2").arg(row.start).arg(row.key);
            QVERIFY2(window.currentRow() == row.expected, qPrintable(trace));
            QCOMPARE(window.grid()->currentColumn(), 1);
            QCOMPARE(edicion(window)->text(), QStringLiteral("r%1").arg(row.expected));
        }
    }

    void currentRowStaysVisible()
    {
        TablaCorreccion window(m.ctx, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int target : { 150, 20, 199 }) {
            window.moveTo(target);
            QTableWidget* grid = window.grid();
            const int top = grid->rowAt(0) + 1;
            int bottom = grid->rowAt(grid->viewport()->height() - 1) + 1;
            if (bottom == 0)
                bottom = grid->rowCount();
            // The row is shown among the first eight, or as far up as the grid scrolls.
            QVERIFY2(top <= target && target <= bottom, qPrintable(QString::number(target)));
            QVERIFY(target <= top + 7 || bottom == grid->rowCount());
        }
    }

    void typedRatesAreHandedOverOnSalir()
    {
        m.state.UvrVariations = std::vector<double>(40, 0.5);
        TablaCorreccion window(m.ctx, 12);
        window.show();
        window.moveTo(4); // month 3
        QTest::keyClicks(edicion(window), "0.5");
        click(window, "Salir");
        QVERIFY(!window.isVisible());
        std::vector<double> expected(13, 0.0);
        expected[3] = 0.005;
        QCOMPARE(*m.state.UvrVariations, expected);
        // Shown again, the table still holds what was typed.
        window.show();
        QCOMPARE(window.currentRow(), 1);
        QCOMPARE(window.grid()->item(3, 1)->text(), QStringLiteral("0.5"));
    }

    void variationFilesThroughTheDialogs()
    {
        const QString path = m.dir.filePath("t.cor");
        const QString bad = m.dir.filePath("short.cor");
        writeFileAtomically(bad.toStdString(), std::string(64, ' ') + "9");
        TablaCorreccion window(m.ctx, 2);
        window.grid()->item(1, 1)->setText(QStringLiteral(" 1.5 "));
        m.dialogs.names = { path };
        click(window, "Grabar0");
        QCOMPARE(m.dialogs.filters.value(0), QStringLiteral("de corrección (*.cor)"));
        QCOMPARE(m.dialogs.suffixes, QStringList { "cor" }); // the dialog adds ".cor"
        QCOMPARE(readWholeFile(path.toStdString()),
            std::string(64, ' ') + "1.5" + std::string(61 + 64, ' '));

        // Loaded trimmed; then a short file and cancelled dialogs change nothing.
        TablaCorreccion other(m.ctx, 2);
        m.dialogs.names = { path, bad };
        for (const char* button : { "Grabar1", "Grabar1", "Grabar1", "Grabar0" })
            click(other, button);
        QCOMPARE(other.rateTexts(), QStringList({ "", "1.5", "" }));
        QCOMPARE(other.currentRow(), 1);
        QCOMPARE(m.messages.shown.size(), std::size_t(1));
        QVERIFY(m.messages.shown[0].text.contains(bad));
    }

    void worksheetScheduleShowsAndCopiesTheTable()
    {
        setFlows(400);
        m.state.FirstPeriod = 2;
        Liquidacion window(m.ctx, ScheduleSource::worksheet("10"));
        window.show();
        QVERIFY(m.messages.shown.empty());
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

    // The report's pages and figures are the printing tests' and the report's own.
    void imprimirHandsTheScheduleReportToTheReportWindow()
    {
        setFlows(400);
        ScriptedProcessLauncher launcher;
        m.ctx.launcher = &launcher;
        // The printer's settings file goes to the current directory.
        const QString oldDir = QDir::currentPath();
        QDir::setCurrent(m.dir.path());
        Liquidacion window(m.ctx, ScheduleSource::worksheet("10"));
        window.show();
        QString shownFile;
        std::string report;
        window.runModal = [&](QDialog& child) {
            auto& imprime = dynamic_cast<Imprime&>(child);
            child.show();
            shownFile = imprime.archivo()->text();
            report = readWholeFile(us(shownFile));
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
        QCOMPARE(report, scheduleReport(window.table()));
    }

    // Every field of the loan and every rate of the table: a message or a finite schedule.
    void hostileTextsEndInAMessageOrAFiniteSchedule()
    {
        UPAC w(m.ctx);
        w.show();
        type(w, { "1200000", "100", "12", "1", "0.5" });
        click(w, "SistemaPago2");
        bool nanShown = false;
        int schedules = 0;
        w.runModal = [&](QDialog& dialog) {
            dialog.show();
            nanShown = nanShown || test::showsNanOrInf(&dialog, {});
            schedules += qobject_cast<Liquidacion*>(&dialog) != nullptr;
            dialog.close();
            return 0;
        };
        test::pasteHostileEverywhere(
            &w, [&] { click(w, "Calculos"); },
            [&](const QString&, const QString& text) {
                QVERIFY2(!nanShown, qPrintable(text.left(20)));
                QVERIFY2(schedules > 0 || !m.messages.shown.empty(), qPrintable(text.left(20)));
                schedules = 0;
                m.messages.shown.clear();
            });

        TablaCorreccion table(m.ctx, 12);
        table.show();
        table.moveTo(2);
        test::pasteHostileEverywhere(
            &table,
            [&] {
                click(table, "Salir");
                table.show();
                table.moveTo(2); // the same cell each time, so only the latest text is shown
            },
            [&](const QString&, const QString& text) {
                for (double v : m.state.UvrVariations.value_or(std::vector<double> {}))
                    QVERIFY2(std::isfinite(v), qPrintable(text.left(20)));
            });
    }
};

QTEST_MAIN(TstUpac)
#include "tst_upac.moc"
