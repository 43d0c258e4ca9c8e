#include "charts/ui/chart_view.h"
#include "charts/ui/plan_graf.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"

#include <QAction>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <set>

using namespace orvex;

namespace {

// The 12-month loan of 12000 UVR at 1 % a month with a uniform instalment, as the
// schedule grid shows it (first three periods and the last).
std::vector<ScheduleGridRow> loanRows()
{
    std::vector<ScheduleGridRow> rows {
        { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" },
        { "0", "", "", "", "12000.00000" },
        { "1", "120.00000", "1066.18546", "946.18546", "11053.81454" },
        { "2", "110.53815", "1066.18546", "955.64732", "10098.16722" },
    };
    double balance = 10098.16722;
    for (int p = 3; p <= 12; ++p) {
        const double interest = balance * 0.01;
        const double capital = 1066.18546 - interest;
        balance -= capital;
        rows.push_back({ std::to_string(p), std::to_string(interest), "1066.18546",
            std::to_string(capital), std::to_string(std::max(balance, 0.0)) });
    }
    return rows;
}

std::set<QRgb> curveColours(const DisplayList& list)
{
    std::set<QRgb> colours;
    for (const auto& l : list.lines())
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

const QRgb kBlue = qRgb(0, 0, 128);
const QRgb kGreen = qRgb(0, 128, 0);
const QRgb kCyan = qRgb(0, 128, 128);
const QRgb kRed = qRgb(128, 0, 0);

} // namespace

class TstPlanGraf : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_files;
    AppContext m_ctx { m_state, m_messages, m_files };

    static QAction* item(QWidget* w, int index)
    {
        return w->findChild<QAction*>(QStringLiteral("Menu0%1").arg(index));
    }

private slots:
    void init()
    {
        m_state = SharedState {};
        m_state.FirstPeriod = 0;
        m_state.LastPeriod = 12;
        m_messages.shown.clear();
    }

    void menuHasItsNamesAndStartsUnchecked()
    {
        PlanGraf w(m_ctx, loanRows());
        QCOMPARE(w.objectName(), QStringLiteral("PlanGraf"));
        QCOMPARE(w.windowTitle(), QStringLiteral("PLAN DE PAGOS"));
        QMenu* menu = w.findChild<QMenu*>(QStringLiteral("VerGraficas"));
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("Ver Gráficas"));
        const QStringList captions { "Pago Intereses", "Pago Cuota", "Pago Capital", "Saldo" };
        for (int i = 1; i <= 4; ++i) {
            QVERIFY(item(&w, i));
            QCOMPARE(item(&w, i)->text(), captions[i - 1]);
            QVERIFY(item(&w, i)->isCheckable());
            QVERIFY(!item(&w, i)->isChecked());
        }
        QVERIFY(item(&w, 5)->isSeparator());
        QCOMPARE(item(&w, 6)->text(), QStringLiteral("Todas las Curvas"));
        QVERIFY(!item(&w, 6)->isChecked());
        QCOMPARE(menu->actions().size(), 6);
        QVERIFY(w.findChild<QAction*>(QStringLiteral("GuardarImagen")));
    }

    void aNewWindowShowsAllFourCurves()
    {
        PlanGraf w(m_ctx, loanRows());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(item(&w, 6)->isChecked());
        QCOMPARE(
            curveColours(w.view()->displayList()), (std::set<QRgb> { kBlue, kGreen, kCyan, kRed }));
        const QImage image = w.view()->grab().toImage();
        QVERIFY(image.width() >= 487 && image.height() >= 272);
        for (QRgb c : { kBlue, kCyan, kRed })
            QVERIFY2(pixelsOf(image, c) > 20, qPrintable(QString::number(c, 16)));
    }

    void menuClicksToggleAndRedraw()
    {
        PlanGraf w(m_ctx, loanRows());
        w.show();
        item(&w, 1)->trigger(); // hidden behind "Todas las Curvas"
        QVERIFY(item(&w, 1)->isChecked());
        QCOMPARE(curveColours(w.view()->displayList()).size(), std::size_t(4));

        item(&w, 6)->trigger();
        QVERIFY(!item(&w, 6)->isChecked());
        QCOMPARE(curveColours(w.view()->displayList()), (std::set<QRgb> { kBlue }));
        const QImage image = w.view()->grab().toImage();
        QVERIFY(pixelsOf(image, kBlue) > 20);
        QCOMPARE(pixelsOf(image, kRed), 0);

        item(&w, 4)->trigger();
        QCOMPARE(curveColours(w.view()->displayList()), (std::set<QRgb> { kBlue, kRed }));
        item(&w, 1)->trigger();
        item(&w, 4)->trigger();
        QVERIFY(w.view()->displayList().items.empty()); // nothing selected, nothing drawn
        QVERIFY(m_messages.shown.empty());
    }

    void savesTheCurvesShownAsSvg()
    {
        QTemporaryDir dir;
        PlanGraf w(m_ctx, loanRows());
        w.show();
        item(&w, 6)->trigger();
        item(&w, 2)->trigger(); // only the instalment
        const QString path = dir.filePath(QStringLiteral("plan.svg"));
        m_files.names.push_back(path);
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList colours;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("line"))
                colours << xml.attributes().value(QLatin1String("stroke")).toString();
        }
        QVERIFY(!xml.hasError());
        // Two axes and the instalment from period 1 to 12 (period 0 has none).
        QCOMPARE(colours.count(QStringLiteral("#008000")), 2 + 11);
        QCOMPARE(colours.size(), 13);
    }

    void readsTheRowsOfATableWidget()
    {
        // The header row is the grid's horizontal header, as the schedule window shows it.
        QTableWidget grid(2, 5);
        grid.setHorizontalHeaderLabels(
            { "Período", "Pago Intereses", "Cuota", "Pago Capital", "Saldo" });
        grid.setItem(0, 4, new QTableWidgetItem(QStringLiteral("100.00")));
        grid.setItem(1, 0, new QTableWidgetItem(QStringLiteral("1")));
        grid.setItem(1, 1, new QTableWidgetItem(QStringLiteral("2.50")));
        const auto rows = scheduleRowsFromGrid(grid);
        QCOMPARE(rows.size(), std::size_t(3));
        QCOMPARE(rows[0][0], std::string("Período"));
        QCOMPARE(rows[0][4], std::string("Saldo"));
        QCOMPARE(rows[1][4], std::string("100.00"));
        QCOMPARE(rows[1][0], std::string());
        QCOMPARE(rows[2][0], std::string("1"));
        QCOMPARE(rows[2][1], std::string("2.50"));
    }

    void doubleClickCloses()
    {
        PlanGraf w(m_ctx, loanRows());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseDClick(w.view(), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TstPlanGraf)
#include "tst_plangraf.moc"
