#include "records/ui/listar_archivo.h"

#include "common/ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvex {
namespace {

const char* const kMoverTips[] = { "Arriba", "Abajo", "Primer Registro", "Registro Anterior",
    "Registro Siguiente", "Ultimo Registro" };

// The picture of a move: triangles pointing up or down, doubled for a page, against a bar
// for the first and last record.
QIcon moverIcon(int index, int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    const bool up = index == 0 || index == 2 || index == 3;
    const int triangles = index == 3 || index == 4 ? 2 : 1;
    const bool bar = index == 2 || index == 5;
    const double w = size * 0.6, h = size * 0.3, left = (size - w) / 2;
    double top = (size - h * triangles - (bar ? size * 0.12 : 0)) / 2;
    if (bar && up) {
        p.drawRect(QRectF(left, top, w, size * 0.1));
        top += size * 0.12;
    }
    for (int t = 0; t < triangles; ++t, top += h) {
        const double tip = up ? top : top + h, base = up ? top + h : top;
        const QPointF points[] = { { size / 2.0, tip }, { left, base }, { left + w, base } };
        p.drawPolygon(points, 3);
    }
    if (bar && !up)
        p.drawRect(QRectF(left, top + size * 0.02, w, size * 0.1));
    return QIcon(picture);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

void ListarArchivo::createGrid()
{
    m_malla = new QTableWidget(this);
    m_malla->setObjectName(QStringLiteral("Malla"));
    m_malla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_malla->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_malla->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_malla->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_malla->setWordWrap(false);
    m_malla->setTabKeyNavigation(false);
    m_malla->setCornerButtonEnabled(false);
    m_malla->horizontalHeader()->setSectionsClickable(false);
    m_malla->horizontalHeader()->setHighlightSections(false);
    m_malla->verticalHeader()->setSectionsClickable(false);
    m_malla->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = m_malla->fontMetrics().height() + 6;
    m_malla->verticalHeader()->setMinimumSectionSize(rowHeight);
    m_malla->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_malla->installEventFilter(this);
    m_malla->viewport()->installEventFilter(this);
    if (auto* corner = m_malla->findChild<QAbstractButton*>())
        corner->installEventFilter(this);
    connect(m_malla, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (!m_reactions || row < 0 || column < 0)
            return;
        m_current = { row + 1, column + 1 };
        currentCellLogic();
    });
    connect(m_malla, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_reactions)
            seleccionarYTerminar();
    });
    connect(m_malla->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (m_edicionTexto->isVisible())
            ajustarCajaTexto();
    });

    m_ps = new QScrollBar(Qt::Vertical, this);
    m_ps->setObjectName(QStringLiteral("Ps"));
    m_ps->setRange(1, 1);
    connect(m_ps, &QScrollBar::valueChanged, this, &ListarArchivo::scrollBarMoved);

    m_edicionTexto = new QLineEdit(m_malla->viewport());
    m_edicionTexto->setObjectName(QStringLiteral("EdicionTexto"));
    m_edicionTexto->setFrame(false);
    m_edicionTexto->hide();
    m_edicionTexto->installEventFilter(this);
    connect(m_edicionTexto, &QLineEdit::textEdited, this, &ListarArchivo::editorEdited);
    m_edicionOpciones = new QComboBox(m_malla->viewport());
    m_edicionOpciones->setObjectName(QStringLiteral("EdicionOpciones"));
    m_edicionOpciones->hide();
}

