// Writes the window icon, kept as XPM source, as the PNG that desktops look up.
#include <QImage>

#include <cstdio>

#include "timer.xpm"

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    return QImage(timer_xpm).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
