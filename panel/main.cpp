#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>
#include <exception>

#include "Unit1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName("LCD Test");
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    try {
        lcd::TForm1 Form1;
        Form1.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "LCD Test", QString::fromUtf8(error.what()));
        return 1;
    }
}
