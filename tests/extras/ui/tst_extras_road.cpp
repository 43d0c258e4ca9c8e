#include "app/talvora.h"
#include "extras/ui/internet.h"

#include "common/shared_state.h"
#include "common/ui/message_service.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace orvex;

namespace {

// Talvora with its modal children answered in place, recording their titles.
class ProbeTalvora : public Talvora {
public:
    using Talvora::Talvora;
    QStringList modals;

protected:
    int runModal(QDialog& child) override
    {
        modals << child.windowTitle();
        return QDialog::Accepted;
    }
};

} // namespace

class TstExtrasRoad : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    struct Session {
        SharedState state;
        ScriptedMessageService messages;
        ScriptedFileDialogService dialogs;
        AppContext context { state, messages, dialogs };
        ProbeTalvora window { context };
    };
    std::unique_ptr<Session> m_s;

    QList<Internet*> viewers() { return m_s->window.findChildren<Internet*>(); }
    void trigger(const char* name) { m_s->window.findChild<QAction*>(name)->trigger(); }

private slots:
    void initTestCase()
    {
        // The program's settings file, here a fresh one pointing at a local page.
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        QFile page(m_dir.filePath("inicio.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><head><meta charset=\"utf-8\"><title>Inicio local</title></head></html>");
        page.close();
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Orvex", "Orvex");
        settings.setValue("Internet/Inicio", QUrl::fromLocalFile(page.fileName()).toString());
    }
    void init()
    {
        m_s = std::make_unique<Session>();
        m_s->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_s->window));
    }
    void cleanup() { m_s.reset(); }

    void aboutOpensModally()
    {
        trigger("MenuAcercaDe");
        QCOMPARE(m_s->window.modals, QStringList { "Acerca de Orvex" });
        QVERIFY(viewers().isEmpty());
    }

    void webViewerOpensWithoutBlockingAndOnce()
    {
        QTest::mouseClick(m_s->window.findChild<QWidget*>("Internet"), Qt::LeftButton);
        QCOMPARE(viewers().size(), 1);
        Internet* web = viewers()[0];
        QVERIFY(web->isVisible() && web->isWindow());
        QCOMPARE(web->windowModality(), Qt::NonModal);
        QVERIFY(m_s->window.modals.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(web->windowTitle(), QStringLiteral("Inicio local"), 30000);

        // The main window goes on working; the menu command brings the same viewer back.
        m_s->window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &m_s->window);
        trigger("MenuConsultarWeb");
        QCOMPARE(viewers(), QList<Internet*> { web });
        QTRY_COMPARE(QApplication::activeWindow(), web);

        // Closed, it is gone; the next command opens a new one.
        QPointer<Internet> closed = web;
        web->close();
        QTRY_VERIFY(closed.isNull());
        trigger("MenuConsultarWeb");
        QCOMPARE(viewers().size(), 1);
        QVERIFY(viewers()[0]->isVisible());
    }
};

QTEST_MAIN(TstExtrasRoad)
#include "tst_extras_road.moc"
