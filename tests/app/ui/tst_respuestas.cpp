#include "app/respuestas.h"

#include "common/ui/widgets.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace orvex;

class TstRespuestas : public QObject {
    Q_OBJECT

private slots:
    void controlsShowTheThreeIndicators()
    {
        Respuestas window(CalcOutcome::Evaluation { "-49.04", "0.95", "7.71" });
        QCOMPARE(window.objectName(), QStringLiteral("Respuestas"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Indicadores de Evaluación"));
        QCOMPARE(window.size(), QSize(twipsToPixels(7305, &window), twipsToPixels(2700, &window)));

        struct Row {
            const char* caption;
            const char* value;
            int top;
        };
        const Row rows[] = {
            { "Valor Presente Neto, VPN", "-49.04", 90 },
            { "Relación Beneficio - Costo, B/C", "0.95", 740 },
            { "Tasa Interna de Retorno, TIR", "7.71", 1440 },
        };
        for (int i = 1; i <= 3; ++i) {
            const Row& r = rows[i - 1];
            auto* caption = window.findChild<QLabel*>(QStringLiteral("LabelComentario%1").arg(i));
            auto* value = window.findChild<QLabel*>(QStringLiteral("LabelRespuesta%1").arg(i));
            QVERIFY(caption && value);
            QCOMPARE(caption->text(), QString::fromUtf8(r.caption));
            QCOMPARE(value->text(), QString::fromUtf8(r.value));
            QCOMPARE(caption->font().pointSizeF(), 8.25);
            QVERIFY(!caption->font().bold());
            QVERIFY(value->font().bold());
            QCOMPARE(value->font().pointSizeF(), 12.0);
            QCOMPARE(value->palette().color(QPalette::WindowText), QColor(Qt::red));
            QCOMPARE(caption->x(), twipsToPixels(90, &window));
            QCOMPARE(value->x(), twipsToPixels(4050, &window));
            QCOMPARE(value->y(), twipsToPixels(r.top, &window));
            // Rows do not overlap and stay inside the window.
            QVERIFY(value->geometry().bottom() < window.height());
        }
        auto* cerrar = window.findChild<QPushButton*>(QStringLiteral("Cerrar"));
        QVERIFY(cerrar);
        QCOMPARE(cerrar->text(), QStringLiteral("&Cerrar"));
        QCOMPARE(cerrar->geometry(), twipsRect(6525, 2115, 780, 375, &window));
    }

    void cerrarClosesTheWindow()
    {
        Respuestas window(CalcOutcome::Evaluation { "1.00", "2.00", "3.00" });
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Cerrar")), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }

    void altCClosesTheWindow()
    {
        Respuestas window(CalcOutcome::Evaluation { "1.00", "2.00", "3.00" });
        window.open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!window.isVisible()); // a mnemonic clicks after a short animation
    }
};

QTEST_MAIN(TstRespuestas)
#include "tst_respuestas.moc"
