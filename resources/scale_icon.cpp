// scale_icon: the build's maker of the larger application icons, from the 48-pixel one.
//
// Usage: scale_icon IN.png OUT.png SIZE
//
// Plain smooth scaling of a small picture up by five blurs every edge; blowing each pixel up to
// a whole block first and then averaging the blocks down to the wanted size keeps the plate's
// border and the flag's squares crisp.
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: scale_icon IN.png OUT.png SIZE\n");
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    const int size = std::atoi(argv[3]);
    if (source.isNull() || source.width() != source.height() || size <= 0) {
        std::fprintf(stderr, "scale_icon: cannot scale '%s' to %s pixels\n", argv[1], argv[3]);
        return 1;
    }
    const int factor = (size + source.width() - 1) / source.width();
    const QImage blocks = source.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              .scaled(source.width() * factor, source.height() * factor,
                                      Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage scaled = blocks.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
    if (!scaled.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "scale_icon: cannot write '%s'\n", argv[2]);
        return 1;
    }
    return 0;
}
