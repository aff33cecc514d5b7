// The drawing tools' actions for the randomised session: shapes (dropped by
// Escape or a command in the middle of the drag now and then), white fills,
// selections moved, nudged, cut, copied, deleted, flipped and left
// floating, pastes, the object mover and the pen keys. Terrain stays in the
// rows the session draws in: selections move sideways only, flip vertically
// only inside themselves, and fills rub out.
#include <QCoreApplication>
#include <QKeyEvent>
#include <vector>

#include "SessionActions.h"
#include "canvas/SelectTool.h"
#include "shell/CommandIds.h"

namespace {

void Key(Session& s, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
  QKeyEvent press(QEvent::KeyPress, key, mods);
  QCoreApplication::sendEvent(&s.Frame().Canvas(), &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods);
  QCoreApplication::sendEvent(&s.Frame().Canvas(), &release);
}

// A command that may come in the middle of a drag or while a float stands.
void SomeCommand(Session& s) {
  switch (s.Uniform(0, 4)) {
    case 0:
      s.Frame().OnCommand(IDM_EDIT_UNDO);
      break;
    case 1:
      s.Frame().OnCommand(IDT_PEN_SMALL_WHITE);
      break;
    case 2:
      s.Frame().OnCommand(IDK_CANCEL);
      break;
    case 3:  // the session answers "add a level?" itself
      s.Frame().OnNotify(IDC_LEVEL_NUMBER_SPIN, s.Chance(50) ? 1 : -1);
      break;
    default:
      s.Frame().OnCommand(IDT_TOOL_LINE);
      break;
  }
}

const bool kShapes = AddSessionAction(
    {"shape", 6, [](Session& s) {
       s.Frame().OnCommand(s.Pick(std::vector<int>{
           IDT_TOOL_LINE, IDT_TOOL_RECTANGLE, IDT_TOOL_FILLED_RECTANGLE,
           IDT_TOOL_ELLIPSE, IDT_TOOL_FILLED_ELLIPSE}));
       if (s.Chance(20)) s.Frame().OnCommand(IDK_PEN_SWAP_COLOUR);
       if (s.Chance(20)) {
         s.Frame().OnCommand(s.Chance(50) ? IDK_PEN_LARGE : IDK_PEN_SMALL);
       }
       s.drive->Press(s.DrawPoint());
       s.drive->Move(s.DrawPoint(), true);
       if (s.Chance(15)) s.Frame().OnCommand(IDK_CANCEL);
       if (s.Chance(15)) SomeCommand(s);
       s.drive->Move(s.DrawPoint(), true);
       s.drive->Release(s.DrawPoint());
     }});

const bool kFill =
    AddSessionAction({"white fill", 2, [](Session& s) {
                        s.Frame().OnCommand(IDT_TOOL_FILL);
                        if (s.Frame().Logic().m_nPenColour == 0) {
                          s.Frame().OnCommand(IDK_PEN_SWAP_COLOUR);
                        }
                        const Point at = s.DrawPoint();
                        s.drive->Press(at);
                        s.drive->Release(at);
                      }});

const bool kSelection = AddSessionAction(
    {"selection", 6, [](Session& s) {
       CEditorFrame& frame = s.Frame();
       frame.OnCommand(IDT_TOOL_SELECT);
       if (s.Chance(15)) {
         frame.OnCommand(IDM_EDIT_SELECT_ALL);
       } else {
         s.drive->Drag(s.DrawPoint(), s.DrawPoint());
       }
       CSelectTool& selection = frame.Logic().Selection();
       if (selection.HasSelection() && s.Chance(60)) {
         // Sideways only: by a drag inside it, or by the arrow keys.
         const Rect r = selection.Selection();
         const Point inside{r.left, r.top};
         if (s.Chance(50)) {
           s.drive->Press(inside);
           s.drive->Move({inside.x + s.Uniform(-20, 20), inside.y}, true);
           if (s.Chance(15)) SomeCommand(s);
           s.drive->Release({inside.x + s.Uniform(-20, 20), inside.y});
         } else {
           for (int i = s.Uniform(1, 3); i > 0; --i) {
             Key(s, s.Chance(50) ? Qt::Key_Left : Qt::Key_Right,
                 s.Chance(30) ? Qt::ShiftModifier : Qt::NoModifier);
           }
         }
       }
       switch (s.Uniform(0, 8)) {
         case 0:
           Key(s, Qt::Key_Return);
           break;
         case 1:
           frame.OnCommand(IDK_CANCEL);
           break;
         case 2:
           frame.OnCommand(IDM_EDIT_CUT);
           break;
         case 3:
           frame.OnCommand(IDM_EDIT_COPY);
           break;
         case 4:
           frame.OnCommand(IDM_EDIT_DELETE);
           break;
         case 5:
           frame.OnCommand(IDM_EDIT_FLIP_HORIZONTAL);
           break;
         case 6:
           // Only a selection within the rows the session draws in.
           if (selection.HasSelection() &&
               selection.Selection().bottom <= Session::kPlacementTop) {
             frame.OnCommand(IDM_EDIT_FLIP_VERTICAL);
           }
           break;
         default:
           break;  // left as it is: the next command commits a float
       }
     }});

const bool kPaste = AddSessionAction(
    {"paste", 2, [](Session& s) {
       s.Frame().OnCommand(IDT_TOOL_SELECT);
       TerrainClip clip;
       clip.width = s.Uniform(1, 24);
       clip.height = s.Uniform(1, 6);
       for (int i = 0; i < clip.width * clip.height; ++i) {
         clip.pixels.push_back(s.Chance(50) ? 1 : 0);
       }
       s.Frame().Logic().Selection().Paste(clip, s.DrawPoint());
       if (s.Chance(40)) Key(s, s.Chance(50) ? Qt::Key_Return : Qt::Key_Left);
     }});

const bool kMover =
    AddSessionAction({"move object", 2, [](Session& s) {
                        s.Frame().OnCommand(IDT_TOOL_MOVE_OBJECT);
                        const Point from = s.PlacePoint();
                        s.drive->Press(from);
                        s.drive->Move(s.PlacePoint(), true);
                        if (s.Chance(15)) SomeCommand(s);
                        s.drive->Release(s.PlacePoint());
                        if (s.Chance(30)) s.Frame().OnCommand(IDM_EDIT_DELETE);
                        if (s.Chance(20)) s.Frame().OnCommand(IDK_CANCEL);
                      }});

}  // namespace
