#include "../charts_test_util.h"
#include "charts/ui/chart_view.h"
#include "charts/ui/grafica_flujo.h"
#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"

#include <QAction>
#include <QImage>
#include <QMenu>
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

} // namespace

class TstGraficaFlujo : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_files;
    AppContext m_ctx { m_state, m_messages, m_files };
    QTemporaryDir m_dir;

    void saveAs(GraficaFlujo& w, const QString& name)
    {
        m_files.names.push_back(m_dir.filePath(name));
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger();
    }

private slots:
    void init()
    {
        m_state = test::flowExample();
        m_messages.shown.clear();
        m_files.names.clear();
    }

    void outflowIsDarkRedBelowTheAxisAndInflowBlackAboveUntilADoubleClick()
    {
        GraficaFlujo w(m_ctx);
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
        QVERIFY(m_messages.shown.empty());
        QTest::mouseDClick(w.view(), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    void failureShowsTheCalculationErrorAndCloses()
    {
        // Before any calculation, and with a single period (a picture without width).
        for (const SharedState& state : { SharedState {}, test::flowState(3, 3, { 100 }, { 0 }) }) {
            m_state = state;
            m_messages.shown.clear();
            GraficaFlujo w(m_ctx);
            w.show();
            QTRY_VERIFY(!w.isVisible());
            QCOMPARE(m_messages.shown.size(), std::size_t(1));
            QCOMPARE(m_messages.shown[0].text, QString::fromUtf8(kCalcErrorMessage));
            QCOMPARE(m_messages.shown[0].title, QStringLiteral("ERROR"));
            QCOMPARE(m_messages.shown[0].icon, MsgIcon::Critical);
        }
    }

    // "Guardar imagen..." stands in the menu "Archivo"; a save says where it went.
    void savesSvgPngOrPdfAndSaysWhereOrWhyNot()
    {
        GraficaFlujo w(m_ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* menu = w.findChild<QMenu*>(QStringLiteral("MenuArchivo"));
        QVERIFY(menu && menu->menuAction()->isVisible());
        QCOMPARE(menu->actions().value(0)->text(), QStringLiteral("Guardar imagen..."));
        m_files.names.push_back(m_dir.filePath(QStringLiteral("diagrama.svg")));
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_files.suffixes, QStringList { "png" });
        QVERIFY(readWholeFile(us(m_dir.filePath("diagrama.svg"))).find("DIAGRAMA DE FLUJO")
            != std::string::npos);
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QCOMPARE(m_messages.shown[0].text,
            QStringLiteral("Imagen guardada en ") + m_dir.filePath("diagrama.svg") + "...");
        QCOMPARE(m_messages.shown[0].icon, MsgIcon::Information);

        saveAs(w, QStringLiteral("notas.png"));
        const QImage png(m_dir.filePath(QStringLiteral("notas.png")));
        QCOMPARE(png.size(), QSize(612, 348));
        QVERIFY(colourNear(png, 102, 200, kRed));
        saveAs(w, QStringLiteral("d.pdf"));
        QFile pdf(m_dir.filePath(QStringLiteral("d.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
        m_messages.shown.clear();
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger(); // cancelled
        QVERIFY(m_messages.shown.empty());
        saveAs(w, QStringLiteral("no/such/folder/d.svg"));
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QVERIFY(
            m_messages.shown[0].text.startsWith(QStringLiteral("No se pudo guardar la imagen")));
        QCOMPARE(m_messages.shown[0].icon, MsgIcon::Exclamation);
    }
};

QTEST_MAIN(TstGraficaFlujo)
#include "tst_graficaflujo.moc"
