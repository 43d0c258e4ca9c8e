// The entry point of the module that holds the web viewer and links the web engine.

#include "extras/ui/internet.h"

extern "C" Q_DECL_EXPORT QWidget* orvexCreateWebViewer(QWidget* parent)
{
    return new orvex::Internet(orvex::webAddresses(), parent);
}
