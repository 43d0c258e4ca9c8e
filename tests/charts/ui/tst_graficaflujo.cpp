// The two charts: the flow diagram and the payment plan.
#include "../../ui_test_util.h"
#include "../charts_test_util.h"
#include "charts/ui/chart_view.h"
#include "charts/ui/grafica_flujo.h"
#include "charts/ui/plan_graf.h"
#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvex;

namespace {

const QColor kRed(128, 0, 0);
const QColor kBlackColour(0, 0, 0);

// True when a pixel of the colour lies within one pixel of (x, y).
bool colourNear(const QImage& image, int x, int y, const QColor& colour)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (image.valid(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == colour)
                return true;
    return false;
}

// The curves drawn, as the colours of the width-1 lines: "B" blue, "G" green, "C" cyan, "R" red.
QString curves(const PlanGraf& w)
{
    QString drawn;
    for (const auto& l : w.view()->displayList().lines()) {
        const QChar c = l.colour == kDarkBlue ? 'B'
            : l.colour == kDarkGreen          ? 'G'
            : l.colour == kDarkCyan           ? 'C'
                                              : 'R';
        if (l.width == 1 && !drawn.contains(c))
            drawn += c;
    }
    return drawn;
}

QAction* item(QWidget* w, int index)
{
    return w->findChild<QAction*>(QStringLiteral("Menu0%1").arg(index));
}

} // namespace

class TstGraficaFlujo : public QObject {
    Q_OBJECT

private:
    test::AppUi m;
    QTemporaryDir m_dir;

    void saveAs(GraficaFlujo& w, const QString& name)
    {
        m.dialogs.names.push_back(m_dir.filePath(name));
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger();
    }

private slots:
    void init()
    {
        m.reset();
        m.state = test::flowExample();
    }

    void outflowIsDarkRedBelowTheAxisAndInflowBlackAboveUntilADoubleClick()
    {
        GraficaFlujo w(m.ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        const QImage image = w.view()->grab().toImage();
        QCOMPARE(image.size(), QSize(612, 348));
        // x from −1 to 5 over 612 pixels: period p at 102 × (p + 1). y from 441 down to
        // −1141 over 348 pixels: the axis at 97, 300 at 31, −1000 at 317.
        QVERIFY(colourNear(image, 102, 300, kRed) && !colourNear(image, 102, 330, kRed));
        QVERIFY(
            colourNear(image, 306, 40, kBlackColour) && !colourNear(image, 306, 20, kBlackColour));
        QVERIFY(!colourNear(image, 306, 200, kBlackColour)); // nothing below the axis

        // The picture must not vanish while the window is open.
        const QImage first = w.view()->grab().toImage();
        w.view()->repaint();
        QCOMPARE(w.view()->grab().toImage(), first);
        QVERIFY(m.messages.shown.empty());
        QTest::mouseDClick(w.view(), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    void failureShowsTheCalculationErrorAndCloses()
    {
        // Before any calculation, and with a single period (a picture without width).
        for (const SharedState& state : { SharedState {}, test::flowState(3, 3, { 100 }, { 0 }) }) {
            m.state = state;
            m.messages.shown.clear();
            GraficaFlujo w(m.ctx);
            w.show();
            QTRY_VERIFY(!w.isVisible());
            QCOMPARE(m.messages.shown.size(), std::size_t(1));
            QCOMPARE(m.messages.shown[0].text, QString::fromUtf8(kCalcErrorMessage));
            QCOMPARE(m.messages.shown[0].title, QStringLiteral("ERROR"));
            QCOMPARE(m.messages.shown[0].icon, MsgIcon::Critical);
        }
    }

    // "Guardar imagen..." stands in the menu "Archivo"; a save says where it went.
    void savesSvgPngOrPdfAndSaysWhereOrWhyNot()
    {
        GraficaFlujo w(m.ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* menu = w.findChild<QMenu*>(QStringLiteral("MenuArchivo"));
        QVERIFY(menu && menu->menuAction()->isVisible());
        QCOMPARE(menu->actions().value(0)->text(), QStringLiteral("Guardar imagen..."));
        m.dialogs.names.push_back(m_dir.filePath(QStringLiteral("diagrama.svg")));
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m.dialogs.suffixes, QStringList { "png" });
        QVERIFY(readWholeFile(us(m_dir.filePath("diagrama.svg"))).find("DIAGRAMA DE FLUJO")
            != std::string::npos);
        QCOMPARE(m.messages.shown.size(), std::size_t(1));
        QCOMPARE(m.messages.shown[0].text,
            QStringLiteral("Imagen guardada en ") + m_dir.filePath("diagrama.svg") + "...");
        QCOMPARE(m.messages.shown[0].icon, MsgIcon::Information);

        saveAs(w, QStringLiteral("notas.png"));
        const QImage png(m_dir.filePath(QStringLiteral("notas.png")));
        QCOMPARE(png.size(), QSize(612, 348));
        QVERIFY(colourNear(png, 102, 200, kRed));
        saveAs(w, QStringLiteral("d.pdf"));
        QFile pdf(m_dir.filePath(QStringLiteral("d.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
        m.messages.shown.clear();
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger(); // cancelled
        QVERIFY(m.messages.shown.empty());
        saveAs(w, QStringLiteral("no/such/folder/d.svg"));
        QCOMPARE(m.messages.shown.size(), std::size_t(1));
        QVERIFY(
            m.messages.shown[0].text.startsWith(QStringLiteral("No se pudo guardar la imagen")));
        QCOMPARE(m.messages.shown[0].icon, MsgIcon::Exclamation);
    }

    void menuClicksToggleRedrawAndSaveWhatIsShown()
    {
        m.state.LastPeriod = 12;
        PlanGraf w(m.ctx, test::kUvrLoanRows);
        for (int i : { 1, 2, 3, 4, 6 })
            QVERIFY(item(&w, i)->isCheckable() && !item(&w, i)->isChecked());
        QVERIFY(item(&w, 5)->isSeparator());
        w.show(); // acts as a click on "Todas las Curvas"
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(item(&w, 6)->isChecked());
        QCOMPARE(curves(w), QStringLiteral("BGCR"));
        item(&w, 1)->trigger(); // the toggling itself is the menu's own test
        item(&w, 6)->trigger();
        QCOMPARE(curves(w), QStringLiteral("B"));
        item(&w, 4)->trigger();
        QCOMPARE(curves(w), QStringLiteral("BR"));

        QTemporaryDir dir;
        m.dialogs.names.push_back(dir.filePath(QStringLiteral("plan.svg")));
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger();
        QFile file(dir.filePath(QStringLiteral("plan.svg")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::string svg = file.readAll().toStdString();
        // Two green axes, interest from period 1 to 2, balance from 0 to 2.
        QCOMPARE(test::count(svg, "stroke=\"#008000\""), 2);
        QCOMPARE(test::count(svg, "stroke=\"#000080\""), 1);
        QCOMPARE(test::count(svg, "stroke=\"#800000\""), 2);

        QCOMPARE(m.messages.shown.size(), std::size_t(1)); // where the image went
        item(&w, 1)->trigger();
        item(&w, 4)->trigger();
        QVERIFY(w.view()->displayList().items.empty()); // nothing selected, nothing drawn
        QTest::mouseDClick(w.view(), Qt::LeftButton);
        QVERIFY(!w.isVisible());
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
};

QTEST_MAIN(TstGraficaFlujo)
#include "tst_graficaflujo.moc"
