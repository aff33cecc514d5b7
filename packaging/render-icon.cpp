// Renders an SVG icon to square PNGs for the hicolor icon theme, at build
// time: render-icon ICON.svg OUTDIR SIZE...  writes OUTDIR/<SIZE>.png for
// each size. Exits non-zero, with a message, when the SVG cannot be read or a
// PNG cannot be written, so a broken icon fails the build.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s ICON.svg OUTDIR SIZE...\n", argv[0]);
    return 2;
  }
  // No window is shown; the offscreen platform keeps this working on build
  // machines without a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);

  QSvgRenderer renderer{QString::fromLocal8Bit(argv[1])};
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render-icon: cannot read the SVG %s\n", argv[1]);
    return 1;
  }
  const QString outDir = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
      std::fprintf(stderr, "render-icon: bad size %s\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      renderer.render(&painter);
    }
    const QString path = outDir + QStringLiteral("/%1.png").arg(size);
    if (!image.save(path, "PNG")) {
      std::fprintf(stderr, "render-icon: cannot write %s\n",
                   path.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