void ListarArchivo::createButtons()
{
    const int side = twipsToPixels(420, this);
    for (int i = 0; i < 6; ++i) {
        m_mover[i] = button(this, "Mover0", QString());
        m_mover[i]->setObjectName(QStringLiteral("Mover%1").arg(i));
        m_mover[i]->setToolTip(QString::fromUtf8(kMoverTips[i]));
        m_mover[i]->setIcon(moverIcon(i, side));
        m_mover[i]->setIconSize(QSize(side * 3 / 4, side * 3 / 4));
        m_mover[i]->setFixedSize(side, side);
        m_mover[i]->installEventFilter(this);
        connect(m_mover[i], &QPushButton::clicked, this, [this, i] { mover(i); });
    }
    m_buscar[0] = button(this, "Buscar0", QStringLiteral("&Buscar (F3)..."));
    m_buscar[1] = button(this, "Buscar1", QStringLiteral("&Ir a (F2)..."));
    m_seleccion = button(this, "Seleccion", QStringLiteral("S&eleccionar [Enter]"));
    m_fin = button(this, "Fin", QStringLiteral("&Salir (Esc)"));
    connect(m_buscar[0], &QPushButton::clicked, this, &ListarArchivo::openSearch);
    connect(m_buscar[1], &QPushButton::clicked, this, &ListarArchivo::openGoTo);
    connect(m_seleccion, &QPushButton::clicked, this, &ListarArchivo::armarSeleccion);
    connect(m_fin, &QPushButton::clicked, this, &ListarArchivo::salir);
    for (QPushButton* b : { m_buscar[0], m_buscar[1], m_seleccion, m_fin })
        b->installEventFilter(this);

    m_label3 = new QLabel(this);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label3->setMinimumWidth(twipsToPixels(2400, this));
    m_lbEstado = new QLabel(QStringLiteral("Espere un momento por favor..."), this);
    m_lbEstado->setObjectName(QStringLiteral("lbEstadoListar"));
    m_lbEstado->setStyleSheet(QStringLiteral("color: #800000; font-weight: bold"));
    m_lbEstado->hide();
}

void ListarArchivo::createGoToPanel()
{
    m_ir = new QGroupBox(QStringLiteral("IR A..."), this);
    m_ir->setObjectName(QStringLiteral("Ir"));
    auto* form = new QGridLayout(m_ir);
    m_irRegistro = new QLineEdit(m_ir);
    m_irRegistro->setObjectName(QStringLiteral("IrRegistro"));
    m_irRegistro->setMaxLength(20);
    m_label5 = new QLabel(m_ir);
    m_label5->setObjectName(QStringLiteral("Label5"));
    m_botonIr[0] = button(m_ir, "BotonIr0", QStringLiteral("&Cerrar (Esc)"));
    m_botonIr[1] = button(m_ir, "BotonIr1", QStringLiteral("&Ir"));
    form->addWidget(new QLabel(QStringLiteral("Registro :"), m_ir), 0, 0);
    form->addWidget(m_irRegistro, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("Total :"), m_ir), 1, 0);
    form->addWidget(m_label5, 1, 1);
    form->addWidget(m_botonIr[1], 2, 0);
    form->addWidget(m_botonIr[0], 2, 1);
    for (QWidget* w : { static_cast<QWidget*>(m_irRegistro), static_cast<QWidget*>(m_botonIr[0]),
             static_cast<QWidget*>(m_botonIr[1]) })
        w->installEventFilter(this);
    connect(m_botonIr[1], &QPushButton::clicked, this, &ListarArchivo::irARegistro);
    connect(m_botonIr[0], &QPushButton::clicked, this, &ListarArchivo::closeGoTo);
    m_ir->hide();
}

