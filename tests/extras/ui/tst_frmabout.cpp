#include "extras/ui/frm_about.h"

#include "common/shared_state.h"
#include "common/ui/app_context.h"
#include "common/ui/launcher.h"
#include "common/ui/message_service.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace orvex;

class TstFrmAbout : public QObject {
    Q_OBJECT

private:
    struct Session {
        SharedState state;
        ScriptedMessageService messages;
        ScriptedFileDialogService dialogs;
        ScriptedProcessLauncher launcher;
        AppContext context { state, messages, dialogs, &launcher };
        frmAbout window { context };
    };
    std::unique_ptr<Session> m_s;

    template <typename T = QWidget> T* find(const char* name)
    {
        auto* found = m_s->window.findChild<T*>(QString::fromUtf8(name));
        if (!found)
            qFatal("control %s not found", name);
        return found;
    }

private slots:
    void init()
    {
        m_s = std::make_unique<Session>();
        m_s->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_s->window));
    }
    void cleanup() { m_s.reset(); }

    void controlsShowTheProgramsTexts()
    {
        frmAbout& w = m_s->window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Acerca de Orvex"));
        QCOMPARE(find<QLabel>("lblTitle")->text(), QStringLiteral("Orvex"));
        QCOMPARE(find<QLabel>("lblVersion")->text(), QStringLiteral("Versión " ORVEX_VERSION));
        QCOMPARE(find<QLabel>("lblDescription")->text(),
            QStringLiteral("Descripción de la aplicación: Programa para efectuar cálculos "
                           "financieros. Además, permite establecer los planes de pago en las "
                           "diferentes modalidades que se ofrecen en el Sistema de Financiación "
                           "de Vivienda en Colombia."));
        QVERIFY(find<QLabel>("lblDisclaimer")->text().startsWith(QStringLiteral("Advertencia: ")));
        QCOMPARE(find<QPushButton>("cmdOK")->text(), QStringLiteral("Aceptar"));
        QCOMPARE(find<QPushButton>("cmdSysInfo")->text(), QStringLiteral("Info. del &sistema..."));
        QCOMPARE(find<QFrame>("Line1")->frameShape(), QFrame::HLine);

        // The icon is the built-in picture: rounded corners, opaque middle, the orange arrow.
        const QImage icon = find<QLabel>("picIcon")->pixmap().toImage();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() / 2).alpha(), 255);
        bool orange = false;
        for (int y = 0; y < icon.height() && !orange; ++y)
            for (int x = 0; x < icon.width() && !orange; ++x)
                orange = icon.pixelColor(x, y).red() > 200 && icon.pixelColor(x, y).blue() < 100;
        QVERIFY(orange);

        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Every text fits: nothing is cut by the fixed size.
        for (auto* label : w.findChildren<QLabel*>())
            QVERIFY2(label->geometry().bottom() <= w.height(), qPrintable(label->objectName()));
    }

    void okCloses()
    {
        QTest::mouseClick(find("cmdOK"), Qt::LeftButton);
        QVERIFY(!m_s->window.isVisible());
        QCOMPARE(m_s->window.result(), int(QDialog::Accepted));
    }

    void sysInfoStartsTheFirstInstalledProgram_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("tried");
        QTest::newRow("none installed") << QStringList {} << true << QStringList {};
        QTest::newRow("other programs are not system tools")
            << QStringList { "bash", "top" } << true << QStringList {};
        QTest::newRow("one of the list")
            << QStringList { "xfce4-taskmanager" } << true << QStringList { "xfce4-taskmanager" };
        QTest::newRow("the first of the list wins")
            << QStringList { "lxtask", "gnome-system-monitor", "hardinfo" } << true
            << QStringList { "hardinfo" };
        QTest::newRow("installed but none starts") << QStringList { "lxtask",
            "kinfocenter" } << false << QStringList { "kinfocenter", "lxtask" };
    }
    void sysInfoStartsTheFirstInstalledProgram()
    {
        QFETCH(QStringList, installed);
        QFETCH(bool, starts);
        QFETCH(QStringList, tried);
        m_s->launcher.installed = installed;
        m_s->launcher.startResult = starts;
        QTest::mouseClick(find("cmdSysInfo"), Qt::LeftButton);

        QStringList started;
        for (const auto& call : m_s->launcher.calls) {
            QCOMPARE(call.kind, ScriptedProcessLauncher::Kind::StartDetached);
            started << call.program;
        }
        QCOMPARE(started, tried);
        const bool failed = tried.isEmpty() || !starts;
        QCOMPARE(m_s->messages.shown.size(), std::size_t(failed ? 1 : 0));
        if (failed) {
            const MessageRequest& box = m_s->messages.shown[0];
            QCOMPARE(box.text,
                QStringLiteral("La información del sistema no está disponible en este momento"));
            QCOMPARE(box.title, QStringLiteral("Orvex"));
            QVERIFY(box.icon == MsgIcon::None && box.buttons == MsgButtons::Ok);
        }
        QVERIFY(m_s->window.isVisible());
    }
};

QTEST_MAIN(TstFrmAbout)
#include "tst_frmabout.moc"
