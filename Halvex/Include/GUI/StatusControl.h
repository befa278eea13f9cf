#pragma once

#include "GUI/CustomControl.h"

// Shows a short text on the panel, normally a parameter's status text: its
// long name on the first line, its value and label on the second, each line
// centred. Texts are cut to 511 characters. Window thread only.
class StatusControl : public CustomControl {
public:
    static constexpr int TextSize = 512;

    StatusControl(HWND hDlg, int id, Gdiplus::Image* background, int fontHeight);

    void SetText(const char* text);
    void ClearText();
    const char* GetText() const { return text; }
    void Draw(Gdiplus::Graphics& graphics) override;

private:
    int fontHeight;
    char text[TextSize];
};
