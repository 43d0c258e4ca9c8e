#include "extras/ui/internet.h"

#include "../../ui_test_util.h"
#include "common/ui/widgets.h"

#include <QWebEngineView>
#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace orvex;

namespace {

constexpr int kLoadMs = 30000; // the engine's first start on a busy machine

void writePage(const QString& path, const QString& title)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title>"
                              "</head><body><p>%1</p></body></html>")
                   .arg(title)
                   .toUtf8());
}

// Answers every request with the start of a page and never finishes it.
class EndlessServer : public QTcpServer {
public:
    EndlessServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    socket->readAll();
                    socket->write(
                        "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n"
                        "<!DOCTYPE html><html><head><title>Lenta</title></head><body>");
                    socket->write(QByteArray(4096, ' '));
                });
            }
        });
    }
};

} // namespace

class TstInternet : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Internet> m_w;

    QString url(const char* file) const
    {
        return QUrl::fromLocalFile(m_dir.filePath(QString::fromUtf8(file))).toString();
    }
    template <typename T = QWidget> T* find(const char* name)
    {
        return test::child<T>(m_w.get(), QString::fromUtf8(name));
    }
    QComboBox* address() { return find<QComboBox>("cboAddress"); }
    QTimer* timer() { return find<QTimer>("timTimer"); }
    QStringList history()
    {
        QStringList entries;
        for (int i = 0; i < address()->count(); ++i)
            entries << address()->itemText(i);
        return entries;
    }
    void click(const char* key) { QTest::mouseClick(find(key), Qt::LeftButton); }
    void enterAddress(const QString& text)
    {
        address()->lineEdit()->selectAll();
        QTest::keyClicks(address(), text);
        QTest::keyClick(address(), Qt::Key_Return);
    }
    void open(const QString& startingAddress = {})
    {
        m_w->startingAddress = startingAddress;
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }
    // Waits until the page has arrived and the busy indicator has given up the caption.
    void waitForPage(const QString& title)
    {
        QTRY_COMPARE_WITH_TIMEOUT(m_w->windowTitle(), title, kLoadMs);
        QTRY_VERIFY(!timer()->isActive());
        QCOMPARE(m_w->windowTitle(), title);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writePage(m_dir.filePath("a.html"), QStringLiteral("Página A"));
        writePage(m_dir.filePath("b.html"), QStringLiteral("Página B"));
        writePage(m_dir.filePath("buscar.html"), QStringLiteral("Buscar"));
    }
    void init()
    {
        writePage(m_dir.filePath("a.html"), QStringLiteral("Página A"));
        m_w = std::make_unique<Internet>(WebAddresses { url("a.html"), url("buscar.html") });
    }
    void cleanup() { m_w.reset(); }

    void controlsBeforeOpening()
    {
        QCOMPARE(find<QLabel>("lblAddress")->buddy(), address());
        QVERIFY(find("picAddress")->isAncestorOf(address()));
        QVERIFY(address()->isEditable());
        QCOMPARE(address()->currentText(), url("a.html"));
        QCOMPARE(address()->count(), 0);
        QVERIFY(find<QWebEngineView>("brwWebBrowser"));
        QVERIFY(!timer()->isActive());
        QCOMPARE(
            m_w->size(), QSize(twipsToPixels(6540, m_w.get()), twipsToPixels(5130, m_w.get())));

        const QStringList keys
            = { "Atrás", "Adelante", "Detener", "Actualizar", "Inicio", "Búsqueda" };
        const QList<QAction*> actions = find<QToolBar>("tbToolBar")->actions();
        QCOMPARE(actions.size(), keys.size());
        for (int i = 0; i < keys.size(); ++i) {
            auto* button = find<QToolButton>(keys[i].toUtf8().constData());
            QCOMPARE(button->defaultAction(), actions[i]);
            QVERIFY2(!button->icon().isNull(), qPrintable(keys[i]));
        }
    }

    void settingsReplaceTheDefaultAddresses()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("Orvex.conf"), QSettings::IniFormat);
        WebAddresses addresses = webAddresses(settings);
        QCOMPARE(addresses.start, QStringLiteral("https://www.superfinanciera.gov.co"));
        QVERIFY(addresses.search.startsWith(QStringLiteral("https://")));
        settings.setValue("Internet/Inicio", " https://example.org/inicio ");
        settings.setValue("Internet/Busqueda", "  ");
        const QString defaultSearch = addresses.search;
        addresses = webAddresses(settings);
        QCOMPARE(addresses.start, QStringLiteral("https://example.org/inicio"));
        QCOMPARE(addresses.search, defaultSearch);
    }

    void layoutFollowsTheWindowSize()
    {
        open();
        const auto tw = [this](int twips) { return twipsToPixels(twips, m_w.get()); };
        for (const QSize size : { QSize(700, 520), QSize(1, 1) }) {
            m_w->resize(size);
            QTRY_COMPARE(m_w->size(), size.expandedTo(m_w->minimumSize()));
            QWidget* strip = find("picAddress");
            QWidget* page = find("brwWebBrowser");
            QCOMPARE(address()->x(), tw(50));
            QCOMPARE(address()->width(), m_w->width() - tw(100));
            QCOMPARE(page->width(), m_w->width() - tw(100));
            QCOMPARE(page->y(), strip->y() + strip->height());
            QCOMPARE(page->height(), m_w->height() - page->y() - tw(100));
            QVERIFY(page->height() > 0);
        }
    }

    void enterBackAndForwardKeepOneEntryPerPage()
    {
        open();
        waitForPage(QStringLiteral("Página A"));
        enterAddress(url("b.html"));
        waitForPage(QStringLiteral("Página B"));
        QCOMPARE(history(), (QStringList { url("b.html"), url("a.html") }));

        click("Atrás");
        waitForPage(QStringLiteral("Página A"));
        QCOMPARE(history(), (QStringList { url("a.html"), url("b.html") }));
        click("Adelante");
        waitForPage(QStringLiteral("Página B"));
        QCOMPARE(history(), (QStringList { url("b.html"), url("a.html") }));
        QCOMPARE(address()->currentText(), url("b.html"));

        // Blank text goes nowhere.
        address()->setEditText(QStringLiteral("   "));
        QTest::keyClick(address(), Qt::Key_Return);
        QVERIFY(!timer()->isActive());
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Página B"));
    }

    void choosingAnEntryNavigatesOnce()
    {
        open();
        waitForPage(QStringLiteral("Página A"));
        enterAddress(url("b.html"));
        waitForPage(QStringLiteral("Página B"));

        QSignalSpy starts(find<QWebEngineView>("brwWebBrowser"), &QWebEngineView::loadStarted);
        QTest::keyClick(address(), Qt::Key_Down); // the second entry, page A
        waitForPage(QStringLiteral("Página A"));
        QCOMPARE(history(), (QStringList { url("a.html"), url("b.html") }));
        QTest::qWait(300);
        QCOMPARE(starts.size(), 1);

        // Typing an entry of the list other than the current one, then Enter: once too.
        enterAddress(url("b.html"));
        waitForPage(QStringLiteral("Página B"));
        QTest::qWait(300);
        QCOMPARE(starts.size(), 2);
        QCOMPARE(history(), (QStringList { url("b.html"), url("a.html") }));
    }

    void reloadShowsTheChangedPage()
    {
        open();
        waitForPage(QStringLiteral("Página A"));
        writePage(m_dir.filePath("a.html"), QStringLiteral("Página A cambiada"));
        click("Actualizar");
        waitForPage(QStringLiteral("Página A cambiada"));
        QCOMPARE(history(), QStringList { url("a.html") });
    }

    void startingAddressWinsThenHomeAndSearch()
    {
        open(url("b.html"));
        waitForPage(QStringLiteral("Página B"));
        QCOMPARE(history(), QStringList { url("b.html") });
        click("Inicio");
        waitForPage(QStringLiteral("Página A"));
        click("Búsqueda");
        waitForPage(QStringLiteral("Buscar"));
        QCOMPARE(history(), (QStringList { url("buscar.html"), url("a.html"), url("b.html") }));
    }

    void aPageThatNeverEndsShowsWorkingUntilStopped()
    {
        EndlessServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        open();
        waitForPage(QStringLiteral("Página A"));
        const QString slow = QStringLiteral("http://127.0.0.1:%1/lenta").arg(server.serverPort());
        enterAddress(slow);
        QTRY_COMPARE_WITH_TIMEOUT(history().value(0), slow, kLoadMs);
        QTest::qWait(200);
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Trabajando..."));
        QVERIFY(timer()->isActive());

        click("Detener");
        QVERIFY(!timer()->isActive());
        // The stopped page's title may come a little later; the caption follows it.
        auto* view = find<QWebEngineView>("brwWebBrowser");
        QTRY_VERIFY(!view->page()->isLoading());
        QTest::qWait(300);
        QCOMPARE(m_w->windowTitle(), view->title());
        QVERIFY(m_w->windowTitle() != QStringLiteral("Trabajando..."));
        QVERIFY(!timer()->isActive());
    }

    void anUnreachableAddressShowsTheEnginesOwnPage()
    {
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            closedPort = probe.serverPort();
        }
        open();
        waitForPage(QStringLiteral("Página A"));
        const QString refused = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort);
        enterAddress(refused);
        QTRY_COMPARE_WITH_TIMEOUT(history().value(0), refused, kLoadMs);
        // The failed load ends before the error page brings its title (the host): the caption
        // follows that title too.
        QTRY_COMPARE_WITH_TIMEOUT(m_w->windowTitle(), QStringLiteral("127.0.0.1"), kLoadMs);
        QCOMPARE(find<QWebEngineView>("brwWebBrowser")->title(), m_w->windowTitle());
        QTRY_VERIFY(!timer()->isActive());
        QVERIFY(m_w->isVisible());
    }
};

QTEST_MAIN(TstInternet)
#include "tst_internet.moc"
