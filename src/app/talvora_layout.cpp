// Building the main window's controls: positions in twips, fonts, menus, toolbar.
#include "app/talvora.h"

#include "app/fonts.h"
#include "app/toolbar_icons.h"
#include "common/text.h"
#include "common/ui/widgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionHeader>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace orvex {
namespace {

constexpr int kClientWidth = 9165;
// The client area ends just below the rate row; the results frame adds its height.
constexpr int kClientHeight = 3705;
constexpr int kToolBarHeight = 360;

// The grid's top-left corner is the "No." header of the numbering column.
class CornerHeader : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        auto* corner = static_cast<QWidget*>(watched);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.rect = corner->rect();
        option.text = QString::fromUtf8(kColumnHeaders[0].data(), kColumnHeaders[0].size());
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        QPainter painter(corner);
        corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        return true;
    }
};

} // namespace

void Talvora::createActions()
{
    auto make = [this](const char* name, const QString& text, const QKeySequence& keys = {}) {
        auto* action = new QAction(text, this);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
        return action;
    };
    m_abrir = make("MenuAbrir", QStringLiteral("Abrir"), QKeySequence(Qt::CTRL | Qt::Key_A));
    m_guardar = make("MenuGuardar", QStringLiteral("Guardar"), QKeySequence(Qt::CTRL | Qt::Key_G));
    m_guardar->setEnabled(false);
    m_guardarComo = make(
        "MenuGuardarComo", QStringLiteral("Guardar como..."), QKeySequence(Qt::CTRL | Qt::Key_C));
    m_calculosFinancieros = make("MenuCalculosFinancieros", QStringLiteral("Cálculos Financieros"));
    m_diagramaFlujo = make("MenuDiagramaFlujo", QStringLiteral("Diagrama de Flujo"));
    m_planPagos = make("MenuPlanPagos", QStringLiteral("Plan de Pagos"));
    m_consultarWeb = make("MenuConsultarWeb", QStringLiteral("Consultar la WEB"));
    m_sistemasAmortizacion
        = make("MenuSistemasAmortizacion", QStringLiteral("Sistemas de Amortización"));
    m_salir = make("MenuSalirPrograma", QStringLiteral("Salir del Programa"));
    m_acercaDe = make("MenuAcercaDe", QStringLiteral("Acerca de..."));
}

void Talvora::createMenus()
{
    QMenu* archivo = menuBar()->addMenu(QStringLiteral("Archivo"));
    archivo->setObjectName(QStringLiteral("MenuArchivo"));
    archivo->addAction(m_abrir);
    archivo->addSeparator();
    archivo->addAction(m_guardar);
    archivo->addAction(m_guardarComo);

    QMenu* calculosMenu = menuBar()->addMenu(QStringLiteral("Cálculos"));
    calculosMenu->setObjectName(QStringLiteral("MenuCalculos"));
    calculosMenu->addAction(m_calculosFinancieros);
    calculosMenu->addAction(m_diagramaFlujo);
    calculosMenu->addAction(m_planPagos);
    calculosMenu->addSeparator();
    calculosMenu->addAction(m_consultarWeb);

    QMenu* prestamos = menuBar()->addMenu(QStringLiteral("Préstamos en UVR"));
    prestamos->setObjectName(QStringLiteral("MenuPrestamos"));
    prestamos->addAction(m_sistemasAmortizacion);

    QMenu* salir = menuBar()->addMenu(QStringLiteral("Salir"));
    salir->setObjectName(QStringLiteral("MenuSalir"));
    salir->addAction(m_salir);
    salir->addSeparator();
    salir->addAction(m_acercaDe);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("AreaCliente"));
    setCentralWidget(m_client);
}

void Talvora::createToolBar()
{
    struct Button {
        const char* key;
        const char* toolTip;
    };
    static const Button kButtons[] = {
        { "Nuevo", "Nuevo" },
        { "Abrir", "Abrir" },
        { "Grabar", "Grabar" },
        { "Calculos", "Cálculos" },
        { "Diagrama", "D. de Flujo" },
        { "Liquidacion", "Liquidación" },
        { "Internet", "" },
    };
    m_barra1 = new QToolBar(m_client);
    m_barra1->setObjectName(QStringLiteral("Barra1"));
    m_barra1->setMovable(false);
    m_barra1->setFloatable(false);
    m_barra1->setIconSize(QSize(16, 16));
    m_barra1->setGeometry(twipsRect(0, 0, kClientWidth, kToolBarHeight, this));
    for (const Button& b : kButtons) {
        const QString key = QString::fromUtf8(b.key);
        QAction* action = m_barra1->addAction(toolbarIcon(key), QString());
        action->setToolTip(QString::fromUtf8(b.toolTip));
        m_barra1->widgetForAction(action)->setObjectName(key);
        connect(action, &QAction::triggered, this, [this, key] { toolbarButtonClicked(key); });
    }
}

