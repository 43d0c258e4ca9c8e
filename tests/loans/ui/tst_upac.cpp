#include "common/calc_error.h"
#include "common/file_io.h"
#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "loans/ui/liquidacion.h"
#include "loans/ui/tabla_correccion.h"
#include "loans/ui/upac.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvex;

class TstUpac : public QObject {
    Q_OBJECT

private:
    SharedState m_state;
    ScriptedMessageService m_messages;
    ScriptedFileDialogService m_dialogs;
    AppContext m_ctx { m_state, m_messages, m_dialogs };
    QTemporaryDir m_dir;

    static QLineEdit* field(UPAC& w, int k)
    {
        return w.findChild<QLineEdit*>(QStringLiteral("Valores%1").arg(k));
    }
    static void click(UPAC& w, const char* name)
    {
        auto* button = w.findChild<QAbstractButton*>(name);
        QVERIFY2(button, name);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static void type(UPAC& w, const QStringList& texts)
    {
        for (int k = 1; k <= 5; ++k) {
            field(w, k)->clear();
            QTest::keyClicks(field(w, k), texts[k - 1]);
        }
    }

private slots:
    void init()
    {
        m_state = SharedState {};
        m_messages.shown.clear();
        m_dialogs.names.clear();
        m_dialogs.filters.clear();
    }

    void controlsCarryTheirNamesAndDefaults()
    {
        UPAC window(m_ctx);
        QVERIFY(m_state.LoanWindowActive);
        QCOMPARE(window.windowTitle(), QStringLiteral("SISTEMA DE FINANCIACION EN UVR"));
        for (int k = 1; k <= 5; ++k) {
            QVERIFY(field(window, k));
            QVERIFY(field(window, k)->text().isEmpty());
        }
        const QStringList labels
            = { "Valor Préstamo ($)", "Valor Inicial de la  UVR", "Plazo (Meses)" };
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LValor%1").arg(k))->text(),
                labels[k - 1]);
        const struct {
            const char* name;
            const char* caption;
        } buttons[] = {
            { "ConvertirTasa1", "Convertir Tasa" },
            { "ConvertirTasa2", "Convertir Tasa" },
            { "Command2", "Definir Tasas de Variación en el Tiempo" },
            { "Calculos", "Cálculos" },
            { "Opcion1", "En UVR" },
            { "Opcion2", "En Pesos" },
            { "SistemaPago1", "Pago Constante a Capital en UVR" },
            { "SistemaPago2", "Cuota Uniforme en UVR" },
            { "SistemaPago3", "Cuotas Preestablecidas" },
            { "Cargar0", "Grabar" },
            { "Cargar1", "Cargar" },
            { "Salir", "Salir" },
        };
        for (const auto& b : buttons) {
            auto* button = window.findChild<QAbstractButton*>(b.name);
            QVERIFY2(button, b.name);
            QCOMPARE(button->text(), QString::fromUtf8(b.caption));
        }
        QVERIFY(window.findChild<QRadioButton*>("Opcion2")->isChecked());
        QVERIFY(window.findChild<QRadioButton*>("SistemaPago1")->isChecked());
    }

    void enterMovesToTheNextField()
    {
        UPAC window(m_ctx);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field(window, 1)->setFocus();
        for (int k = 1; k < 5; ++k) {
            QTest::keyClick(field(window, k), Qt::Key_Return);
            QTRY_VERIFY(field(window, k + 1)->hasFocus());
        }
        // Enter in the last field presses no button: nothing was calculated.
        QTest::keyClick(field(window, 5), Qt::Key_Return);
        QVERIFY(!m_state.hasFlows());
        QVERIFY(window.isVisible());
    }

    void calculosOpensTheScheduleInUvr()
    {
        UPAC window(m_ctx);
        window.show();
        type(window, { "1200000", "100", "12", "1", "0.5" });
        click(window, "SistemaPago2");
        click(window, "Opcion1");
        QStringList rows;
        QString caption, clipboard;
        window.runModal = [&](QDialog& dialog) {
            auto* schedule = qobject_cast<Liquidacion*>(&dialog);
            if (!schedule)
                return 0;
            schedule->show();
            caption = schedule->windowTitle();
            QTableWidget* grid = schedule->findChild<QTableWidget*>("Celdas");
            for (int r : { 0, 1, 12 }) {
                QStringList cells;
                for (int c = 0; c < 5; ++c)
                    cells << grid->item(r, c)->text();
                rows << cells.join('|');
            }
            schedule->findChild<QAction*>("Menu10")->trigger();
            clipboard = QApplication::clipboard()->text();
            schedule->close();
            return 0;
        };
        click(window, "Calculos");
        QVERIFY(m_messages.shown.empty());
        QCOMPARE(caption, QStringLiteral("LIQUIDACION DE PRESTAMOS EN UVRS"));
        QCOMPARE(rows,
            QStringList({ "0||||12000.00000", "1|120.00000|1066.18546|946.18546|11053.81454",
                "12|10.55629|1066.18546|1055.62917|0.00000" }));
        QCOMPARE(clipboard.count(QStringLiteral("\t\r\n")), 14);
        QVERIFY(
            clipboard.startsWith(QStringLiteral("Período\tPago Intereses\tCuota\tPago "
                                                "Capital\tSaldo\t\r\n0\t\t\t\t12000.00000\t\r\n")));
    }

