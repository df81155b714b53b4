// Renders the SVG icon to one PNG size of the hicolor theme, at build time:
//     lineminder_render_icon <icon.svg> <size> <icon.png>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fputs("usage: lineminder_render_icon <icon.svg> <size> <icon.png>\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&isNumber);
    if (!renderer.isValid() || !isNumber || size < 1 || size > 1024) {
        std::fprintf(stderr, "lineminder_render_icon: cannot render %s at %s pixels\n", argv[1], argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "lineminder_render_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
