// Writes the window icon, kept as XPM source, as the PNG of one size that
// desktops look up. Larger sizes repeat each pixel of the 32 px design in a
// square block, so the pixel art stays sharp and the same at every size.
#include <QImage>

#include <cstdio>
#include <cstdlib>

#include "timer.xpm"

int main(int argc, char* argv[])
{
    constexpr int kDesignSize = 32;
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size <= 0 || size % kDesignSize != 0) {
        std::fprintf(stderr, "usage: %s SIZE OUTPUT.png (SIZE a multiple of %d)\n", argv[0], kDesignSize);
        return 2;
    }
    const QImage icon = QImage(timer_xpm).scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return icon.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
