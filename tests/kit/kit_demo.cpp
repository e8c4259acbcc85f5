#include "KitDemo.h"

#include <QApplication>

// Shows the kit demo on the screen, for a look by eye.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    KitDemo demo;
    demo.window().show();
    demo.present();
    return app.exec();
}
