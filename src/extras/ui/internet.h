#pragma once

#include "extras/address_history.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QSettings;
class QTimer;
class QToolBar;
class QUrl;
class QWebEngineView;

namespace orvex {

// Where the web viewer's "Inicio" and "Búsqueda" go; start is also the address box's text
// when the window opens.
struct WebAddresses {
    QString start;
    QString search;
};

// The defaults (the financial supervisor's web site and a search engine), each replaced by
// its settings entry, Internet/Inicio or Internet/Busqueda, when that is not blank.
WebAddresses webAddresses(const QSettings& settings);
// The same from the program's own settings file.
WebAddresses webAddresses();

// A small web browser, opened without blocking its opener. Object names: picAddress
// (lblAddress, cboAddress), tbToolBar with one button per key (Atrás, Adelante, Detener,
// Actualizar, Inicio, Búsqueda), brwWebBrowser and timTimer. The caption is the page's
// title, or "Trabajando..." while a page loads. It keeps no data and writes no file.
class Internet : public QWidget {
    Q_OBJECT
public:
    explicit Internet(const WebAddresses& addresses, QWidget* parent = nullptr);
    ~Internet() override;

    // Set before the window is first shown: the page it opens instead of the start address.
    QString startingAddress;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createAddressStrip();
    void createToolBar();
    void createBrowser();

    void load();
    void layOut();
    void navigate(const QString& address);
    void addressChosen(const QString& text);
    void toolbarButtonClicked(const QString& key);
    void pageArrived(const QUrl& url);
    void showHistory(const std::vector<std::string>& entries);
    void showPageTitle();
    void timerTick();
    bool busy() const;

    WebAddresses m_addresses;
    AddressHistory m_history;
    bool m_loaded = false;

    QToolBar* m_toolBar = nullptr;
    QWidget* m_picAddress = nullptr;
    QLabel* m_lblAddress = nullptr;
    QComboBox* m_cboAddress = nullptr;
    QWebEngineView* m_browser = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace orvex
