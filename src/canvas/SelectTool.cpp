#include "canvas/SelectTool.h"

#include <algorithm>

#include "canvas/Shapes.h"
#include "model/LevelPack.h"

namespace {

bool Contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

Rect CSelectTool::Selection() const {
  if (m_bFloating) {
    return {m_ptFloat.x, m_ptFloat.y, m_ptFloat.x + m_float.width,
            m_ptFloat.y + m_float.height};
  }
  return m_bSelected ? m_rcSelected : Rect{};
}

Rect CSelectTool::ClipToLevel(const Rect& r) const {
  const CLevel& level = m_canvas.Pack().Current();
  return {std::max(r.left, 0), std::max(r.top, 0),
          std::min(r.right, level.WidthPixels()),
          std::min(r.bottom, static_cast<int>(level.m_nHeight))};
}

std::string_view CSelectTool::StepLabel() const {
  if (!m_bFloating) return "Select";
  return m_bLifted ? "Move Selection" : "Paste";
}

CanvasAction CSelectTool::Press(const ToolInput& input) {
  const Point p = input.level;
  CanvasAction action;
  action.captureMouse = true;
  if (m_bFloating && Contains(Selection(), p)) {
    m_gesture = Gesture::Moving;
    m_ptGrab = p - m_ptFloat;
    return action;
  }
  if (!m_bFloating && m_bSelected && Contains(m_rcSelected, p)) {
    Lift();
    m_gesture = Gesture::Moving;
    m_ptGrab = p - m_ptFloat;
    return action;
  }
  // A click outside commits a float and begins a new rectangle.
  if (m_bFloating) Commit();
  m_bSelected = false;
  m_gesture = Gesture::Marquee;
  m_ptAnchor = p;
  ShowOverlay();
  return action;
}

void CSelectTool::Move(const ToolInput& input, bool dragging) {
  if (!dragging) return;
  if (m_gesture == Gesture::Marquee) {
    const Rect r = ClipToLevel(BoxOf(m_ptAnchor, input.level));
    m_bSelected = !r.IsEmpty();
    m_rcSelected = r;
    ShowOverlay();
  } else if (m_gesture == Gesture::Moving) {
    MoveFloatBy(input.level - m_ptGrab - m_ptFloat);
  }
}

void CSelectTool::Release(const ToolInput& input) {
  if (m_gesture == Gesture::Marquee && input.level == m_ptAnchor) {
    // A click without a drag selects nothing.
    m_bSelected = false;
    ShowOverlay();
  } else {
    Move(input, true);
  }
  m_gesture = Gesture::None;
}

bool CSelectTool::Key(CanvasKey key, bool shift) {
  switch (key) {
    case CanvasKey::Escape:
      if (!HasSelection()) return false;
      Drop();
      return true;
    case CanvasKey::Enter:
      if (!m_bFloating) return false;
      Commit();
      return true;
    default:
      break;
  }
  if (!HasSelection() || m_gesture != Gesture::None) return false;
  const int step = shift ? 8 : 1;
  Point delta;
  if (key == CanvasKey::Left) delta = {-step, 0};
  if (key == CanvasKey::Right) delta = {step, 0};
  if (key == CanvasKey::Up) delta = {0, -step};
  if (key == CanvasKey::Down) delta = {0, step};
  if (!m_bFloating) Lift();
  MoveFloatBy(delta);
  return true;
}

void CSelectTool::Drop() {
  m_gesture = Gesture::None;
  m_bSelected = false;
  m_bFloating = false;
  m_bLifted = false;
  m_float = {};
  m_canvas.ClearOverlay();
}

void CSelectTool::SelectAll() {
  Drop();
  const CLevel& level = m_canvas.Pack().Current();
  m_bSelected = true;
  m_rcSelected = {0, 0, level.WidthPixels(), level.m_nHeight};
  ShowOverlay();
}

TerrainClip CSelectTool::Copy() const {
  if (m_bFloating) return m_float;
  TerrainClip clip;
  if (!m_bSelected) return clip;
  // The terrain as the author made it, without a placement preview.
  const CLevelPack::PreviewFree clean = m_canvas.Pack().WithoutPreviews();
  const CLevel& level = m_canvas.Pack().Current();
  const Rect& r = m_rcSelected;
  clip.width = r.Width();
  clip.height = r.Height();
  clip.pixels.reserve(static_cast<std::size_t>(clip.width) * clip.height);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      clip.pixels.push_back(level.GetPixel(x, y) ? 1 : 0);
    }
  }
  return clip;
}

void CSelectTool::Lift() {
  m_float = Copy();
  m_bFloating = true;
  m_bLifted = true;
  m_rcSource = m_rcSelected;
  m_ptFloat = {m_rcSelected.left, m_rcSelected.top};
  m_bSelected = false;
}

void CSelectTool::Paste(const TerrainClip& clip, Point at) {
  Drop();
  if (clip.Empty()) return;
  m_float = clip;
  m_bFloating = true;
  m_bLifted = false;
  m_ptFloat = at;
  ShowOverlay();
}

void CSelectTool::MoveFloatBy(Point delta) {
  if (delta == Point{}) return;
  m_ptFloat = m_ptFloat + delta;
  ShowOverlay();
}

