#include "common/file_io.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "loans/ui/tabla_correccion.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace orvex;

class TstTablaCorreccion : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_dialogs;
    AppContext m_ctx { m_state, m_messages, m_dialogs };
    QTemporaryDir m_dir;

    QLineEdit* edicion(TablaCorreccion& w) { return w.findChild<QLineEdit*>("Edicion"); }

private slots:
    void init()
    {
        m_state = SharedState {};
        m_messages.shown.clear();
        m_dialogs.names.clear();
        m_dialogs.filters.clear();
    }

    void controlsCarryTheirNames()
    {
        TablaCorreccion window(m_ctx, 12);
        QCOMPARE(window.windowTitle(), QStringLiteral("Tabla de Corrección Monetaria Detallada"));
        auto* grid = window.findChild<QTableWidget*>("Celdas");
        QVERIFY(grid);
        QCOMPARE(grid->columnCount(), 2);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Período"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Corrección"));
        // Header plus months 0..12: fourteen rows in all.
        QCOMPARE(grid->rowCount() + 1, 14);
        for (int r = 0; r < grid->rowCount(); ++r)
            QCOMPARE(grid->item(r, 0)->text(), QString::number(r));
        QVERIFY(edicion(window));
        QCOMPARE(window.findChild<QPushButton*>("Grabar0")->text(), QStringLiteral("Grabar"));
        QCOMPARE(window.findChild<QPushButton*>("Grabar1")->text(), QStringLiteral("Cargar"));
        QCOMPARE(window.findChild<QPushButton*>("Salir")->text(), QStringLiteral("Salir"));
        auto* timer = window.findChild<QTimer*>("TimerCelda");
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 100);
    }

    void keysMoveTheCurrentRow()
    {
        struct Row {
            int start;
            Qt::Key key;
            int expected;
        };
        // Rows counted from 1 = month 0; a 12-month table has rows 1..13.
        const Row rows[] = {
            { 1, Qt::Key_Down, 2 },
            { 1, Qt::Key_Return, 2 },
            { 13, Qt::Key_Return, 13 },
            { 13, Qt::Key_Down, 13 },
            { 1, Qt::Key_Up, 1 },
            { 2, Qt::Key_Up, 1 },
            { 9, Qt::Key_PageUp, 1 },
            { 8, Qt::Key_PageUp, 8 },
            { 1, Qt::Key_PageDown, 9 },
            { 5, Qt::Key_PageDown, 13 },
            { 6, Qt::Key_PageDown, 6 },
        };
        TablaCorreccion window(m_ctx, 12);
        window.show();
        for (int r = 0; r < 13; ++r)
            window.grid()->item(r, 1)->setText(QStringLiteral("r%1").arg(r + 1));
        for (const Row& row : rows) {
            window.moveTo(row.start);
            QTest::keyClick(edicion(window), row.key);
            const QString trace = QStringLiteral("from %1 key %2").arg(row.start).arg(row.key);
            QVERIFY2(window.currentRow() == row.expected, qPrintable(trace));
            QCOMPARE(edicion(window)->text(), QStringLiteral("r%1").arg(row.expected));
        }
    }

    void enterInTheGridMovesDown()
    {
        TablaCorreccion window(m_ctx, 3);
        window.show();
        window.moveTo(3);
        QTest::keyClick(window.grid(), Qt::Key_Return);
        QCOMPARE(window.currentRow(), 4);
        QTest::keyClick(window.grid(), Qt::Key_Return);
        QCOMPARE(window.currentRow(), 4);
        QCOMPARE(window.grid()->currentColumn(), 1);
    }

    void currentRowStaysVisible()
    {
        TablaCorreccion window(m_ctx, 200);
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
        m_state.UvrVariations = std::vector<double>(40, 0.5);
        TablaCorreccion window(m_ctx, 12);
        window.show();
        window.moveTo(4); // month 3
        QTest::keyClicks(edicion(window), "0.5");
        QCOMPARE(window.grid()->item(3, 1)->text(), QStringLiteral("0.5"));
        QTest::mouseClick(window.findChild<QPushButton*>("Salir"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        std::vector<double> expected(13, 0.0);
        expected[3] = 0.005;
        QCOMPARE(*m_state.UvrVariations, expected);
        // Shown again, the table still holds what was typed.
        window.show();
        QCOMPARE(window.currentRow(), 1);
        QCOMPARE(window.grid()->item(3, 1)->text(), QStringLiteral("0.5"));
    }

    void saveAndLoadThroughTheDialogs()
    {
        const QString path = m_dir.filePath("t.cor");
        TablaCorreccion window(m_ctx, 2);
        window.show();
        window.grid()->item(1, 1)->setText(QStringLiteral(" 1.5 "));
        m_dialogs.names = { path };
        QTest::mouseClick(window.findChild<QPushButton*>("Grabar0"), Qt::LeftButton);
        QCOMPARE(m_dialogs.filters.value(0), QStringLiteral("de corrección (*.cor)"));
        const std::string bytes = readWholeFile(path.toStdString());
        QCOMPARE(bytes, std::string(64, ' ') + "1.5" + std::string(61, ' ') + std::string(64, ' '));

        TablaCorreccion other(m_ctx, 2);
        other.show();
        m_dialogs.names = { path };
        QTest::mouseClick(other.findChild<QPushButton*>("Grabar1"), Qt::LeftButton);
        QCOMPARE(other.grid()->item(1, 1)->text(), QStringLiteral("1.5"));
        QCOMPARE(other.currentRow(), 1);
        QVERIFY(m_messages.shown.empty());
    }

    void shortFileIsRefusedAndNothingLoaded()
    {
        const QString path = m_dir.filePath("short.cor");
        writeFileAtomically(path.toStdString(), std::string(64, ' ') + "9");
        TablaCorreccion window(m_ctx, 12);
        window.show();
        window.grid()->item(0, 1)->setText(QStringLiteral("kept"));
        m_dialogs.names = { path };
        QTest::mouseClick(window.findChild<QPushButton*>("Grabar1"), Qt::LeftButton);
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QVERIFY(m_messages.shown[0].text.contains(path));
        QCOMPARE(window.grid()->item(0, 1)->text(), QStringLiteral("kept"));
        QCOMPARE(window.grid()->item(1, 1)->text(), QString());

        // Cancelled dialogs change nothing.
        QTest::mouseClick(window.findChild<QPushButton*>("Grabar1"), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton*>("Grabar0"), Qt::LeftButton);
        QCOMPARE(window.grid()->item(0, 1)->text(), QStringLiteral("kept"));
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
    }

    void newTermKeepsTheRatesOfRemainingMonths()
    {
        TablaCorreccion window(m_ctx, 5);
        window.grid()->item(2, 1)->setText(QStringLiteral("2"));
        window.grid()->item(5, 1)->setText(QStringLiteral("5"));
        window.setMonths(3);
        QCOMPARE(window.grid()->rowCount(), 4);
        window.setMonths(6);
        QCOMPARE(window.rateTexts(), QStringList({ "", "", "2", "", "", "", "" }));
    }
};

QTEST_MAIN(TstTablaCorreccion)
#include "tst_tablacorreccion.moc"