void Talvora::createGrid()
{
    m_celdas = new QTableWidget(kWorksheetRows, kWorksheetColumns, m_client);
    m_celdas->setObjectName(QStringLiteral("Celdas"));
    m_celdas->setGeometry(twipsRect(0, 360, 9075, 2400, this));
    m_celdas->setFont(msSansSerif(kGridFontPoints));
    m_celdas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_celdas->setSelectionMode(QAbstractItemView::SingleSelection);
    m_celdas->setTabKeyNavigation(false);
    m_celdas->setWordWrap(false);

    QStringList headers;
    for (int c = kColTipo; c <= kColSensibilidad; ++c)
        headers << QString::fromUtf8(kColumnHeaders[c].data(), kColumnHeaders[c].size());
    m_celdas->setHorizontalHeaderLabels(headers);
    QStringList numbers;
    for (int r = 1; r <= kWorksheetRows; ++r)
        numbers << QString::number(r);
    m_celdas->setVerticalHeaderLabels(numbers);

    QHeaderView* top = m_celdas->horizontalHeader();
    QHeaderView* side = m_celdas->verticalHeader();
    top->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    side->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    top->setSectionResizeMode(QHeaderView::Fixed);
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setMinimumSectionSize(twipsToPixels(240, this));
    side->setDefaultSectionSize(twipsToPixels(240, this));
    top->setFixedHeight(twipsToPixels(255, this));
    side->setFixedWidth(
        twipsToPixels(columnWidthTwips(kColumnCharacters[0], kGridFontPoints), this));
    // The designed widths at least; wide enough for the header and for a value as long
    // as the file stores ("Inicio" and five-digit periods, "Sensibilidad (%)").
    const QFontMetrics metrics(m_celdas->font());
    for (int c = kColTipo; c <= kColSensibilidad; ++c) {
        const int designed
            = twipsToPixels(columnWidthTwips(kColumnCharacters[c], kGridFontPoints), this);
        const int value
            = metrics.horizontalAdvance(QString(kColumnFieldWidths[c], QLatin1Char('0')))
            + 2 * metrics.averageCharWidth();
        m_celdas->setColumnWidth(c - 1, std::max({ designed, top->sectionSizeHint(c - 1), value }));
    }
    // Every column in view, without a horizontal scroll; the window grows with the grid.
    const int needed = side->width() + top->length()
        + m_celdas->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * m_celdas->frameWidth();
    m_extraWidth = std::max(0, needed - m_celdas->width());
    m_celdas->resize(m_celdas->width() + m_extraWidth, m_celdas->height());
    for (int r = 0; r < kWorksheetRows; ++r) {
        for (int c = 0; c < kWorksheetColumns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            m_celdas->setItem(r, c, item);
        }
    }
    if (auto* corner = m_celdas->findChild<QAbstractButton*>()) {
        corner->installEventFilter(new CornerHeader(corner));
    }
}

void Talvora::createEditors()
{
    m_edicion = new QLineEdit(m_client);
    m_edicion->setObjectName(QStringLiteral("Edicion"));
    m_edicion->setFont(msSansSerif(kGridFontPoints));
    m_edicion->setGeometry(twipsRect(0, 2790, 9060, 330, this).adjusted(0, 0, m_extraWidth, 0));
    m_edicion->hide();

    m_tipo = new QComboBox(m_client);
    m_tipo->setObjectName(QStringLiteral("Tipo"));
    m_tipo->setFont(msSansSerif(kGridFontPoints));
    m_tipo->addItem(QString());
    for (std::string_view kind : kKindTexts)
        m_tipo->addItem(QString::fromUtf8(kind.data(), static_cast<int>(kind.size())));
    const QRect place = twipsRect(0, 2790, 9060, 330, this);
    m_tipo->setGeometry(
        place.x(), place.y(), place.width() + m_extraWidth, m_tipo->sizeHint().height());
    m_tipo->setCurrentIndex(-1);
    m_tipo->hide();
}

void Talvora::createRateRow()
{
    m_label1 = new QLabel(QStringLiteral("Tasa de Interés (%) :"), m_client);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setFont(msSansSerif(kGridFontPoints));
    m_label1->setGeometry(twipsRect(90, 3330, 1545, 240, this));

    m_interes = new QLineEdit(m_client);
    m_interes->setObjectName(QStringLiteral("Interes"));
    m_interes->setGeometry(twipsRect(1710, 3240, 1635, 360, this));

    m_convertirTasa = new QPushButton(QStringLiteral("Convertir Tasa"), m_client);
    m_convertirTasa->setObjectName(QStringLiteral("ConvertirTasaInteres"));
    m_convertirTasa->setGeometry(twipsRect(3375, 3240, 1410, 420, this));
}

