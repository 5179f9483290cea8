// Starts the program on its main window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quenvale"));
    window.setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
    window.show();
    return app.exec();
}
