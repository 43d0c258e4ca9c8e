#include "../../worksheet/sheet_builder.h"
#include "app/talvora.h"
#include "loans/ui/liquidacion.h"
#include "loans_ui_test_util.h"
#include "worksheet/worksheet_file.h"

#include <QAction>

using namespace orvex;

namespace {

// The main window with the schedules it opens recorded instead of run modally.
class RoadTalvora : public Talvora {
public:
    using Talvora::Talvora;
    QStringList schedules; // caption and last row of each

protected:
    int runModal(QDialog& child) override
    {
        child.show();
        if (auto* schedule = qobject_cast<Liquidacion*>(&child))
            schedules << schedule->windowTitle()
                      << test::gridRow(schedule->grid(), schedule->grid()->rowCount() - 1);
        child.close();
        return QDialog::Accepted;
    }
};

} // namespace

class TstLoanRoad : public QObject {
    Q_OBJECT

private:
    test::LoanUi m;

private slots:
    void planDePagosShowsTheScheduleOfTheSolvedWorksheet()
    {
        // A loan of 1000 repaid at 10 % by five payments to solve: the schedule reads the
        // worksheet's flows and its rate.
        const QString path = m.dir.filePath("loan.ORV");
        saveWorksheetFile(path.toStdString(),
            test::makeSheet({ { 1, "1000", "0" }, { 2, "Incognita", "0", "5" } }, "10"));
        m.dialogs.names = { path };
        RoadTalvora main(m.ctx);
        main.show();
        main.findChild<QAction*>("MenuAbrir")->trigger();
        main.findChild<QAction*>("MenuCalculosFinancieros")->trigger();
        main.findChild<QAction*>("MenuPlanPagos")->trigger();
        QCOMPARE(main.schedules,
            QStringList({ "LIQUIDACION DE PRESTAMOS", "5|23.98|263.80|239.82|0.00" }));
    }
};

QTEST_MAIN(TstLoanRoad)
#include "tst_loan_road.moc"
