// The start-up benchmark's yardstick: the least a Qt Widgets program does to show one small titled window.
// It links Qt only, none of Zenporo's code.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.resize(240, 40);
    window.show();
    return app.exec();
}
