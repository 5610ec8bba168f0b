// The reference for start-up measurements: the least a Qt 6 Widgets program with one line edit
// and one button does to show its window.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLineEdit(&window));
    layout->addWidget(new QPushButton("OK", &window));
    window.show();
    return QApplication::exec();
}
