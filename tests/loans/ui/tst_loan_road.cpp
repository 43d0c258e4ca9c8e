#include "../../worksheet/sheet_builder.h"
#include "app/talvora.h"
#include "loans/ui/liquidacion.h"
#include "loans/ui/upac.h"
#include "loans_ui_test_util.h"
#include "worksheet/worksheet_file.h"

#include <QAction>
#include <QLineEdit>

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
        child.show();
        if (onModal)
            onModal(child);
        child.close();
        return QDialog::Accepted;
    }
};

} // namespace

class TstLoanRoad : public QObject {
    Q_OBJECT

private:
    test::LoanUi m;
    QStringList m_schedules; // caption and last row of every schedule shown

    // The main window with a loan of 1000 repaid at 10 % by five payments to solve.
    void open(RoadTalvora& main)
    {
        const QString path = m.dir.filePath("loan.ORV");
        saveWorksheetFile(path.toStdString(),
            test::makeSheet({ { 1, "1000", "0" }, { 2, "Incognita", "0", "5" } }, "10"));
        m.dialogs.names = { path };
        main.show();
        main.findChild<QAction*>("MenuAbrir")->trigger();
        main.onModal = [this](QDialog& child) {
            if (auto* schedule = qobject_cast<Liquidacion*>(&child))
                m_schedules << schedule->windowTitle()
                            << test::gridRow(schedule->grid(), schedule->grid()->rowCount() - 1);
        };
    }

private slots:
    void init()
    {
        m.reset();
        m_schedules.clear();
    }

    void loanWindowFromTheMenuToTheScheduleAndBack()
    {
        RoadTalvora main(m.ctx);
        open(main);
        const Worksheet before = main.worksheet();
        bool activeInLoanWindow = false;
        const auto schedules = main.onModal;
        main.onModal = [&](QDialog& child) {
            auto* upac = qobject_cast<UPAC*>(&child);
            if (!upac)
                return schedules(child);
            activeInLoanWindow = m.state.LoanWindowActive;
            const char* texts[] = { "1200000", "100", "12", "1", "0.5" };
            for (int k = 1; k <= 5; ++k)
                QTest::keyClicks(upac->valores(k), texts[k - 1]);
            test::click(*upac, "SistemaPago2");
            test::click(*upac, "Calculos");
        };
        main.findChild<QAction*>("MenuSistemasAmortizacion")->trigger();
        QVERIFY(activeInLoanWindow);
        QVERIFY(!m.state.LoanWindowActive);
        QCOMPARE(m_schedules,
            QStringList(
                { "LIQUIDACION DE PRESTAMOS EN PESOS", "12|1120.74|113194.55|112073.81|0.00" }));
        // The loan window leaves the person's worksheet as it was.
        for (int r = 1; r <= 3; ++r)
            for (int c = kColTipo; c <= kColSensibilidad; ++c)
                QCOMPARE(main.worksheet().cell(r, c), before.cell(r, c));
        QVERIFY(m.messages.shown.empty());
    }

    void planDePagosShowsTheSolvedWorksheet()
    {
        RoadTalvora main(m.ctx);
        open(main);
        main.findChild<QAction*>("MenuCalculosFinancieros")->trigger();
        main.findChild<QAction*>("MenuPlanPagos")->trigger();
        QCOMPARE(
            m_schedules, QStringList({ "LIQUIDACION DE PRESTAMOS", "5|23.98|263.80|239.82|0.00" }));
    }
};

QTEST_MAIN(TstLoanRoad)
#include "tst_loan_road.moc"
