// Child windows of the system property sheet.
#pragma once

// The tab control's id. The desktop sheet also has buttons the handheld's lacks (OK and Cancel
// sit in the handheld's title bar); Apply is the one with an id of the sheet's own.
inline constexpr int kSheetTabControlId = 0x3020;
inline constexpr int kSheetApplyButtonId = 0x3021;
