#include "canvas/FitNotes.h"

namespace fitnotes {

namespace {

// The texts of one kind of object.
struct KindNotes {
  std::string_view rows;
  std::string_view width;
  std::string_view outside;
};

const KindNotes& NotesOf(int kind) {
  static constexpr KindNotes kEntrance{
      "The entrance is 16 rows high: it does not fit here",
      "The entrance is 16 pixels wide: it does not fit here",
      "Click inside the level to place the entrance"};
  static constexpr KindNotes kExit{
      "The exit is 16 rows high: it does not fit here",
      "The exit is 16 pixels wide: it does not fit here",
      "Click inside the level to place the exit"};
  static constexpr KindNotes kBlock{
      "A metal block is 16 rows high: it does not fit here",
      "A metal block is 16 pixels wide: it does not fit here",
      "Click inside the level to place a metal block"};
  switch (kind) {
    case OBJ_ENTRANCE:
      return kEntrance;
    case OBJ_EXIT:
      return kExit;
    default:
      return kBlock;
  }
}

}  // namespace

std::string_view DoesNotFit(const CLevel& level, int kind, Point topLeft) {
  const bool rowsFit =
      topLeft.y >= 0 && topLeft.y + OBJECT_SIZE <= level.m_nHeight;
  const bool widthFits =
      topLeft.x >= 0 && topLeft.x + OBJECT_SIZE <= level.WidthPixels();
  if (!rowsFit) return NotesOf(kind).rows;
  if (!widthFits) return NotesOf(kind).width;
  return {};
}

std::string_view ClickInside(int kind) { return NotesOf(kind).outside; }

}  // namespace fitnotes