bool CSelectTool::Commit() {
  if (!m_bFloating) return false;
  std::vector<Point> black;
  std::vector<Point> white;
  if (m_bLifted) {
    for (int y = m_rcSource.top; y < m_rcSource.bottom; ++y) {
      for (int x = m_rcSource.left; x < m_rcSource.right; ++x) {
        white.push_back({x, y});
      }
    }
  }
  m_canvas.ClearOverlay();
  bool changed = m_canvas.WritePixels(white, PLOT_CLEAR);
  white.clear();
  for (int y = 0; y < m_float.height; ++y) {
    for (int x = 0; x < m_float.width; ++x) {
      const Point p = m_ptFloat + Point{x, y};
      (m_float.At(x, y) ? black : white).push_back(p);
    }
  }
  changed = m_canvas.WritePixels(white, PLOT_CLEAR) || changed;
  changed = m_canvas.WritePixels(black, PLOT_SET) || changed;
  const Rect placed = ClipToLevel(Selection());
  m_bFloating = false;
  m_bLifted = false;
  m_float = {};
  m_bSelected = !placed.IsEmpty();
  m_rcSelected = placed;
  ShowOverlay();
  return changed;
}

bool CSelectTool::DeleteSelected() {
  if (m_bFloating) {
    // The pixels go; the place they were lifted from stays empty.
    m_float.pixels.assign(m_float.pixels.size(), 0);
    const bool lifted = m_bLifted;
    m_ptFloat = {m_rcSource.left, m_rcSource.top};
    const bool changed = lifted && Commit();
    Drop();
    return changed;
  }
  if (!m_bSelected) return false;
  std::vector<Point> pixels;
  for (int y = m_rcSelected.top; y < m_rcSelected.bottom; ++y) {
    for (int x = m_rcSelected.left; x < m_rcSelected.right; ++x) {
      pixels.push_back({x, y});
    }
  }
  m_canvas.ClearOverlay();
  const bool changed = m_canvas.WritePixels(pixels, PLOT_CLEAR);
  ShowOverlay();
  return changed;
}

bool CSelectTool::Flip(bool horizontal) {
  const auto mirror = [horizontal](const TerrainClip& in) {
    TerrainClip out = in;
    for (int y = 0; y < in.height; ++y) {
      for (int x = 0; x < in.width; ++x) {
        const int sx = horizontal ? in.width - 1 - x : x;
        const int sy = horizontal ? y : in.height - 1 - y;
        out.pixels[static_cast<std::size_t>(y) * in.width + x] =
            in.pixels[static_cast<std::size_t>(sy) * in.width + sx];
      }
    }
    return out;
  };
  if (m_bFloating) {
    m_float = mirror(m_float);
    ShowOverlay();
    return false;
  }
  const CLevel& level = m_canvas.Pack().Current();
  const bool whole = !m_bSelected;
  if (whole) {
    m_bSelected = true;
    m_rcSelected = {0, 0, level.WidthPixels(), level.m_nHeight};
  }
  const TerrainClip flipped = mirror(Copy());
  std::vector<Point> black;
  std::vector<Point> white;
  for (int y = 0; y < flipped.height; ++y) {
    for (int x = 0; x < flipped.width; ++x) {
      const Point p{m_rcSelected.left + x, m_rcSelected.top + y};
      (flipped.At(x, y) ? black : white).push_back(p);
    }
  }
  m_canvas.ClearOverlay();
  bool changed = m_canvas.WritePixels(white, PLOT_CLEAR);
  changed = m_canvas.WritePixels(black, PLOT_SET) || changed;
  if (whole) m_bSelected = false;
  ShowOverlay();
  return changed;
}

void CSelectTool::ShowOverlay() {
  const CLevel& level = m_canvas.Pack().Current();
  const int width = level.WidthPixels();
  const int height = level.m_nHeight;
  std::vector<std::int8_t> mode(static_cast<std::size_t>(width) * height, -1);
  const auto set = [&](Point p, int m) {
    if (p.x < 0 || p.y < 0 || p.x >= width || p.y >= height) return;
    mode[static_cast<std::size_t>(p.y) * width + p.x] =
        static_cast<std::int8_t>(m);
  };
  Rect border = m_bSelected ? m_rcSelected : Rect{};
  if (m_gesture == Gesture::Marquee && !m_bSelected) {
    border = ClipToLevel(BoxOf(m_ptAnchor, m_ptAnchor));
  }
  if (m_bFloating) {
    if (m_bLifted) {
      for (int y = m_rcSource.top; y < m_rcSource.bottom; ++y) {
        for (int x = m_rcSource.left; x < m_rcSource.right; ++x) {
          set({x, y}, PLOT_CLEAR);
        }
      }
    }
    const Rect f = ClipToLevel(Selection());
    for (int y = f.top; y < f.bottom; ++y) {
      for (int x = f.left; x < f.right; ++x) {
        set({x, y}, m_float.At(x - m_ptFloat.x, y - m_ptFloat.y) ? PLOT_SET
                                                                 : PLOT_CLEAR);
      }
    }
    border = Selection();
  }
  // The dashed border: every other pair of pixels along the rectangle's
  // edge, inverted, so it shows over black and white alike.
  if (!border.IsEmpty()) {
    const auto dash = [&](Point p) {
      if (((p.x + p.y) / 2) % 2 == 0) set(p, PLOT_INVERT);
    };
    for (int x = border.left; x < border.right; ++x) {
      dash({x, border.top});
      dash({x, border.bottom - 1});
    }
    for (int y = border.top; y < border.bottom; ++y) {
      dash({border.left, y});
      dash({border.right - 1, y});
    }
  }
  std::vector<OverlayPixel> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int m = mode[static_cast<std::size_t>(y) * width + x];
      if (m >= 0) pixels.push_back({{x, y}, m});
    }
  }
  m_canvas.ShowOverlay(std::move(pixels));
}
