#include "../charts_test_util.h"
#include "charts/ui/chart_view.h"
#include "charts/ui/plan_graf.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"

#include <QAction>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

using namespace orvex;

namespace {

const QRgb kBlue = qRgb(0, 0, 128);
const QRgb kGreen = qRgb(0, 128, 0);
const QRgb kCyan = qRgb(0, 128, 128);
const QRgb kRed = qRgb(128, 0, 0);

std::set<QRgb> curveColours(const PlanGraf& w)
{
    std::set<QRgb> colours;
    for (const auto& l : w.view()->displayList().lines())
        if (l.width == 1)
            colours.insert(qRgb(l.colour.r, l.colour.g, l.colour.b));
    return colours;
}

int pixelsOf(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                ++n;
    return n;
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
        m_state = SharedState {};
        m_state.FirstPeriod = 0;
        m_state.LastPeriod = 12;
        m_messages.shown.clear();
    }

    void menuClicksToggleAndRedraw()
    {
        PlanGraf w(m_ctx, test::uvrLoanRows(12));
        for (int i : { 1, 2, 3, 4, 6 })
            QVERIFY(item(&w, i)->isCheckable() && !item(&w, i)->isChecked());
        QVERIFY(item(&w, 5)->isSeparator());

        w.show(); // acts as a click on "Todas las Curvas"
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(item(&w, 6)->isChecked());
        QCOMPARE(curveColours(w), (std::set<QRgb> { kBlue, kGreen, kCyan, kRed }));
        QImage image = w.view()->grab().toImage();
        for (QRgb c : { kBlue, kCyan, kRed })
            QVERIFY2(pixelsOf(image, c) > 20, qPrintable(QString::number(c, 16)));

        item(&w, 1)->trigger(); // hidden behind "Todas las Curvas"
        QVERIFY(item(&w, 1)->isChecked());
        QCOMPARE(curveColours(w).size(), std::size_t(4));
        item(&w, 6)->trigger();
        QCOMPARE(curveColours(w), (std::set<QRgb> { kBlue }));
        image = w.view()->grab().toImage();
        QVERIFY(pixelsOf(image, kBlue) > 20);
        QCOMPARE(pixelsOf(image, kRed), 0);

        item(&w, 4)->trigger();
        QCOMPARE(curveColours(w), (std::set<QRgb> { kBlue, kRed }));
        item(&w, 1)->trigger();
        item(&w, 4)->trigger();
        QVERIFY(w.view()->displayList().items.empty()); // nothing selected, nothing drawn
        QVERIFY(m_messages.shown.empty());
    }

    void savesTheCurvesShownAsSvg()
    {
        QTemporaryDir dir;
        PlanGraf w(m_ctx, test::uvrLoanRows(12));
        w.show();
        item(&w, 6)->trigger();
        item(&w, 2)->trigger(); // only the instalment
        const QString path = dir.filePath(QStringLiteral("plan.svg"));
        m_files.names.push_back(path);
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string svg = file.readAll().toStdString();
        // Two axes and the instalment from period 1 to 12 (period 0 has none).
        QCOMPARE(test::count(svg, "stroke=\"#008000\""), 2 + 11);
        QCOMPARE(test::count(svg, "<line"), 13);
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

    void doubleClickCloses()
    {
        PlanGraf w(m_ctx, test::uvrLoanRows(12));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseDClick(w.view(), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TstPlanGraf)
#include "tst_plangraf.moc"
