#include "extras/ui/internet.h"

#include "common/ui/widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <unistd.h>

namespace orvex {
namespace {

const char* const kDefaultStart = "https://www.superfinanciera.gov.co";
const char* const kDefaultSearch = "https://duckduckgo.com";
constexpr int kTimerMs = 5;

// Chromium will not run its sandbox as root (as CI does); only then is it switched off.
void allowEngineAsRoot()
{
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QIcon searchIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(200, 225, 245));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    return QIcon(pixmap);
}

// The desktop's icon theme when it has one, else the style's own pictures.
QIcon buttonIcon(const QString& key, const QStyle* style)
{
    struct Picture {
        const char* key;
        const char* themeName;
        QStyle::StandardPixmap fallback;
    };
    static const Picture kPictures[] = {
        { "Atrás", "go-previous", QStyle::SP_ArrowBack },
        { "Adelante", "go-next", QStyle::SP_ArrowForward },
        { "Detener", "process-stop", QStyle::SP_BrowserStop },
        { "Actualizar", "view-refresh", QStyle::SP_BrowserReload },
        { "Inicio", "go-home", QStyle::SP_DirHomeIcon },
    };
    for (const Picture& picture : kPictures) {
        if (key == QString::fromUtf8(picture.key))
            return QIcon::fromTheme(
                QString::fromUtf8(picture.themeName), style->standardIcon(picture.fallback));
    }
    return QIcon::fromTheme(QStringLiteral("edit-find"), searchIcon());
}

QString setting(const QSettings& settings, const char* key, const char* fallback)
{
    const QString value = settings.value(QString::fromUtf8(key)).toString().trimmed();
    return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

} // namespace

WebAddresses webAddresses(const QSettings& settings)
{
    return { setting(settings, "Internet/Inicio", kDefaultStart),
        setting(settings, "Internet/Busqueda", kDefaultSearch) };
}

WebAddresses webAddresses()
{
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Orvex"),
        QStringLiteral("Orvex"));
    return webAddresses(settings);
}

Internet::Internet(const WebAddresses& addresses, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_addresses(addresses)
{
    setObjectName(QStringLiteral("Internet"));
    allowEngineAsRoot();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("timTimer"));
    m_timer->setInterval(kTimerMs);
    connect(m_timer, &QTimer::timeout, this, &Internet::timerTick);

    createToolBar();
    createAddressStrip();
    createBrowser();

    setMinimumSize(twipsToPixels(3000, this), twipsToPixels(2400, this));
    resize(twipsToPixels(6540, this), twipsToPixels(5130, this));
}

// The page goes before the profile it was made with.
Internet::~Internet() { delete m_browser; }

void Internet::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    for (const char* name :
        { "Atrás", "Adelante", "Detener", "Actualizar", "Inicio", "Búsqueda" }) {
        const QString key = QString::fromUtf8(name);
        QAction* action = m_toolBar->addAction(buttonIcon(key, style()), key);
        action->setToolTip(key);
        m_toolBar->widgetForAction(action)->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { toolbarButtonClicked(key); });
    }
}

void Internet::createAddressStrip()
{
    m_picAddress = new QWidget(this);
    m_picAddress->setObjectName(QStringLiteral("picAddress"));
    m_lblAddress = new QLabel(QStringLiteral("&Dirección:"), m_picAddress);
    m_lblAddress->setObjectName(QStringLiteral("lblAddress"));
    m_cboAddress = new QComboBox(m_picAddress);
    m_cboAddress->setObjectName(QStringLiteral("cboAddress"));
    m_cboAddress->setEditable(true);
    // The list holds only what the history puts there, and nothing completes the text behind
    // the user's back (a completion would be a second way to choose an entry).
    m_cboAddress->setInsertPolicy(QComboBox::NoInsert);
    m_cboAddress->setCompleter(nullptr);
    m_cboAddress->setEditText(m_addresses.start);
    m_lblAddress->setBuddy(m_cboAddress);
    connect(m_cboAddress, &QComboBox::textActivated, this, &Internet::addressChosen);
    connect(m_cboAddress->lineEdit(), &QLineEdit::returnPressed, this,
        [this] { addressChosen(m_cboAddress->currentText()); });
}

