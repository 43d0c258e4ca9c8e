#include "app/respuestas.h"
#include "common/ui/translations.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace orvex;

// What the window shows is checked through the main window's evaluation test.
class TstRespuestas : public QObject {
    Q_OBJECT

private slots:
    // The standard dialogs and buttons speak the program's Spanish.
    void standardButtonsSpeakSpanish()
    {
        QVERIFY(installSpanishTranslations(*qApp));
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Sí"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancelar"));
    }

    void cerrarClosesTheWindow_data()
    {
        QTest::addColumn<bool>("mnemonic");
        QTest::newRow("click") << false;
        QTest::newRow("Alt+C") << true;
    }
    void cerrarClosesTheWindow()
    {
        QFETCH(bool, mnemonic);
        Respuestas window(CalcOutcome::Evaluation { "1.00", "2.00", "3.00" });
        window.open();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (mnemonic)
            QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
        else
            QTest::mouseClick(window.findChild<QPushButton*>("Cerrar"), Qt::LeftButton);
        QTRY_VERIFY(!window.isVisible()); // a mnemonic clicks after a short animation
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TstRespuestas)
#include "tst_respuestas.moc"
