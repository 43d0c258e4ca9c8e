#include "printing/ui/caja.h"
#include "printing_ui_test_util.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace orvex;

class TstCaja : public QObject {
    Q_OBJECT

private:
    test::WorkFolder folder;

    static QComboBox* codigo(Caja& c) { return c.findChild<QComboBox*>("Codigo"); }
    static QLineEdit* texto(Caja& c) { return c.findChild<QLineEdit*>("Texto"); }
    static void ask(
        Caja& c, const QString& defaultAnswer, const QString& listMode, const QString& pattern = {})
    {
        c.hide();
        c.label(1)->setText(QStringLiteral("¿Cuál?"));
        c.label(2)->setText(defaultAnswer);
        c.label(3)->setText(listMode);
        c.label(4)->setText(pattern);
        c.show();
    }

private slots:
    void init() { folder.enter(); }
    void cleanup() { folder.leave(); }

    void controlsAndDefaults()
    {
        Caja c;
        QCOMPARE(c.windowTitle(), QStringLiteral("CAJA"));
        const char* texts[] = { "Label1", "Defecto", "SNLista Archivos", "Lista" };
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(c.findChild<QLabel*>(QStringLiteral("Label%1").arg(i))->text(),
                QString::fromUtf8(texts[i - 1]));
        QCOMPARE(c.findChild<QPushButton*>("Boton0")->text(), QStringLiteral("&Ok"));
        QCOMPARE(c.findChild<QPushButton*>("Boton1")->text(), QStringLiteral("&Cancela"));
        QVERIFY(codigo(c)->isEditable());
        // The design text "SNLista Archivos" reads 0: text mode.
        c.show();
        QVERIFY(texto(c)->isVisible());
        QVERIFY(!codigo(c)->isVisible());
        QCOMPARE(texto(c)->text(), QStringLiteral("Defecto"));
    }

    void textModeAnswersWithEnterOrCancels()
    {
        Caja c;
        ask(c, "defecto", "0");
        QVERIFY(QTest::qWaitForWindowActive(&c));
        QTRY_VERIFY(texto(c)->hasFocus());
        QTRY_COMPARE(texto(c)->selectedText(), QStringLiteral("defecto"));
        QTest::keyClicks(texto(c), "otra cosa");
        QTest::keyClick(texto(c), Qt::Key_Return);
        QVERIFY(!c.isVisible());
        QCOMPARE(c.result(), int(QDialog::Accepted));
        QCOMPARE(c.answer(), QStringLiteral("otra cosa"));

        ask(c, "defecto", "");
        QTest::mouseClick(c.findChild<QPushButton*>("Boton1"), Qt::LeftButton);
        QVERIFY(!c.isVisible());
        QCOMPARE(c.answer(), QString());
    }

    void fileListModeListsNamesBeforeTheDot()
    {
        for (const char* name : { "a.dat", "b.dat", "c.txt", "sinpunto", "d.DAT" })
            test::writeBytes(name, "");
        QDir().mkdir("carpeta.dat");
        Caja c;
        ask(c, "b", "-1", "*.dat");
        QVERIFY(codigo(c)->isVisible());
        QVERIFY(!texto(c)->isVisible());
        QStringList items;
        for (int i = 0; i < codigo(c)->count(); ++i)
            items << codigo(c)->itemText(i);
        items.sort();
        QCOMPARE(items, QStringList({ "A", "B", "D" }));
        QCOMPARE(codigo(c)->currentText(), QStringLiteral("B"));
        QTest::mouseClick(c.findChild<QPushButton*>("Boton0"), Qt::LeftButton);
        QCOMPARE(c.answer(), QStringLiteral("B"));

        // A name without "." is listed whole; no match leaves what is typed.
        ask(c, "x", "1", "sin*");
        QCOMPARE(codigo(c)->count(), 1);
        QCOMPARE(codigo(c)->itemText(0), QStringLiteral("SINPUNTO"));
        QCOMPARE(codigo(c)->currentIndex(), -1);
        ask(c, "", "1", "*.zzz");
        QCOMPARE(codigo(c)->count(), 0);
        QTest::keyClicks(codigo(c)->lineEdit(), "nuevo");
        QTest::keyClick(codigo(c)->lineEdit(), Qt::Key_Enter);
        QCOMPARE(c.answer(), QStringLiteral("nuevo"));
    }
};

QTEST_MAIN(TstCaja)
#include "tst_caja.moc"
