#include "common/file_io.h"
#include "common/ui/widgets.h"
#include "loans/ui/tabla_correccion.h"
#include "loans_ui_test_util.h"

#include <QLineEdit>

using namespace orvex;
using test::click;

class TstTablaCorreccion : public QObject {
    Q_OBJECT

private:
    test::LoanUi m;

    static QLineEdit* edicion(TablaCorreccion& w) { return w.findChild<QLineEdit*>("Edicion"); }

private slots:
    void init() { m.reset(); }

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

    void filesThroughTheDialogs()
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
};

QTEST_MAIN(TstTablaCorreccion)
#include "tst_tablacorreccion.moc"