void ListarArchivo::createSearchPanel()
{
    m_busqueda = new QGroupBox(QStringLiteral("BUSQUEDA"), this);
    m_busqueda->setObjectName(QStringLiteral("Busqueda"));
    auto* column = new QVBoxLayout(m_busqueda);
    m_buscarTexto = new QLineEdit(m_busqueda);
    m_buscarTexto->setObjectName(QStringLiteral("BuscarTexto"));
    m_busquedaCampo = new QComboBox(m_busqueda);
    m_busquedaCampo->setObjectName(QStringLiteral("BusquedaCampo"));
    m_busquedaDireccion = new QComboBox(m_busqueda);
    m_busquedaDireccion->setObjectName(QStringLiteral("BusquedaDireccion"));
    m_bconfig[0] = new QCheckBox(QStringLiteral("Minus/Mayus"), m_busqueda);
    m_bconfig[0]->setObjectName(QStringLiteral("BConfig0"));
    m_bconfig[1] = new QCheckBox(QStringLiteral("Palabras Completas"), m_busqueda);
    m_bconfig[1]->setObjectName(QStringLiteral("BConfig1"));
    m_botonB[0] = button(m_busqueda, "BotonB0", QStringLiteral("&Cerrar (Esc)"));
    m_botonB[1] = button(m_busqueda, "BotonB1", QStringLiteral("&Siguiente"));
    m_botonCancela = button(m_busqueda, "BotonCancela", QStringLiteral("Cancelar"));
    m_porcentaje = new QLabel(m_busqueda);
    m_porcentaje->setObjectName(QStringLiteral("Porcentaje"));
    m_porcentaje->setAlignment(Qt::AlignCenter);

    column->addWidget(new QLabel(QStringLiteral("Texto a Buscar :"), m_busqueda));
    column->addWidget(m_buscarTexto);
    column->addWidget(new QLabel(QStringLiteral("Campo :"), m_busqueda));
    column->addWidget(m_busquedaCampo);
    column->addWidget(new QLabel(QStringLiteral("Dirección :"), m_busqueda));
    column->addWidget(m_busquedaDireccion);
    column->addWidget(m_bconfig[0]);
    column->addWidget(m_bconfig[1]);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_botonB[1]);
    buttons->addWidget(m_botonB[0]);
    column->addLayout(buttons);
    column->addWidget(m_botonCancela);
    column->addWidget(m_porcentaje);

    for (QWidget* w : std::initializer_list<QWidget*> {
             m_buscarTexto, m_busquedaCampo, m_busquedaDireccion, m_bconfig[0], m_bconfig[1] })
        w->installEventFilter(this);
    connect(m_buscarTexto, &QLineEdit::textChanged, this, &ListarArchivo::updateSiguiente);
    connect(
        m_busquedaDireccion, &QComboBox::currentTextChanged, this, &ListarArchivo::updateSiguiente);
    const auto backToText = [this] {
        if (m_buscarTexto->isVisible() && m_buscarTexto->isEnabled())
            m_buscarTexto->setFocus();
    };
    for (QCheckBox* check : m_bconfig)
        connect(check, &QCheckBox::clicked, this, backToText);
    connect(m_busquedaCampo, &QComboBox::activated, this, backToText);
    for (QPushButton* b : { m_botonB[0], m_botonB[1], m_botonCancela })
        b->installEventFilter(this);
    connect(m_botonB[1], &QPushButton::clicked, this, &ListarArchivo::siguiente);
    connect(m_botonB[0], &QPushButton::clicked, this, &ListarArchivo::closeSearch);
    connect(m_botonCancela, &QPushButton::clicked, this, [this] { m_searchCancel = true; });
    m_botonCancela->hide();
    m_botonCancela->setEnabled(false);
    m_porcentaje->hide();
    m_busqueda->hide();
}

void ListarArchivo::layOut()
{
    setObjectName(QStringLiteral("ListarArchivo"));
    setWindowTitle(QStringLiteral("Listar Archivo"));
    auto* moves = new QVBoxLayout;
    for (int i : { 2, 3, 0, 1, 4, 5 })
        moves->addWidget(m_mover[i]);
    moves->addStretch();

    auto* side = new QWidget(this);
    side->setFixedWidth(twipsToPixels(3300, this));
    auto* commands = new QVBoxLayout(side);
    commands->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : std::initializer_list<QWidget*> {
             m_buscar[0], m_buscar[1], m_seleccion, m_fin, m_busqueda, m_ir })
        commands->addWidget(w);
    commands->addStretch();

    auto* top = new QHBoxLayout;
    top->setSpacing(twipsToPixels(60, this));
    top->addWidget(m_malla, 1);
    top->addWidget(m_ps);
    top->addLayout(moves);
    top->addSpacing(twipsToPixels(60, this));
    top->addWidget(side);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_label3);
    bottom->addWidget(m_lbEstado, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addLayout(bottom);

    // The grid's rows are counted once, at set-up: the window keeps its size.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    setFixedSize(area.width() * 98 / 100, area.height() * 90 / 100);
    setSizeGripEnabled(false);
}

} // namespace orvex
