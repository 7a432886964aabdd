#include "app/message_boxes.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    return 0;
}
