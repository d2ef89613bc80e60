#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

// Renders the scalable icon as PNGs for the icon theme's fixed sizes: one
// OUTPUT_FOLDER/SIZE/NAME.png for each size given, named as the scalable icon is.
int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fputs("Usage: vistello_render_icon ICON.svg OUTPUT_FOLDER SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "vistello_render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const QString size = QString::fromLocal8Bit(argv[i]);
        QImage image(size.toInt(), size.toInt(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString folder = QString::fromLocal8Bit(argv[2]) + "/" + size;
        const QString file =
            folder + "/" + QFileInfo(QString::fromLocal8Bit(argv[1])).completeBaseName() + ".png";
        if (!QDir().mkpath(folder) || !image.save(file)) {
            std::fprintf(stderr, "vistello_render_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