    void calculosInPesosFollowsTheVariationTable()
    {
        UPAC window(m_ctx);
        window.show();
        type(window, { "1200000", "100", "12", "1", "0.5" });
        click(window, "SistemaPago2");
        QString month1;
        window.runModal = [&](QDialog& dialog) {
            if (auto* table = qobject_cast<TablaCorreccion*>(&dialog)) {
                table->show();
                table->grid()->item(0, 1)->setText(QStringLiteral("1"));
                QTest::mouseClick(table->findChild<QPushButton*>("Salir"), Qt::LeftButton);
            } else if (auto* schedule = qobject_cast<Liquidacion*>(&dialog)) {
                schedule->show();
                month1 = schedule->grid()->item(1, 4)->text();
                schedule->close();
            }
            return 0;
        };
        click(window, "Command2");
        QVERIFY(window.variationTable());
        QCOMPARE(window.variationTable()->grid()->rowCount(), 13);
        click(window, "Calculos");
        // Month 1 grows by the table's 1 % instead of 0.5 %: 11053.81454 UVR at 101 pesos.
        QCOMPARE(month1, QStringLiteral("1116435.27"));
    }

    void failedCalculationShowsTheMessageAndNoSchedule()
    {
        UPAC window(m_ctx);
        window.show();
        type(window, { "1200000", "100", "12", "0", "0" });
        click(window, "SistemaPago2");
        bool opened = false;
        window.runModal = [&](QDialog&) {
            opened = true;
            return 0;
        };
        click(window, "Calculos");
        QVERIFY(!opened);
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QCOMPARE(m_messages.shown[0].text, QString::fromUtf8(kCalcErrorMessage));
        QVERIFY(m_messages.shown[0].icon == MsgIcon::Critical);
    }

    void saveAndLoadThroughTheDialogs()
    {
        const QString path = m_dir.filePath("a.upa");
        {
            UPAC window(m_ctx);
            window.show();
            type(window, { "1200000", "100", "12", "1", "0.5" });
            click(window, "SistemaPago3");
            click(window, "Opcion1");
            m_dialogs.names = { path };
            click(window, "Cargar0");
        }
        QCOMPARE(m_dialogs.filters.value(0), QStringLiteral("de Upac (*.upa)"));
        QCOMPARE(readWholeFile(path.toStdString()),
            std::string("1200000        100            12    1        0.5      31        "));

        UPAC window(m_ctx);
        window.show();
        m_dialogs.names = { path };
        click(window, "Cargar1");
        QCOMPARE(field(window, 1)->text(), QStringLiteral("1200000        "));
        QCOMPARE(field(window, 3)->text(), QStringLiteral("12    "));
        QVERIFY(window.findChild<QRadioButton*>("SistemaPago3")->isChecked());
        QVERIFY(window.findChild<QRadioButton*>("Opcion1")->isChecked());
        QVERIFY(m_messages.shown.empty());
    }

    void badFileIsRefusedAndNothingLoaded()
    {
        const QString path = m_dir.filePath("bad.upa");
        writeFileAtomically(path.toStdString(), std::string(54, '1') + "71");
        UPAC window(m_ctx);
        window.show();
        QTest::keyClicks(field(window, 1), "5");
        m_dialogs.names = { path, QString() };
        click(window, "Cargar1");
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
        QVERIFY(m_messages.shown[0].text.contains(path));
        QVERIFY(m_messages.shown[0].icon == MsgIcon::Exclamation);
        QCOMPARE(field(window, 1)->text(), QStringLiteral("5"));
        QVERIFY(window.findChild<QRadioButton*>("SistemaPago1")->isChecked());
        // A cancelled dialog does nothing.
        click(window, "Cargar1");
        QCOMPARE(m_messages.shown.size(), std::size_t(1));
    }

    void convertirTasaChoosesTheField()
    {
        UPAC window(m_ctx);
        window.show();
        click(window, "ConvertirTasa2");
        QCOMPARE(m_state.LoanRateField, std::int16_t(2));
        QWidget* converter = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("TasaInteres") && top->isVisible())
                converter = top;
        QVERIFY(converter);
        converter->close();
        click(window, "ConvertirTasa1");
        QCOMPARE(m_state.LoanRateField, std::int16_t(1));
    }
};

QTEST_MAIN(TstUpac)
#include "tst_upac.moc"
