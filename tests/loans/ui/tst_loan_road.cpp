#include "app/talvora.h"
#include "common/calc_error.h"
#include "common/shared_state.h"
#include "common/ui/message_service.h"
#include "loans/ui/liquidacion.h"
#include "loans/ui/upac.h"
#include "worksheet/worksheet_file.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace orvex;

namespace {

// The main window with its modal children handed to the test instead of a modal loop.
class RoadTalvora : public Talvora {
public:
    using Talvora::Talvora;
    std::function<void(QDialog&)> onModal;

protected:
    int runModal(QDialog& child) override
    {
        if (onModal)
            onModal(child);
        return QDialog::Accepted;
    }
};

QStringList gridRow(QTableWidget* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return cells;
}

} // namespace

class TstLoanRoad : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_dialogs;
    AppContext m_ctx { m_state, m_messages, m_dialogs };
    QTemporaryDir m_dir;

    // Opens a worksheet with a loan of 1000 repaid at 10 % by five payments to solve.
    void openWorksheet(Talvora& main)
    {
        Worksheet sheet;
        sheet.setCell(1, kColTipo, "1. Pago Unico");
        sheet.setCell(1, kColValor, "1000");
        sheet.setCell(1, kColInicio, "0");
        sheet.setCell(2, kColTipo, "2. Serie Uniforme");
        sheet.setCell(2, kColValor, "Incognita");
        sheet.setCell(2, kColInicio, "0");
        sheet.setCell(2, kColFinal, "5");
        sheet.setRate("10");
        const QString path = m_dir.filePath("loan.ORV");
        saveWorksheetFile(path.toStdString(), sheet);
        m_dialogs.names = { path };
        main.findChild<QAction*>("MenuAbrir")->trigger();
        QCOMPARE(main.worksheet().cell(2, kColValor), std::string("Incognita"));
    }

private slots:
    void init()
    {
        m_state = SharedState {};
        m_messages.shown.clear();
    }

    void loanWindowFromTheMenuToTheScheduleAndBack()
    {
        RoadTalvora main(m_ctx);
        main.show();
        openWorksheet(main);
        const Worksheet before = main.worksheet();
        QStringList caption, firstRow;
        bool activeInLoanWindow = false;
        main.onModal = [&](QDialog& child) {
            if (auto* upac = qobject_cast<UPAC*>(&child)) {
                upac->show();
                activeInLoanWindow = m_state.LoanWindowActive;
                const char* texts[] = { "1200000", "100", "12", "1", "0.5" };
                for (int k = 1; k <= 5; ++k)
                    QTest::keyClicks(upac->valores(k), texts[k - 1]);
                QTest::mouseClick(
                    upac->findChild<QAbstractButton*>("SistemaPago2"), Qt::LeftButton);
                QTest::mouseClick(upac->findChild<QPushButton*>("Calculos"), Qt::LeftButton);
                upac->close();
            } else if (auto* schedule = qobject_cast<Liquidacion*>(&child)) {
                schedule->show();
                caption << schedule->windowTitle();
                firstRow = gridRow(schedule->grid(), 1);
                schedule->close();
            }
        };
        main.findChild<QAction*>("MenuSistemasAmortizacion")->trigger();
        QVERIFY(activeInLoanWindow);
        QVERIFY(!m_state.LoanWindowActive);
        QCOMPARE(caption, QStringList { "LIQUIDACION DE PRESTAMOS EN PESOS" });
        QCOMPARE(firstRow, QStringList({ "1", "12060.00", "107151.64", "95091.64", "1110908.36" }));
        // The loan window leaves the person's worksheet as it was.
        for (int r = 1; r <= 3; ++r)
            for (int c = kColTipo; c <= kColSensibilidad; ++c)
                QCOMPARE(main.worksheet().cell(r, c), before.cell(r, c));
        QVERIFY(m_messages.shown.empty());
    }

    void converterWritesIntoTheChosenLoanField()
    {
        RoadTalvora main(m_ctx);
        QString converted, written, untouched;
        main.onModal = [&](QDialog& child) {
            auto* upac = qobject_cast<UPAC*>(&child);
            if (!upac)
                return;
            upac->show();
            upac->valores(4)->setText("keep");
            QTest::mouseClick(upac->findChild<QPushButton*>("ConvertirTasa2"), Qt::LeftButton);
            QWidget* converter = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == "TasaInteres" && top->isVisible())
                    converter = top;
            QVERIFY(converter);
            QTest::keyClicks(converter->findChild<QLineEdit*>("TasaConocida"), "12");
            QTest::mouseClick(converter->findChild<QPushButton*>("Calculos"), Qt::LeftButton);
            converted = converter->findChild<QLabel*>("TasaDesconocida")->text();
            QTest::mouseClick(converter->findChild<QPushButton*>("Boton0"), Qt::LeftButton);
            written = upac->valores(5)->text();
            untouched = upac->valores(4)->text();
            upac->close();
        };
        main.findChild<QAction*>("MenuSistemasAmortizacion")->trigger();
        QVERIFY(!converted.isEmpty());
        QCOMPARE(written, converted);
        QCOMPARE(untouched, QStringLiteral("keep"));
        QCOMPARE(m_state.LoanRateField, std::int16_t(2));
    }

    void planDePagosShowsTheWorksheetSchedule()
    {
        RoadTalvora main(m_ctx);
        main.show();
        openWorksheet(main);
        main.findChild<QAction*>("MenuCalculosFinancieros")->trigger();
        QStringList caption, lastRow;
        main.onModal = [&](QDialog& child) {
            if (auto* schedule = qobject_cast<Liquidacion*>(&child)) {
                schedule->show();
                caption << schedule->windowTitle();
                lastRow = gridRow(schedule->grid(), schedule->grid()->rowCount() - 1);
                schedule->close();
            }
        };
        main.findChild<QAction*>("MenuPlanPagos")->trigger();
        QCOMPARE(caption, QStringList { "LIQUIDACION DE PRESTAMOS" });
        QCOMPARE(lastRow, QStringList({ "5", "23.98", "263.80", "239.82", "0.00" }));
    }

    void planDePagosBeforeAnyCalculationShowsTheMessage()
    {
        RoadTalvora main(m_ctx);
        bool closed = false;
        main.onModal = [&](QDialog& child) {
            child.show();
            QTRY_VERIFY(!child.isVisible());
            closed = true;
        };
        main.findChild<QAction*>("MenuPlanPagos")->trigger();
        QVERIFY(closed);
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QCOMPARE(m_messages.shown[0].text, QString::fromUtf8(kCalcErrorMessage));
    }
};

QTEST_MAIN(TstLoanRoad)
#include "tst_loan_road.moc"