void Talvora::createResultFrame()
{
    m_respuesta = new QGroupBox(QStringLiteral("Respuesta"), m_client);
    m_respuesta->setObjectName(QStringLiteral("Respuesta"));
    m_respuesta->setGeometry(
        twipsRect(135, 3645, 9015, 1185, this).adjusted(0, 0, m_extraWidth, 0));

    m_labelComentario = new QLabel(m_respuesta);
    m_labelComentario->setObjectName(QStringLiteral("LabelComentario"));
    m_labelComentario->setFont(msSansSerif(12));
    m_labelComentario->setWordWrap(true);
    m_labelComentario->setGeometry(twipsRect(180, 270, 6180, 465, this));

    m_labelRespuesta = new QLabel(m_respuesta);
    m_labelRespuesta->setObjectName(QStringLiteral("LabelRespuesta"));
    makeValueLabel(m_labelRespuesta);
    m_labelRespuesta->setGeometry(
        twipsRect(6435, 270, 2445, 465, this).adjusted(0, 0, m_extraWidth, 0));

    m_cerrar = new QPushButton(QStringLiteral("C&errar"), m_respuesta);
    m_cerrar->setObjectName(QStringLiteral("Cerrar"));
    m_cerrar->setGeometry(twipsRect(8055, 810, 825, 285, this).translated(m_extraWidth, 0));

    m_respuesta->hide();
}

void Talvora::fitWindowWidth()
{
    const int width = twipsToPixels(kClientWidth, this) + m_extraWidth;
    m_barra1->resize(width, m_barra1->height());
    setFixedSize(width, menuBar()->sizeHint().height() + twipsToPixels(kClientHeight, this));
}

void Talvora::fitRateField()
{
    const QFontMetrics metrics(m_interes->font());
    const int designed = twipsToPixels(1635, this);
    const int gap = m_convertirTasa->x() - m_interes->geometry().right();
    const int room = width() - m_interes->x() - gap - m_convertirTasa->width();
    const int wanted
        = metrics.horizontalAdvance(m_interes->text()) + 3 * metrics.averageCharWidth();
    m_interes->resize(std::clamp(wanted, designed, std::max(designed, room)), m_interes->height());
    m_convertirTasa->move(m_interes->geometry().right() + gap, m_convertirTasa->y());
}

void Talvora::connectSignals()
{
    connect(m_celdas, &QTableWidget::currentCellChanged, this, [this] { currentCellChanged(); });
    connect(m_celdas, &QTableWidget::cellClicked, this, [this] { runCellReaction(); });
    connect(m_celdas, &QTableWidget::cellDoubleClicked, this, [this] { clearCurrentRow(); });
    connect(m_edicion, &QLineEdit::textChanged, this, &Talvora::editTextChanged);
    connect(m_tipo, &QComboBox::currentIndexChanged, this, &Talvora::kindChosen);
    connect(m_tipo, &QComboBox::activated, this, &Talvora::kindChosen);
    connect(m_interes, &QLineEdit::textChanged, this, &Talvora::rateTextChanged);
    for (QObject* watched : { static_cast<QObject*>(m_celdas), static_cast<QObject*>(m_edicion),
             static_cast<QObject*>(m_tipo), static_cast<QObject*>(m_interes) })
        watched->installEventFilter(this);

    connect(m_cerrar, &QPushButton::clicked, this, &Talvora::closeResultFrame);
    connect(m_convertirTasa, &QPushButton::clicked, this, &Talvora::openRateConverter);
    connect(m_abrir, &QAction::triggered, this, &Talvora::openFile);
    connect(m_guardar, &QAction::triggered, this, &Talvora::saveFile);
    connect(m_guardarComo, &QAction::triggered, this, &Talvora::saveFileAs);
    connect(m_calculosFinancieros, &QAction::triggered, this, &Talvora::calculos);
    connect(m_diagramaFlujo, &QAction::triggered, this, &Talvora::openFlowDiagram);
    connect(m_planPagos, &QAction::triggered, this, &Talvora::openSchedule);
    connect(m_consultarWeb, &QAction::triggered, this, &Talvora::openWebViewer);
    connect(m_sistemasAmortizacion, &QAction::triggered, this, &Talvora::openLoanWindow);
    connect(m_salir, &QAction::triggered, this, &Talvora::quitProgram);
    connect(m_acercaDe, &QAction::triggered, this, &Talvora::openAbout);
}

} // namespace orvex
