// Starts the program on its main window.
#include "records/form1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    records::Form1 form1;
    form1.Form_Load();
    form1.show();
    return app.exec();
}
