#include "shell/Artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <cmath>

// The resources live in a static library: they must be registered by name,
// from outside any namespace, before the first use.
static void InitResources() {
  static const bool done = [] {
    Q_INIT_RESOURCE(plodderz);
    return true;
  }();
  (void)done;
}

namespace artwork {

QPixmap Render(const QString& name, int width, int height, qreal dpr) {
  InitResources();
  const int deviceWidth = static_cast<int>(std::lround(width * dpr));
  const int deviceHeight = static_cast<int>(std::lround(height * dpr));
  QPixmap pixmap(deviceWidth, deviceHeight);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(QStringLiteral(":/plodderz/") + name);
  if (renderer.isValid()) {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, deviceWidth, deviceHeight));
  }
  pixmap.setDevicePixelRatio(dpr);
  return pixmap;
}

QIcon Icon(const QString& name, int width, int height) {
  QIcon icon;
  icon.addPixmap(Render(name, width, height, 1.0));
  icon.addPixmap(Render(name, width, height, 2.0));
  return icon;
}

QCursor Cursor(const QString& name, int hotX, int hotY, qreal dpr) {
  return QCursor(Render(name, 32, 32, dpr), hotX, hotY);
}

QIcon WindowIcon() {
  QIcon icon;
  for (int size : {16, 32}) {
    icon.addPixmap(Render(QStringLiteral("icon.svg"), size, size, 1.0));
    icon.addPixmap(Render(QStringLiteral("icon.svg"), size, size, 2.0));
  }
  return icon;
}

qreal ScreenDpr() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

}  // namespace artwork
