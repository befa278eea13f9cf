#pragma once

// Display policies: stateless classes that write the text of a working value
// into text, cut to count - 1 characters and always terminated. Each reports
// a null text or a negative count and then writes nothing. Any thread.

// The value with three decimals: 0.025 shows as "0.025".
struct DisplayFloat {
    static void Format(char* text, int count, float value);
};

// The value as a whole percentage: 0.5 shows as "50".
struct DisplayFloatToInteger {
    static void Format(char* text, int count, float value);
};

// "On" or "Off".
struct DisplayOnOff {
    static void Format(char* text, int count, bool value);
};
