// Renders the editor's main window with a sample level into a PNG, with no
// display needed (run with QT_QPA_PLATFORM=offscreen):
//   plodderz-screenshot OUTPUT.png
#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <cmath>
#include <cstdio>

#include "canvas/CanvasWidget.h"
#include "shell/EditorFrame.h"
#include "uikit/Platform.h"

namespace {

// Rolling hills along the bottom, a floating ledge and a pillar.
void DrawSampleLevel(CLevel& level) {
  const int width = level.WidthPixels();
  for (int x = 0; x < width; ++x) {
    const double hill =
        52.0 + 5.0 * std::sin(x / 9.0) + 2.0 * std::sin(x / 3.7);
    for (int y = static_cast<int>(hill); y < level.m_nHeight; ++y) {
      level.SetPixel(x, y, true);
    }
  }
  for (int x = 20; x < 60; ++x) {
    for (int y = 30; y < 33; ++y) level.SetPixel(x, y, true);
  }
  for (int x = 70; x < 76; ++x) {
    for (int y = 24; y < 52; ++y) level.SetPixel(x, y, true);
  }
  level.PlaceObject({8, 6}, OBJ_ENTRANCE);
  level.PlaceObject({80, 30}, OBJ_EXIT);
  level.PlaceObject({32, 14}, OBJ_BLOCK);
  level.PlaceObject({48, 14}, OBJ_BLOCK);
  std::snprintf(level.m_szName, sizeof level.m_szName, "%s", "Over the Hill");
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fputs("usage: plodderz-screenshot OUTPUT.png\n", stderr);
    return 2;
  }
  QApplication application(argc, argv);
  QtPlatform platform;
  auto* frame = new CEditorFrame(platform);
  DrawSampleLevel(frame->Pack().Current());
  frame->RefreshView();
  frame->show();
  QApplication::processEvents();
  // The placement tool with its preview under the pointer, as while
  // placing a block.
  frame->OnCommand(0x4008);
  CCanvasWidget& canvas = frame->Canvas();
  const Rect cell = canvas.Logic().View().CellClientRect({22, 40});
  const QPointF at(cell.left + 1, cell.top + 1);
  QMouseEvent move(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&canvas, &move);
  QApplication::processEvents();
  const QPixmap shot = frame->grab();
  const bool ok = shot.save(QString::fromLocal8Bit(argv[1]), "PNG");
  frame->Pack().m_bModified = false;
  frame->close();
  QApplication::processEvents();
  if (!ok) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
