// The Level menu's commands in the randomised session, with the level count
// beside the level number checked after each.

#include <gtest/gtest.h>

#include <QLineEdit>

#include "SessionActions.h"
#include "shell/CommandIds.h"

namespace {

const bool kAdded = AddSessionAction(
    {"level menu", 3, [](Session& s) {
       // Delete Level's question is answered at random by the session.
       s.Frame().OnCommand(s.Chance(50) ? IDM_LEVEL_ADD : IDM_LEVEL_DELETE);
       EXPECT_EQ(s.Frame().LevelCountLabel()->text(),
                 QStringLiteral("of %1").arg(s.Pack().Count()));
     }});

}  // namespace
