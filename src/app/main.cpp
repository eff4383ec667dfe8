#include "app/appstartup.h"
#include "app/fcapp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Fixed-size skinned window: on a high-DPI display draw it at the display's scale
    // from the skin's @2x images instead of letting it appear tiny.
    AppStartup::tuneAllocator();
    AppStartup::followScreenScale();

    QApplication app(argc, argv);
    AppStartup startup(app);

    FCApp window(nullptr);
    window.show();
    return app.exec();
}
