#include "extras/ui/web_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>
#include <QStringList>
#include <QWidget>

// Qt's own setter of the context that every other one shares (exported, not declared in
// a public header); the web engine needs that context.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace orvex {
namespace {

using Factory = QWidget* (*)(QWidget*);

// Installed, the module lies at a fixed place beside the program; in the build tree,
// where the build put it.
QStringList modulePlaces()
{
    return { QDir(QCoreApplication::applicationDirPath())
                 .filePath(QStringLiteral(ORVEX_WEB_MODULE_FROM_PROGRAM)),
        QStringLiteral(ORVEX_WEB_MODULE_BUILT) };
}

// The web engine draws through a context shared with the program's windows. Qt makes it
// while the application starts when asked to, and the engine asks when it is linked to
// the program; loaded later, it finds none, so it is made here, before the engine loads.
void prepareSharedContext()
{
    if (QOpenGLContext::globalShareContext())
        return;
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->create(); // on a platform without OpenGL the engine draws in software
    qt_gl_set_global_share_context(context);
}

} // namespace

QWidget* createWebViewer(QWidget* parent, QString* error)
{
    static Factory factory = nullptr;
    if (!factory) {
        prepareSharedContext();
        QString reason;
        for (const QString& place : modulePlaces()) {
            if (!QFileInfo(place).isFile())
                continue;
            // Loaded once and kept: the engine cannot be unloaded while the program runs.
            QLibrary module(place);
            module.setLoadHints(QLibrary::PreventUnloadHint);
            factory = reinterpret_cast<Factory>(module.resolve("orvexCreateWebViewer"));
            if (factory)
                break;
            reason = module.errorString();
        }
        if (!factory) {
            if (error)
                *error = reason.isEmpty() ? QStringLiteral("no se encontró el módulo orvex_web")
                                          : reason;
            return nullptr;
        }
    }
    return factory(parent);
}

} // namespace orvex
