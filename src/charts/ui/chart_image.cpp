#include "charts/ui/chart_image.h"

#include "charts/svg_writer.h"
#include "charts/ui/chart_view.h"
#include "common/file_io.h"
#include "common/ui/app_context.h"
#include "common/ui/message_service.h"
#include "common/ui/widgets.h"

#include <QAction>
#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QWidget>

namespace orvex {

ChartImageFormat chartImageFormat(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return ChartImageFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return ChartImageFormat::Pdf;
    return ChartImageFormat::Png;
}

namespace {

QByteArray pdfBytes(const DisplayList& list, QSize size)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        paintDisplayList(painter, list, QRectF(0, 0, pdf.width(), pdf.height()));
    }
    return buffer.data();
}

QByteArray pngBytes(const DisplayList& list, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dpi, so point sizes match the screen
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintDisplayList(painter, list, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

bool saveChartImage(const DisplayList& list, QSize size, const QString& fileName, QString* error)
{
    std::string bytes;
    switch (chartImageFormat(fileName)) {
    case ChartImageFormat::Svg:
        bytes = toSvg(list, size.width(), size.height());
        break;
    case ChartImageFormat::Pdf:
        bytes = pdfBytes(list, size).toStdString();
        break;
    case ChartImageFormat::Png:
        bytes = pngBytes(list, size).toStdString();
        break;
    }
    if (bytes.empty()) {
        *error = QStringLiteral("no se pudo generar la imagen");
        return false;
    }
    // Written like every document: a failure leaves any earlier file whole.
    try {
        writeFileAtomically(us(fileName), bytes);
        return true;
    } catch (const FileError& e) {
        *error = qs(e.what());
        return false;
    }
}

QAction* addSaveImageAction(QWidget* window, QMenuBar* menuBar, AppContext& ctx,
    const QString& defaultName, std::function<DisplayList()> source, std::function<QSize()> size)
{
    QMenu* archivo = menuBar->addMenu(QStringLiteral("Archivo"));
    archivo->setObjectName(QStringLiteral("MenuArchivo"));
    auto* action = archivo->addAction(QStringLiteral("Guardar imagen..."));
    action->setObjectName(QStringLiteral("GuardarImagen"));
    action->setShortcut(QKeySequence::Save);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(
        action, &QAction::triggered, window, [window, &ctx, defaultName, source, size] {
            QString name = ctx.fileDialogs.saveFileName(window, QStringLiteral("Guardar imagen"),
                QStringLiteral("Imagen PNG (*.png);;Dibujo SVG (*.svg);;Documento PDF (*.pdf)"),
                defaultName, QStringLiteral("png"));
            if (name.isEmpty())
                return;
            const QString suffix = QFileInfo(name).suffix().toLower();
            if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")
                && suffix != QLatin1String("pdf"))
                name += QStringLiteral(".png");
            QString error;
            if (saveChartImage(source(), size(), name, &error))
                ctx.messages.show(window,
                    { QStringLiteral("Imagen guardada en ") + name + QStringLiteral("..."),
                        QStringLiteral("Guardar imagen"), MsgIcon::Information, MsgButtons::Ok });
            else
                ctx.messages.show(window,
                    { QStringLiteral("No se pudo guardar la imagen en ") + name
                            + QStringLiteral(": ") + error + QStringLiteral("..."),
                        QStringLiteral("Guardar imagen"), MsgIcon::Exclamation, MsgButtons::Ok });
        });
    return action;
}

} // namespace orvex
