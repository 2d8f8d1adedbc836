// The floor for any Qt Widgets program: an empty window with one label.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("00"));
    label.resize(225, 202);
    label.show();
    return QApplication::exec();
}
