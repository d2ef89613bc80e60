#include <QApplication>

#include "app/slide_show_app.h"
#include "qt/app_icon.h"
#include "qt/qt_window_system.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(vistello::AppIcon());
    vistello::QtWindowSystem system;
    vistello::CSlideShowApp().InitInstance(system);
    return 0;
}
