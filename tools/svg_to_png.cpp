// svg_to_png: renders an SVG icon as square PNGs for the hicolor icon theme.
// usage: svg_to_png IN.svg OUT_PREFIX SIZE...   writes OUT_PREFIX<SIZE>.png for each size
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: svg_to_png IN.svg OUT_PREFIX SIZE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svg_to_png: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0 || size > 1024) {
            std::fprintf(stderr, "svg_to_png: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p);
        p.end();
        const QString out = QString::fromLocal8Bit(argv[2]) + QString::number(size) + QStringLiteral(".png");
        if (!image.save(out)) {
            std::fprintf(stderr, "svg_to_png: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
