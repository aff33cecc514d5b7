#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The editor's own artwork, drawn as SVG and embedded as resources under
// ":/plodderz/". Everything is rendered at the screen's device pixel ratio so
// it stays crisp on high-DPI screens.
namespace artwork {

// Renders the SVG resource `name` (e.g. "toolbar/place_exit.svg") to a
// pixmap of `width` x `height` logical pixels at `dpr`. A missing or broken
// resource gives a transparent pixmap of that size.
QPixmap Render(const QString& name, int width, int height, qreal dpr);

// An icon holding the SVG at 1x and 2x of the given logical size.
QIcon Icon(const QString& name, int width, int height);

// A 32 x 32 cursor from an SVG with its hot spot in cursor pixels.
QCursor Cursor(const QString& name, int hotX, int hotY, qreal dpr);

// The window icon, 16 x 16 and 32 x 32 (and their 2x forms).
QIcon WindowIcon();

// The device pixel ratio of the primary screen (1 when there is none).
qreal ScreenDpr();

}  // namespace artwork
