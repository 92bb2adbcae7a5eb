#include <gtest/gtest.h>

#include <vector>

#include "app/TrayActions.h"

using namespace snq;

TEST(TrayActions, EachThingTheUserDoesActsOnceInEitherNotificationVersion) {
    using E = TrayEvent;
    using A = TrayAction;
    struct Step {
        E event;
        std::uint64_t at;
        A action;
    };
    const std::vector<std::vector<Step>> rows = {
        // A click, without and with version 4's NIN_SELECT.
        {{E::LeftDown, 0, A::None}, {E::LeftUp, 10, A::Search}, {E::Select, 11, A::None}},
        // A release without its press: the end of a double click that a
        // modal dialog's loop delivers.
        {{E::LeftDown, 0, A::None}, {E::LeftUp, 10, A::Search}, {E::LeftUp, 200, A::None}},
        // A right click: its WM_CONTEXTMENU opens no second menu, a later
        // menu key opens one at the icon.
        {{E::RightUp, 0, A::MenuAtCursor}, {E::Other, 5, A::None}, {E::ContextMenu, 8, A::None},
         {E::ContextMenu, 4000, A::MenuAtAnchor}},
        // A shell that sends no WM_CONTEXTMENU: the menu key after a click.
        {{E::RightUp, 0, A::MenuAtCursor}, {E::LeftDown, 900, A::None}, {E::ContextMenu, 950, A::MenuAtAnchor}},
        {{E::RightUp, 0, A::MenuAtCursor}, {E::ContextMenu, 1500, A::MenuAtAnchor}},
        // Enter, sent twice by some Windows versions; pressed again later.
        {{E::KeySelect, 0, A::Search}, {E::KeySelect, 30, A::None}, {E::KeySelect, 900, A::Search}},
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        TrayActions actions;
        for (const Step& step : rows[r])
            EXPECT_EQ(actions.On(step.event, step.at), step.action) << "row " << r << " at " << step.at;
    }
}