void Internet::createBrowser()
{
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("brwWebBrowser"));
    // An off-the-record profile keeps cookies and cache in memory: the window writes no file.
    auto* profile = new QWebEngineProfile(this);
    m_browser->setPage(new QWebEnginePage(profile, m_browser));
    connect(m_browser, &QWebEngineView::urlChanged, this, &Internet::pageArrived);
    // Links followed inside the page show "Trabajando..." too.
    connect(m_browser, &QWebEngineView::loadStarted, m_timer, qOverload<>(&QTimer::start));
    connect(m_browser, &QWebEngineView::loadFinished, this, &Internet::showPageTitle);
    // A title can come after the load has ended or been stopped (an error page's, a stopped
    // page's address); it shows unless the busy indicator holds the caption.
    connect(m_browser, &QWebEngineView::titleChanged, this, [this] {
        if (!m_timer->isActive())
            showPageTitle();
    });
}

void Internet::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        load();
    }
}

void Internet::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void Internet::load()
{
    layOut();
    if (!startingAddress.isEmpty()) {
        m_cboAddress->setEditText(startingAddress);
        m_history.visit(us(startingAddress), [this](const auto& list) { showHistory(list); });
    }
    m_timer->start();
    navigate(m_cboAddress->currentText());
}

void Internet::layOut()
{
    const auto tw = [this](int twips) { return twipsToPixels(twips, this); };
    m_toolBar->setGeometry(0, 0, width(), m_toolBar->sizeHint().height());
    m_lblAddress->setGeometry(QRect(QPoint(tw(50), tw(30)), m_lblAddress->sizeHint()));
    const int boxTop = m_lblAddress->y() + m_lblAddress->height() + tw(15);
    m_cboAddress->setGeometry(
        tw(50), boxTop, qMax(0, width() - tw(100)), m_cboAddress->sizeHint().height());
    m_picAddress->setGeometry(
        0, m_toolBar->height(), width(), m_cboAddress->y() + m_cboAddress->height() + tw(45));
    const int pageTop = m_picAddress->y() + m_picAddress->height();
    m_browser->setGeometry(
        tw(50), pageTop, qMax(0, width() - tw(100)), qMax(0, height() - pageTop - tw(100)));
}

void Internet::navigate(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (url.isValid())
        m_browser->setUrl(url);
}

void Internet::addressChosen(const QString& text)
{
    const std::optional<std::string> address = m_history.navigationFor(us(text));
    if (!address)
        return;
    m_timer->start();
    navigate(qs(*address));
}

void Internet::toolbarButtonClicked(const QString& key)
{
    m_timer->start();
    if (key == QStringLiteral("Atrás")) {
        m_browser->back();
    } else if (key == QStringLiteral("Adelante")) {
        m_browser->forward();
    } else if (key == QStringLiteral("Actualizar")) {
        m_browser->reload();
    } else if (key == QStringLiteral("Inicio")) {
        navigate(m_addresses.start);
    } else if (key == QStringLiteral("Búsqueda")) {
        navigate(m_addresses.search);
    } else if (key == QStringLiteral("Detener")) {
        m_timer->stop();
        m_browser->stop();
        showPageTitle();
    }
}

void Internet::pageArrived(const QUrl& url)
{
    showPageTitle();
    m_history.visit(us(url.toString()), [this](const auto& list) { showHistory(list); });
}

void Internet::showHistory(const std::vector<std::string>& entries)
{
    m_cboAddress->clear();
    for (const std::string& entry : entries)
        m_cboAddress->addItem(qs(entry));
    m_cboAddress->setCurrentIndex(0);
}

void Internet::showPageTitle() { setWindowTitle(m_browser->title()); }

void Internet::timerTick()
{
    if (busy()) {
        setWindowTitle(QStringLiteral("Trabajando..."));
        return;
    }
    m_timer->stop();
    showPageTitle();
}

bool Internet::busy() const { return m_browser->page()->isLoading(); }

} // namespace orvex
