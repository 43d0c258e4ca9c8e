#include "common/file_io.h"
#include "loans/ui/liquidacion.h"
#include "loans/ui/tabla_correccion.h"
#include "loans/ui/upac.h"
#include "loans_ui_test_util.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace orvex;
using test::click;

class TstUpac : public QObject {
    Q_OBJECT

private:
    test::LoanUi m;

    static void type(UPAC& w, const QStringList& texts)
    {
        for (int k = 1; k <= 5; ++k) {
            w.valores(k)->clear();
            QTest::keyClicks(w.valores(k), texts[k - 1]);
        }
    }
    static bool checked(UPAC& w, const char* name)
    {
        return w.findChild<QRadioButton*>(name)->isChecked();
    }

    // Types a 12-month loan at rate, uniform payments, in the currency opcion; types
    // month0Rate into the variation table when given; presses Cálculos. Returns the
    // caption and month 1 of the schedule shown, nothing when none was.
    static QStringList calculos(
        UPAC& w, const QString& rate, const char* opcion, const QString& month0Rate = {})
    {
        type(w, { "1200000", "100", "12", rate, "0.5" });
        click(w, "SistemaPago2");
        click(w, opcion);
        QStringList shown;
        w.runModal = [&](QDialog& dialog) {
            dialog.show();
            if (auto* table = qobject_cast<TablaCorreccion*>(&dialog)) {
                table->grid()->item(0, 1)->setText(month0Rate);
                click(*table, "Salir");
            } else if (auto* schedule = qobject_cast<Liquidacion*>(&dialog)) {
                shown << schedule->windowTitle() << test::gridRow(schedule->grid(), 1);
                schedule->close();
            }
            return 0;
        };
        if (!month0Rate.isEmpty())
            click(w, "Command2");
        click(w, "Calculos");
        return shown;
    }

private slots:
    void init() { m.reset(); }

    void enterMovesToTheNextField()
    {
        UPAC window(m.ctx);
        QVERIFY(m.state.LoanWindowActive);
        QVERIFY(checked(window, "Opcion2") && checked(window, "SistemaPago1"));
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.valores(1)->setFocus();
        for (int k = 1; k < 5; ++k) {
            QTest::keyClick(window.valores(k), Qt::Key_Return);
            QTRY_VERIFY(window.valores(k + 1)->hasFocus());
        }
        // Enter in the last field presses no button: nothing was calculated.
        QTest::keyClick(window.valores(5), Qt::Key_Return);
        QVERIFY(!m.state.hasFlows());
    }

    void calculosOpensTheScheduleOrShowsTheError()
    {
        UPAC window(m.ctx);
        window.show();
        QCOMPARE(calculos(window, "1", "Opcion1"),
            QStringList({ "LIQUIDACION DE PRESTAMOS EN UVRS",
                "1|120.00000|1066.18546|946.18546|11053.81454" }));
        // Month 1 grows by the table's 1 % instead of 0.5 %: 11053.81454 UVR at 101 pesos.
        QCOMPARE(calculos(window, "1", "Opcion2", "1"),
            QStringList({ "LIQUIDACION DE PRESTAMOS EN PESOS",
                "1|12120.00|107684.73|95564.73|1116435.27" }));
        QCOMPARE(window.variationTable()->grid()->rowCount(), 13);
        QVERIFY(m.messages.shown.empty());
        QCOMPARE(calculos(window, "0", "Opcion1"), QStringList());
        QVERIFY(m.onlyCalcError());
    }

    void converterWritesIntoTheChosenRateField()
    {
        UPAC window(m.ctx);
        window.show();
        // ConvertirTasa1 serves the real rate (Valores4), ConvertirTasa2 the variation.
        for (int field : { 2, 1 }) {
            window.valores(4)->setText("keep");
            window.valores(5)->setText("keep");
            click(window, field == 1 ? "ConvertirTasa1" : "ConvertirTasa2");
            QCOMPARE(m.state.LoanRateField, std::int16_t(field));
            QWidget* converter = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                converter
                    = top->objectName() == "TasaInteres" && top->isVisible() ? top : converter;
            QVERIFY(converter);
            QTest::keyClicks(converter->findChild<QLineEdit*>("TasaConocida"), "12");
            click(*converter, "Calculos");
            const QString converted = converter->findChild<QLabel*>("TasaDesconocida")->text();
            QVERIFY(!converted.isEmpty());
            click(*converter, "Boton0");
            QCOMPARE(window.valores(3 + field)->text(), converted);
            QCOMPARE(window.valores(6 - field)->text(), QStringLiteral("keep"));
        }
    }

    void filesThroughTheDialogs()
    {
        const QString path = m.dir.filePath("a.upa");
        const QString bad = m.dir.filePath("bad.upa");
        writeFileAtomically(bad.toStdString(), std::string(54, '1') + "71");
        {
            UPAC window(m.ctx);
            type(window, { "1200000", "100", "12", "1", "0.5" });
            click(window, "SistemaPago3");
            click(window, "Opcion1");
            m.dialogs.names = { path };
            click(window, "Cargar0");
        }
        QCOMPARE(m.dialogs.filters.value(0), QStringLiteral("de Upac (*.upa)"));
        QCOMPARE(m.dialogs.suffixes, QStringList { "upa" }); // the dialog adds ".upa"
        QCOMPARE(readWholeFile(path.toStdString()),
            std::string("1200000        100            12    1        0.5      31        "));

        // Loaded back as stored; then a bad file and a cancelled dialog change nothing.
        UPAC window(m.ctx);
        m.dialogs.names = { path, bad, QString() };
        for (int k = 0; k < 3; ++k)
            click(window, "Cargar1");
        QCOMPARE(window.valores(1)->text(), QStringLiteral("1200000        "));
        QCOMPARE(window.valores(3)->text(), QStringLiteral("12    "));
        QVERIFY(checked(window, "SistemaPago3") && checked(window, "Opcion1"));
        QCOMPARE(m.messages.shown.size(), std::size_t(1));
        QVERIFY(m.messages.shown[0].text.contains(bad));
        QVERIFY(m.messages.shown[0].icon == MsgIcon::Exclamation);
    }
};

QTEST_MAIN(TstUpac)
#include "tst_upac.moc"
