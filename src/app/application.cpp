#include "application.h"

#include <QApplication>
#include <QWidget>

int runQuillmark(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    return QApplication::exec();
}
