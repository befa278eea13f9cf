#pragma once

// Item ids of the test dialog template "TESTDIALOG".
#define IDC_KNOB 101
#define IDC_KNOB_SPARE 102
#define IDC_HSLIDER 110
#define IDC_VSLIDER 111
#define IDC_HSLIDER_FULL 112
#define IDC_VSLIDER_FULL 113
#define IDC_SWITCH 120
#define IDC_COMBO 130
#define IDC_STATUS 140
#define IDC_UNBOUND 150
#define IDC_EDIT 200
