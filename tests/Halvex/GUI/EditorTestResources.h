#pragma once

// Item ids of the editor tests' "MAINDIALOG" template.
#define IDC_EDITOR_KNOB 301
#define IDC_EDITOR_SWITCH 302
#define IDC_EDITOR_STATUS 303
