#pragma once

#include "GUI/ParameterControl.h"
#include "GUI/SwitchBehaviour.h"

// The Win32 view of a switch (SwitchBehaviour): draws one of two images for
// its state. With either image missing it ignores the mouse and draws only
// the background. Images not owned.
class Switch : public ParameterControl {
public:
    Switch(HWND hDlg, int id, int parameterId, Gdiplus::Image* background, Gdiplus::Image* onImage,
        Gdiplus::Image* offImage);

    void Draw(Gdiplus::Graphics& graphics) override;

protected:
    ParameterBehaviour& Behaviour() override { return behaviour; }
    const ParameterBehaviour& Behaviour() const override { return behaviour; }

private:
    Gdiplus::Image* onImage;
    Gdiplus::Image* offImage;
    SwitchBehaviour behaviour;
};
