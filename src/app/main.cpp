#include <QApplication>

#include "app/form1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // One style everywhere, so the method buttons show their own colour on every desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));
    integral::Form1 window;
    window.show();
    return QApplication::exec();
}
