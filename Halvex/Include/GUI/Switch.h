#pragma once

#include "GUI/ParameterControl.h"

#include <atomic>

// A two-state control shown by two images; a left press toggles it. Values
// of 0.5 and above are On (1), below are Off (0). With either image missing
// it ignores the mouse and draws only the background. Images not owned.
class Switch : public ParameterControl {
public:
    enum Status { On = 0, Off = 1 };

    Switch(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Image* onImage,
        Gdiplus::Image* offImage);

    float GetValue() const override;
    void SetValue(float value) override;
    void Draw(Gdiplus::Graphics& graphics) override;
    void OnLeftButtonDown(int keys, int x, int y) override;
    void OnLeftButtonUp(int keys, int x, int y) override;
    void OnMouseMove(int keys, int x, int y) override;
    void OnMouseHover(int keys, int x, int y) override;
    void OnMouseLeave() override;

private:
    bool HasImages() const { return onImage != nullptr && offImage != nullptr; }

    std::atomic<Status> status {On};
    Gdiplus::Image* onImage;
    Gdiplus::Image* offImage;
};
