#include "../../hostile_input.h"
#include "../../ui_test_util.h"
#include "common/ui/widgets.h"
#include "records/directory.h"
#include "records/ui/directorio.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTreeView>

using namespace orvex;

class TstDirectorio : public QObject {
    Q_OBJECT

private:
    test::WorkFolder folder;
    ScriptedMessageService messages;

    static QLineEdit* cualDir(QWidget& w) { return w.findChild<QLineEdit*>("CualDir"); }

private slots:
    void init()
    {
        folder.enter();
        messages.shown.clear();
        messages.answers.clear();
    }
    void cleanup() { folder.leave(); }

    void opensOnTheChosenOrCurrentDirectory()
    {
        Directorio w(messages);
        QVERIFY(w.findChild<QComboBox*>("Drive1")->count() >= 1);
        w.setChosen(QStringLiteral("   "));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(cualDir(w)->text(), QDir::currentPath());
        QVERIFY(cualDir(w)->hasFocus());
        // A directory opened in the tree becomes the path.
        QDir().mkdir(QStringLiteral("sub"));
        auto* tree = w.findChild<QTreeView*>("Dir1");
        const auto* model = tree->model();
        QModelIndex sub;
        QTRY_VERIFY((sub = static_cast<const QFileSystemModel*>(model)->index(folder.path("sub")))
                        .isValid());
        tree->setCurrentIndex(sub);
        QCOMPARE(cualDir(w)->text(), folder.path("sub"));
        // An existing directory is accepted without a question.
        w.aceptar();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(w.chosen(), folder.path("sub"));
        QVERIFY(messages.shown.empty());
    }

    void createsANestedPathOrStays_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("messagesShown");
        QTest::newRow("Yes creates every level")
            << "uno/dos/tres" << int(MsgAnswer::Yes) << true << 1;
        QTest::newRow("No stays") << "nuevo/dos" << int(MsgAnswer::No) << false << 1;
        QTest::newRow("through a file") << "archivo/x" << int(MsgAnswer::Yes) << false << 2;
        QTest::newRow("empty") << "" << int(MsgAnswer::Yes) << false << 2;
    }
    void createsANestedPathOrStays()
    {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(bool, accepted);
        QFETCH(int, messagesShown);
        test::writeBytes("archivo", "x");
        Directorio w(messages);
        w.setChosen(folder.path({}));
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        cualDir(w)->setText(typed);
        messages.answers = { static_cast<MsgAnswer>(answer) };
        test::click(w, "Boton0");
        QCOMPARE(int(messages.shown.size()), messagesShown);
        QCOMPARE(messages.shown[0].text, QStringLiteral("Directorio NO existe, desea crearlo..."));
        QCOMPARE(messages.shown[0].icon, MsgIcon::Question);
        QCOMPARE(w.isVisible(), !accepted);
        QCOMPARE(directoryExists(us(typed)), accepted);
        if (accepted) {
            QCOMPARE(w.chosen(), typed);
        } else {
            QVERIFY(cualDir(w)->hasFocus());
            if (messagesShown == 2)
                QVERIFY(messages.shown[1].text.startsWith(
                    QStringLiteral("No se pudo crear el directorio [%1]: ").arg(typed)));
        }
    }

    void cancelReturnsNothing()
    {
        Directorio w(messages);
        w.setChosen(QStringLiteral("/tmp"));
        w.show();
        QCOMPARE(cualDir(w)->text(), QStringLiteral("/tmp"));
        cualDir(w)->setText(QStringLiteral("otro/camino"));
        test::click(w, "Boton1");
        QCOMPARE(w.chosen(), QString());
        QVERIFY(!w.isVisible());
        QVERIFY(!QDir(QStringLiteral("otro")).exists());
        // Esc and the in-process road cancel the same way.
        test::whenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(elegirDirectorio(QStringLiteral("/tmp"), messages), QString());
    }

    // Each hostile path is either a directory that now exists or a message.
    void hostilePathsEndInADirectoryOrAMessage()
    {
        Directorio w(messages);
        w.show();
        test::pasteHostileEverywhere(
            &w, [&] { w.aceptar(); },
            [&](const QString&, const QString& text) {
                if (w.result() == QDialog::Accepted)
                    QVERIFY2(QFileInfo(w.chosen()).isDir(), qPrintable(text.left(20)));
                else
                    QVERIFY2(!messages.shown.empty(), qPrintable(text.left(20)));
                messages.shown.clear();
                w.setResult(0);
                w.show();
            });
    }
};

QTEST_MAIN(TstDirectorio)
#include "tst_directorio.moc"
