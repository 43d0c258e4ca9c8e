#include "charts/ui/chart_view.h"
#include "charts/ui/grafica_flujo.h"
#include "common/calc_error.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"

#include <QAction>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
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

struct SvgSummary {
    bool wellFormed = false;
    QStringList texts;
    QStringList lineColours;
};

SvgSummary readSvg(const QString& path)
{
    QFile file(path);
    SvgSummary summary;
    if (!file.open(QIODevice::ReadOnly))
        return summary;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("line"))
            summary.lineColours << xml.attributes().value(QLatin1String("stroke")).toString();
        else if (xml.name() == QLatin1String("text"))
            summary.texts << xml.readElementText();
    }
    summary.wellFormed = !xml.hasError();
    return summary;
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

    // −1000 at period 0 and 300 at periods 1 to 4.
    void calculateExample()
    {
        m_state.FirstPeriod = 0;
        m_state.LastPeriod = 4;
        m_state.PeriodInflows = std::vector<double> { 0, 300, 300, 300, 300 };
        m_state.PeriodOutflows = std::vector<double> { -1000, 0, 0, 0, 0 };
        m_state.PeriodNetFlows = std::vector<double> { -1000, 300, 300, 300, 300 };
    }

    void saveAs(GraficaFlujo& w, const QString& name)
    {
        m_files.names.push_back(name);
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger();
    }

    void expectCalcErrorAndClosed(GraficaFlujo& w)
    {
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QCOMPARE(m_messages.shown[0].text, QString::fromUtf8(kCalcErrorMessage));
        QCOMPARE(m_messages.shown[0].title, QStringLiteral("ERROR"));
        QCOMPARE(m_messages.shown[0].icon, MsgIcon::Critical);
    }

private slots:
    void init()
    {
        m_state = SharedState {};
        m_messages.shown.clear();
        m_files.names.clear();
    }

    void windowHasItsNamesAndFixedSize()
    {
        calculateExample();
        GraficaFlujo w(m_ctx);
        w.show();
        QCOMPARE(w.objectName(), QStringLiteral("GraficaFlujo"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Grafica Diagrama de Flujo"));
        QCOMPARE(w.size(), QSize(612, 348));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.findChild<ChartView*>(QStringLiteral("Grafica")));
        QAction* save = w.findChild<QAction*>(QStringLiteral("GuardarImagen"));
        QVERIFY(save);
        QCOMPARE(save->text(), QStringLiteral("Guardar imagen..."));
        QCOMPARE(save->shortcut(), QKeySequence(QKeySequence::Save));
        QVERIFY(m_messages.shown.empty());
    }

    void outflowIsDarkRedBelowTheAxisAndInflowBlackAbove()
    {
        calculateExample();
        GraficaFlujo w(m_ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage image = w.grab().toImage();
        QCOMPARE(image.size(), QSize(612, 348));
        // x from −1 to 5 over 612 pixels: period p at 102 × (p + 1). y from 441 down to
        // −1141 over 348 pixels: the axis at 97, 300 at 31, −1000 at 317.
        QVERIFY(colourNear(image, 102, 200, kRed));
        QVERIFY(colourNear(image, 102, 300, kRed));
        QVERIFY(!colourNear(image, 102, 330, kRed)); // the line stops at −1000
        for (int p = 1; p <= 4; ++p) {
            QVERIFY(colourNear(image, 102 * (p + 1), 60, kBlackColour));
            QVERIFY(colourNear(image, 102 * (p + 1), 40, kBlackColour));
            QVERIFY(!colourNear(image, 102 * (p + 1), 200, kBlackColour)); // nothing below the axis
            QVERIFY(!colourNear(image, 102 * (p + 1), 20, kBlackColour)); // stops at 300
        }
        QVERIFY(!colourNear(image, 153, 200, kRed)); // between the periods: nothing
    }

    void pictureSurvivesRepaints()
    {
        calculateExample();
        GraficaFlujo w(m_ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage first = w.view()->grab().toImage();
        w.view()->repaint();
        QCOMPARE(w.view()->grab().toImage(), first);
    }

    void doubleClickCloses()
    {
        calculateExample();
        GraficaFlujo w(m_ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseDClick(w.view(), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(m_messages.shown.empty());
    }

    void beforeAnyCalculationShowsTheErrorAndCloses()
    {
        GraficaFlujo w(m_ctx);
        w.show();
        expectCalcErrorAndClosed(w);
    }

    void singlePeriodShowsTheErrorAndCloses()
    {
        m_state.FirstPeriod = m_state.LastPeriod = 3;
        m_state.resetFlows(1);
        (*m_state.PeriodInflows)[0] = 100;
        GraficaFlujo w(m_ctx);
        w.show();
        expectCalcErrorAndClosed(w);
    }

    void savesSvgWithTheTitleAndOneLinePerFlow()
    {
        calculateExample();
        GraficaFlujo w(m_ctx);
        w.show();
        const QString path = m_dir.filePath(QStringLiteral("diagrama.svg"));
        saveAs(w, path);
        QVERIFY(m_messages.shown.empty());
        const SvgSummary svg = readSvg(path);
        QVERIFY(svg.wellFormed);
        QVERIFY(svg.texts.contains(QStringLiteral("DIAGRAMA DE FLUJO")));
        QVERIFY(svg.texts.contains(QStringLiteral("-1000")));
        QCOMPARE(svg.lineColours.count(QStringLiteral("#000000")), 4);
        QCOMPARE(svg.lineColours.count(QStringLiteral("#800000")), 1);
        QCOMPARE(svg.lineColours.count(QStringLiteral("#008000")), 2);
    }

    void ctrlSAndTheContextMenuOfferSaving()
    {
        calculateExample();
        GraficaFlujo w(m_ctx);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(w.actions().contains(w.findChild<QAction*>(QStringLiteral("GuardarImagen"))));
        const QString path = m_dir.filePath(QStringLiteral("teclado.svg"));
        m_files.names.push_back(path);
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(m_files.names.empty());
        QVERIFY(readSvg(path).wellFormed);
    }

    void savesPngAndPdfByTheNameAndPngWithoutAKnownExtension()
    {
        calculateExample();
        GraficaFlujo w(m_ctx);
        w.show();
        saveAs(w, m_dir.filePath(QStringLiteral("d.PNG")));
        const QImage png(m_dir.filePath(QStringLiteral("d.PNG")));
        QCOMPARE(png.size(), QSize(612, 348));
        QVERIFY(colourNear(png, 102, 200, kRed));

        saveAs(w, m_dir.filePath(QStringLiteral("d.pdf")));
        QFile pdf(m_dir.filePath(QStringLiteral("d.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");

        saveAs(w, m_dir.filePath(QStringLiteral("notas")));
        QVERIFY(!QImage(m_dir.filePath(QStringLiteral("notas.png"))).isNull());
        QVERIFY(m_messages.shown.empty());
    }

    void cancelledOrFailedSaveWritesNothingAndSaysWhy()
    {
        calculateExample();
        GraficaFlujo w(m_ctx);
        w.show();
        w.findChild<QAction*>(QStringLiteral("GuardarImagen"))->trigger(); // cancelled
        QVERIFY(m_messages.shown.empty());
        saveAs(w, m_dir.filePath(QStringLiteral("no/such/folder/d.svg")));
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QVERIFY(
            m_messages.shown[0].text.startsWith(QStringLiteral("No se pudo guardar la imagen")));
        QCOMPARE(m_messages.shown[0].icon, MsgIcon::Exclamation);
    }
};

QTEST_MAIN(TstGraficaFlujo)
#include "tst_graficaflujo.moc"
