#include "../records/ui/records_ui_test_util.h"
#include "kit/kit_commands.h"

#include <QMessageBox>

using namespace orvex;

class TstKitListar : public QObject {
    Q_OBJECT

private:
    test::WorkFolder folder;

private slots:
    void init() { folder.enter(); }
    void cleanup() { folder.leave(); }

    void nothingToBrowse()
    {
        // "lst.cod" names files that are not all there: those that are go, nothing is shown.
        test::writeHandOff("CLI", test::tableConfig("c.dat", { "Nro" }, { { "Codigo", 4, 40 } }));
        QFile::remove("lstCLI.rg");
        QCOMPARE(kit::runListar({}), kit::kExitNothingToBrowse);
        QVERIFY(!fileExists("lstCLI.ini") && !fileExists("lst.cod"));
        QVERIFY(!fileExists("lstCLI.sel"));

        // No "lst.cod": "No Existen Registros...", and no file of this folder is touched.
        test::writeBytes("lst.ini", "x");
        QString shown;
        test::whenModal([&shown](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            shown = box->windowTitle() + "|" + box->text();
            box->accept();
        });
        QCOMPARE(kit::runListar({}), kit::kExitNothingToBrowse);
        QCOMPARE(shown, QStringLiteral("LISTAR ARCHIVO|No Existen Registros..."));
        QVERIFY(fileExists("lst.ini"));

        QCOMPARE(kit::runListar({ folder.path("no-existe") }), kit::kExitNothingToBrowse);
        QCOMPARE(kit::runListar({ "a", "b" }), kit::kExitNothingToBrowse);
    }
};

QTEST_MAIN(TstKitListar)
#include "tst_kit_listar.moc"
