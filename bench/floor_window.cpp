// The floor for any Qt Widgets program: an empty window of the Timer's size
// with one label.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(225, 202);
    const QLabel label(QStringLiteral("00"), &window);
    window.show();
    return QApplication::exec();
}
